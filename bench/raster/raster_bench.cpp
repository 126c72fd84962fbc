// Figures for the editor's drawing costs: a full 832 x 376 copy-with-alpha
// blit, single frames of a 63-frame knob strip, and a 20-character text drawn
// from the glyph cache. Targets: under 600 us, 10 us and 20 us.
#include <benchmark/benchmark.h>

#include "raster/px_blit.h"
#include "raster/px_cached_font.h"
#include "raster/px_mem_bitmap.h"
#include "raster/px_sys_bitmap.h"

namespace {

constexpr int kEditorWidth = 832;
constexpr int kEditorHeight = 376;
constexpr int kKnobSide = 60;
constexpr int kKnobFrames = 63;

// A picture with opaque, transparent and partly transparent areas, as an
// editor background with shadows and rounded controls has.
void Paint(PX_IBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint32_t* row = bitmap.Pixels() + static_cast<size_t>(y) * bitmap.RowSpan();
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint32_t alpha = (x * 7 + y * 13) % 3 == 0 ? 0xFF : ((x + y) % 5 == 0 ? 0x00 : (x * 31 + y) & 0xFF);
      row[x] = alpha << 24 | static_cast<uint32_t>((x * 3) & 0xFF) << 16 | static_cast<uint32_t>(y & 0xFF) << 8 |
               static_cast<uint32_t>((x ^ y) & 0xFF);
    }
  }
}

void FullEditorCopyWithAlpha(benchmark::State& state) {
  PX_SysBitmap target(kEditorWidth, kEditorHeight);
  PX_MemBitmap image(kEditorWidth, kEditorHeight);
  Paint(target);
  Paint(image);
  for (auto _ : state) {
    PX_BlitRegion(&target, &image, 0, 0, nullptr, 1.0f, kBlitCopy | kBlitUseAlpha);
    benchmark::DoNotOptimize(target.Pixels());
  }
}
BENCHMARK(FullEditorCopyWithAlpha)->Unit(benchmark::kMicrosecond);

void FullEditorPlainCopy(benchmark::State& state) {
  PX_SysBitmap target(kEditorWidth, kEditorHeight);
  PX_MemBitmap image(kEditorWidth, kEditorHeight);
  Paint(image);
  for (auto _ : state) {
    PX_BlitRegion(&target, &image, 0, 0, nullptr, 1.0f, kBlitCopy);
    benchmark::DoNotOptimize(target.Pixels());
  }
}
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
