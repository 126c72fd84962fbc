// The X11 editor inside a Linux host of our own under an X server (Xvfb in
// the test command): mouse, keys, menus and text entry driven through XTEST,
// the host callback's edit gestures, the window's pixels against the
// headless surface's composition, and open/close cycles while another
// thread renders and automates. Skipped without DISPLAY.
// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "editor/iknob_control.h"
#include "editor/platform/igraphics_headless.h"
#include "editor/platform/x11_popup_menu.h"
#include "product/vorn.h"
#include "plugin/iparam.h"
#include "raster/png_encode.h"
#include "raster/px_mem_bitmap.h"
#include "tests/editor_x11/testee_layout.h"
#include "tests/editor_x11/x11_test_host.h"
#include "tools/vorn-snapshot/test_layout.h"

namespace {

constexpr int kWidth = IGraphics::kDefaultWidth;
constexpr int kHeight = IGraphics::kDefaultHeight;
constexpr int kKnobSide = 48;
// Editor positions of the test layout's controls.
constexpr int kKnobX[] = {32, 112};
constexpr int kKnobY = 72;
constexpr int kSwitchX = 32;
constexpr int kSwitchY = 220;

int KnobCentreX(int knob) { return kKnobX[knob] + kKnobSide / 2; }
constexpr int kKnobCentreY = kKnobY + kKnobSide / 2;

class EditorX11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server (DISPLAY unset)";
    host = std::make_unique<X11TestHost>();
    ASSERT_TRUE(host->IsReady());
  }
  void TearDown() override {
    if (host) {
      host->Unload();
      EXPECT_EQ(0, host->HostErrors()) << "X errors on the host's connection";
    }
  }

  void LoadTestee() {
    ASSERT_TRUE(host->Load(VORN_X11_TESTEE));
    ASSERT_TRUE(host->OpenEditor());
    // Input sent before the editor's window is on screen would reach the
    // host's window instead.
    ASSERT_TRUE(host->PumpUntil([this] {
      XWindowAttributes attributes;
      const Window editor = host->EditorWindow();
      return editor && XGetWindowAttributes(host->GetDisplay(), editor, &attributes) &&
             attributes.map_state == IsViewable;
    }));
    host->Pump(150);
  }

  std::unique_ptr<X11TestHost> host;
};

// What the window shows, as 0xRRGGBB per pixel.
std::vector<uint32_t> Capture(Display* display, Window window) {
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight, 0);
  XImage* image = XGetImage(display, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
  if (!image) return pixels;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      pixels[static_cast<size_t>(y) * kWidth + x] = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
    }
  }
  XDestroyImage(image);
  return pixels;
}

std::vector<uint32_t> RowsOf(PX_IBitmap& bitmap) {
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight, 0);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      pixels[static_cast<size_t>(y) * kWidth + x] = bitmap.Pixels()[y * bitmap.RowSpan() + x] & 0xFFFFFF;
    }
  }
  return pixels;
}

void SaveScreenshot(const std::vector<uint32_t>& pixels, const std::string& name) {
  PX_MemBitmap bitmap(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) bitmap.Pixels()[y * bitmap.RowSpan() + x] = 0xFF000000u | pixels[y * kWidth + x];
  }
  PX_WritePngFile(bitmap, (std::string(VORN_X11_SCREENSHOTS) + "/" + name + ".png").c_str());
}

// A screenshot of any window (menus, entry, dialogs) for people to look at.
void SaveWindowShot(Display* display, Window window, const std::string& name) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return;
  PX_MemBitmap bitmap(attributes.width, attributes.height);
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) {
      bitmap.Pixels()[y * bitmap.RowSpan() + x] =
          0xFF000000u | (static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    }
  }
  XDestroyImage(image);
  PX_WritePngFile(bitmap, (std::string(VORN_X11_SCREENSHOTS) + "/" + name + ".png").c_str());
}

int Mismatches(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

// The headless surface's composition of the test layout with the module's
// present parameter values.
std::vector<uint32_t> HeadlessTesteeImage(X11TestHost& host) {
  Vorn plugin(nullptr);
  IGraphicsHeadless headless(&plugin);
  testee_layout::Build(headless);
  for (int i = 0; i < PluginBase::kParameterCount; ++i) headless.ApplyParameterToControls(i, host.Parameter(i), true);
  headless.MarkAllDirty();
  headless.Tick();
  return RowsOf(*headless.DrawBitmapSurface());
}

bool IsEditGesture(const std::vector<X11TestHost::EditEvent>& events, int index) {
  if (events.size() < 3 || events.front().opcode != vst2::audioMasterBeginEdit ||
      events.back().opcode != vst2::audioMasterEndEdit) {
    return false;
  }
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].index != index) return false;
    if (i > 0 && i + 1 < events.size() && events[i].opcode != vst2::audioMasterAutomate) return false;
  }
  return true;
}

