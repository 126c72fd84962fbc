// Once warmed up, the plug-in as a host sees it never touches the heap on the
// audio thread: every kind of MIDI message the synthesizer handles arrives
// through effProcessEvents and is rendered through both process callbacks.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "plugin/vst2/vst_entry.h"
#include "product/vorn.h"
#include "tests/engine/allocation_counter.h"

namespace {

constexpr int kBlock = 256;
constexpr int kPrograms = 128;  // every MIDI program number, including those past the 64 slots
constexpr std::uint8_t kMappedController = 74;
constexpr std::uint8_t kLearnedController = 21;
constexpr int kMappedParameter = 12;
constexpr int kLearnedParameter = 5;

vst2::IntPtr VST_CALL SilentHost(vst2::AEffect*, std::int32_t, std::int32_t, vst2::IntPtr, void*, float) { return 0; }

// An event list the host owns, filled without allocating once reserved.
class EventList {
 public:
  static constexpr int kCapacity = 256;

  void Add(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, std::int32_t delta) {
    vst2::VstMidiEvent& event = mEvents[static_cast<std::size_t>(mCount)];
    event = vst2::VstMidiEvent{};
    event.type = vst2::kVstMidiType;
    event.byteSize = sizeof event;
    event.deltaFrames = delta;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    mPointers[static_cast<std::size_t>(mCount)] = reinterpret_cast<vst2::VstEvent*>(&event);
    ++mCount;
  }
  // The list as the binding reads it: a count, then the open-ended pointer array.
  vst2::VstEvents* List() {
    mStorage.list.numEvents = mCount;
    return &mStorage.list;
  }
  void Clear() { mCount = 0; }

 private:
  struct Storage {
    vst2::VstEvents list;
    vst2::VstEvent* more[kCapacity];
  };
  std::array<vst2::VstMidiEvent, kCapacity> mEvents{};
  // The pointer array continues the header's two declared entries.
  Storage mStorage{};
  vst2::VstEvent** mPointers = mStorage.list.events;
  int mCount = 0;
};

class Session {
 public:
  Session() : effect(VSTPluginMain(SilentHost)) {
    Dispatch(vst2::effOpen);
    Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    Dispatch(vst2::effSetBlockSize, 0, kBlock);
    Dispatch(vst2::effMainsChanged, 0, 1);
    Plugin().BindController(kMappedController, kMappedParameter);
  }
  ~Session() {
    Dispatch(vst2::effMainsChanged, 0, 0);
    Dispatch(vst2::effClose);
  }
  vst2::IntPtr Dispatch(std::int32_t opcode, std::int32_t index = 0, vst2::IntPtr value = 0, void* ptr = nullptr,
                        float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  Vorn& Plugin() { return *static_cast<Vorn*>(static_cast<VstPlugin*>(effect->object)); }

  // One host block of every message kind, then the block rendered through
  // the float or the double callback.
  void Block(int n, int program) {
    events.Clear();
    for (int i = 0; i < 8; ++i) events.Add(0x90, static_cast<std::uint8_t>((n * 7 + i * 5) % 128), 100, i * 20);
    events.Add(0xB0, 64, static_cast<std::uint8_t>((n % 2) * 127), 30);                            // sustain
    events.Add(0xB0, 1, static_cast<std::uint8_t>(n % 128), 40);                                   // modulation wheel
    events.Add(0xE0, static_cast<std::uint8_t>(n % 128), static_cast<std::uint8_t>(n % 128), 50);  // pitch bend
    events.Add(0xB0, kMappedController, static_cast<std::uint8_t>((n * 13) % 128), 60);            // mapped by learn
    events.Add(0xB0, kLearnedController, static_cast<std::uint8_t>(n % 128), 70);                  // learned this block
    events.Add(0xC0, static_cast<std::uint8_t>(program), 0, 80);                                   // program change
    for (int i = 0; i < 4; ++i) events.Add(0x80, static_cast<std::uint8_t>((n * 7 + i * 5) % 128), 0, 100 + i);
    if (n % 5 == 0) events.Add(0xB0, 123, 0, 200);  // all notes off
    if (n % 7 == 0) events.Add(0xB0, 120, 0, 210);  // all sound off
    Dispatch(vst2::effProcessEvents, 0, 0, events.List());
    // Learning completes when the host moves a parameter while learn is armed.
    effect->setParameter(effect, kLearnedParameter, static_cast<float>(n % 10) / 10.0f);
    if (n % 2 == 0) {
      float* outputs[2] = {floatLeft.data(), floatRight.data()};
      effect->processReplacing(effect, nullptr, outputs, kBlock);
    } else {
      double* outputs[2] = {doubleLeft.data(), doubleRight.data()};
      effect->processDoubleReplacing(effect, nullptr, outputs, kBlock);
    }
  }

  vst2::AEffect* effect;
  EventList events;
  std::vector<float> floatLeft = std::vector<float>(kBlock), floatRight = std::vector<float>(kBlock);
  std::vector<double> doubleLeft = std::vector<double>(kBlock), doubleRight = std::vector<double>(kBlock);
};

TEST(PluginAllocation, MidiThroughTheEntryPointDoesNotAllocateAfterWarmUp) {
  Session session;
  ASSERT_NE(session.effect, nullptr);
  // The host steps through every program: leaving a program stores its state
  // under its own name, so every slot then holds a name, most longer than a
  // string's inline buffer.
  for (int i = 0; i <= PluginBase::kPresetCount; ++i) {
    session.Dispatch(vst2::effSetProgram, 0, i % PluginBase::kPresetCount);
  }
  for (int n = 0; n < 4; ++n) session.Block(n, n);

  const std::size_t before = AllocationCount();
  for (int program = 0; program < kPrograms; ++program) {
    // Learn is armed from the editor between every other block; the
    // controller and the parameter that complete it arrive on the audio
    // thread. In the other blocks both controllers are mapped.
    if (program % 2 == 0) session.Plugin().ArmMidiLearn(true, false);
    session.Block(program, program);
  }
  const std::size_t during = AllocationCount() - before;

  EXPECT_EQ(during, 0u) << (CountsMalloc() ? "operator new and malloc" : "operator new");
  // The messages did reach the synthesizer: the last program change selected
  // the last slot, and learning bound the controller.
  EXPECT_EQ(session.Dispatch(vst2::effGetProgram), PluginBase::kPresetCount - 1);
  EXPECT_EQ(session.Plugin().ControllerTarget(kLearnedController), kLearnedParameter);
  EXPECT_EQ(session.Plugin().ControllerTarget(kMappedController), kMappedParameter);
}

}  // namespace
