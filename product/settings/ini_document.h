// An INI file held as its lines, with the lookup and editing rules of a
// Windows profile file: section and key names match without regard to case,
// the first section and the first key of a name win, a key's value is the
// text after the first "=" with surrounding blanks (and one pair of matching
// quotes) removed, and writing a key replaces its line or adds one after the
// section's last key. Lines the rules do not understand (comments, garbage)
// are kept as they are, so rewriting a file loses nothing of it.
//
// The text keeps its byte-order mark and its line ends (CRLF or LF, chosen by
// the first line end; CRLF for a file that has none); every line, the last one
// included, ends with that line end once written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(std::string_view text);

  std::string Text() const;

  // True with the key's value when the key is present, else false.
  bool Find(std::string_view section, std::string_view key, std::string& value) const;
  // Adds the section (at the end) and the key as needed. A value is one line:
  // it is cut at its first line break.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // The section stays (or is added) with nothing in it.
  void ClearSection(std::string_view section);

 private:
  enum class LineKind { kOther, kSection, kKey };
  struct Line {
    LineKind kind = LineKind::kOther;
    std::string text;
    std::string name;   // section or key name, for kSection and kKey
    std::string value;  // kKey only
  };

  static Line ParseLine(std::string text);
  static Line KeyLine(std::string_view key, std::string_view value);
  // Index of the first section of that name's header, or npos.
  std::size_t FindSection(std::string_view section) const;
  // One past the last line belonging to the section whose header is at `header`.
  std::size_t SectionEnd(std::size_t header) const;
  std::size_t AppendSection(std::string_view section);

  std::vector<Line> mLines;
  bool mByteOrderMark = false;
  std::string mLineEnd = "\r\n";
};
