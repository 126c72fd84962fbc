#include "tests/chaos/chaos_editor.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "product/editor/vorn_editor_menus.h"
#include "tests/chaos/chaos_random.h"
#include "tests/chaos/chaos_window.h"
#include "tests/chaos/editor_audio_thread.h"
#include "tests/chaos/watchdog.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"

namespace {

// Opcodes the plug-in need not answer; hosts send them anyway.
constexpr std::int32_t kEditKeyDown = 59;
constexpr std::int32_t kEditKeyUp = 60;
// Virtual key codes hosts pass with them: none, backspace, tab, return,
// escape, space, the arrows, delete, the numbers' keys.
constexpr vst2::IntPtr kVirtualKeys[] = {0, 1, 2, 4, 6, 7, 11, 12, 13, 14, 15, 22, 25, 38};
constexpr float kRates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f};
constexpr int kBlocks[] = {16, 64, 128, 256, 441, 512, 1024, 2048};
// An editor larger than this is a broken rectangle.
constexpr int kLargestEditor = 4096;
// How long the window system may take to show a closed editor's window gone.
constexpr int kWindowGoneMs = 2000;

// The user-interface thread's side: one cycle per instance.
class EditorChaos {
 public:
  EditorChaos(vst2::EntryPoint entry, std::uint64_t seed, ChaosWindow& window, double hangSeconds)
      : entry_(entry),
        seed_(seed),
        random_(seed),
        window_(window),
        log_(seed),
        uiWatchdog_(hangSeconds, seed),
        audioWatchdog_(hangSeconds, seed) {}

  bool Run(double seconds);

 private:
  enum Ending { kEditClose, kParentFirst, kCloseInstance };

  void Note(const char* what) {
    during_ = what;
    uiWatchdog_.Beat(what);
    ++uiCalls_;
  }
  vst2::IntPtr Dispatch(std::int32_t opcode, std::int32_t index = 0, vst2::IntPtr value = 0, void* ptr = nullptr,
                        float opt = 0.0f) {
    return plugin_->Dispatch(opcode, index, value, ptr, opt);
  }
  void Fail(const std::string& what) { log_.Fail(what, during_, cycles_); }

  void Cycle();
  void Act();
  bool OpenEditor();
  void CloseEditor();
  void AskRect();
  // A point of the editor off the program and option menus.
  void PickPoint(int& x, int& y);
  void Click();
  void Drag();
  void PressKey();
  void SendKeyOpcodes();
  void ChangeProgram();
  void CheckParameters();
  void Idle();

  vst2::EntryPoint entry_;
  std::uint64_t seed_;
  ChaosRandom random_;
  ChaosWindow& window_;
  EditorFailureLog log_;
  Watchdog uiWatchdog_;
  Watchdog audioWatchdog_;
  std::unique_ptr<PluginInstance> plugin_;
  std::vector<unsigned char> chunk_;
  void* parent_ = nullptr;
  bool open_ = false;
  // Until the editor says its size: what a host picks for a new window.
  int width_ = 640;
  int height_ = 480;
  const char* during_ = "start";
  int cycles_ = 0;
  int opens_ = 0;
  std::uint64_t uiCalls_ = 0;
  std::uint64_t inputs_ = 0;
  std::uint64_t audioCalls_ = 0;
  // Gestures the editors began on their parameters: the input reached them.
  long edits_ = 0;
};

bool EditorChaos::Run(double seconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  const Clock::time_point end =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  while (!log_.Any() && Clock::now() < end) Cycle();
  const double took = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf(
      "chaos: editor: %d cycles, %d editor opens, %llu calls from the user-interface thread, %llu input events "
      "(%ld edit gestures), %llu audio-thread calls in %.1f s, seed %llu\n",
      cycles_, opens_, static_cast<unsigned long long>(uiCalls_), static_cast<unsigned long long>(inputs_), edits_,
      static_cast<unsigned long long>(audioCalls_), took, static_cast<unsigned long long>(seed_));
  // Hundreds of clicks and drags over the controls that changed nothing
  // never reached the editor: the run tested only opening and closing.
  constexpr std::uint64_t kInputsThatMustEdit = 500;
  if (!log_.Any() && inputs_ >= kInputsThatMustEdit && edits_ == 0) {
    log_.Fail("none of " + std::to_string(inputs_) + " input events began an edit", "the whole run", cycles_);
  }
  return !log_.Any();
}

