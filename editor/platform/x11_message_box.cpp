#include "editor/platform/x11_message_box.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

#include "editor/igraphics.h"

namespace {

constexpr uint32_t kFace = 0xFFF0F0F0;
constexpr uint32_t kInk = 0xFF000000;
constexpr uint32_t kBorder = 0xFF808080;
constexpr uint32_t kFocusRing = 0xFF3070C0;
constexpr uint32_t kFieldFace = 0xFFFFFFFF;
constexpr int kWrapWidth = 420;
constexpr int kMinWidth = 280;
constexpr int kFieldHeight = 22;

// Splits text at line feeds and wraps long lines between words.
std::vector<std::string> WrapLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string paragraph = text.substr(start, end - start);
    std::string line;
    size_t word = 0;
    while (word < paragraph.size()) {
      size_t next = paragraph.find(' ', word);
      if (next == std::string::npos) next = paragraph.size();
      const std::string candidate =
          line.empty() ? paragraph.substr(word, next - word) : line + " " + paragraph.substr(word, next - word);
      if (!line.empty() && X11Canvas::TextWidth(candidate.c_str()) > kWrapWidth) {
        lines.push_back(line);
        line = paragraph.substr(word, next - word);
      } else {
        line = candidate;
      }
      word = next + 1;
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::vector<X11MessageBox::Button> X11MessageBox::ButtonsFor(int type, int& escapeAnswer) {
  switch (type & 0xF) {
    case IGraphics::kMessageOkCancel:
      escapeAnswer = IGraphics::kAnswerCancel;
      return {{"OK", IGraphics::kAnswerOk}, {"Cancel", IGraphics::kAnswerCancel}};
    case IGraphics::kMessageYesNoCancel:
      escapeAnswer = IGraphics::kAnswerCancel;
      return {{"Yes", IGraphics::kAnswerYes}, {"No", IGraphics::kAnswerNo}, {"Cancel", IGraphics::kAnswerCancel}};
    case IGraphics::kMessageYesNo:
      // As on Windows, a Yes/No box cannot be escaped.
      escapeAnswer = kNoEscape;
      return {{"Yes", IGraphics::kAnswerYes}, {"No", IGraphics::kAnswerNo}};
    default: escapeAnswer = IGraphics::kAnswerOk; return {{"OK", IGraphics::kAnswerOk}};
  }
}

int X11MessageBox::Run(X11Connection& connection, X11Client* owner, Window transientFor, const char* caption,
                       const char* text, const std::vector<Button>& buttons, int escapeAnswer, std::string* field) {
  X11MessageBox box(connection);
  box.mButtons = buttons;
  box.mEscapeAnswer = escapeAnswer;
  box.mField = field;
  box.mFocus = field ? -1 : 0;
  box.Layout(text ? text : "");
  {
    X11Connection::Guard guard(connection);
    Display* display = connection.Display();
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    attributes.background_pixmap = None;
    const int x = std::max(0, (DisplayWidth(display, screen) - box.mWidth) / 2);
    const int y = std::max(0, (DisplayHeight(display, screen) - box.mHeight) / 2);
    box.mWindow = XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(box.mWidth),
                                static_cast<unsigned>(box.mHeight), 0, CopyFromParent, InputOutput, CopyFromParent,
                                CWEventMask | CWBackPixmap, &attributes);
    XStoreName(display, box.mWindow, caption ? caption : "");
    if (transientFor) XSetTransientForHint(display, box.mWindow, transientFor);
    const Atom windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom dialogType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, box.mWindow, windowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&dialogType), 1);
    box.mDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, box.mWindow, &box.mDeleteWindow, 1);
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize | PPosition;
    hints.x = x;
    hints.y = y;
    hints.min_width = hints.max_width = box.mWidth;
    hints.min_height = hints.max_height = box.mHeight;
    XSetWMNormalHints(display, box.mWindow, &hints);
    XMapRaised(display, box.mWindow);
    connection.SyncAndTakeError();
  }
  connection.Register(box.mWindow, &box);
  const bool finished = connection.RunModal({&box}, owner, [&box] { return box.mDone; });
  connection.Unregister(box.mWindow);
  {
    X11Connection::Guard guard(connection);
    XDestroyWindow(connection.Display(), box.mWindow);
    connection.SyncAndTakeError();
  }
  if (!finished || box.mAnswer == kNoEscape) return escapeAnswer != kNoEscape ? escapeAnswer : buttons.back().answer;
  return box.mAnswer;
}

void X11MessageBox::Layout(const char* text) {
  mLines = WrapLines(text);
  int widest = 0;
  for (const std::string& line : mLines) widest = std::max(widest, X11Canvas::TextWidth(line.c_str()));
  const int buttonsWidth = static_cast<int>(mButtons.size()) * (kButtonWidth + kMargin / 2) - kMargin / 2;
  mWidth = std::max({kMinWidth, widest + 2 * kMargin, buttonsWidth + 2 * kMargin});
  mFieldTop = kMargin + static_cast<int>(mLines.size()) * X11Canvas::LineHeight() + kMargin / 2;
  mHeight = mFieldTop + (mField ? kFieldHeight + kMargin : 0) + kButtonHeight + kMargin;
  mCanvas.SetSize(mWidth, mHeight);
}

