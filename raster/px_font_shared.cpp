#include "raster/px_font_shared.h"

#include "raster/platform/glyph_rasterizer.h"

namespace px_font_shared {
namespace {

struct Shared {
  int fonts = 0;
  PX_SysBitmap* render = nullptr;
  PX_SysBitmap* scratch = nullptr;
};

Shared& State() {
  static Shared shared;
  return shared;
}

}  // namespace

void AddFont() { ++State().fonts; }

void RemoveFont() {
  Shared& shared = State();
  if (--shared.fonts > 0) return;
  delete shared.render;
  delete shared.scratch;
  shared.render = nullptr;
  shared.scratch = nullptr;
  shared.fonts = 0;
}

PX_SysBitmap* RenderBitmap(int side) {
  Shared& shared = State();
  if (!shared.render) shared.render = new PX_SysBitmap();
  PX_SysBitmap& render = *shared.render;
  if (render.Width() < side || render.Height() < side) {
    const int width = render.Width() > side ? render.Width() : side;
    const int height = render.Height() > side ? render.Height() : side;
    render.Resize(width, height);
    px_glyphs::PrepareRenderBitmap(render);
  }
  return render.Pixels() ? &render : nullptr;
}

PX_SysBitmap& ScratchBitmap() {
  Shared& shared = State();
  if (!shared.scratch) shared.scratch = new PX_SysBitmap();
  return *shared.scratch;
}

}  // namespace px_font_shared
