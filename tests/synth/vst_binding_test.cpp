#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/synth_engine.h"
#include "product/vorn.h"
#include "tests/host/event_list.h"
#include "tests/synth/test_host.h"

namespace {

using vst2::IntPtr;

struct Instance {
  explicit Instance(vst2::HostCallback callback = TestHost::Callback) : vorn(new Vorn(callback)) {
    vorn->FillEmptyPresets(64);
    effect = vorn->Effect();
  }
  ~Instance() {
    if (effect->object) Dispatch(vst2::effClose);
  }
  IntPtr Dispatch(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0, void* ptr = nullptr,
                  float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  std::vector<std::uint8_t> Chunk(std::int32_t index) {
    void* data = nullptr;
    const IntPtr size = Dispatch(vst2::effGetChunk, index, 0, &data);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return size > 0 ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>{};
  }
  IntPtr SetChunk(std::int32_t index, std::vector<std::uint8_t> bytes) {
    return Dispatch(vst2::effSetChunk, index, static_cast<IntPtr>(bytes.size()), bytes.data());
  }
  void Start(float rate = 44100.0f, IntPtr block = 512) {
    Dispatch(vst2::effOpen);
    Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
    Dispatch(vst2::effSetBlockSize, 0, block);
    Dispatch(vst2::effMainsChanged, 0, 1);
  }
  void Note(std::uint8_t status, std::uint8_t note, std::uint8_t velocity, std::int32_t delta = 0) {
    EventList list;
    list.Midi(delta, status, note, velocity);
    Dispatch(vst2::effProcessEvents, 0, 0, list.Events());
  }
  std::vector<float> Render(int frames, int callSize) {
    std::vector<float> left(static_cast<std::size_t>(frames)), right(static_cast<std::size_t>(frames));
    for (int done = 0; done < frames; done += callSize) {
      float* outputs[2] = {left.data() + done, right.data() + done};
      effect->processReplacing(effect, nullptr, outputs, std::min(callSize, frames - done));
    }
    left.insert(left.end(), right.begin(), right.end());
    return left;
  }

  Vorn* vorn;
  vst2::AEffect* effect;
};

std::string Text(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length) {
  return std::string(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + length));
}

std::int32_t Int32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::int32_t value;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

TEST(VstBinding, ProgramChunkByteForByte) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance plugin;
  plugin.Dispatch(vst2::effSetProgram, 0, 3);
  const auto chunk = plugin.Chunk(1);
  const std::string name = plugin.vorn->GetPresetName(3);
  ASSERT_EQ(chunk.size(), 8 + 10 + 4 + 4 + name.size() + 256 + 4 + name.size());
  EXPECT_EQ(Text(chunk, 0, 4), "tffp");
  EXPECT_EQ(std::vector<std::uint8_t>(chunk.begin() + 4, chunk.begin() + 8), (std::vector<std::uint8_t>{0, 0, 1, 0}));
  EXPECT_EQ(Text(chunk, 8, 10), "Vorn_1.2.0");
  EXPECT_EQ(Int32At(chunk, 18), 3);
  EXPECT_EQ(Int32At(chunk, 22), static_cast<std::int32_t>(name.size()));
  EXPECT_EQ(Text(chunk, 26, name.size()), name);
  const std::size_t values = 26 + name.size();
  for (int i = 0; i < 32; ++i) {
    double value;
    std::memcpy(&value, chunk.data() + values + 8 * static_cast<std::size_t>(i), 8);
    EXPECT_EQ(value, plugin.vorn->GetParam(i)->Value());
  }
  EXPECT_EQ(Int32At(chunk, values + 256), static_cast<std::int32_t>(name.size()));
  EXPECT_EQ(Text(chunk, values + 260, name.size()), name);
}

TEST(VstBinding, BankChunkRoundTripRestoresAllProgramsAndNames) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance source;
  source.Dispatch(vst2::effSetProgram, 0, 7);
  source.effect->setParameter(source.effect, 13, 0.8f);
  source.Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>("Edited"));
  const auto bank = source.Chunk(0);
  EXPECT_EQ(Text(bank, 0, 4), "tffp");

  Instance target;
  ASSERT_EQ(target.SetChunk(0, bank), 1);
  for (int i = 0; i < 64; ++i) EXPECT_STREQ(target.vorn->GetPresetName(i), source.vorn->GetPresetName(i));
  target.Dispatch(vst2::effSetProgram, 0, 7);
  EXPECT_FLOAT_EQ(target.effect->getParameter(target.effect, 13), 0.8f);
  EXPECT_STREQ(target.vorn->GetPresetName(7), "Edited");

  auto cut = bank;
  cut.resize(cut.size() / 2);
  EXPECT_EQ(target.SetChunk(0, cut), 0);  // a preset list cut short fails
}

