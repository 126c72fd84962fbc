#include "product/settings/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LookupCase {
  const char* what;
  std::string text;
  const char* section;
  const char* key;
  bool found;
  const char* value;
};

TEST(IniDocument, LookupFollowsProfileRules) {
  const LookupCase cases[] = {
      {"plain", "[Global]\r\nKey=value\r\n", "Global", "Key", true, "value"},
      {"names ignore case", "[mIdI gLoBaL]\nmidi thru=TRUE\n", "MIDI Global", "MIDI Thru", true, "TRUE"},
      {"blanks around name and value", "  [ Global ]  \n  Key  =  a b  \n", "Global", "Key", true, "a b"},
      {"matching quotes removed", "[S]\nK=\"C:\\x\"\n", "S", "K", true, "C:\\x"},
      {"unmatched quote kept", "[S]\nK=\"abc\n", "S", "K", true, "\"abc"},
      {"empty value is present", "[S]\nCC7=\n", "S", "CC7", true, ""},
      {"value keeps later equals signs", "[S]\nK=a=b\n", "S", "K", true, "a=b"},
      {"first key of a name wins", "[S]\nK=1\nk=2\n", "S", "K", true, "1"},
      {"first section of a name wins", "[S]\nA=1\n[s]\nK=2\n", "S", "K", false, ""},
      {"key in another section", "[A]\nK=1\n[B]\nJ=2\n", "B", "K", false, ""},
      {"key before any section", "K=1\n[S]\n", "S", "K", false, ""},
      {"missing section", "[A]\nK=1\n", "B", "K", false, ""},
      {"comment line", "[S]\n;K=1\n", "S", "K", false, ""},
      {"line without equals", "[S]\nK\n", "S", "K", false, ""},
      {"no final line end", "[S]\nK=last", "S", "K", true, "last"},
      {"byte-order mark", "\xEF\xBB\xBF[S]\r\nK=v\r\n", "S", "K", true, "v"},
      {"header without bracket", "[S\nK=v\n", "S", "K", true, "v"},
      {"binary bytes around", std::string("\x01\xff\0\x7f\n[S]\nK=v\n\0\0", 16), "S", "K", true, "v"},
      {"empty file", "", "S", "K", false, ""},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.what);
    IniDocument document(c.text);
    std::string value = "untouched";
    EXPECT_EQ(document.Find(c.section, c.key, value), c.found);
    EXPECT_EQ(value, c.found ? std::string(c.value) : std::string("untouched"));
  }
}

TEST(IniDocument, VeryLongLineIsReadWhole) {
  const std::string path(100000, 'p');
  IniDocument document("[S]\nLong=" + path + "\nK=v\n" + std::string(200000, '#') + "\n");
  std::string value;
  ASSERT_TRUE(document.Find("S", "Long", value));
  EXPECT_EQ(value, path);
  ASSERT_TRUE(document.Find("S", "K", value));
  EXPECT_EQ(value, "v");
}

struct EditCase {
  const char* what;
  std::string before;
  void (*edit)(IniDocument&);
  std::string after;
};

TEST(IniDocument, EditsKeepTheRestOfTheFile) {
  const EditCase cases[] = {
      {"new file gets CRLF sections apart", "",
       [](IniDocument& d) {
         d.Set("A", "K", "1");
         d.Set("B", "J", "2");
       },
       "[A]\r\nK=1\r\n\r\n[B]\r\nJ=2\r\n"},
      {"replace keeps name spelling and comments", "; mine\n[s]\nkEy=old\n",
       [](IniDocument& d) { d.Set("S", "Key", "new"); }, "; mine\n[s]\nkEy=new\n"},
      {"new key goes after the section's last key", "[A]\nK=1\n\n[B]\nJ=2\n",
       [](IniDocument& d) { d.Set("A", "L", "3"); }, "[A]\nK=1\nL=3\n\n[B]\nJ=2\n"},
      {"missing final line end is added", "[A]\nK=1", [](IniDocument& d) { d.Set("A", "K", "2"); }, "[A]\nK=2\n"},
      {"byte-order mark stays", "\xEF\xBB\xBF[A]\r\nK=1\r\n", [](IniDocument& d) { d.Set("A", "K", "2"); },
       "\xEF\xBB\xBF[A]\r\nK=2\r\n"},
      {"clear keeps the separating blank line", "[A]\nK=1\n; note\n\n[B]\nJ=2\n",
       [](IniDocument& d) { d.ClearSection("a"); }, "[A]\n\n[B]\nJ=2\n"},
      {"clear of a missing section adds it empty", "[A]\nK=1\n", [](IniDocument& d) { d.ClearSection("B"); },
       "[A]\nK=1\n\n[B]\n"},
      {"clear then set", "[A]\nK=1\nL=2\n",
       [](IniDocument& d) {
         d.ClearSection("A");
         d.Set("A", "M", "3");
       },
       "[A]\nM=3\n"},
      {"a value is one line", "", [](IniDocument& d) { d.Set("A", "K", "one\r\n[B]\nX=1"); }, "[A]\r\nK=one\r\n"},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.what);
    IniDocument document(c.before);
    c.edit(document);
    EXPECT_EQ(document.Text(), c.after);
  }
}

TEST(IniDocument, WrittenTextReadsBackTheSameValues) {
  IniDocument written;
  written.Set("Startup Bank", "File", "/home/u/My Banks/a=b.fxb");
  written.Set("MIDI Control", "CC0", "-1");
  written.Set("MIDI Control", "CC119", "31");
  const IniDocument read(written.Text());
  EXPECT_EQ(read.Text(), written.Text());
  std::string value;
  ASSERT_TRUE(read.Find("startup bank", "file", value));
  EXPECT_EQ(value, "/home/u/My Banks/a=b.fxb");
  ASSERT_TRUE(read.Find("MIDI Control", "cc119", value));
  EXPECT_EQ(value, "31");
}

}  // namespace
