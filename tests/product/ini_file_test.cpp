#include "product/settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "tests/product/scratch_folder.h"

namespace {

TEST(IniFile, ReadReportsWhatItFound) {
  ScratchFolder folder;
  const std::string present = folder.File("present.ini");
  WriteWholeFile(present, "[S]\nK=v\n");
  const std::string tooLarge = folder.File("large.ini");
  WriteWholeFile(tooLarge, "[S]\nK=v\n" + std::string(kMaxIniFileSize, 'x'));
  std::filesystem::create_directory(folder.File("folder.ini"));

  const struct {
    std::string path;
    IniFileState state;
  } cases[] = {
      {present, IniFileState::kRead},
      {folder.File("absent.ini"), IniFileState::kMissing},
      {tooLarge, IniFileState::kUnreadable},
      {folder.File("folder.ini"), IniFileState::kUnreadable},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    IniDocument document("[S]\nK=stale\n");
    EXPECT_EQ(ReadIniFile(c.path, document), c.state);
    std::string value;
    EXPECT_EQ(document.Find("S", "K", value), c.state == IniFileState::kRead);
  }
}

TEST(IniFile, WriteReplacesTheFileAndLeavesNoTemporary) {
  ScratchFolder folder;
  const std::string path = folder.File("vorn.ini");
  WriteWholeFile(path, "[Old]\nK=1\n");
  IniDocument document;
  document.Set("New", "K", "2");
  ASSERT_TRUE(WriteIniFile(path, document));
  EXPECT_EQ(ReadWholeFile(path), "[New]\r\nK=2\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator()),
            1);
}

// A full disk, simulated by a file-size limit (which binds even the super-user).
TEST(IniFile, FailedWriteLeavesTheOldFileWhole) {
  ScratchFolder folder;
  const std::string path = folder.File("vorn.ini");
  const std::string old = "[Startup Bank]\r\nFile=/banks/mine.fxb\r\n";
  WriteWholeFile(path, old);
  IniDocument document;
  document.Set("MIDI Control", "CC1", std::string(4096, '7'));

  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &tiny);
  const bool written = WriteIniFile(path, document);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadWholeFile(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator()),
            1);
}

}  // namespace
