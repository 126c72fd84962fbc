#include "editor/platform/x11_text_entry.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "editor/font_cache.h"
#include "editor/igraphics.h"
#include "raster/px_font.h"

namespace {

constexpr int kFocused = 1;
constexpr int kCancel = 3;
constexpr int kCommit = 4;
constexpr int kMargin = 2;

// Latin-1 characters as UTF-8 (what XLookupString gives without an input method).
std::string Utf8FromLatin1(const char* bytes, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t CharacterCount(const std::string& text) {
  size_t count = 0;
  for (char c : text) count += !IsContinuation(c);
  return count;
}

}  // namespace

X11TextEntry::X11TextEntry(X11Connection& connection, Window parent, const IBox& box, const ITextStyle& style,
                           const std::string& text, int maxLength, const IParam* param, std::atomic<int>& state,
                           ClipboardReader clipboard)
    : mConnection(connection),
      mWidth(box.Width() + 1),
      mHeight(box.Height() + 1),
      mStyle(style),
      mText(text),
      mCaret(text.size()),
      mMaxLength(maxLength),
      mParam(param),
      mState(state),
      mClipboard(std::move(clipboard)) {
  mStyle.font = nullptr;
  mCanvas.SetSize(mWidth, mHeight);
  X11Connection::Guard guard(mConnection);
  Display* display = mConnection.Display();
  XSetWindowAttributes attributes{};
  attributes.event_mask = ExposureMask | KeyPressMask | FocusChangeMask | ButtonPressMask;
  attributes.background_pixmap = None;
  mWindow =
      XCreateWindow(display, parent, box.left, box.top, static_cast<unsigned>(mWidth), static_cast<unsigned>(mHeight),
                    0, CopyFromParent, InputOutput, CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
  XMapRaised(display, mWindow);
  mConnection.SyncAndTakeError();
  XSetInputFocus(display, mWindow, RevertToParent, CurrentTime);
  mConnection.SyncAndTakeError();
}

X11TextEntry::~X11TextEntry() {
  X11Connection::Guard guard(mConnection);
  XDestroyWindow(mConnection.Display(), mWindow);
  mConnection.SyncAndTakeError();
}

void X11TextEntry::HandleEvent(XEvent& event) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) Redraw();
      break;
    case FocusIn:
      if (event.xfocus.mode == NotifyNormal) mState = kFocused;
      break;
    case FocusOut:
      if (event.xfocus.mode == NotifyNormal) mState = kCommit;
      break;
    case ButtonPress:
      mAllSelected = false;
      mCaret = mText.size();
      Redraw();
      break;
    case KeyPress: HandleKey(event.xkey); break;
    default: break;
  }
}

void X11TextEntry::HandleKey(XKeyEvent& event) {
  char bytes[32];
  KeySym keysym = NoSymbol;
  const int count = XLookupString(&event, bytes, sizeof bytes, &keysym, nullptr);
  const bool control = (event.state & ControlMask) != 0;
  switch (keysym) {
    case XK_Return:
    case XK_KP_Enter: mState = kCommit; return;
    case XK_Escape: mState = kCancel; return;
    case XK_BackSpace:
    case XK_Delete:
      if (mAllSelected) {
        mText.clear();
        mCaret = 0;
      } else if (keysym == XK_BackSpace && mCaret > 0) {
        size_t start = mCaret - 1;
        while (start > 0 && IsContinuation(mText[start])) --start;
        mText.erase(start, mCaret - start);
        mCaret = start;
      } else if (keysym == XK_Delete && mCaret < mText.size()) {
        size_t end = mCaret + 1;
        while (end < mText.size() && IsContinuation(mText[end])) ++end;
        mText.erase(mCaret, end - mCaret);
      }
      mAllSelected = false;
      break;
    case XK_Left:
      if (mCaret > 0) --mCaret;
      while (mCaret > 0 && IsContinuation(mText[mCaret])) --mCaret;
      mAllSelected = false;
      break;
    case XK_Right:
      if (mCaret < mText.size()) ++mCaret;
      while (mCaret < mText.size() && IsContinuation(mText[mCaret])) ++mCaret;
      mAllSelected = false;
      break;
    case XK_Home:
      mCaret = 0;
      mAllSelected = false;
      break;
    case XK_End:
      mCaret = mText.size();
      mAllSelected = false;
      break;
    default:
      if (control && (keysym == XK_a || keysym == XK_A)) {
        mAllSelected = true;
      } else if (control && (keysym == XK_v || keysym == XK_V)) {
        std::string pasted;
        if (mClipboard && mClipboard(pasted)) Insert(pasted);
      } else if (!control && count > 0) {
        Insert(Utf8FromLatin1(bytes, count));
      }
      break;
  }
  Redraw();
}

void X11TextEntry::Insert(const std::string& typed) {
  std::string accepted;
  for (size_t i = 0; i < typed.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(typed[i]);
    if (c < 0x20 || c == 0x7F) continue;
    // Only single-byte characters can pass a parameter's filter.
    if (mParam && !IGraphics::EntryAcceptsCharacter(mParam, c)) continue;
    accepted += static_cast<char>(c);
  }
  if (mAllSelected) {
    mText.clear();
    mCaret = 0;
    mAllSelected = false;
  }
  for (size_t i = 0; i < accepted.size(); ++i) {
    const bool lead = !IsContinuation(accepted[i]);
    if (lead && mMaxLength >= 0 && CharacterCount(mText) >= static_cast<size_t>(mMaxLength)) break;
    mText.insert(mCaret++, 1, accepted[i]);
  }
}

void X11TextEntry::Redraw() {
  const uint32_t background = mStyle.entryBackground.ToPixel() | 0xFF000000u;
  const uint32_t ink = mStyle.entryText.ToPixel() | 0xFF000000u;
  mCanvas.Fill({0, 0, mWidth, mHeight}, background);
  PX_IFont* font = font_cache::Find(mStyle);
  if (font) {
    PX_Rect extent{};
    font->DrawText(nullptr, mText.c_str(), -1, &extent, kTextNoClip | kTextMeasureOnly);
    const int textWidth = extent.right - extent.left;
    const int textHeight = extent.bottom - extent.top > 0 ? extent.bottom - extent.top : font->LineHeight();
    int x = kMargin;
    if (mStyle.align == kAlignCentre) x = (mWidth - textWidth) / 2;
    if (mStyle.align == kAlignRight) x = mWidth - kMargin - textWidth;
    const int y = (mHeight - textHeight) / 2;
    if (mAllSelected && !mText.empty()) mCanvas.Fill({x, y, x + textWidth, y + textHeight}, ink);
    font->SetTextColour(mAllSelected ? background : ink);
    PX_Rect area{x, y, x + textWidth + 1, y + textHeight};
    if (!mText.empty()) font->DrawText(mCanvas.Bitmap(), mText.c_str(), -1, &area, kTextNoClip);
    PX_Rect before{};
    const std::string head = mText.substr(0, mCaret);
    if (!head.empty()) font->DrawText(nullptr, head.c_str(), -1, &before, kTextNoClip | kTextMeasureOnly);
    const int caretX = x + before.right - before.left;
    if (!mAllSelected) mCanvas.Fill({caretX, y, caretX + 1, y + textHeight}, ink);
  }
  X11Connection::Guard guard(mConnection);
  mCanvas.Present(mConnection.Display(), mWindow);
  XFlush(mConnection.Display());
}
