#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "plugin/fx_file_layout.h"
#include "tests/plugin/test_plugin.h"

namespace {

namespace fs = std::filesystem;

class ProgramFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("vorn-files-" + std::to_string(getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const char* name) const { return (dir / name).string(); }

  static std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  static std::uint32_t BigEndianAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
  }
  static void PutBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  }
  static void PutFloat(std::vector<std::uint8_t>& bytes, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    PutBigEndian(bytes, bits);
  }
  // A parameter-form program record: the 56-byte header and `count` values.
  static std::vector<std::uint8_t> ParamsProgram(const char* name, float value, int count, std::uint32_t params = 32) {
    std::vector<std::uint8_t> bytes;
    PutBigEndian(bytes, fxfile::kFileMagic);
    PutBigEndian(bytes, 0);
    PutBigEndian(bytes, fxfile::kProgramParamsKind);
    PutBigEndian(bytes, 1);
    PutBigEndian(bytes, 0x766F726E);
    PutBigEndian(bytes, 10200);
    PutBigEndian(bytes, params);
    char field[28] = {};
    std::memcpy(field, name, std::min(std::strlen(name), sizeof field));
    bytes.insert(bytes.end(), field, field + 28);
    for (int i = 0; i < count; ++i) PutFloat(bytes, value);
    return bytes;
  }

  fs::path dir;
};

TEST_F(ProgramFiles, ProgramFileHeaderAndRoundTrip) {
  TestPlugin plugin;
  plugin.SetAll(42.25);
  plugin.SelectPreset(3);
  plugin.ModifyCurrentPreset("Bright Lead");
  ASSERT_TRUE(plugin.SaveProgramFile(Path("a.fxp").c_str()));

  const auto bytes = ReadAll(Path("a.fxp"));
  ASSERT_EQ(bytes.size(), 60u + 8u + 256u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CcnK");
  EXPECT_EQ(BigEndianAt(bytes, 4), bytes.size());  // the whole file's size
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "FPCh");
  EXPECT_EQ(BigEndianAt(bytes, 12), 1u);
  EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 20), "vorn");
  EXPECT_EQ(BigEndianAt(bytes, 20), 10200u);
  EXPECT_EQ(BigEndianAt(bytes, 24), 32u);
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 28), "Bright Lead");
  EXPECT_EQ(BigEndianAt(bytes, 56), 8u + 256u);
  EXPECT_EQ(std::string(bytes.begin() + 60, bytes.begin() + 64), "tffp");

  TestPlugin loaded;
  loaded.FillEmptyPresets(64);  // as the entry point leaves every instance
  ASSERT_TRUE(loaded.LoadProgramFile(Path("a.fxp").c_str()));
  for (int i = 0; i < 32; ++i) EXPECT_EQ(loaded.GetParam(i)->Value(), plugin.GetParam(i)->Value()) << i;
  EXPECT_STREQ(loaded.GetPresetName(0), "Bright Lead");
  EXPECT_EQ(loaded.programChanges, 1);
}

TEST_F(ProgramFiles, LongProgramNamesAreCutTo27Characters) {
  TestPlugin plugin;
  plugin.SelectPreset(0);
  plugin.ModifyCurrentPreset("A name that is far too long for the field");
  ASSERT_TRUE(plugin.SaveProgramFile(Path("long.fxp").c_str()));
  const auto bytes = ReadAll(Path("long.fxp"));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 28)), "A name that is far too long");
  EXPECT_EQ(bytes[55], 0);

  // A foreign file may fill all 28 bytes without a terminator.
  auto unterminated = ParamsProgram("", 0.5f, 32);
  std::memset(unterminated.data() + 28, 'x', 28);
  WriteAll(Path("x.fxp"), unterminated);
  TestPlugin loaded;
  loaded.FillEmptyPresets(64);
  ASSERT_TRUE(loaded.LoadProgramFile(Path("x.fxp").c_str()));
  EXPECT_EQ(std::string(loaded.GetPresetName(0)), std::string(28, 'x'));
}

TEST_F(ProgramFiles, ParameterFormProgramsAreQuantised) {
  WriteAll(Path("p.fxp"), ParamsProgram("Params", 0.5f, 32));
  TestPlugin plugin;
  plugin.FillEmptyPresets(64);
  ASSERT_TRUE(plugin.LoadProgramFile(Path("p.fxp").c_str()));
  EXPECT_EQ(plugin.GetParam(1)->Value(), 0.0);  // integer -24..24 at 0.5
  EXPECT_EQ(plugin.GetParam(0)->Value(), 0.0);
  EXPECT_STREQ(plugin.GetPresetName(0), "Params");

  // Fewer values than parameters: the missing ones keep their values.
  WriteAll(Path("short.fxp"), ParamsProgram("Short", 1.0f, 4));
  TestPlugin partial;
  partial.SetAll(-7);
  ASSERT_TRUE(partial.LoadProgramFile(Path("short.fxp").c_str()));
  EXPECT_EQ(partial.GetParam(3)->Value(), 5.0);
  EXPECT_EQ(partial.GetParam(4)->Value(), -7.0);
}