TEST(VstBinding, ChunksLargerThanTheCapAreRefusedUnread) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance source;
  source.Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>("Padded"));
  const auto bank = source.Chunk(0);

  // A bank followed by padding loads up to the cap, and not a byte beyond.
  for (const std::size_t size :
       {static_cast<std::size_t>(kMaxChunkSize), static_cast<std::size_t>(kMaxChunkSize) + 1}) {
    auto padded = bank;
    padded.resize(size, 0);
    Instance target;
    const bool accepted = size <= static_cast<std::size_t>(kMaxChunkSize);
    EXPECT_EQ(target.SetChunk(0, padded), accepted ? 1 : 0) << size;
    EXPECT_EQ(std::string(target.vorn->GetPresetName(0)) == "Padded", accepted) << size;
  }
  Instance target;
  std::uint8_t byte = 0;
  EXPECT_EQ(target.Dispatch(vst2::effSetChunk, 0, std::numeric_limits<std::int32_t>::max(), &byte), 0);
  EXPECT_EQ(target.Dispatch(vst2::effSetChunk, 1, -1, &byte), 0);
}

TEST(VstBinding, ProgramChunkNameAfterTheStateRenames) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance source;
  source.effect->setParameter(source.effect, 0, 0.25f);
  source.Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>("Carried"));
  auto chunk = source.Chunk(1);

  Instance target;
  const std::string before = target.vorn->GetPresetName(0);
  ASSERT_EQ(target.SetChunk(1, chunk), 1);
  EXPECT_STREQ(target.vorn->GetPresetName(0), "Carried");
  EXPECT_FLOAT_EQ(target.effect->getParameter(target.effect, 0), 0.25f);

  chunk.resize(chunk.size() - 4 - std::strlen("Carried"));  // no trailing name
  target.Dispatch(vst2::effSetProgram, 0, 1);
  const std::string kept = target.vorn->GetPresetName(1);
  ASSERT_EQ(target.SetChunk(1, chunk), 1);
  EXPECT_EQ(target.vorn->GetPresetName(1), kept);
  target.Dispatch(vst2::effSetProgram, 0, 2);
  target.Dispatch(vst2::effSetProgram, 0, 1);
  EXPECT_FLOAT_EQ(target.effect->getParameter(target.effect, 0), 0.25f);  // the state was stored
}

TEST(VstBinding, VendorsThatWantProgramChunksInAnyLetterCase) {
  for (const char* vendor : {"NATIVE INSTRUMENTS", "Native Instruments", "juce VST host"}) {
    TestHost host;
    host.vendor = vendor;
    ScopedTestHost scoped(host);
    Instance plugin;
    const auto chunk = plugin.Chunk(0);
    ASSERT_GT(chunk.size(), 18u);
    EXPECT_EQ(Text(chunk, 8, 10), "Vorn_1.2.0") << vendor;  // a program chunk, not a bank
    EXPECT_EQ(plugin.SetChunk(0, chunk), 1);                // its own program chunk goes back in once
    EXPECT_STREQ(plugin.vorn->GetPresetName(0), "Sync Heaven");
    plugin.Chunk(0);
    EXPECT_EQ(host.calls[vst2::audioMasterGetVendorString], 1);  // asked once

    // A bank handed to such a host's set-chunk is read a second time as a bank.
    TestHost other;
    ScopedTestHost otherScope(other);
    Instance bankSource;
    bankSource.Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>("From Bank"));
    const auto bank = bankSource.Chunk(0);
    TestHost::Current() = &host;
    EXPECT_EQ(plugin.SetChunk(0, bank), 1);
    EXPECT_STREQ(plugin.vorn->GetPresetName(0), "From Bank");
  }
  TestHost plain;
  plain.vendor = "Native Instruments GmbH";
  ScopedTestHost scoped(plain);
  Instance plugin;
  EXPECT_NE(Text(plugin.Chunk(0), 8, 10), "Vorn_1.2.0");  // a bank: its first slot's name follows
}

TEST(VstBinding, HostIdentificationAskedOnce) {
  struct Case {
    const char* product;
    IntPtr vendorVersion;
    HostKind kind;
    int version;
  };
  const Case cases[] = {{"Cubase VST", 10203, kHostCubase, 0x10203},
                        {"REAPER", 8050, kHostReaper, 0x5032},
                        {"Ableton Live 9", 90000, kHostAbletonLive, 0x90000},
                        {"", 12345, kHostUnknown, 0}};
  for (const Case& c : cases) {
    TestHost host;
    host.product = c.product;
    host.vendorVersion = c.vendorVersion;
    ScopedTestHost scoped(host);
    Instance plugin;
    plugin.Dispatch(vst2::effOpen);
    EXPECT_EQ(plugin.vorn->GetHost(), c.kind) << c.product;
    EXPECT_EQ(host.calls[vst2::audioMasterGetProductString], 1);
    EXPECT_EQ(host.calls[vst2::audioMasterGetVendorVersion], c.product[0] ? 1 : 0);
  }
}

