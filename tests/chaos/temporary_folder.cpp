#include "tests/chaos/temporary_folder.h"

#include <chrono>
#include <system_error>

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return;
  // The clock makes the name unique among runs started one after another or
  // side by side; create_directory tells when it is taken after all.
  auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt, ++stamp) {
    std::filesystem::path candidate = base / (prefix + std::to_string(stamp));
    if (std::filesystem::create_directory(candidate, error) && !error) {
      path_ = candidate;
      return;
    }
  }
}

TemporaryFolder::~TemporaryFolder() {
  if (path_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}