TEST_F(ProgramFiles, ForeignOrDamagedProgramFilesAreRefusedUnchanged) {
  TestPlugin plugin;
  plugin.SetAll(11);
  ASSERT_TRUE(plugin.SaveProgramFile(Path("good.fxp").c_str()));
  const auto good = ReadAll(Path("good.fxp"));
  TestPlugin target;
  target.SetAll(-1);

  auto version2 = good;
  version2[15] = 2;
  WriteAll(Path("v2.fxp"), version2);
  EXPECT_FALSE(target.LoadProgramFile(Path("v2.fxp").c_str()));
  auto otherPlugin = good;
  otherPlugin[16] = 'X';
  WriteAll(Path("id.fxp"), otherPlugin);
  EXPECT_FALSE(target.LoadProgramFile(Path("id.fxp").c_str()));
  auto unknownKind = good;
  unknownKind[8] = 'Z';
  WriteAll(Path("kind.fxp"), unknownKind);
  EXPECT_FALSE(target.LoadProgramFile(Path("kind.fxp").c_str()));
  WriteAll(Path("tiny.fxp"), {'C', 'c', 'n', 'K'});
  EXPECT_FALSE(target.LoadProgramFile(Path("tiny.fxp").c_str()));
  EXPECT_FALSE(target.LoadProgramFile(Path("missing.fxp").c_str()));
  EXPECT_FALSE(target.LoadProgramFile(""));
  EXPECT_EQ(target.GetParam(0)->Value(), -1.0);
  EXPECT_EQ(target.programChanges, 0);

  // Once the header is accepted a short state still loads what it holds.
  auto cut = good;
  cut.resize(60 + 8 + 16);
  WriteAll(Path("cut.fxp"), cut);
  EXPECT_TRUE(target.LoadProgramFile(Path("cut.fxp").c_str()));
  EXPECT_EQ(target.GetParam(1)->Value(), 11.0);
  EXPECT_EQ(target.GetParam(2)->Value(), 0.0);
}

