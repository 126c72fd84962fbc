// Program and bank files reach the plug-in the way hosts deliver them:
// chunks through effSetChunk, parameter forms through setParameter.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/tools/fake_instrument/fake_instrument.h"
#include "tests/tools/preset_file_writer.h"
#include "tests/tools/render_fixture.h"

namespace tooltest {
namespace {

constexpr float kVelocityScale = 100.0f / 127.0f;

// The fake instrument's own chunk: a tag, then little-endian floats.
Bytes FakeChunk(const char* tag, const std::vector<float>& values) {
  Bytes chunk(tag, tag + 4);
  for (float v : values) {
    unsigned char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    chunk.insert(chunk.end(), bytes, bytes + sizeof v);
  }
  return chunk;
}

std::string Hex(const Bytes& bytes) {
  std::string text;
  char pair[3];
  for (unsigned char b : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    text += pair;
  }
  return text;
}

class PresetTest : public RenderTest {
 protected:
  void SetUp() override { song_ = SaveSong("note.mid", OneNote(69, 480)); }

  // Renders with the file given by option and answers the peak level.
  CommandResult RenderWith(const std::string& option, const Bytes& file, float* peak = nullptr) {
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
  const Bytes program = FakeChunk("FKPG", {0.25f, 0.5f});
  float peak = 0.0f;
  CommandResult run = RenderWith("--fxp", ChunkProgram(fake::kUniqueId, "chunky", program), &peak);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(LogLines("effSetChunk"), std::vector<std::string>{"effSetChunk index=1 size=12 data=" + Hex(program)});
  EXPECT_NEAR(peak, 0.25f * kVelocityScale, 1e-3);
  EXPECT_NE(run.output.find("Gain                     0.25"), std::string::npos) << run.output;

  // A bank chunk sets every program; --program then picks one of them.
  const Bytes bank = FakeChunk("FKBK", {0.1f, 0.5f, 0.2f, 0.5f, 0.3f, 0.5f, 0.4f, 0.5f});
  extra_ = "-p 'Deep Drone'";
  run = RenderWith("--fxb", ChunkBank(fake::kUniqueId, 4, 0, bank), &peak);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(LogLines("effSetChunk"), std::vector<std::string>{"effSetChunk index=0 size=36 data=" + Hex(bank)});
  EXPECT_NEAR(peak, 0.4f * kVelocityScale, 1e-3);

  // A chunk the plug-in turns down is an error, not a silent default sound.
  run = RenderWith("--fxp", ChunkProgram(fake::kUniqueId, "chunky", FakeChunk("FKPG", {0.25f})));
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

  run = RenderWith("--fxb",
                   ParameterBank(fake::kUniqueId, 1,
                                 {ParameterProgram(fake::kUniqueId, "First", {0.2f, 0.5f}),
                                  ParameterProgram(fake::kUniqueId, "Second", {0.6f, 0.75f})}),
                   &peak);
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
    const char* option;
    Bytes file;
    const char* reason;
  };
  Bytes truncated = ChunkProgram(fake::kUniqueId, "chunky", FakeChunk("FKPG", {0.25f, 0.5f}));
  truncated.resize(truncated.size() - 1);
  Bytes unknown = ParameterProgram(fake::kUniqueId, "x", {0.5f, 0.5f});
  std::memcpy(&unknown[8], "FxZz", 4);
  Bytes shortBank = ParameterBank(fake::kUniqueId, 0, {ParameterProgram(fake::kUniqueId, "only", {0.5f, 0.5f})});
  shortBank[27] = 2;  // two programs declared, one present
  const Case cases[] = {
      {"other plug-in", "--fxp", ParameterProgram(vst2::FourCharCode("vorn"), "x", {0.5f, 0.5f}),
       "the file was made for plug-in 'vorn', this plug-in is 'FkIn'"},
      {"value count", "--fxp", ParameterProgram(fake::kUniqueId, "x", {0.5f, 0.5f, 0.5f}),
       "the file holds 3 values but the plug-in has 2 parameters"},
      {"truncated chunk", "--fxp", truncated, "the chunk declares 12 bytes but only 11 follow"},
      {"unknown kind", "--fxp", unknown, "unknown file kind \"FxZz\""},
      {"short bank", "--fxb", shortBank, "program 1: a program record is not"},
      {"not a preset", "--fxb", {'R', 'I', 'F', 'F'}, "no \"CcnK\" header"},
  };
  for (const Case& c : cases) {
    const CommandResult run = RenderWith(c.option, c.file);
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    EXPECT_NE(run.output.find(c.reason), std::string::npos) << c.what << ": " << run.output;
    EXPECT_TRUE(LogLines("setParameter").empty()) << c.what;
    EXPECT_TRUE(LogLines("effSetChunk").empty()) << c.what;
  }
}

}  // namespace
}  // namespace tooltest
