#include "engine/pitch_tables.h"

#include <iterator>
#include <map>
#include <mutex>

#include "engine/engine_constants.h"
#include "engine/wave_tables.h"

namespace {

constexpr double kPhaseCycle = 268435456.0;  // 2^28

struct TableCache {
  std::mutex lock;
  std::map<float, std::weak_ptr<const PitchTables>> entries;
};

TableCache& Cache() {
  static TableCache cache;
  return cache;
}

}  // namespace

PitchTables::PitchTables(float sampleRate) : mSampleRate(sampleRate) {
  const double rate = static_cast<double>(sampleRate);
  for (int i = 0; i < kPitchTableSize; ++i) {
    const double frequency = NoteFrequency(i);
    const double increment = frequency * kPhaseCycle / rate;
    mIncrement[i] = increment >= kMaxIncrement ? kMaxIncrement : static_cast<int>(increment);
    const double w = frequency * kTwoPi / rate;
    const double g = 1.0 / (w + 2.0);
    FilterCoefficients& filter = mFilter[i];
    filter.k = (w - 2.0) * g;
    filter.b = g * w;
    filter.c2 = 2.0 * g;
    filter.c4 = filter.c2 * filter.b;
    mWaveTable[i] = static_cast<std::uint8_t>(WaveTables::TableFor(mIncrement[i]));
  }
}

std::shared_ptr<const PitchTables> PitchTables::ForSampleRate(double sampleRate) {
  const float key = static_cast<float>(sampleRate);
  TableCache& cache = Cache();
  std::lock_guard<std::mutex> hold(cache.lock);
  for (auto it = cache.entries.begin(); it != cache.entries.end();) {
    it = it->second.expired() ? cache.entries.erase(it) : std::next(it);
  }
  if (auto found = cache.entries.find(key); found != cache.entries.end()) {
    if (auto tables = found->second.lock()) return tables;
  }
  auto tables = std::make_shared<const PitchTables>(key);
  cache.entries[key] = tables;
  return tables;
}
