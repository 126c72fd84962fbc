// The whole plug-in with its editor: the editor opened, ticked and closed
// many times while another thread renders audio and automates parameters
// through the VST 2 entry points (run under AddressSanitizer for leaks and
// use after free), and the host never offered a surface without a window.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "editor/igraphics.h"
#include "editor/platform/igraphics_headless.h"
#include "product/vorn.h"
#include "plugin/vst2/vst2_abi.h"
#include "tools/vorn-snapshot/test_layout.h"

namespace {

vst2::IntPtr Dispatch(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index = 0, vst2::IntPtr value = 0,
                      void* ptr = nullptr, float opt = 0.0f) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

TEST(EditorPlugin, AHeadlessEditorIsNotOfferedToTheHost) {
  Vorn vorn(nullptr);
  vst2::AEffect* effect = vorn.Effect();
  // Whatever surface the build chose, a headless one replaces it.
  vorn.AttachGraphics(new IGraphicsHeadless(&vorn));
  ASSERT_NE(vorn.GetGraphics(), nullptr);
  EXPECT_EQ(vorn.Editor(), vorn.GetGraphics());
  EXPECT_FALSE(vorn.GetGraphics()->CanOpenWindow());
  EXPECT_EQ(effect->flags & vst2::effFlagsHasEditor, 0);
  vst2::ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(effect, vst2::effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(Dispatch(effect, vst2::effEditOpen), 0);
  EXPECT_EQ(vorn.GetGraphics()->Width(), 832);
  EXPECT_EQ(vorn.GetGraphics()->Height(), 376);
  EXPECT_NE(vorn.GetGraphics()->DrawBitmapSurface(), nullptr);
}

// A surface that claims a window, as the window layers do.
class WindowedSurface : public IGraphicsHeadless {
 public:
  using IGraphicsHeadless::IGraphicsHeadless;
  bool CanOpenWindow() const override { return true; }
  bool Open(void* parent) override {
    parents.push_back(parent);
    return IGraphicsHeadless::Open(parent);
  }
  std::vector<void*> parents;
};

TEST(EditorPlugin, AnEditorWithAWindowIsOfferedAndReachedThroughTheEditOpcodes) {
  Vorn vorn(nullptr);
  vst2::AEffect* effect = vorn.Effect();
  auto* surface = new WindowedSurface(&vorn);
  vorn.AttachGraphics(surface);
  EXPECT_EQ(effect->flags, 0x1131);
  vst2::ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(effect, vst2::effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 376);
  EXPECT_EQ(rect->right, 832);
  int parent = 0;
  EXPECT_EQ(Dispatch(effect, vst2::effEditOpen, 0, 0, &parent), 1);
  EXPECT_EQ(surface->parents, std::vector<void*>{&parent});
  EXPECT_TRUE(surface->IsWindowOpen());
  EXPECT_EQ(Dispatch(effect, vst2::effEditClose), 1);
  EXPECT_FALSE(surface->IsWindowOpen());
  // Host automation reaches the editor's controls through the same record.
  effect->setParameter(effect, 0, 0.25f);
  EXPECT_EQ(vorn.GetParam(0)->GetNormalized(), 0.25);
}

TEST(EditorPlugin, OpenAndCloseManyTimesWhileAnotherThreadRenders) {
  auto vorn = std::make_unique<Vorn>(nullptr);
  vst2::AEffect* effect = vorn->Effect();
  Dispatch(effect, vst2::effOpen);
  Dispatch(effect, vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Dispatch(effect, vst2::effSetBlockSize, 0, 256);
  Dispatch(effect, vst2::effMainsChanged, 0, 1);
  // The headless surface opens without a host window on every build.
  vorn->AttachGraphics(new IGraphicsHeadless(vorn.get()));
  IGraphics* graphics = vorn->GetGraphics();
  if (graphics->NControls() == 0) {
    std::lock_guard<std::recursive_mutex> lock(vorn->Mutex());
    test_layout::Build(*graphics);
    vorn->RefreshEditorControls();
  }

  std::atomic<bool> stop{false};
  std::thread audio([&] {
    std::vector<float> left(256), right(256);
    float* outputs[] = {left.data(), right.data()};
    int block = 0;
    while (!stop.load()) {
      effect->setParameter(effect, block % 32, static_cast<float>(block % 7) / 6.0f);
      effect->processReplacing(effect, nullptr, outputs, 256);
      ++block;
    }
  });
  int drawn = 0;
  for (int cycle = 0; cycle < 100; ++cycle) {
    ASSERT_TRUE(graphics->Open(nullptr));
    for (int tick = 0; tick < 3; ++tick) {
      IBox dirty;
      if (graphics->CollectDirtyArea(dirty)) drawn += graphics->Draw(dirty);
    }
    Dispatch(effect, vst2::effEditIdle);
    EXPECT_EQ(Dispatch(effect, vst2::effEditClose), 1);
  }
  stop.store(true);
  audio.join();
  EXPECT_GE(drawn, 100);
  Dispatch(effect, vst2::effMainsChanged, 0, 0);
  Dispatch(effect, vst2::effClose);  // destroys the instance
  (void)vorn.release();
}

}  // namespace
