// A folder of the system's temporary folder that exists as long as this
// object: made on construction, removed with what it holds on destruction.
#pragma once

#include <filesystem>
#include <string>

class TemporaryFolder {
 public:
  // A new folder whose name starts with `prefix`.
  explicit TemporaryFolder(const std::string& prefix);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // Empty when no folder could be made.
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};