TEST_F(ProgramFiles, BankFileHeaderAndRoundTrip) {
  TestPlugin plugin;
  for (int i = 0; i < 64; ++i) {
    plugin.SetAll(i % 5);
    plugin.SelectPreset(i);
    plugin.ModifyCurrentPreset(("Bank " + std::to_string(i)).c_str());
  }
  plugin.SelectPreset(17);
  ASSERT_TRUE(plugin.SaveBankFile(Path("b.fxb").c_str()));
  const auto bytes = ReadAll(Path("b.fxb"));
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CcnK");
  EXPECT_EQ(BigEndianAt(bytes, 4), bytes.size());
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "FBCh");
  EXPECT_EQ(BigEndianAt(bytes, 12), 2u);
  EXPECT_EQ(BigEndianAt(bytes, 24), 64u);
  EXPECT_EQ(BigEndianAt(bytes, 28), 17u);
  EXPECT_TRUE(std::all_of(bytes.begin() + 32, bytes.begin() + 156, [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(BigEndianAt(bytes, 156), bytes.size() - 160);

  TestPlugin loaded;
  ASSERT_TRUE(loaded.LoadBankFile(Path("b.fxb").c_str()));
  EXPECT_EQ(loaded.CurrentPresetIndex(), 0);  // the chunk form keeps the current index
  for (int i = 0; i < 64; ++i) {
    EXPECT_STREQ(loaded.GetPresetName(i), plugin.GetPresetName(i));
    loaded.SelectPreset(i);
    plugin.SelectPreset(i);
    for (int p = 0; p < 32; ++p) ASSERT_EQ(loaded.GetParam(p)->Value(), plugin.GetParam(p)->Value()) << i << " " << p;
  }

  auto version3 = bytes;
  version3[15] = 3;  // the bank's format version is not checked
  WriteAll(Path("v3.fxb"), version3);
  EXPECT_TRUE(loaded.LoadBankFile(Path("v3.fxb").c_str()));
}

TEST_F(ProgramFiles, FilesLargerThanTheCapAreRefused) {
  TestPlugin plugin;
  plugin.SelectPreset(0);
  plugin.ModifyCurrentPreset("Padded");
  ASSERT_TRUE(plugin.SaveBankFile(Path("b.fxb").c_str()));
  ASSERT_TRUE(plugin.SaveProgramFile(Path("p.fxp").c_str()));
  // Trailing bytes after a bank or program are ignored up to the cap; one
  // byte more and the file is refused, leaving the plug-in as it was.
  struct Case {
    const char* file;
    std::size_t size;
    bool loads;
  };
  const std::size_t cap = kMaxChunkSize;
  for (const Case& c : {Case{"b.fxb", cap, true}, Case{"b.fxb", cap + 1, false}, Case{"p.fxp", cap, true},
                        Case{"p.fxp", cap + 1, false}}) {
    auto bytes = ReadAll(Path(c.file));
    bytes.resize(c.size, 0);
    WriteAll(Path("padded"), bytes);
    TestPlugin loaded;
    loaded.FillEmptyPresets(64);
    const bool bank = c.file[0] == 'b';
    EXPECT_EQ(bank ? loaded.LoadBankFile(Path("padded").c_str()) : loaded.LoadProgramFile(Path("padded").c_str()),
              c.loads)
        << c.file << " of " << c.size << " bytes";
    EXPECT_EQ(std::string(loaded.GetPresetName(0)) == "Padded", c.loads) << c.file << " of " << c.size << " bytes";
  }
}

TEST_F(ProgramFiles, ParameterFormBanks) {
  std::vector<std::uint8_t> bank;
  PutBigEndian(bank, fxfile::kFileMagic);
  PutBigEndian(bank, 0);
  PutBigEndian(bank, fxfile::kBankParamsKind);
  PutBigEndian(bank, 2);
  PutBigEndian(bank, 0x766F726E);
  PutBigEndian(bank, 10200);
  PutBigEndian(bank, 70);  // more programs than slots
  PutBigEndian(bank, 2);
  bank.resize(156, 0);
  for (int i = 0; i < 70; ++i) {
    const auto program = ParamsProgram(("Prog " + std::to_string(i)).c_str(), static_cast<float>(i % 3) * 0.5f, 32);
    bank.insert(bank.end(), program.begin(), program.end());
  }
  WriteAll(Path("params.fxb"), bank);

  TestPlugin plugin;
  ASSERT_TRUE(plugin.LoadBankFile(Path("params.fxb").c_str()));
  EXPECT_STREQ(plugin.GetPresetName(63), "Prog 63");
  EXPECT_EQ(plugin.CurrentPresetIndex(), 2);
  EXPECT_EQ(plugin.GetParam(0)->Value(), 100.0);  // program 2 at normalised 1.0
  plugin.SelectPreset(1);
  EXPECT_EQ(plugin.GetParam(0)->Value(), 0.0);

  // A malformed record stops the load with false; earlier programs stay changed.
  auto damaged = bank;
  const std::size_t third = 156 + 2 * (56 + 128);
  damaged[third + 8] = 'Q';
  WriteAll(Path("damaged.fxb"), damaged);
  TestPlugin partial;
  EXPECT_FALSE(partial.LoadBankFile(Path("damaged.fxb").c_str()));
  EXPECT_STREQ(partial.GetPresetName(1), "Prog 1");
  EXPECT_STREQ(partial.GetPresetName(2), "empty");
  EXPECT_EQ(partial.programChanges, 0);

  // A record cut short is malformed too.
  auto truncated = bank;
  truncated.resize(156 + (56 + 128) + 100);
  WriteAll(Path("truncated.fxb"), truncated);
  TestPlugin cut;
  EXPECT_FALSE(cut.LoadBankFile(Path("truncated.fxb").c_str()));
  EXPECT_STREQ(cut.GetPresetName(0), "Prog 0");
}

TEST_F(ProgramFiles, SavingNeverDestroysTheFileItReplaces) {
  TestPlugin plugin;
  plugin.FillEmptyPresets(64);
  plugin.SetAll(1);
  plugin.ModifyCurrentPreset();
  ASSERT_TRUE(plugin.SaveBankFile(Path("keep.fxb").c_str()));
  const auto before = ReadAll(Path("keep.fxb"));

  // The target is a directory: the rename fails and nothing is left behind.
  fs::create_directories(dir / "folder.fxp");
  EXPECT_FALSE(plugin.SaveProgramFile(Path("folder.fxp").c_str()));
  EXPECT_TRUE(fs::is_directory(dir / "folder.fxp"));
  EXPECT_FALSE(plugin.SaveProgramFile(Path("no/such/dir.fxp").c_str()));
  EXPECT_FALSE(plugin.SaveProgramFile(""));

  plugin.SetAll(2);
  plugin.ModifyCurrentPreset();  // as the save command does
  ASSERT_TRUE(plugin.SaveBankFile(Path("keep.fxb").c_str()));
  EXPECT_NE(ReadAll(Path("keep.fxb")), before);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);  // no temporary file remains
}

TEST_F(ProgramFiles, FactoryStyleBankFromMemorySkipsTheHeader) {
  TestPlugin source;
  for (int i = 0; i < 64; ++i) {
    source.SetAll(i);
    source.SelectPreset(i);
    source.ModifyCurrentPreset(("Factory " + std::to_string(i)).c_str());
  }
  source.SelectPreset(0);
  ByteChunk bank;
  source.BuildBankFile(bank);

  TestPlugin plugin;
  plugin.LoadBankFromMemory(bank.Data(), bank.Size());
  EXPECT_STREQ(plugin.GetPresetName(0), "Factory 0");
  EXPECT_STREQ(plugin.GetPresetName(63), "Factory 63");
  EXPECT_EQ(plugin.programChanges, 1);
  plugin.FillEmptyPresets(64);
  for (int i = 0; i < 64; ++i) EXPECT_STRNE(plugin.GetPresetName(i), "Empty");

  TestPlugin empty;
  empty.LoadBankFromMemory(bank.Data(), 10);  // nothing usable: no crash
  EXPECT_EQ(empty.CurrentPresetIndex(), 0);
}

}  // namespace