void EditorChaos::Cycle() {
  ++cycles_;
  Note("create an instance");
  plugin_ = std::make_unique<PluginInstance>(entry_);
  if (!plugin_->IsValid()) {
    Fail("the entry point returned no effect record");
    return;
  }
  if ((plugin_->effect()->flags & vst2::effFlagsHasEditor) == 0) {
    Fail("the instance offers no editor");
    return;
  }
  const int block = random_.Pick(kBlocks);
  Note("effOpen, effSetSampleRate, effSetBlockSize, effMainsChanged");
  plugin_->Start(random_.Pick(kRates), block);
  chunk_.clear();
  const std::uint64_t audioSeed = seed_ * 6364136223846793005ULL + static_cast<std::uint64_t>(cycles_);
  auto audio = std::make_unique<EditorAudioThread>(*plugin_, audioSeed, block, log_, audioWatchdog_, cycles_);

  // Most hosts ask for the size before they make the window; some after.
  const bool rectFirst = random_.Chance(700);
  if (rectFirst) AskRect();
  parent_ = window_.CreateParent(width_, height_);
  if (!parent_) {
    Fail("the window system made no parent window");
    audioCalls_ += audio->Stop();
    plugin_.reset();
    return;
  }
  if (!rectFirst) AskRect();
  OpenEditor();
  for (int actions = random_.Between(5, 150); actions > 0 && !log_.Any(); --actions) Act();

  const int roll = random_.Below(100);
  const Ending ending = roll < 60 ? kEditClose : roll < 80 ? kParentFirst : kCloseInstance;
  if (ending == kParentFirst) {
    window_.DestroyParent();
    if (random_.Chance(500)) window_.Pump(random_.Between(0, 50));
  }
  if (ending != kCloseInstance) {
    CloseEditor();
    window_.DestroyParent();
  }
  // Hosts stop the audio before they close an instance.
  audioCalls_ += audio->Stop();
  audio.reset();
  if (ending == kCloseInstance && random_.Chance(300)) {
    Note("effClose with the editor open and processing on");
    plugin_->CloseAbruptly();
  }
  edits_ += plugin_->requests().Of(vst2::audioMasterBeginEdit);
  Note(ending == kCloseInstance ? "effClose with the editor open" : "effClose");
  plugin_.reset();
  open_ = false;
  window_.DestroyParent();
  window_.ReleaseAll();
  window_.Pump(random_.Between(0, 20));
}

