#include "editor/platform/igraphics_headless.h"

#include <cctype>
#include <cstring>

#include "editor/icontrol.h"
#include "raster/px_png.h"
#include "raster/png_encode.h"
#include "raster/px_blit.h"
#include "raster/px_mem_bitmap.h"

namespace {

bool HasPngName(const char* name) {
  const char* dot = std::strrchr(name, '.');
  if (!dot) return false;
  const char* ext = dot + 1;
  return std::strlen(ext) == 3 && std::tolower(static_cast<unsigned char>(ext[0])) == 'p' &&
         std::tolower(static_cast<unsigned char>(ext[1])) == 'n' &&
         std::tolower(static_cast<unsigned char>(ext[2])) == 'g';
}

int UnansweredMessage(int type) {
  switch (type & 0xF) {
    case IGraphics::kMessageYesNo:
    case IGraphics::kMessageYesNoCancel: return IGraphics::kAnswerNo;
    case IGraphics::kMessageOkCancel: return IGraphics::kAnswerCancel;
    default: return IGraphics::kAnswerOk;
  }
}

void DescribeMenu(const IMenu& menu, const std::string& indent, std::string& out) {
  for (int i = 0; i < menu.NItems(); ++i) {
    const IMenuItem& item = menu.Item(i);
    out += indent;
    if (item.IsSeparator()) {
      out += "----\n";
      continue;
    }
    out += menu.ItemLabel(i);
    if (item.IsChecked()) out += " [x]";
    if (!item.IsEnabled()) out += " (grey)";
    out += '\n';
    if (item.submenu) DescribeMenu(*item.submenu, indent + "  ", out);
  }
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

IGraphicsHeadless::IGraphicsHeadless(PluginBase* plugin, int width, int height, int frameRate)
    : IGraphics(plugin, width, height, frameRate), mPresented(std::make_unique<PX_MemBitmap>(width, height)) {}

IGraphicsHeadless::~IGraphicsHeadless() = default;

void IGraphicsHeadless::QueueMessageAnswer(int answer) { mMessageAnswers.push_back(answer); }
void IGraphicsHeadless::QueueMenuChoice(std::vector<std::string> path) { mMenuChoices.push_back(std::move(path)); }
void IGraphicsHeadless::QueueFileChoice(std::string path) { mFileChoices.push_back(std::move(path)); }
void IGraphicsHeadless::QueueColourChoice(std::optional<IColour> colour) { mColourChoices.push_back(colour); }
void IGraphicsHeadless::QueueTextEntry(std::optional<std::string> text) { mEntryTexts.push_back(std::move(text)); }

void IGraphicsHeadless::SetFolders(const std::string& host, const std::string& plugin, const std::string& desktop,
                                   const std::string& appData, const std::string& sharedAppData) {
  mHostFolder = host;
  mPluginFolder = plugin;
  mDesktopFolder = desktop;
  mAppDataFolder = appData;
  mSharedAppDataFolder = sharedAppData;
}

IMouseMods IGraphicsHeadless::LeftButton() {
  IMouseMods mods;
  mods.left = true;
  return mods;
}

IMouseMods IGraphicsHeadless::RightButton() {
  IMouseMods mods;
  mods.right = true;
  return mods;
}

bool IGraphicsHeadless::Tick() {
  mLastPresented = {};
  if (mEntryOpen) {
    TextEntryRecord& entry = mTextEntries.back();
    if (mEntryAnswer) CommitEntryText(entry.control, entry.param, mEntryAnswer->c_str());
    mEntryOpen = false;
    mEntryAnswer.reset();
    return false;
  }
  IBox dirty;
  if (!CollectDirtyArea(dirty)) return false;
  Draw(dirty);
  return true;
}

void IGraphicsHeadless::Click(int x, int y, const IMouseMods& mods) {
  OnMouseDown(x, y, mods);
  OnMouseUp(x, y, mods);
}

void IGraphicsHeadless::DragFromTo(int x0, int y0, int x1, int y1, int steps, const IMouseMods& mods) {
  OnMouseDown(x0, y0, mods);
  steps = steps < 1 ? 1 : steps;
  for (int i = 1; i <= steps; ++i) {
    OnMouseDrag(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps, mods);
  }
  OnMouseUp(x1, y1, mods);
}

PX_IBitmap* IGraphicsHeadless::PresentedBitmap() const { return mPresented.get(); }

bool IGraphicsHeadless::WritePng(const char* path) const {
  PX_IBitmap* bitmap = DrawBitmapSurface();
  return bitmap && PX_WritePngFile(*bitmap, path);
}

bool IGraphicsHeadless::PresentBox(const IBox& box) {
  PX_IBitmap* source = DrawBitmapSurface();
  if (!source) return false;
  if (mPresented->Width() != source->Width() || mPresented->Height() != source->Height()) {
    mPresented->Resize(source->Width(), source->Height());
  }
  PX_Rect area{box.left, box.top, box.right, box.bottom};
  PX_BlitRegion(mPresented.get(), source, box.left, box.top, &area, 1.0f, kBlitCopy);
  mLastPresented = box;
  ++mPresentCount;
  return true;
}

void IGraphicsHeadless::AbortTextEntry() { mEntryAnswer.reset(); }

int IGraphicsHeadless::ShowMessage(const char* text, const char* caption, int type) {
  int answer = UnansweredMessage(type);
  if (!mMessageAnswers.empty()) {
    answer = mMessageAnswers.front();
    mMessageAnswers.pop_front();
  }
  mMessages.push_back({text ? text : "", caption ? caption : "", type, answer});
  return answer;
}

IMenu* IGraphicsHeadless::ChooseMenuPath(IMenu& menu, const std::vector<std::string>& path) {
  IMenu* current = &menu;
  for (size_t step = 0; step < path.size(); ++step) {
    int found = -1;
    for (int i = 0; i < current->NItems() && found < 0; ++i) {
      const IMenuItem& item = current->Item(i);
      if (!item.IsSeparator() && item.IsEnabled() && current->ItemLabel(i) == path[step]) found = i;
    }
    if (found < 0) return nullptr;
    IMenuItem& item = current->Item(found);
    const bool last = step + 1 == path.size();
    if (last != !item.submenu) return nullptr;
    if (last) {
      current->SetChosenItem(found);
      return current;
    }
    current = item.submenu.get();
  }
  return nullptr;
}

IMenu* IGraphicsHeadless::RunPopupMenu(IMenu& menu, const IBox&) {
  ReleaseMouseCapture();
  std::string description;
  DescribeMenu(menu, "", description);
  mMenusShown.push_back(description);
  IMenu* chosen = nullptr;
  if (!mMenuChoices.empty()) {
    const std::vector<std::string> path = std::move(mMenuChoices.front());
    mMenuChoices.pop_front();
    chosen = ChooseMenuPath(menu, path);
    if (!chosen && !path.empty()) mUnmatchedMenus.push_back(path);
  }
  MarkAllDirty();
  return chosen;
}

void IGraphicsHeadless::BeginTextEntry(IControl* control, const ITextStyle&, const IBox& box, const char* text,
                                       const IParam* param) {
  if (!control || mEntryOpen) return;
  mTextEntries.push_back({control, param, box, text ? text : "", control->TextEntryLength()});
  mEntryOpen = true;
  mEntryAnswer.reset();
  if (!mEntryTexts.empty()) {
    mEntryAnswer = mEntryTexts.front();
    mEntryTexts.pop_front();
    // The entry field holds at most the control's entry length.
    if (mEntryAnswer && control->TextEntryLength() >= 0 &&
        mEntryAnswer->size() > static_cast<size_t>(control->TextEntryLength())) {
      mEntryAnswer->resize(static_cast<size_t>(control->TextEntryLength()));
    }
    if (mEntryAnswer && param) {
      std::string filtered;
      for (char c : *mEntryAnswer) {
        if (EntryAcceptsCharacter(param, static_cast<unsigned char>(c))) filtered += c;
      }
      mEntryAnswer = filtered;
    }
  }
}

void IGraphicsHeadless::ChooseFile(std::string& fileName, int action, std::string& folder, const char* extensions) {
  mFileDialogs.push_back({fileName, action, folder, extensions ? extensions : ""});
  std::string chosen;
  if (!mFileChoices.empty()) {
    chosen = std::move(mFileChoices.front());
    mFileChoices.pop_front();
  }
  fileName = chosen;
  if (!chosen.empty()) folder = FolderOf(chosen);
}

bool IGraphicsHeadless::ChooseColour(IColour& colour, const char* prompt) {
  mColourPrompts.push_back(prompt ? prompt : "");
  if (mColourChoices.empty()) return false;
  const std::optional<IColour> chosen = mColourChoices.front();
  mColourChoices.pop_front();
  if (!chosen) return false;
  colour.r = chosen->r;
  colour.g = chosen->g;
  colour.b = chosen->b;
  return true;
}

bool IGraphicsHeadless::OpenLink(const char* url, const char* title, const char* confirmText, const char* failureText) {
  if (confirmText && ShowMessage(confirmText, title, kMessageYesNo) != kAnswerYes) return false;
  if (mLinksOpen && url) {
    mLinks.push_back(url);
    return true;
  }
  if (failureText) ShowMessage(failureText, title, kMessageOk);
  return false;
}

bool IGraphicsHeadless::Open(void*) {
  mOpen = true;
  MarkAllDirty();
  return true;
}

void IGraphicsHeadless::Close() { mOpen = false; }

bool IGraphicsHeadless::ClipboardText(std::string& out) {
  out = mClipboard.value_or("");
  return mClipboard.has_value();
}

PX_IBitmap* IGraphicsHeadless::LoadImageResource(int id, const char* name) {
  if (!name || !HasPngName(name)) return nullptr;
  return LoadPngFromResource(nullptr, id);
}
