// A tiny check harness shared by the GoogleTest program (Linux) and the
// self-contained Windows runner (run under Wine), so that the same
// pixel-exact checks run on both.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

class CheckLog {
 public:
  void Expect(bool ok, const char* what, const char* file, int line) {
    if (ok) return;
    ++failures_;
    std::ostringstream out;
    out << file << ":" << line << ": " << what << "\n";
    messages_ += out.str();
  }
  template <class A, class B>
  void ExpectEqual(const A& a, const B& b, const char* what, const char* file, int line) {
    if (a == b) return;
    ++failures_;
    std::ostringstream out;
    out << file << ":" << line << ": " << what << " (";
    Show(out, a);
    out << " != ";
    Show(out, b);
    out << ")\n";
    messages_ += out.str();
  }
  int Failures() const { return failures_; }
  const std::string& Messages() const { return messages_; }

 private:
  template <class T>
  static void Show(std::ostringstream& out, const T& value) {
    if constexpr (std::is_arithmetic_v<T>) {
      out << "0x" << std::hex << +value << std::dec;
    } else {
      out << value;
    }
  }

  int failures_ = 0;
  std::string messages_;
};

#define CHECK_TRUE(log, condition) (log).Expect((condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(log, a, b) (log).ExpectEqual((a), (b), #a " == " #b, __FILE__, __LINE__)

struct RasterCheck {
  const char* group;
  const char* name;
  void (*run)(CheckLog&);
};

std::vector<RasterCheck>& RasterChecks();

struct RasterCheckRegistration {
  RasterCheckRegistration(const char* group, const char* name, void (*run)(CheckLog&)) {
    RasterChecks().push_back({group, name, run});
  }
};

#define RASTER_CHECK(group, name)                                                                     \
  static void group##_##name(CheckLog& log);                                                          \
  static const RasterCheckRegistration group##_##name##_registration(#group, #name, &group##_##name); \
  static void group##_##name(CheckLog& log)