IBox X11MessageBox::ButtonBox(size_t index) const {
  const int count = static_cast<int>(mButtons.size());
  const int rowWidth = count * kButtonWidth + (count - 1) * (kMargin / 2);
  const int left = (mWidth - rowWidth) / 2 + static_cast<int>(index) * (kButtonWidth + kMargin / 2);
  const int top = mHeight - kMargin - kButtonHeight;
  return {left, top, left + kButtonWidth, top + kButtonHeight};
}

void X11MessageBox::Draw() {
  mCanvas.Fill({0, 0, mWidth, mHeight}, kFace);
  int y = kMargin;
  for (const std::string& line : mLines) {
    mCanvas.Text(line.c_str(), kMargin, y, kInk);
    y += X11Canvas::LineHeight();
  }
  if (mField) {
    const IBox field{kMargin, mFieldTop, mWidth - kMargin, mFieldTop + kFieldHeight};
    mCanvas.Fill(field, kFieldFace);
    mCanvas.Frame(field, mFocus < 0 ? kFocusRing : kBorder);
    const int textTop = field.top + (kFieldHeight - X11Canvas::LineHeight()) / 2;
    mCanvas.Text(mField->c_str(), field.left + 4, textTop, kInk);
    if (mFocus < 0) {
      const int caret = field.left + 4 + X11Canvas::TextWidth(mField->c_str());
      mCanvas.Fill({caret, textTop, caret + 1, textTop + X11Canvas::LineHeight()}, kInk);
    }
  }
  for (size_t i = 0; i < mButtons.size(); ++i) {
    const IBox box = ButtonBox(i);
    mCanvas.Fill(box, 0xFFE0E0E0);
    mCanvas.Frame(box, static_cast<int>(i) == mFocus ? kFocusRing : kBorder);
    const char* label = mButtons[i].label;
    mCanvas.Text(label, box.left + (kButtonWidth - X11Canvas::TextWidth(label)) / 2,
                 box.top + (kButtonHeight - X11Canvas::LineHeight()) / 2, kInk);
  }
  X11Connection::Guard guard(mConnection);
  mCanvas.Present(mConnection.Display(), mWindow);
  XFlush(mConnection.Display());
}

void X11MessageBox::HandleEvent(XEvent& event) {
  switch (event.type) {
    case MapNotify: {
      X11Connection::Guard guard(mConnection);
      XSetInputFocus(mConnection.Display(), mWindow, RevertToParent, CurrentTime);
      mConnection.SyncAndTakeError();
      break;
    }
    case Expose:
      if (event.xexpose.count == 0) Draw();
      break;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == mDeleteWindow && mEscapeAnswer != kNoEscape) {
        mAnswer = mEscapeAnswer;
        mDone = true;
      }
      break;
    case ButtonRelease:
      for (size_t i = 0; i < mButtons.size(); ++i) {
        if (ButtonBox(i).Contains(event.xbutton.x, event.xbutton.y)) {
          mAnswer = mButtons[i].answer;
          mDone = true;
        }
      }
      if (mField && event.xbutton.y >= mFieldTop && event.xbutton.y < mFieldTop + kFieldHeight) {
        mFocus = -1;
        Draw();
      }
      break;
    case KeyPress: {
      char bytes[16];
      KeySym keysym = NoSymbol;
      const int count = XLookupString(&event.xkey, bytes, sizeof bytes, &keysym, nullptr);
      const int buttons = static_cast<int>(mButtons.size());
      const int first = mField ? -1 : 0;
      switch (keysym) {
        case XK_Escape:
          if (mEscapeAnswer != kNoEscape) {
            mAnswer = mEscapeAnswer;
            mDone = true;
          }
          return;
        case XK_Return:
        case XK_KP_Enter:
          mAnswer = mButtons[static_cast<size_t>(std::max(0, mFocus))].answer;
          mDone = true;
          return;
        case XK_Tab:
        case XK_Right: mFocus = mFocus + 1 >= buttons ? first : mFocus + 1; break;
        case XK_ISO_Left_Tab:
        case XK_Left: mFocus = mFocus - 1 < first ? buttons - 1 : mFocus - 1; break;
        case XK_space:
          if (mFocus >= 0) {
            mAnswer = mButtons[static_cast<size_t>(mFocus)].answer;
            mDone = true;
            return;
          }
          *mField += ' ';
          break;
        case XK_BackSpace:
          if (mFocus < 0 && !mField->empty()) {
            do {
              mField->pop_back();
            } while (!mField->empty() && (static_cast<unsigned char>(mField->back()) & 0xC0) == 0x80);
          }
          break;
        default:
          if (mFocus < 0 && count > 0 && static_cast<unsigned char>(bytes[0]) >= 0x20 && bytes[0] != 0x7F) {
            for (int i = 0; i < count; ++i) {
              const unsigned char c = static_cast<unsigned char>(bytes[i]);
              if (c < 0x80) {
                *mField += static_cast<char>(c);
              } else {
                *mField += static_cast<char>(0xC0 | (c >> 6));
                *mField += static_cast<char>(0x80 | (c & 0x3F));
              }
            }
          }
          break;
      }
      Draw();
      break;
    }
    default: break;
  }
}