void EditorChaos::AskRect() {
  vst2::ERect* rect = nullptr;
  Note("effEditGetRect");
  if (Dispatch(vst2::effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
    Fail("effEditGetRect gave no rectangle");
    return;
  }
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;
  if (width <= 0 || height <= 0 || width > kLargestEditor || height > kLargestEditor) {
    Fail("effEditGetRect gave " + std::to_string(width) + " x " + std::to_string(height));
    return;
  }
  width_ = width;
  height_ = height;
}

bool EditorChaos::OpenEditor() {
  if (open_) return true;
  Note("effEditOpen");
  if (Dispatch(vst2::effEditOpen, 0, 0, parent_) == 0) {
    Fail("effEditOpen refused the host's window");
    return false;
  }
  open_ = true;
  ++opens_;
  return true;
}

void EditorChaos::CloseEditor() {
  const bool parentAlive = window_.HasParent();
  Note("effEditClose");
  Dispatch(vst2::effEditClose);
  open_ = false;
  if (!parentAlive) return;
  for (int waited = 0; window_.ChildWindows() > 0; waited += 10) {
    if (waited >= kWindowGoneMs) {
      Fail("the editor's window is still in the host's window after effEditClose");
      return;
    }
    window_.Pump(10);
  }
}

void EditorChaos::Act() {
  const int roll = random_.Below(100);
  if (roll < 14) {
    Idle();
  } else if (roll < 24) {
    const int ms = random_.Between(0, 40);
    window_.Pump(ms);
    if (random_.Chance(500)) Idle();
  } else if (roll < 44) {
    Click();
  } else if (roll < 58) {
    Drag();
  } else if (roll < 64) {
    int x = 0, y = 0;
    PickPoint(x, y);
    window_.MoveTo(x, y);
    window_.Wheel(random_.Chance(500) ? random_.Between(1, 4) : -random_.Between(1, 4));
    ++inputs_;
    window_.Pump(random_.Between(0, 10));
  } else if (roll < 74) {
    PressKey();
  } else if (roll < 79) {
    SendKeyOpcodes();
  } else if (roll < 82) {
    AskRect();
  } else if (roll < 86) {
    // Closed and opened again, sometimes into a new window.
    CloseEditor();
    window_.Pump(random_.Between(0, 30));
    if (random_.Chance(300)) {
      window_.DestroyParent();
      parent_ = window_.CreateParent(width_, height_);
    }
    OpenEditor();
  } else if (roll < 91) {
    ChangeProgram();
  } else if (roll < 96) {
    CheckParameters();
  } else {
    // Whatever pop-up menu or entry a click opened goes away.
    window_.Key(ChaosKey::kEscape, 0, true);
    window_.Key(ChaosKey::kEscape, 0, false);
    ++inputs_;
    window_.Pump(random_.Between(0, 20));
  }
}

void EditorChaos::Idle() {
  for (int n = random_.Between(1, 3); n > 0; --n) {
    Note("effEditIdle");
    Dispatch(vst2::effEditIdle);
  }
}

void EditorChaos::PickPoint(int& x, int& y) {
  const IBox programMenu = VornEditorMenus::kProgramNumberBox.Union(VornEditorMenus::kProgramNameBox);
  do {
    x = random_.Below(width_);
    y = random_.Below(height_);
  } while (programMenu.Contains(x, y) || VornEditorMenus::kOptionsArea.Contains(x, y));
}

void EditorChaos::Click() {
  int x = 0, y = 0;
  PickPoint(x, y);
  const int roll = random_.Below(100);
  const int button = roll < 75 ? kLeftButton : roll < 95 ? kRightButton : kMiddleButton;
  const ChaosKey modifiers[] = {ChaosKey::kShift, ChaosKey::kControl, ChaosKey::kAlt};
  const bool modified = random_.Chance(150);
  const ChaosKey modifier = random_.Pick(modifiers);
  if (modified) window_.Key(modifier, 0, true);
  window_.MoveTo(x, y);
  // Two quick clicks at one place make a double-click.
  for (int n = random_.Chance(150) ? 2 : 1; n > 0; --n) {
    window_.Button(button, true);
    window_.Pump(random_.Between(0, 15));
    window_.Button(button, false);
    inputs_ += 2;
    window_.Pump(random_.Between(0, 15));
  }
  if (modified) window_.Key(modifier, 0, false);
  ++inputs_;
}

void EditorChaos::Drag() {
  int x = 0, y = 0;
  PickPoint(x, y);
  window_.MoveTo(x, y);
  const bool fine = random_.Chance(200);
  if (fine) window_.Key(ChaosKey::kShift, 0, true);
  window_.Button(kLeftButton, true);
  inputs_ += 2;
  for (int steps = random_.Between(1, 15); steps > 0; --steps) {
    // Mostly up and down, as knobs and faders turn; sometimes far outside.
    x += random_.Between(-30, 30);
    y += random_.Chance(100) ? random_.Between(-600, 600) : random_.Between(-60, 60);
    window_.MoveTo(x, y);
    ++inputs_;
    window_.Pump(random_.Between(0, 12));
    if (random_.Chance(150)) Idle();
  }
  // Sometimes the button stays down into the next action (or the close).
  if (random_.Chance(950)) window_.Button(kLeftButton, false);
  if (fine) window_.Key(ChaosKey::kShift, 0, false);
  ++inputs_;
  window_.Pump(random_.Between(0, 10));
}

void EditorChaos::PressKey() {
  // Text entries the right button opened get digits, signs, editing keys,
  // Return or Escape; everything else passes the keys on to the host.
  const ChaosKey keys[] = {ChaosKey::kEscape,    ChaosKey::kReturn,   ChaosKey::kTab,       ChaosKey::kBackspace,
                           ChaosKey::kDelete,    ChaosKey::kLeft,     ChaosKey::kRight,     ChaosKey::kUp,
                           ChaosKey::kDown,      ChaosKey::kHome,     ChaosKey::kEnd,       ChaosKey::kSpace,
                           ChaosKey::kMinus,     ChaosKey::kPeriod,   ChaosKey::kCharacter, ChaosKey::kCharacter,
                           ChaosKey::kCharacter, ChaosKey::kCharacter};
  constexpr char kCharacters[] = "0123456789abcxyz";
  for (int n = random_.Between(1, 6); n > 0; --n) {
    const ChaosKey key = random_.Pick(keys);
    const char character = kCharacters[random_.Below(static_cast<int>(sizeof kCharacters) - 1)];
    window_.Key(key, character, true);
    window_.Pump(random_.Between(0, 5));
    window_.Key(key, character, false);
    inputs_ += 2;
  }
  window_.Pump(random_.Between(0, 15));
}

void EditorChaos::SendKeyOpcodes() {
  const auto character = static_cast<std::int32_t>(random_.Chance(500) ? random_.Between(32, 126) : 0);
  const vst2::IntPtr virtualKey = random_.Pick(kVirtualKeys);
  const float modifiers = static_cast<float>(random_.Below(16));
  Note("effEditKeyDown");
  Dispatch(kEditKeyDown, character, virtualKey, nullptr, modifiers);
  Note("effEditKeyUp");
  Dispatch(kEditKeyUp, character, virtualKey, nullptr, modifiers);
}

void EditorChaos::ChangeProgram() {
  // The host changes what the editor shows from its own thread: a program,
  // or a state it kept from earlier in the session.
  const int roll = random_.Below(3);
  if (roll == 0) {
    Note("effSetProgram");
    Dispatch(vst2::effSetProgram, 0, random_.Below(plugin_->effect()->numPrograms));
  } else if (roll == 1 || chunk_.empty()) {
    Note("effGetChunk");
    chunk_ = GetChunk(*plugin_, random_.Chance(500) ? kBankChunk : kProgramChunk);
  } else {
    Note("effSetChunk");
    SetChunk(*plugin_, IsProgramChunk(chunk_) ? kProgramChunk : kBankChunk, chunk_);
  }
}

void EditorChaos::CheckParameters() {
  vst2::AEffect* effect = plugin_->effect();
  Note("getParameter (every parameter)");
  for (int index = 0; index < effect->numParams; ++index) CheckParameter(effect, index, log_, during_, cycles_);
  char text[256] = {};
  Note("effGetParamDisplay");
  Dispatch(vst2::effGetParamDisplay, random_.Below(effect->numParams), 0, text);
  if (std::memchr(text, '\0', sizeof text) == nullptr) Fail("a parameter's display text has no terminator");
}

}  // namespace

EditorRunResult RunEditorChaos(vst2::EntryPoint entry, std::uint64_t seed, double seconds, double hangSeconds) {
  std::string why;
  std::unique_ptr<ChaosWindow> window = ChaosWindow::Connect(why);
  if (!window) {
    std::printf("chaos: editor cases skipped: %s\n", why.c_str());
    return EditorRunResult::kNoWindowSystem;
  }
  EditorChaos chaos(entry, seed, *window, hangSeconds);
  return chaos.Run(seconds) ? EditorRunResult::kPassed : EditorRunResult::kFailed;
}
