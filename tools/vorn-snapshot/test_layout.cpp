#include "tools/vorn-snapshot/test_layout.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "editor/ibitmap_control.h"
#include "editor/ifader_control.h"
#include "editor/igraphics.h"
#include "editor/iknob_control.h"
#include "editor/iswitch_popup_control.h"
#include "editor/itext_control.h"
#include "raster/png_encode.h"
#include "raster/px_blit.h"
#include "raster/px_mem_bitmap.h"
#include "raster/px_png_resources.h"

namespace test_layout {
namespace {

constexpr int kKnobSide = 48;
constexpr int kFaderX = 560;
constexpr int kFaderY = 72;
constexpr int kFaderLength = 120;
constexpr double kPi = 3.14159265358979323846;

// A knob drawn by its strip's frame for the value.
class StripKnob : public IKnobControl {
 public:
  StripKnob(PluginBase* plugin, int x, int y, int param, const IBitmapStrip& strip)
      : IKnobControl(plugin, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()}, param), mStrip(strip) {}

  bool Draw(IGraphics* graphics) override {
    const int frame = static_cast<int>((mStrip.frames - 1) * Value() + 0.5) + 1;
    return graphics->DrawBitmapFrame(mStrip, GetBox(), frame, &Blend());
  }

 private:
  IBitmapStrip mStrip;
};

void Fill(PX_MemBitmap& bitmap, int x, int y, int w, int h, uint32_t colour) {
  PX_FillRegion(&bitmap, x, y, w, h, colour, 1.0f, kBlitCopy);
}

std::unique_ptr<PX_MemBitmap> Background() {
  auto owned = std::make_unique<PX_MemBitmap>(832, 376);
  PX_MemBitmap& image = *owned;
  Fill(image, 0, 0, 832, 376, 0xFF202428);
  Fill(image, 0, 0, 832, 40, 0xFF30363C);
  Fill(image, 16, 56, 504, 124, 0xFF2A3036);
  Fill(image, 16, 188, 504, 96, 0xFF262B30);
  Fill(image, kFaderX + 10, kFaderY, 4, kFaderLength, 0xFF101214);
  return owned;
}

// 63 frames of a disc with a pointer sweeping 270 degrees, hard-edged so
// that every pixel is exact on every platform.
std::unique_ptr<PX_MemBitmap> KnobStrip() {
  auto owned = std::make_unique<PX_MemBitmap>(kKnobSide, kKnobSide * kKnobFrames);
  PX_MemBitmap& image = *owned;
  Fill(image, 0, 0, image.Width(), image.Height(), 0x00000000);
  uint32_t* pixels = image.Pixels();
  for (int frame = 0; frame < kKnobFrames; ++frame) {
    const double angle = (-135.0 + 270.0 * frame / (kKnobFrames - 1)) * kPi / 180.0;
    const double ux = std::sin(angle);
    const double uy = -std::cos(angle);
    for (int y = 0; y < kKnobSide; ++y) {
      for (int x = 0; x < kKnobSide; ++x) {
        const double dx = x + 0.5 - kKnobSide / 2;
        const double dy = y + 0.5 - kKnobSide / 2;
        if (dx * dx + dy * dy > 20.0 * 20.0) continue;
        const double along = dx * ux + dy * uy;
        const double across = std::fabs(dx * uy - dy * ux);
        const bool pointer = along > 4.0 && along < 19.0 && across < 2.0;
        pixels[(frame * kKnobSide + y) * image.RowSpan() + x] = pointer ? 0xFFFFD040 : 0xFF8090A0;
      }
    }
  }
  return owned;
}

std::unique_ptr<PX_MemBitmap> Handle() {
  auto owned = std::make_unique<PX_MemBitmap>(24, 16);
  PX_MemBitmap& image = *owned;
  Fill(image, 0, 0, 24, 16, 0xFFC0C8D0);
  Fill(image, 0, 7, 24, 2, 0xFF303030);
  return owned;
}

std::unique_ptr<PX_MemBitmap> Buttons(const std::vector<uint32_t>& faces) {
  const int frames = static_cast<int>(faces.size());
  auto owned = std::make_unique<PX_MemBitmap>(48, 20 * frames);
  PX_MemBitmap& image = *owned;
  for (int i = 0; i < frames; ++i) {
    Fill(image, 0, 20 * i, 48, 20, 0xFF101214);
    Fill(image, 2, 20 * i + 2, 44, 16, faces[static_cast<size_t>(i)]);
  }
  return owned;
}

void Register(int id, std::unique_ptr<PX_MemBitmap> image) {
  // The resource table keeps pointers: the encoded bytes live for the process.
  static std::vector<std::vector<uint8_t>>* encoded = new std::vector<std::vector<uint8_t>>;
  encoded->push_back(PX_EncodePng(*image));
  PX_RegisterPngResource(id, encoded->back().data(), encoded->back().size());
}

}  // namespace

void RegisterArtwork() {
  static std::once_flag once;
  std::call_once(once, [] {
    Register(kBackgroundId, Background());
    Register(kKnobId, KnobStrip());
    Register(kHandleId, Handle());
    Register(kSwitchId, Buttons({0xFF505A64, 0xFFD03030}));
    Register(kModeSwitchId, Buttons({0xFF505A64, 0xFFD0A030, 0xFF30A050}));
  });
}

void Build(IGraphics& graphics) {
  RegisterArtwork();
  graphics.Resize(IGraphics::kDefaultWidth, IGraphics::kDefaultHeight);
  PluginBase* plugin = graphics.Plugin();
  const IBitmapStrip background = graphics.LoadBitmapById(kBackgroundId, "background.png");
  const IBitmapStrip knob = graphics.LoadBitmapById(kKnobId, "knob.png", kKnobFrames);
  const IBitmapStrip handle = graphics.LoadBitmapById(kHandleId, "handle.png");
  const IBitmapStrip button = graphics.LoadBitmapById(kSwitchId, "button.png", 2);
  const IBitmapStrip mode = graphics.LoadBitmapById(kModeSwitchId, "mode.png", 3);

  graphics.AttachControl(new IBitmapControl(plugin, 0, 0, -1, background));
  std::vector<IControl*> knobs;
  for (int i = 0; i < kKnobCount; ++i) {
    knobs.push_back(new StripKnob(plugin, 32 + 80 * i, 72, kKnobParams[i], knob));
    graphics.AttachControl(knobs.back());
  }
  const ITextStyle valueStyle("Arial", 13, {255, 255, 255, 192});
  auto* valueText = new ITextControl(plugin, {16, 124, 96, 140}, valueStyle);
  knobs.front()->SetValueDisplay(valueText);
  graphics.AttachControl(valueText);
  graphics.AttachControl(new IFaderControl(plugin, kFaderX, kFaderY, kFaderLength, kFaderParam, handle));
  graphics.AttachControl(new ISwitchControl(plugin, 32, 220, kSwitchParam, button));
  auto* modeSwitch = new ISwitchPopUpControl(plugin, 112, 220, kModeParam, mode);
  modeSwitch->SetPromptDisabled(false);
  graphics.AttachControl(modeSwitch);
  graphics.AttachControl(new ITextControl(
      plugin, {16, 10, 400, 30}, ITextStyle("Arial", 16, {255, 235, 240, 245}, kAlignLeft), "Vorn editor test layout"));
}

}  // namespace test_layout