TEST_F(EditorX11Test, KnobDragAutomatesInsideOneEditGesture) {
  LoadTestee();
  const float before = host->Parameter(0);
  host->MoveTo(KnobCentreX(0), kKnobCentreY);
  host->Press(1);
  for (int step = 1; step <= 5; ++step) host->MoveTo(KnobCentreX(0), kKnobCentreY - 6 * step);
  host->Release(1);
  host->Pump(50);
  const auto events = host->TakeEditEvents();
  ASSERT_TRUE(IsEditGesture(events, 0)) << events.size() << " events";
  // Dragging up raises the value, step by step, and the last automation is
  // what the plug-in holds.
  for (size_t i = 2; i + 1 < events.size(); ++i) EXPECT_GT(events[i].value, events[i - 1].value);
  EXPECT_GT(events[events.size() - 2].value, before);
  EXPECT_FLOAT_EQ(events[events.size() - 2].value, host->Parameter(0));
}

TEST_F(EditorX11Test, WheelStepsDoubleClickResetsAndSwitchClicks) {
  LoadTestee();
  const int param = test_layout::kKnobParams[1];
  const float initial = host->Parameter(param);
  host->MoveTo(KnobCentreX(1), kKnobCentreY);
  for (int notch = 0; notch < 3; ++notch) {
    host->Press(4);
    host->Release(4);
  }
  host->Pump(50);
  EXPECT_NEAR(initial + 3 * IKnobControl::kWheelStep, host->Parameter(param), 1e-4) << "one wheel notch, one step";
  host->Press(5);
  host->Release(5);
  host->Pump(50);
  EXPECT_NEAR(initial + 2 * IKnobControl::kWheelStep, host->Parameter(param), 1e-4);

  // Two quick clicks restore the value the control started with.
  host->Click(KnobCentreX(1), kKnobCentreY);
  host->Click(KnobCentreX(1), kKnobCentreY);
  host->Pump(50);
  EXPECT_NEAR(initial, host->Parameter(param), 1e-6);

  host->TakeEditEvents();
  const float switchBefore = host->Parameter(test_layout::kSwitchParam);
  host->Pump(600);  // not a double-click with the clicks before
  host->Click(kSwitchX + 10, kSwitchY + 10);
  host->Pump(50);
  const auto events = host->TakeEditEvents();
  EXPECT_TRUE(IsEditGesture(events, test_layout::kSwitchParam)) << events.size() << " events";
  EXPECT_NE(switchBefore, host->Parameter(test_layout::kSwitchParam));
}

TEST_F(EditorX11Test, MenuItemPickedInASubMenu) {
  LoadTestee();
  host->Click(testee_layout::kMenuButtonLeft + 5, testee_layout::kMenuButtonTop + 5);
  ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").size() == 1; }));
  const Window top = host->PopupWindows("Vorn menu").front();
  int menuX = 0, menuY = 0;
  host->RootPosition(top, menuX, menuY);
  // The menu opens below the button's left edge.
  int editorX = 0, editorY = 0;
  host->RootPosition(host->EditorWindow(), editorX, editorY);
  EXPECT_EQ(editorX + testee_layout::kMenuButtonLeft, menuX);
  EXPECT_EQ(editorY + testee_layout::kMenuButtonBottom, menuY);

  IMenu model;
  model.AddItem("Alpha");
  model.AddItem("More");
  const IBox more = X11PopupMenu::ItemBox(model, 1);
  host->MoveToRoot(menuX + more.left + 10, menuY + (more.top + more.bottom) / 2);
  ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").size() == 2; }));
  const Window sub = host->PopupWindows("Vorn menu").front();
  host->Pump(50);
  SaveWindowShot(host->GetDisplay(), top, "editor_x11_menu");
  SaveWindowShot(host->GetDisplay(), sub, "editor_x11_submenu");
  int subX = 0, subY = 0;
  host->RootPosition(sub, subX, subY);
  const IBox gamma = X11PopupMenu::ItemBox(model, 1);
  host->MoveToRoot(subX + gamma.left + 10, subY + (gamma.top + gamma.bottom) / 2);
  host->Press(1);
  host->Release(1);
  ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").empty(); }));
  host->Pump(50);
  // "Gamma" is the second item of its own menu: value 1 / 2.
  EXPECT_FLOAT_EQ(0.5f, host->Parameter(testee_layout::kMenuParam));

  // Escape dismisses without a choice.
  host->TakeEditEvents();
  host->Pump(600);  // a click, not the second half of a double-click
  host->Click(testee_layout::kMenuButtonLeft + 5, testee_layout::kMenuButtonTop + 5);
  ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").size() == 1; }));
  host->Key(XK_Down);
  host->Key(XK_Escape);
  ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").empty(); }));
  EXPECT_TRUE(host->TakeEditEvents().empty());
}

