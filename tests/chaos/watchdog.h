// Ends the run when the plug-in stops returning: the driving thread beats
// the heart before each call into the plug-in, and when no beat comes for
// the allowed time the watchdog prints what was running and aborts.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class Watchdog {
 public:
  Watchdog(double allowedSeconds, std::uint64_t seed);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // `what` must outlive the call (a string literal).
  void Beat(const char* what) {
    what_.store(what);
    beats_.fetch_add(1);
  }
  std::uint64_t beats() const { return beats_.load(); }

 private:
  void Watch();

  const double allowedSeconds_;
  const std::uint64_t seed_;
  std::atomic<std::uint64_t> beats_{0};
  std::atomic<const char*> what_{"start"};
  std::mutex lock_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};
