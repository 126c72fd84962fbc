#include "tests/host/crash_report.h"

namespace {

constexpr int kStepCapacity = 200;

char g_step[kStepCapacity] = "start-up";
int g_passed = 0;
int g_failed = 0;

// Appends `text` at `length`, keeping room for the terminator.
int Append(char* out, int length, int capacity, const char* text) {
  while (*text != '\0' && length < capacity - 1) out[length++] = *text++;
  out[length] = '\0';
  return length;
}

int AppendNumber(char* out, int length, int capacity, int value) {
  char digits[16];
  int count = 0;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0 && count < 15);
  if (value < 0) length = Append(out, length, capacity, "-");
  char reversed[16];
  for (int i = 0; i < count; ++i) reversed[i] = digits[count - 1 - i];
  reversed[count] = '\0';
  return Append(out, length, capacity, reversed);
}

}  // namespace

void NoteCrashContext(const char* step, int passed, int failed) {
  int length = 0;
  while (step[length] != '\0' && length < kStepCapacity - 1) {
    g_step[length] = step[length];
    ++length;
  }
  g_step[length] = '\0';
  g_passed = passed;
  g_failed = failed;
}

int FormatCrashReport(const char* cause, char* text, int capacity) {
  int length = 0;
  text[0] = '\0';
  length = Append(text, length, capacity, "FAIL crash: ");
  length = Append(text, length, capacity, cause);
  length = Append(text, length, capacity, " during: ");
  length = Append(text, length, capacity, g_step);
  length = Append(text, length, capacity, "\n");
  // The crashed step counts as one more failure.
  length = AppendNumber(text, length, capacity, g_passed);
  length = Append(text, length, capacity, " passed, ");
  length = AppendNumber(text, length, capacity, g_failed + 1);
  length = Append(text, length, capacity, " failed\n");
  return length;
}
