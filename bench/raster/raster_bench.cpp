// Figures for the editor's drawing costs: a full 832 x 376 copy-with-alpha
// blit, single frames of a 63-frame knob strip, and a 20-character text drawn
// from the glyph cache. Targets: under 600 us, 10 us and 20 us.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "raster/px_blit.h"
#include "raster/px_cached_font.h"
#include "raster/px_mem_bitmap.h"
#include "raster/px_sys_bitmap.h"

namespace {

constexpr int kEditorWidth = 832;
constexpr int kEditorHeight = 376;
constexpr int kKnobSide = 60;
constexpr int kKnobFrames = 63;

// Colour channels that vary from pixel to pixel.
uint32_t Colour(int x, int y) {
  return static_cast<uint32_t>((x * 3) & 0xFF) << 16 | static_cast<uint32_t>(y & 0xFF) << 8 |
         static_cast<uint32_t>((x ^ y) & 0xFF);
}

// An editor-like picture: opaque panels, transparent gaps and soft edges in
// coherent regions (alpha changes along a row every 32 pixels).
void Paint(PX_IBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint32_t* row = bitmap.Pixels() + static_cast<size_t>(y) * bitmap.RowSpan();
    for (int x = 0; x < bitmap.Width(); ++x) {
      const int region = (x / 32 + y / 16) % 5;
      const uint32_t alpha = region < 3 ? 0xFF : (region == 3 ? 0x00 : static_cast<uint32_t>(x * 8) & 0xFF);
      row[x] = alpha << 24 | Colour(x, y);
    }
  }
}

// The worst case for the alpha rules: every pixel's alpha differs from its
// neighbour's, half of them partial.
void PaintScattered(PX_IBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint32_t* row = bitmap.Pixels() + static_cast<size_t>(y) * bitmap.RowSpan();
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint32_t alpha = (x * 7 + y * 13) % 3 == 0 ? 0xFF : ((x + y) % 5 == 0 ? 0x00 : (x * 31 + y) & 0xFF);
      row[x] = alpha << 24 | Colour(x, y);
    }
  }
}

// One full-editor blit per iteration from an image painted by `paintImage`.
void BlitFullEditor(benchmark::State& state, void (*paintImage)(PX_IBitmap&), std::uint32_t mode) {
  PX_SysBitmap target(kEditorWidth, kEditorHeight);
  PX_MemBitmap image(kEditorWidth, kEditorHeight);
  Paint(target);
  paintImage(image);
  for (auto _ : state) {
    PX_BlitRegion(&target, &image, 0, 0, nullptr, 1.0f, mode);
    benchmark::DoNotOptimize(target.Pixels());
  }
}

void FullEditorCopyWithAlpha(benchmark::State& state) { BlitFullEditor(state, Paint, kBlitCopy | kBlitUseAlpha); }
BENCHMARK(FullEditorCopyWithAlpha)->Unit(benchmark::kMicrosecond);

void FullEditorCopyWithScatteredAlpha(benchmark::State& state) {
  BlitFullEditor(state, PaintScattered, kBlitCopy | kBlitUseAlpha);
}
BENCHMARK(FullEditorCopyWithScatteredAlpha)->Unit(benchmark::kMicrosecond);

void FullEditorPlainCopy(benchmark::State& state) { BlitFullEditor(state, Paint, kBlitCopy); }
BENCHMARK(FullEditorPlainCopy)->Unit(benchmark::kMicrosecond);

void KnobStripFrame(benchmark::State& state) {
  PX_SysBitmap target(kEditorWidth, kEditorHeight);
  PX_MemBitmap strip(kKnobSide, kKnobSide * kKnobFrames);
  Paint(target);
  Paint(strip);
  int frame = 0;
  for (auto _ : state) {
    const PX_Rect source{0, frame * kKnobSide, kKnobSide, (frame + 1) * kKnobSide};
    PX_BlitRegion(&target, &strip, 400, 200, &source, 1.0f, kBlitCopy | kBlitUseAlpha);
    benchmark::DoNotOptimize(target.Pixels());
    frame = (frame + 1) % kKnobFrames;
  }
}
BENCHMARK(KnobStripFrame)->Unit(benchmark::kMicrosecond);

void CachedText20(benchmark::State& state) {
  PX_SysBitmap target(kEditorWidth, kEditorHeight);
  Paint(target);
  PX_FontRequest request;
  request.height = 14;
  request.face = "Arial";
  PX_CachedFont font;
  font.SetFromGdiFont(PX_CreateFontHandle(request), kFontOwnsHandle | kFontDirectAllowed);
  font.SetTextColour(0xFFE0E0E0);
  static const char kText[] = "Cutoff 1234 Hz Res 7";
  static_assert(sizeof(kText) - 1 == 20, "twenty characters");
  PX_Rect box{300, 100, 500, 130};
  font.DrawText(&target, kText, -1, &box, kTextNeverDirect);  // fills the cache
  for (auto _ : state) {
    font.DrawText(&target, kText, -1, &box, kTextCentre | kTextNeverDirect);
    benchmark::DoNotOptimize(target.Pixels());
  }
}
BENCHMARK(CachedText20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
