// Program and bank files reach the plug-in the way hosts deliver them:
// chunks through effSetChunk, parameter forms through setParameter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/tools/fake_instrument/fake_instrument.h"
#include "tests/tools/render_fixture.h"

namespace tooltest {
namespace {

constexpr float kVelocityScale = 100.0f / 127.0f;

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}
void PutTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
void PutFloat(std::vector<unsigned char>& out, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  PutBigEndian(out, bits);
}
// The fake instrument's own chunk: a tag, then little-endian floats.
std::vector<unsigned char> FakeChunk(const char* tag, const std::vector<float>& values) {
  std::vector<unsigned char> chunk(tag, tag + 4);
  for (float v : values) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&v);
    chunk.insert(chunk.end(), bytes, bytes + sizeof v);
  }
  return chunk;
}
std::string Hex(const std::vector<unsigned char>& bytes) {
  std::string text;
  char pair[3];
  for (unsigned char b : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    text += pair;
  }
  return text;
}

// An FXP header up to the program name (56 bytes).
std::vector<unsigned char> ProgramHeader(const char* kind, std::int32_t id, std::uint32_t count, const char* name) {
  std::vector<unsigned char> file;
  PutTag(file, "CcnK");
  PutBigEndian(file, 0);  // byte size: not read
  PutTag(file, kind);
  PutBigEndian(file, 1);
  PutBigEndian(file, static_cast<std::uint32_t>(id));
  PutBigEndian(file, 1);
  PutBigEndian(file, count);
  char field[28] = {};
  std::memcpy(field, name, std::min(std::strlen(name), sizeof field));
  file.insert(file.end(), field, field + sizeof field);
  return file;
}

std::vector<unsigned char> ParameterProgram(std::int32_t id, const char* name, const std::vector<float>& values) {
  std::vector<unsigned char> file = ProgramHeader("FxCk", id, static_cast<std::uint32_t>(values.size()), name);
  for (float v : values) PutFloat(file, v);
  return file;
}

std::vector<unsigned char> ChunkProgram(std::int32_t id, const std::vector<unsigned char>& chunk) {
  std::vector<unsigned char> file = ProgramHeader("FPCh", id, 2, "chunky");
  PutBigEndian(file, static_cast<std::uint32_t>(chunk.size()));
  file.insert(file.end(), chunk.begin(), chunk.end());
  return file;
}

std::vector<unsigned char> BankHeader(const char* kind, std::int32_t id, std::uint32_t programs, std::uint32_t current) {
  std::vector<unsigned char> file;
  PutTag(file, "CcnK");
  PutBigEndian(file, 0);
  PutTag(file, kind);
  PutBigEndian(file, 2);
  PutBigEndian(file, static_cast<std::uint32_t>(id));
  PutBigEndian(file, 1);
  PutBigEndian(file, programs);
  PutBigEndian(file, current);
  file.resize(156, 0);
  return file;
}

class PresetTest : public RenderTest {
 protected:
  void SetUp() override { song_ = SaveSong("note.mid", OneNote(69, 480)); }

  // Renders with the file given by option and answers the peak level.
  CommandResult RenderWith(const std::string& option, const std::vector<unsigned char>& file, float* peak = nullptr) {
    const std::string path = Path("preset.bin");
    EXPECT_TRUE(WriteBytes(path, file));
    const std::string wav = Path("out.wav");
    CommandResult run = Render("-f -t 0 --list-params " + option + " " + Quote(path) + " " + extra_ + " -o " +
                               Quote(wav) + " " + Quote(song_));
    if (peak && run.exitStatus == 0) *peak = Peak(ReadWithSox(wav));
    return run;
  }

  std::string song_;
  std::string extra_;
};