TEST_F(EditorX11Test, MessageBoxAnswersWithTheButtonChosen) {
  LoadTestee();
  IMenu model;
  model.AddItem("Alpha");
  model.AddItem("More");
  model.AddItem("Ask");
  const IBox ask = X11PopupMenu::ItemBox(model, testee_layout::kAskItem);
  // The keys pressed in the box, and the parameter afterwards.
  const struct {
    std::vector<KeySym> keys;
    float expected;
  } cases[] = {
      {{XK_Return}, 1.0f},                                // Yes has the focus first
      {{XK_Tab, XK_Return}, 0.0f},                        // Tab moves to No
      {{XK_Right, XK_Right, XK_Right, XK_Return}, 1.0f},  // past Cancel back to Yes
      {{XK_Escape}, 1.0f},                                // Cancel leaves the value
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    SCOPED_TRACE(i);
    host->Pump(600);
    host->Click(testee_layout::kMenuButtonLeft + 5, testee_layout::kMenuButtonTop + 5);
    ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").size() == 1; }));
    int menuX = 0, menuY = 0;
    host->RootPosition(host->PopupWindows("Vorn menu").front(), menuX, menuY);
    host->MoveToRoot(menuX + ask.left + 10, menuY + (ask.top + ask.bottom) / 2);
    host->Press(1);
    host->Release(1);
    ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows(testee_layout::kAskCaption).size() == 1; }));
    host->Pump(100);
    if (i == 0)
      SaveWindowShot(host->GetDisplay(), host->PopupWindows(testee_layout::kAskCaption).front(),
                     "editor_x11_message_box");
    for (KeySym key : cases[i].keys) host->Key(key);
    ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows(testee_layout::kAskCaption).empty(); }));
    host->Pump(50);
    EXPECT_FLOAT_EQ(cases[i].expected, host->Parameter(testee_layout::kMenuParam));
  }
}

TEST_F(EditorX11Test, FileDialogOfOurOwnWhenTheDesktopHasNone) {
  // Without zenity or kdialog on the path the editor asks with its own
  // field dialog, which offers only files that exist.
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", "/nonexistent", 1);
  const std::string file = std::string(testee_layout::kFileFolder) + "vornxtest.fxp";
  std::FILE* created = std::fopen(file.c_str(), "wb");
  ASSERT_NE(created, nullptr);
  std::fclose(created);
  LoadTestee();
  IMenu model;
  for (const char* text : {"Alpha", "More", "Ask", "File"}) model.AddItem(text);
  const IBox item = X11PopupMenu::ItemBox(model, testee_layout::kFileItem);
  const struct {
    const char* typed;
    float expected;
  } cases[] = {{"nothere.fxp", 0.0f}, {"vornxtest.fxp", 0.5f}};
  host->Effect()->setParameter(host->Effect(), testee_layout::kMenuParam, 0.0f);
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.typed);
    host->Pump(600);
    host->Click(testee_layout::kMenuButtonLeft + 5, testee_layout::kMenuButtonTop + 5);
    ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").size() == 1; }));
    int menuX = 0, menuY = 0;
    host->RootPosition(host->PopupWindows("Vorn menu").front(), menuX, menuY);
    host->MoveToRoot(menuX + item.left + 10, menuY + (item.top + item.bottom) / 2);
    host->Press(1);
    host->Release(1);
    ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Open").size() == 1; }));
    for (const char* c = entry.typed; *c; ++c) {
      host->Key(*c == '.' ? static_cast<KeySym>(XK_period) : static_cast<KeySym>(*c));
    }
    host->Pump(100);
    SaveWindowShot(host->GetDisplay(), host->PopupWindows("Open").front(), "editor_x11_file_dialog");
    host->Key(XK_Return);
    ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Open").empty(); }));
    host->Pump(50);
    EXPECT_FLOAT_EQ(entry.expected, host->Parameter(testee_layout::kMenuParam));
  }
  setenv("PATH", path.c_str(), 1);
  std::remove(file.c_str());
}

