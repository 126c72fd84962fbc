// The drawing cycle of IGraphics and its drawing operations: dirty-area
// collection, strict and non-strict composition, bitmaps and text.
#include <algorithm>

#include "editor/bitmap_cache.h"
#include "editor/font_cache.h"
#include "editor/icontrol.h"
#include "editor/igraphics.h"
#include "plugin/plugin_base.h"
#include "raster/px_blit.h"
#include "raster/px_font.h"
#include "raster/px_sys_bitmap.h"

namespace {

int BlitModeOf(const IBlendMode* blend) {
  switch (blend ? blend->method : kBlendAlpha) {
    case kBlendCopy: return kBlitCopy;
    case kBlendAdd: return kBlitAdd | kBlitUseAlpha;
    case kBlendDodge: return kBlitDodge | kBlitUseAlpha;
    default: return kBlitCopy | kBlitUseAlpha;
  }
}

uint32_t TextFlagsOf(const ITextStyle& style) {
  uint32_t flags = kTextNoClip;
  if (style.colour.a != 255) flags |= kTextUseColourAlpha;
  if (style.align == kAlignCentre) flags |= kTextCentre;
  if (style.align == kAlignRight) flags |= kTextRight;
  return flags;
}

// The style's font, found in the cache on first use and kept in the style.
PX_IFont* FontOf(ITextStyle& style) {
  if (!style.font) style.font = font_cache::Find(style);
  return style.font;
}

}  // namespace

bool IGraphics::CollectDirtyArea(IBox& box) {
  bool dirty = false;
  for (auto& control : mControls) {
    if (!control->IsDirty()) continue;
    box = box.Union(control->GetBox());
    dirty = true;
  }
  if (dirty) {
    mCleanTicks = 0;
    return true;
  }
  if (++mCleanTicks > kIdleTicks) {
    if (mPlugin) mPlugin->OnIdle();
    mCleanTicks = 0;
  }
  return false;
}

bool IGraphics::Draw(const IBox& box) {
  if (mControls.empty()) return true;
  if (mStrictDrawing) {
    mDrawBox = box;
    for (auto& control : mControls) {
      if (!control->IsHidden() && box.Overlaps(control->GetBox())) control->Draw(this);
    }
    for (auto& control : mControls) control->SetClean();
  } else {
    IControl* background = mControls.front().get();
    if (background->IsDirty()) {
      mDrawBox = background->GetBox();
      for (auto& control : mControls) {
        if (control.get() == background || !control->IsHidden()) control->Draw(this);
        control->SetClean();
      }
    } else {
      for (size_t i = 1; i < mControls.size(); ++i) {
        IControl* dirty = mControls[i].get();
        if (!dirty->IsDirty()) continue;
        mDrawBox = dirty->GetBox();
        for (auto& control : mControls) {
          if (control->IsHidden()) continue;
          if (control.get() == dirty || mDrawBox.Overlaps(control->GetBox())) control->Draw(this);
        }
        dirty->SetClean();
      }
    }
  }
  return PresentBox(box);
}

IBitmapStrip IGraphics::LoadBitmapById(int id, const char* name, int frames, bool sideBySide) {
  frames = std::max(1, frames);
  IBitmapStrip strip;
  // The fallback for an image that cannot be loaded has one pixel a frame.
  strip.bitmap = bitmap_cache::Find(id, sideBySide ? frames : 1, sideBySide ? 1 : frames,
                                    [&] { return LoadImageResource(id, name ? name : ""); });
  strip.width = strip.bitmap->Width();
  strip.height = strip.bitmap->Height();
  strip.frames = frames;
  strip.sideBySide = sideBySide;
  return strip;
}

bool IGraphics::DrawBitmap(const IBitmapStrip& strip, const IBox& box, int srcX, int srcY, const IBlendMode* blend) {
  const IBox visible = box.Intersect(mDrawBox);
  if (!mDrawBitmap || !strip.bitmap || visible.IsEmpty()) return true;
  PX_Rect source;
  source.left = srcX + visible.left - box.left;
  source.top = srcY + visible.top - box.top;
  source.right = srcX + visible.right - box.left;
  source.bottom = srcY + visible.bottom - box.top;
  const float alpha = blend ? blend->weight : 1.0f;
  PX_BlitRegion(mDrawBitmap.get(), strip.bitmap, visible.left, visible.top, &source, alpha, BlitModeOf(blend));
  return true;
}

bool IGraphics::DrawBitmapFrame(const IBitmapStrip& strip, const IBox& box, int frame, const IBlendMode* blend) {
  int srcX = 0;
  int srcY = 0;
  const int frames = strip.frames;
  if (frames >= 2 && frame >= 2) {
    if (strip.sideBySide) {
      srcX = static_cast<int>(static_cast<double>(strip.width) * (frame - 1) / frames + 0.5);
    } else {
      srcY = static_cast<int>(static_cast<double>(strip.height) * (frame - 1) / frames + 0.5);
    }
  }
  return DrawBitmap(strip, box, srcX, srcY, blend);
}

bool IGraphics::DrawText(ITextStyle& style, const char* text, const IBox& box) {
  if (!text || !*text) return true;
  PX_IFont* font = FontOf(style);
  if (!font) return false;
  if (!mDrawBitmap) return true;
  font->SetTextColour(style.colour.ToPixel());
  PX_Rect area{box.left, box.top, box.right, box.bottom};
  font->DrawText(mDrawBitmap.get(), text, -1, &area, TextFlagsOf(style));
  return true;
}

bool IGraphics::MeasureText(ITextStyle& style, const char* text, IBox& box) {
  if (!text || !*text) return true;
  PX_IFont* font = FontOf(style);
  if (!font) return false;
  PX_Rect extent{};
  font->DrawText(nullptr, text, -1, &extent, TextFlagsOf(style) | kTextMeasureOnly);
  const int w = extent.right - extent.left;
  const int h = extent.bottom - extent.top;
  switch (style.align) {
    case kAlignCentre:
      box.left = static_cast<int>(static_cast<float>(box.left + box.right) * 0.5f) - w / 2;
      box.right = box.left + w;
      break;
    case kAlignRight: box.left = box.right - w; break;
    default: box.right = box.left + w; break;
  }
  box.bottom = box.top + h;
  return true;
}
