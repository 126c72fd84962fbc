// An editor that records what the frame tells it.
#pragma once

#include <tuple>
#include <vector>

#include "plugin/editor_view.h"

class FakeEditor : public IEditorView {
 public:
  FakeEditor(int width, int height, int* destroyed = nullptr) : mWidth(width), mHeight(height), mDestroyed(destroyed) {}
  ~FakeEditor() override {
    if (mDestroyed) ++*mDestroyed;
  }

  void ApplyParameterToControls(int index, double value, bool normalized) override {
    applied.emplace_back(index, value, normalized);
  }
  void ApplyPluginValueToControls(int index, double normalized) override { attached.emplace_back(index, normalized); }
  void CreateDrawingSurface() override { ++surfaces; }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  bool Open(void*) override { return open = true; }
  void Close() override { open = false; }

  std::vector<std::tuple<int, double, bool>> applied;
  std::vector<std::pair<int, double>> attached;
  int surfaces = 0;
  bool open = false;

 private:
  int mWidth;
  int mHeight;
  int* mDestroyed;
};
