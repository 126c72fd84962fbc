// A one-line progress bar on stderr for renders that take more than a
// moment. It stays silent when stderr is not a terminal, so logs and pipes
// get only the summary.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace render {

class ProgressBar {
 public:
  ProgressBar(std::FILE* out, bool enabled);
  void Update(std::int64_t done, std::int64_t total);
  // Clears the bar, if one was drawn.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;

  std::FILE* out_;
  bool enabled_;
  bool shown_ = false;
  Clock::time_point start_;
  Clock::time_point lastDrawn_;
};

}  // namespace render
