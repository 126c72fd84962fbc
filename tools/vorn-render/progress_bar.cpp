#include "tools/vorn-render/progress_bar.h"

namespace render {
namespace {

// A render finished within this time needs no bar.
constexpr std::chrono::milliseconds kShowAfter{300};
constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr int kBarWidth = 40;
constexpr int kLineWidth = kBarWidth + 16;

}  // namespace

ProgressBar::ProgressBar(std::FILE* out, bool enabled) : out_(out), enabled_(enabled), start_(Clock::now()) {}

void ProgressBar::Update(std::int64_t done, std::int64_t total) {
  if (!enabled_ || total <= 0) return;
  const Clock::time_point now = Clock::now();
  if (now - start_ < kShowAfter || (shown_ && now - lastDrawn_ < kRedrawInterval)) return;
  shown_ = true;
  lastDrawn_ = now;
  const double fraction = static_cast<double>(done) / static_cast<double>(total);
  const int filled = static_cast<int>(fraction * kBarWidth);
  char bar[kBarWidth + 1];
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kBarWidth] = '\0';
  std::fprintf(out_, "\r[%s] %3d%%", bar, static_cast<int>(fraction * 100.0));
  std::fflush(out_);
}

void ProgressBar::Finish() {
  if (!shown_) return;
  std::fprintf(out_, "\r%*s\r", kLineWidth, "");
  std::fflush(out_);
  shown_ = false;
}

}  // namespace render
