#include "tools/vorn-render/midi_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace render {
namespace {

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kMinHeaderLength = 6;
constexpr int kMaxVariableLengthBytes = 4;
constexpr std::uint8_t kMetaStatus = 0xFF;
constexpr std::uint8_t kSysexStatus = 0xF0;
constexpr std::uint8_t kSysexContinuation = 0xF7;
constexpr std::uint8_t kFirstSystemStatus = 0xF0;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint8_t kMetaTimeSignature = 0x58;
constexpr std::size_t kTempoLength = 3;
constexpr std::size_t kTimeSignatureLength = 2;
constexpr int kMaxDenominatorPower = 7;  // up to 128th notes

std::string Format(const char* format, long long a = 0, long long b = 0, long long c = 0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

std::uint32_t ReadBigEndian(const std::uint8_t* p, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

// Reads one track chunk's events; positions in messages are file offsets.
class TrackReader {
 public:
  TrackReader(const std::uint8_t* file, std::size_t begin, std::size_t end, int track, MidiSong& song)
      : file_(file), pos_(begin), end_(end), track_(track), song_(song) {}

  bool Read(std::string& error) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (pos_ < end_) {
      std::uint32_t delta = 0;
      if (!ReadVariableLength(delta, error)) return false;
      tick += delta;
      if (pos_ >= end_) return Fail(error, "an event time without an event");
      const std::uint8_t first = file_[pos_];
      if (first == kMetaStatus) {
        // The format says meta events cancel running status, but files from
        // several sequencers rely on it across them; keeping it costs nothing.
        bool endOfTrack = false;
        if (!ReadMeta(tick, endOfTrack, error)) return false;
        if (endOfTrack) break;
        continue;
      }
      if (first == kSysexStatus || first == kSysexContinuation) {
        running = 0;  // a sysex message is a status of its own
        ++pos_;
        std::uint32_t length = 0;
        if (!ReadVariableLength(length, error) || !Skip(length, "a sysex message", error)) return false;
        continue;
      }
      std::uint8_t status = running;
      if (first & 0x80) {
        if (first >= kFirstSystemStatus)
          return Fail(error, Format("a system message 0x%02llX, which files may not hold", first).c_str());
        status = first;
        running = first;
        ++pos_;
      } else if (running == 0) {
        return Fail(error, "a data byte without a status byte");
      }
      if (!ReadChannelMessage(tick, status, error)) return false;
    }
    song_.endTick = std::max(song_.endTick, tick);
    return true;
  }

 private:
  bool Fail(std::string& error, const char* what) const {
    error = Format("track %lld, byte %lld: ", track_ + 1, static_cast<long long>(pos_)) + what;
    return false;
  }

  bool ReadVariableLength(std::uint32_t& value, std::string& error) {
    value = 0;
    for (int i = 0; i < kMaxVariableLengthBytes; ++i) {
      if (pos_ >= end_) return Fail(error, "the track ends inside a variable-length number");
      const std::uint8_t byte = file_[pos_++];
      value = (value << 7) | (byte & 0x7F);
      if (!(byte & 0x80)) return true;
    }
    return Fail(error, "a variable-length number longer than 4 bytes");
  }

  bool Skip(std::uint32_t length, const char* what, std::string& error) {
    if (length > end_ - pos_) return Fail(error, (std::string(what) + " runs past the end of the track").c_str());
    pos_ += length;
    return true;
  }

  bool ReadMeta(std::uint64_t tick, bool& endOfTrack, std::string& error) {
    ++pos_;
    if (pos_ >= end_) return Fail(error, "the track ends inside a meta event");
    const std::uint8_t type = file_[pos_++];
    std::uint32_t length = 0;
    if (!ReadVariableLength(length, error)) return false;
    const std::size_t dataPos = pos_;
    if (!Skip(length, "a meta event", error)) return false;
    const std::uint8_t* data = file_ + dataPos;
    if (type == kMetaEndOfTrack) {
      endOfTrack = true;
    } else if (type == kMetaTempo && length >= kTempoLength) {
      const std::uint32_t micros = ReadBigEndian(data, kTempoLength);
      if (micros > 0) song_.tempos.push_back({tick, micros});  // a zero tempo would stop time; ignore it
    } else if (type == kMetaTimeSignature && length >= kTimeSignatureLength) {
      if (data[0] > 0 && data[1] <= kMaxDenominatorPower)
        song_.signatures.push_back({tick, data[0], static_cast<std::uint8_t>(1u << data[1])});
    }
    return true;
  }

  bool ReadChannelMessage(std::uint64_t tick, std::uint8_t status, std::string& error) {
    const std::uint8_t kind = status & 0xF0;
    const std::size_t dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    if (dataBytes > end_ - pos_) return Fail(error, "the track ends inside a channel message");
    SmfEvent event;
    event.tick = tick;
    event.track = static_cast<std::uint16_t>(track_);
    event.size = static_cast<std::uint8_t>(1 + dataBytes);
    event.bytes[0] = status;
    for (std::size_t i = 0; i < dataBytes; ++i) {
      const std::uint8_t byte = file_[pos_];
      if (byte & 0x80) return Fail(error, "a status byte where a data byte belongs");
      event.bytes[1 + i] = byte;
      ++pos_;
    }
    song_.events.push_back(event);
    return true;
  }

  const std::uint8_t* file_;
  std::size_t pos_;
  std::size_t end_;
  int track_;
  MidiSong& song_;
};

bool ReadDivision(std::uint16_t raw, SmfDivision& division, std::string& error) {
  if (raw & 0x8000) {
    const int fps = -static_cast<int>(static_cast<std::int8_t>(raw >> 8));
    const int ticksPerFrame = raw & 0xFF;
    if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || ticksPerFrame == 0) {
      error = "the header's SMPTE time division is invalid";
      return false;
    }
    division.smpte = true;
    division.framesPerSecond = fps == 29 ? 30000.0 / 1001.0 : fps;  // 29 stands for 29.97 drop-frame
    division.ticksPerFrame = ticksPerFrame;
  } else {
    if (raw == 0) {
      error = "the header gives 0 ticks per quarter note";
      return false;
    }
    division.ticksPerQuarter = raw;
  }
  return true;
}

template <typename T>
void SortByTickThenTrack(std::vector<T>& items) {
  std::stable_sort(items.begin(), items.end(), [](const T& a, const T& b) { return a.tick < b.tick; });
}

}  // namespace