TEST(VstBinding, AnswersThatHostsCompareAsUnsigned) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance plugin;
  const IntPtr cockos = plugin.Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>("hasCockosExtensions"));
  EXPECT_EQ(static_cast<std::uintptr_t>(cockos), static_cast<std::uintptr_t>(0xBEEF0000u));
  EXPECT_EQ(plugin.Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>("HasCockosExtensions")), 0);
  EXPECT_EQ(plugin.vorn->ExtensionFlags(), 1);
  char text[64] = {};
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, 7, 12, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "2029");
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, 8, 1), 0xBEEF);
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, 8, 0), 0);
  EXPECT_EQ(plugin.Dispatch(vst2::effVendorSpecific, 8, 32), 0);
}

TEST(VstBinding, HostileValuesNeverReachTheAudio) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance plugin;
  plugin.Start();
  for (int i = 0; i < 32; ++i) {
    plugin.effect->setParameter(plugin.effect, i, std::numeric_limits<float>::quiet_NaN());
    plugin.effect->setParameter(plugin.effect, i, i % 2 ? 7.0f : -3.0f);
  }
  plugin.effect->setParameter(plugin.effect, -1, 0.5f);
  plugin.effect->setParameter(plugin.effect, 32, 0.5f);
  EXPECT_EQ(plugin.effect->getParameter(plugin.effect, 32), 0.0f);
  for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f, 44100.0f}) {
    plugin.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
    plugin.Note(0x90, 60, 100);
    for (float sample : plugin.Render(2048, 512)) ASSERT_TRUE(std::isfinite(sample)) << rate;
  }
  plugin.Dispatch(vst2::effSetBlockSize, 0, 0);
  plugin.Dispatch(vst2::effSetBlockSize, 0, -5);
  for (float sample : plugin.Render(300, 300)) ASSERT_TRUE(std::isfinite(sample));
}

// Host rates outside what the engine renders are brought to its nearest
// edge, so the instance keeps playing instead of falling silent.
TEST(VstBinding, HostRatesAreClampedToWhatTheEngineRenders) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance plugin;
  plugin.Start();
  const struct {
    float hostRate;
    double expected;
  } cases[] = {{1e12f, SynthEngine::kMaxSampleRate}, {1.2e6f, 1.2e6}, {10.0f, SynthEngine::kMinSampleRate}};
  for (const auto& c : cases) {
    plugin.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, c.hostRate);
    EXPECT_DOUBLE_EQ(plugin.vorn->SampleRate(), c.expected) << c.hostRate;
    plugin.Note(0x90, 60, 100);
    double peak = 0;
    for (float sample : plugin.Render(4096, 512)) peak = std::max(peak, std::fabs(double(sample)));
    EXPECT_GT(peak, 1e-3) << c.hostRate;
    plugin.Note(0x80, 60, 0);
  }
}

TEST(VstBinding, BlocksLargerThanAnnouncedRenderInSlices) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance small;
  Instance large;
  small.Start(48000.0f, 256);
  large.Start(48000.0f, 256);
  small.Note(0x90, 57, 110);
  large.Note(0x90, 57, 110);
  const auto expected = small.Render(4096, 256);
  const auto sliced = large.Render(4096, 4096);  // sixteen times the announced size
  ASSERT_EQ(expected.size(), sliced.size());
  double energy = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(expected[i], sliced[i]) << i;
    energy += expected[i] * expected[i];
  }
  EXPECT_GT(energy, 1.0);
}

}  // namespace

namespace {

TEST(VstBinding, TextEntryReadsPlainDecimalNumbers) {
  TestHost host;
  ScopedTestHost scoped(host);
  Instance plugin;
  auto enter = [&plugin](int index, const char* text) {
    return plugin.Dispatch(vst2::effString2Parameter, index, 0, const_cast<char*>(text));
  };
  const struct {
    const char* text;
    double value;
  } volumes[] = {{"  42.5abc", 42.5}, {"150", 100}, {"-20", 0}, {"0x40", 0}, {"1e1", 10},        {"7e", 7},
                 {".5", 0.5},         {"inf", 0},   {"nan", 0}, {"", 0},     {"+3.25e+1x", 32.5}};
  for (const auto& entry : volumes) {
    ASSERT_EQ(enter(0, entry.text), 1) << entry.text;
    EXPECT_EQ(plugin.vorn->GetParam(0)->Value(), entry.value) << entry.text;
  }
  EXPECT_EQ(enter(5, "Square"), 1);
  EXPECT_EQ(plugin.vorn->GetParam(5)->Value(), 1.0);
  EXPECT_EQ(enter(5, "square"), 0);
  EXPECT_EQ(enter(32, "1"), 0);
  EXPECT_EQ(plugin.Dispatch(vst2::effString2Parameter, 3, 0, nullptr), 1);
}

}  // namespace