TEST_F(EditorX11Test, TypedValueIsFilteredAndAppliedOnReturn) {
  LoadTestee();
  const Window editor = host->EditorWindow();
  auto entryOpen = [&] {
    Window root, parent;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(host->GetDisplay(), editor, &root, &parent, &children, &count);
    if (children) XFree(children);
    return count > 0;
  };
  host->Click(KnobCentreX(0), kKnobCentreY, 3);
  ASSERT_TRUE(host->PumpUntil(entryOpen));
  host->TakeEditEvents();
  // A letter does not pass the filter of a number field.
  host->Key(XK_4);
  host->Key(XK_a);
  host->Key(XK_2);
  host->Pump(100);
  SaveScreenshot(Capture(host->GetDisplay(), editor), "editor_x11_text_entry");
  host->Key(XK_Return);
  ASSERT_TRUE(host->PumpUntil([&] { return !entryOpen(); }));
  host->Pump(50);
  EXPECT_EQ("42", host->ParameterDisplay(0));
  bool automated = false;
  for (const auto& event : host->TakeEditEvents())
    automated |= event.opcode == vst2::audioMasterAutomate && event.index == 0;
  EXPECT_TRUE(automated);

  // Escape discards what was typed.
  host->Click(KnobCentreX(0), kKnobCentreY, 3);
  ASSERT_TRUE(host->PumpUntil(entryOpen));
  host->Key(XK_7);
  host->Key(XK_Escape);
  ASSERT_TRUE(host->PumpUntil([&] { return !entryOpen(); }));
  EXPECT_EQ("42", host->ParameterDisplay(0));
}

TEST_F(EditorX11Test, MenusAndEntriesGoWithTheWindowTheHostTakesAway) {
  LoadTestee();
  // Closed from the host's side while its menu is up: the menu goes too.
  host->Click(testee_layout::kMenuButtonLeft + 5, testee_layout::kMenuButtonTop + 5);
  ASSERT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").size() == 1; }));
  host->CloseEditor();
  EXPECT_TRUE(host->PumpUntil([this] { return host->PopupWindows("Vorn menu").empty(); }));
  EXPECT_EQ(0u, host->EditorWindow());

  // The host destroys its window (and ours in it) under an open text entry,
  // then closes the editor and opens it in a new window.
  ASSERT_TRUE(host->OpenEditor());
  host->Pump(100);
  host->Click(KnobCentreX(0), kKnobCentreY, 3);
  host->Pump(100);
  host->NewFrame(true);
  host->Pump(100);
  host->CloseEditor();
  host->TakeEditEvents();
  ASSERT_TRUE(host->OpenEditor());
  host->Pump(300);
  EXPECT_EQ(0, Mismatches(Capture(host->GetDisplay(), host->EditorWindow()), HeadlessTesteeImage(*host)));
  EXPECT_TRUE(host->TakeEditEvents().empty()) << "the entry was cancelled, not applied";
}

TEST_F(EditorX11Test, KeysTheEditorDoesNotTakeReachTheHost) {
  LoadTestee();
  host->Click(700, 330);  // the background takes the focus, no value changes
  host->TakeForwardedKeys();
  host->Key(XK_F5);  // no editor key code
  host->Key(XK_q);   // an editor key the background does not take
  const std::vector<unsigned> keys = host->TakeForwardedKeys();
  const Display* display = host->GetDisplay();
  ASSERT_EQ(2u, keys.size());
  EXPECT_EQ(XKeysymToKeycode(const_cast<Display*>(display), XK_F5), keys[0]);
  EXPECT_EQ(XKeysymToKeycode(const_cast<Display*>(display), XK_q), keys[1]);
}