MidiReadResult ReadMidiFile(const std::uint8_t* data, std::size_t size) {
  MidiReadResult result;
  MidiSong& song = result.song;
  if (size < kChunkHeaderSize || std::memcmp(data, "MThd", 4) != 0) {
    result.error = "not a Standard MIDI File (no MThd header)";
    return result;
  }
  const std::uint32_t headerLength = ReadBigEndian(data + 4, 4);
  if (headerLength < kMinHeaderLength || headerLength > size - kChunkHeaderSize) {
    result.error = "the MThd header is truncated";
    return result;
  }
  song.format = static_cast<int>(ReadBigEndian(data + 8, 2));
  const int declaredTracks = static_cast<int>(ReadBigEndian(data + 10, 2));
  if (song.format > 1) {
    result.error = song.format == 2 ? "format 2 files (independent sequences) are not supported"
                                    : Format("unknown file format %lld", song.format);
    return result;
  }
  if (declaredTracks == 0) {
    result.error = "the file declares no tracks";
    return result;
  }
  if (!ReadDivision(static_cast<std::uint16_t>(ReadBigEndian(data + 12, 2)), song.division, result.error))
    return result;

  std::size_t pos = kChunkHeaderSize + headerLength;
  int tracks = 0;
  while (tracks < declaredTracks && pos < size) {
    if (size - pos < kChunkHeaderSize) {
      result.error = Format("byte %lld: the file ends inside a chunk header", static_cast<long long>(pos));
      return result;
    }
    const std::uint32_t length = ReadBigEndian(data + pos + 4, 4);
    const std::size_t body = pos + kChunkHeaderSize;
    if (length > size - body) {
      result.error = Format("byte %lld: a chunk declares %lld bytes but only %lld remain", static_cast<long long>(pos),
                            length, static_cast<long long>(size - body));
      return result;
    }
    if (std::memcmp(data + pos, "MTrk", 4) == 0) {
      TrackReader reader(data, body, body + length, tracks, song);
      if (!reader.Read(result.error)) return result;
      ++tracks;
    }
    pos = body + length;  // chunks of other kinds are skipped, as the format asks
  }
  if (tracks < declaredTracks) {
    result.error = Format("the header declares %lld tracks but the file holds %lld", declaredTracks, tracks);
    return result;
  }
  song.trackCount = tracks;
  SortByTickThenTrack(song.events);
  SortByTickThenTrack(song.tempos);
  SortByTickThenTrack(song.signatures);
  for (const SmfEvent& event : song.events) song.endTick = std::max(song.endTick, event.tick);
  result.ok = true;
  return result;
}

}  // namespace render
