#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "engine/synth_engine.h"
#include "product/vorn.h"
#include "plugin/fx_file_layout.h"
#include "product/factory_bank.h"
#include "tests/host/vorn_facts.h"

namespace {

const char* const* const kNames = vorn_facts::kFactoryProgramNames;

std::vector<double> Values(Vorn& vorn) {
  std::vector<double> values;
  for (int i = 0; i < 32; ++i) values.push_back(vorn.GetParam(i)->Value());
  return values;
}

std::uint32_t BigEndianAt(const std::uint8_t* bytes, int at) {
  return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) | (std::uint32_t{bytes[at + 2]} << 8) |
         bytes[at + 3];
}

struct Phrase {
  double peak = 0;
  double rms = 0;
  bool finite = true;
  std::vector<float> audio;
};

// Two bars at 120 bpm: a low note, a three-note chord, a high note, each
// held and released, then a second of tail.
Phrase PlayPhrase(Vorn& vorn) {
  constexpr int kRate = 48000;
  constexpr int kBlock = 256;
  vorn.SetSampleRate(kRate);
  vorn.SetBlockSize(kBlock);
  vorn.ResetEngine();
  vorn.ReleaseAllVoices();
  struct Event {
    int frame;
    std::uint8_t status, note, velocity;
  };
  const std::vector<Event> events = {
      {0, 0x90, 36, 110},           {kRate / 2, 0x80, 36, 0},     {kRate / 2, 0x90, 60, 90},
      {kRate / 2, 0x90, 64, 90},    {kRate / 2, 0x90, 67, 90},    {kRate * 3 / 2, 0x80, 60, 0},
      {kRate * 3 / 2, 0x80, 64, 0}, {kRate * 3 / 2, 0x80, 67, 0}, {kRate * 3 / 2, 0x90, 76, 127},
      {kRate * 2, 0x80, 76, 0}};
  Phrase phrase;
  std::vector<double> left(kBlock), right(kBlock);
  double* outputs[2] = {left.data(), right.data()};
  double energy = 0;
  const int total = kRate * 3;
  std::size_t next = 0;
  for (int start = 0; start < total; start += kBlock) {
    while (next < events.size() && events[next].frame < start + kBlock) {
      const Event& e = events[next++];
      vorn.HandleMidiMessage(MidiMessage{e.frame - start, e.status, e.note, e.velocity});
    }
    vorn.RenderBlock(nullptr, outputs, kBlock);
    for (int i = 0; i < kBlock; ++i) {
      for (double sample : {left[static_cast<std::size_t>(i)], right[static_cast<std::size_t>(i)]}) {
        phrase.finite = phrase.finite && std::isfinite(sample);
        phrase.peak = std::max(phrase.peak, std::fabs(sample));
        energy += sample * sample;
      }
      phrase.audio.push_back(static_cast<float>(left[static_cast<std::size_t>(i)]));
    }
  }
  phrase.rms = std::sqrt(energy / (2.0 * total));
  return phrase;
}

TEST(FactoryBank, IsAChunkFormBankOfSixtyFourPrograms) {
  const void* data = nullptr;
  int size = 0;
  ASSERT_TRUE(FactoryBankBytes(data, size));
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  ASSERT_GT(size, 160);
  EXPECT_EQ(std::memcmp(bytes, "CcnK", 4), 0);
  EXPECT_EQ(BigEndianAt(bytes, 4), static_cast<std::uint32_t>(size));
  EXPECT_EQ(std::memcmp(bytes + 8, "FBCh", 4), 0);
  EXPECT_EQ(BigEndianAt(bytes, 12), 2u);
  EXPECT_EQ(std::memcmp(bytes + 16, "vorn", 4), 0);
  EXPECT_EQ(BigEndianAt(bytes, 20), 10200u);
  EXPECT_EQ(BigEndianAt(bytes, 24), 64u);
  EXPECT_EQ(BigEndianAt(bytes, 28), 0u);
  EXPECT_EQ(BigEndianAt(bytes, 156), static_cast<std::uint32_t>(size - 160));
}

TEST(FactoryBank, LoadsAtStartWithItsNamesAndTheTwoKnownRows) {
  Vorn vorn(nullptr);
  vorn.FillEmptyPresets(64);
  EXPECT_EQ(vorn.CurrentPresetIndex(), 0);
  for (int i = 0; i < 64; ++i) {
    EXPECT_STREQ(vorn.GetPresetName(i), kNames[i]);
    EXPECT_TRUE(vorn.Preset(i).initialized);
  }
  const std::vector<double> syncHeaven = {50,      0,         2,  0,       0, 0,       44.4444, 1,  0,  0,      1,
                                          1,       9236.5487, 77, 61.0317, 0, 50,      0,       90, 0,  6.7661, 0,
                                          73.0397, 0,         0,  0,       1, 50.3095, 1,       7,  13, 20};
  EXPECT_EQ(Values(vorn), syncHeaven);
  vorn.SelectPreset(63);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(vorn.GetParam(i)->Value(), vorn.GetParam(i)->Default()) << i;
}

TEST(FactoryBank, EveryProgramPlaysAndNoTwoAreAlike) {
  Vorn vorn(nullptr);
  vorn.FillEmptyPresets(64);
  std::set<std::vector<double>> distinct;
  std::vector<std::vector<float>> renders;
  for (int i = 0; i < 64; ++i) {
    ASSERT_TRUE(vorn.SelectPreset(i));
    distinct.insert(Values(vorn));
    const Phrase phrase = PlayPhrase(vorn);
    SCOPED_TRACE(kNames[i]);
    EXPECT_TRUE(phrase.finite);
    EXPECT_GT(phrase.peak, 0.05);  // clearly audible, drums included
    EXPECT_GT(phrase.rms, 0.005);
    EXPECT_LT(phrase.peak, 1.0);  // never over full scale
    renders.push_back(phrase.audio);
  }
  EXPECT_EQ(distinct.size(), 64u);
  for (std::size_t a = 0; a < renders.size(); ++a) {
    for (std::size_t b = a + 1; b < renders.size(); ++b)
      EXPECT_NE(renders[a], renders[b]) << kNames[a] << " / " << kNames[b];
  }
}

}  // namespace