TEST_F(EditorX11Test, WindowShowsWhatTheHeadlessSurfaceComposes) {
  LoadTestee();
  // Host automation moves controls; the window follows at its next ticks.
  host->Effect()->setParameter(host->Effect(), test_layout::kKnobParams[2], 0.8f);
  host->Effect()->setParameter(host->Effect(), test_layout::kFaderParam, 0.25f);
  host->Pump(300);
  const std::vector<uint32_t> window = Capture(host->GetDisplay(), host->EditorWindow());
  const std::vector<uint32_t> expected = HeadlessTesteeImage(*host);
  SaveScreenshot(window, "editor_x11_window");
  SaveScreenshot(expected, "editor_x11_headless");
  EXPECT_EQ(0, Mismatches(window, expected));

  // Covered and uncovered again, the window repaints from the same image.
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  Display* display = host->GetDisplay();
  const Window cover = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 400, 300, 0, CopyFromParent,
                                     InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
  XMapRaised(display, cover);
  XSync(display, False);
  host->Pump(100);
  XDestroyWindow(display, cover);
  XSync(display, False);
  host->Pump(200);
  EXPECT_EQ(0, Mismatches(Capture(display, host->EditorWindow()), expected));
}

TEST_F(EditorX11Test, VornModuleOffersItsEditorAndLoadsWithoutAServer) {
  ASSERT_TRUE(host->Load(VORN_MODULE));
  EXPECT_EQ(0x1131, host->Effect()->flags);
  vst2::ERect* rect = nullptr;
  ASSERT_EQ(1, host->Dispatch(vst2::effEditGetRect, 0, 0, &rect));
  EXPECT_EQ(kWidth, rect->right);
  EXPECT_EQ(kHeight, rect->bottom);
  ASSERT_TRUE(host->OpenEditor());
  host->CloseEditor();
  host->Unload();

  // Without a server the module still loads and renders; opening fails.
  const std::string display = std::getenv("DISPLAY");
  unsetenv("DISPLAY");
  X11TestHost headless;
  EXPECT_FALSE(headless.IsReady());
  const bool loaded = headless.Load(VORN_MODULE);
  bool opened = true;
  if (loaded) {
    std::vector<float> left(512), right(512);
    float* outputs[] = {left.data(), right.data()};
    headless.Effect()->processReplacing(headless.Effect(), nullptr, outputs, 512);
    opened = headless.Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{1})) != 0;
    headless.Unload();
  }
  setenv("DISPLAY", display.c_str(), 1);
  EXPECT_TRUE(loaded);
  EXPECT_FALSE(opened);
}

// 50 cycles of open and close while a second thread renders and automates,
// with the host calling effEditIdle and, in the second run, never; some
// cycles open twice, and some destroy the host's window before closing.
void OpenCloseCycles(X11TestHost& host, bool idleCalls) {
  host.SetIdleCalls(idleCalls);
  std::atomic<bool> stop{false};
  vst2::AEffect* effect = host.Effect();
  std::thread audio([&] {
    std::vector<float> left(256), right(256);
    float* outputs[] = {left.data(), right.data()};
    int step = 0;
    while (!stop) {
      effect->setParameter(effect, step % 10, static_cast<float>((step * 37) % 100) / 100.0f);
      effect->processReplacing(effect, nullptr, outputs, 256);
      ++step;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  int opened = 0;
  for (int cycle = 0; cycle < 50; ++cycle) {
    opened += host.OpenEditor();
    if (cycle % 10 == 3) opened += host.OpenEditor() ? 0 : -100;  // twice: the first window goes
    host.Pump(30);
    if (cycle % 17 == 5) {
      host.NewFrame(true);  // the host's window (and ours in it) is gone first
      host.Pump(20);
    }
    host.CloseEditor();
    host.Pump(5);
  }
  stop = true;
  audio.join();
  EXPECT_EQ(50, opened);
  // The controls show what the host sent, the plug-in holds it quantised:
  // the host sends the held values once more so both agree.
  for (int i = 0; i < 10; ++i) effect->setParameter(effect, i, effect->getParameter(effect, i));
  // Afterwards the editor still opens, with exactly one window, and draws.
  ASSERT_TRUE(host.OpenEditor());
  host.Pump(300);
  Window root, parent;
  Window* children = nullptr;
  unsigned count = 0;
  XQueryTree(host.GetDisplay(), host.Frame(), &root, &parent, &children, &count);
  if (children) XFree(children);
  EXPECT_EQ(1u, count);
  EXPECT_EQ(0, Mismatches(Capture(host.GetDisplay(), host.EditorWindow()), HeadlessTesteeImage(host)));
}

TEST_F(EditorX11Test, OpenCloseCyclesWithIdleCalls) {
  ASSERT_TRUE(host->Load(VORN_X11_TESTEE));
  OpenCloseCycles(*host, true);
}

TEST_F(EditorX11Test, OpenCloseCyclesWithoutIdleCalls) {
  ASSERT_TRUE(host->Load(VORN_X11_TESTEE));
  OpenCloseCycles(*host, false);
}

}  // namespace
