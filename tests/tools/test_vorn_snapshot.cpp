// vorn-snapshot as a user runs it: the PNG it writes, program choice by
// number and name, parameter values, and the errors it reports.
#include <gtest/gtest.h>

#include <memory>

#include "raster/px_png.h"
#include "tests/tools/tool_process.h"

namespace {

using tooltest::Quote;
using tooltest::RunCommand;

std::string Snapshot(const std::string& arguments) { return Quote(VORN_SNAPSHOT_EXE) + " " + arguments + " 2>&1"; }

std::unique_ptr<PX_IBitmap> Load(const std::string& path) {
  return std::unique_ptr<PX_IBitmap>(LoadPngFromFile(path.c_str(), true, nullptr));
}

bool SamePixels(PX_IBitmap& a, PX_IBitmap& b) {
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Pixels()[y * a.RowSpan() + x] != b.Pixels()[y * b.RowSpan() + x]) return false;
    }
  }
  return true;
}

TEST(VornSnapshot, WritesTheEditorOfTheChosenProgram) {
  tooltest::ScratchFolder folder;
  const std::string first = folder.Path("first.png");
  const std::string byNumber = folder.Path("by-number.png");
  const std::string byName = folder.Path("by-name.png");
  const std::string moved = folder.Path("moved.png");
  ASSERT_EQ(RunCommand(Snapshot("-o " + Quote(first))).exitStatus, 0);
  const tooltest::CommandResult numbered = RunCommand(Snapshot("-p 3 -o " + Quote(byNumber)));
  ASSERT_EQ(numbered.exitStatus, 0) << numbered.output;
  // The tool names the program it drew: the same image by that name.
  const size_t open = numbered.output.find('"');
  const size_t close = numbered.output.rfind('"');
  ASSERT_TRUE(open != std::string::npos && close > open) << numbered.output;
  const std::string name = numbered.output.substr(open + 1, close - open - 1);
  ASSERT_EQ(RunCommand(Snapshot("--program " + Quote(name) + " --output " + Quote(byName))).exitStatus, 0);
  ASSERT_EQ(RunCommand(Snapshot("-p 3 --set 0=1 --set 3=0 -o " + Quote(moved))).exitStatus, 0);

  auto a = Load(first), b = Load(byNumber), c = Load(byName), d = Load(moved);
  ASSERT_TRUE(a && b && c && d);
  EXPECT_EQ(a->Width(), 832);
  EXPECT_EQ(a->Height(), 376);
  EXPECT_FALSE(SamePixels(*a, *b));
  EXPECT_TRUE(SamePixels(*b, *c));
  EXPECT_FALSE(SamePixels(*b, *d));
}

TEST(VornSnapshot, RefusesWhatItCannotDo) {
  tooltest::ScratchFolder folder;
  const std::string out = Quote(folder.Path("x.png"));
  struct Case {
    std::string arguments;
    int status;
  };
  const Case cases[] = {
      {"", 2},
      {"-o", 2},
      {"-o " + out + " --view 3", 2},
      {"-o " + out + " --set 12", 2},
      {"-o " + out + " --bogus", 2},
      {"-o " + out + " -p \"No Such Program\"", 1},
      {"-o " + out + " -p 64", 1},
      {"-o " + out + " --set 32=0.5", 1},
      {"-o " + Quote(folder.Path("missing/x.png")), 1},
      {"--help", 0},
  };
  for (const Case& c : cases) {
    const tooltest::CommandResult run = RunCommand(Snapshot(c.arguments));
    EXPECT_EQ(run.exitStatus, c.status) << c.arguments << "\n" << run.output;
  }
}

}  // namespace
