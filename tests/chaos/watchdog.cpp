#include "tests/chaos/watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr auto kLookInterval = std::chrono::milliseconds(100);
}

Watchdog::Watchdog(double allowedSeconds, std::uint64_t seed)
    : allowedSeconds_(allowedSeconds), seed_(seed), thread_([this] { Watch(); }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void Watchdog::Watch() {
  using Clock = std::chrono::steady_clock;
  std::uint64_t lastBeats = beats_.load();
  Clock::time_point lastChange = Clock::now();
  std::unique_lock<std::mutex> guard(lock_);
  while (!wake_.wait_for(guard, kLookInterval, [this] { return stop_; })) {
    std::uint64_t now = beats_.load();
    if (now != lastBeats) {
      lastBeats = now;
      lastChange = Clock::now();
      continue;
    }
    if (std::chrono::duration<double>(Clock::now() - lastChange).count() > allowedSeconds_) {
      std::fprintf(stderr, "chaos: FAIL hang: no return for %.0f s from \"%s\" (call %llu, seed %llu)\n",
                   allowedSeconds_, what_.load(), static_cast<unsigned long long>(now),
                   static_cast<unsigned long long>(seed_));
      std::fflush(stderr);
      std::abort();
    }
  }
}