TEST_F(PresetTest, ChunkFilesGoToEffSetChunkWithTheirIndex) {
  const std::vector<unsigned char> program = FakeChunk("FKPG", {0.25f, 0.5f});
  float peak = 0.0f;
  CommandResult run = RenderWith("--fxp", ChunkProgram(fake::kUniqueId, program), &peak);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(LogLines("effSetChunk"),
            std::vector<std::string>{"effSetChunk index=1 size=12 data=" + Hex(program)});
  EXPECT_NEAR(peak, 0.25f * kVelocityScale, 1e-3);
  EXPECT_NE(run.output.find("Gain                     0.25"), std::string::npos) << run.output;

  // A bank chunk sets every program; --program then picks one of them.
  const std::vector<unsigned char> bank = FakeChunk("FKBK", {0.1f, 0.5f, 0.2f, 0.5f, 0.3f, 0.5f, 0.4f, 0.5f});
  std::vector<unsigned char> file = BankHeader("FBCh", fake::kUniqueId, 4, 0);
  PutBigEndian(file, static_cast<std::uint32_t>(bank.size()));
  file.insert(file.end(), bank.begin(), bank.end());
  extra_ = "-p 'Deep Drone'";
  run = RenderWith("--fxb", file, &peak);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(LogLines("effSetChunk"), std::vector<std::string>{"effSetChunk index=0 size=36 data=" + Hex(bank)});
  EXPECT_NEAR(peak, 0.4f * kVelocityScale, 1e-3);

  // A chunk the plug-in turns down is an error, not a silent default sound.
  run = RenderWith("--fxp", ChunkProgram(fake::kUniqueId, FakeChunk("FKPG", {0.25f})));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("the plug-in refused the program chunk"), std::string::npos) << run.output;
}

TEST_F(PresetTest, ParameterFilesGoThroughSetParameter) {
  float peak = 0.0f;
  CommandResult run = RenderWith("--fxp", ParameterProgram(fake::kUniqueId, "Loud", {0.75f, 0.5f}), &peak);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(LogLines("setParameter"), (std::vector<std::string>{"setParameter 0 0.7500", "setParameter 1 0.5000"}));
  EXPECT_EQ(LogLines("effSetProgramName"), std::vector<std::string>{"effSetProgramName Loud"});
  EXPECT_NEAR(peak, 0.75f * kVelocityScale, 1e-3);

  std::vector<unsigned char> bank = BankHeader("FxBk", fake::kUniqueId, 2, 1);
  for (const auto& program : {ParameterProgram(fake::kUniqueId, "First", {0.2f, 0.5f}),
                              ParameterProgram(fake::kUniqueId, "Second", {0.6f, 0.75f})})
    bank.insert(bank.end(), program.begin(), program.end());
  run = RenderWith("--fxb", bank, &peak);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(LogLines("effSetProgram "),
            (std::vector<std::string>{"effSetProgram 0", "effSetProgram 1", "effSetProgram 1"}));
  EXPECT_EQ(LogLines("setParameter").size(), 4u);
  EXPECT_NEAR(peak, 0.6f * kVelocityScale, 1e-3);  // the bank's current program, 1, plays
  EXPECT_NE(run.output.find("Octave                   +1"), std::string::npos) << run.output;
}

TEST_F(PresetTest, RefusesFilesThatDoNotFit) {
  struct Case {
    const char* what;
    std::vector<unsigned char> file;
    const char* reason;
  };
  std::vector<unsigned char> truncated = ChunkProgram(fake::kUniqueId, FakeChunk("FKPG", {0.25f, 0.5f}));
  truncated.resize(truncated.size() - 1);
  std::vector<unsigned char> unknown = ParameterProgram(fake::kUniqueId, "x", {0.5f, 0.5f});
  std::memcpy(&unknown[8], "FxZz", 4);
  std::vector<unsigned char> shortBank = BankHeader("FxBk", fake::kUniqueId, 2, 0);
  const std::vector<unsigned char> one = ParameterProgram(fake::kUniqueId, "only", {0.5f, 0.5f});
  shortBank.insert(shortBank.end(), one.begin(), one.end());
  const Case cases[] = {
      {"other plug-in", ParameterProgram(vst2::FourCharCode("vorn"), "x", {0.5f, 0.5f}),
       "the file was made for plug-in 'vorn', this plug-in is 'FkIn'"},
      {"value count", ParameterProgram(fake::kUniqueId, "x", {0.5f, 0.5f, 0.5f}),
       "the file holds 3 values but the plug-in has 2 parameters"},
      {"truncated chunk", truncated, "the chunk declares 12 bytes but only 11 follow"},
      {"unknown kind", unknown, "unknown file kind \"FxZz\""},
      {"short bank", shortBank, "program 1: a program record is not"},
      {"not a preset", {'R', 'I', 'F', 'F'}, "no \"CcnK\" header"},
  };
  for (const Case& c : cases) {
    const CommandResult run = RenderWith(c.what[0] == 's' && c.what[1] == 'h' ? "--fxb" : "--fxp", c.file);
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    EXPECT_NE(run.output.find(c.reason), std::string::npos) << c.what << ": " << run.output;
    EXPECT_TRUE(LogLines("setParameter").empty()) << c.what;
    EXPECT_TRUE(LogLines("effSetChunk").empty()) << c.what;
  }
}

}  // namespace
}  // namespace tooltest
