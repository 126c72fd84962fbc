#include "tools/demo/midi_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace demo {
namespace {

constexpr double kMicrosPerMinute = 60e6;
constexpr std::uint8_t kMeta = 0xFF;
constexpr std::uint8_t kMetaTrackName = 0x03;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint8_t kMetaTimeSignature = 0x58;
constexpr std::uint8_t kClocksPerClick = 24;
constexpr std::uint8_t kThirtySecondsPerQuarter = 8;

void PutVariableLength(std::vector<std::uint8_t>& out, std::uint64_t value) {
  std::uint8_t groups[10];
  int count = 0;
  do {
    groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value > 0);
  while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint8_t Data(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 127)); }
std::uint8_t Status(int kind, int channel) { return static_cast<std::uint8_t>(kind | (channel & 0x0F)); }

}  // namespace

void MidiTrack::Add(std::uint64_t tick, Priority priority, std::vector<std::uint8_t> bytes) {
  items_.push_back({tick, priority, std::move(bytes)});
}

void MidiTrack::Name(const std::string& text) {
  std::vector<std::uint8_t> bytes = {kMeta, kMetaTrackName};
  PutVariableLength(bytes, text.size());
  bytes.insert(bytes.end(), text.begin(), text.end());
  Add(0, kMetaFirst, bytes);
}

void MidiTrack::Tempo(std::uint64_t tick, double beatsPerMinute) {
  std::vector<std::uint8_t> bytes = {kMeta, kMetaTempo, 3};
  PutBigEndian(bytes, static_cast<std::uint32_t>(std::lround(kMicrosPerMinute / beatsPerMinute)), 3);
  Add(tick, kMetaFirst, bytes);
}

void MidiTrack::TimeSignature(std::uint64_t tick, int numerator, int denominator) {
  std::uint8_t power = 0;
  while ((1 << power) < denominator) ++power;
  Add(tick, kMetaFirst,
      {kMeta, kMetaTimeSignature, 4, Data(numerator), power, kClocksPerClick, kThirtySecondsPerQuarter});
}

void MidiTrack::Note(std::uint64_t tick, std::uint64_t length, int channel, int key, int velocity) {
  Add(tick, kOtherLast, {Status(0x90, channel), Data(key), Data(velocity)});
  Add(tick + length, kReleaseSecond, {Status(0x80, channel), Data(key), 64});
}

void MidiTrack::Controller(std::uint64_t tick, int channel, int controller, int value) {
  Add(tick, kOtherLast, {Status(0xB0, channel), Data(controller), Data(value)});
}

void MidiTrack::ProgramChange(std::uint64_t tick, int channel, int program) {
  Add(tick, kOtherLast, {Status(0xC0, channel), Data(program)});
}

void MidiTrack::PitchBend(std::uint64_t tick, int channel, int value) {
  const int clamped = std::clamp(value, 0, 16383);
  Add(tick, kOtherLast, {Status(0xE0, channel), Data(clamped & 0x7F), Data(clamped >> 7)});
}

void MidiTrack::SysEx(std::uint64_t tick, const std::vector<std::uint8_t>& body) {
  std::vector<std::uint8_t> bytes = {0xF0};
  PutVariableLength(bytes, body.size());
  bytes.insert(bytes.end(), body.begin(), body.end());
  Add(tick, kOtherLast, bytes);
}

void MidiTrack::Raw(std::uint64_t tick, const std::vector<std::uint8_t>& bytes) { Add(tick, kOtherLast, bytes); }

std::vector<std::uint8_t> MidiTrack::Encode(bool runningStatus) const {
  std::vector<Item> items = items_;
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.priority < b.priority;
  });
  std::vector<std::uint8_t> body;
  std::uint64_t now = 0;
  std::uint8_t running = 0;
  for (const Item& item : items) {
    PutVariableLength(body, item.tick - now);
    now = item.tick;
    const std::uint8_t status = item.bytes.empty() ? 0 : item.bytes[0];
    const bool channelMessage = status >= 0x80 && status < 0xF0;
    const bool omitStatus = runningStatus && channelMessage && status == running;
    body.insert(body.end(), item.bytes.begin() + (omitStatus ? 1 : 0), item.bytes.end());
    running = channelMessage ? status : 0;
  }
  PutVariableLength(body, std::max(end_, now) - now);
  body.insert(body.end(), {kMeta, kMetaEndOfTrack, 0});

  std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
  PutBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<std::uint8_t> EncodeMidiFile(int format, int ticksPerQuarter, const std::vector<MidiTrack>& tracks,
                                         bool runningStatus) {
  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  PutBigEndian(file, static_cast<std::uint32_t>(format), 2);
  PutBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
  PutBigEndian(file, static_cast<std::uint32_t>(ticksPerQuarter), 2);
  for (const MidiTrack& track : tracks) {
    const std::vector<std::uint8_t> chunk = track.Encode(runningStatus);
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace demo
