// The editor's platform-neutral core: the ordered list of controls (index 0
// is the background; list order is drawing order), the draw bitmap every
// frame is composed into, the routing of mouse and key events, the drawing
// cycle driven by the window layer's timer, and the keeping of controls and
// parameters in step. A window layer (editor/platform/) derives from it and
// supplies the platform operations declared abstract below.
//
// Threads: everything runs on the editor's window thread, except
// ApplyParameterToControls and ApplyPluginValueToControls, which host threads
// call under the plug-in mutex; they only store control values and dirty
// flags (atomics), which the window thread picks up at its next tick.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "editor/ibitmap_strip.h"
#include "editor/iblend_mode.h"
#include "editor/ibox.h"
#include "editor/icolour.h"
#include "editor/imenu.h"
#include "editor/imouse_mods.h"
#include "editor/itext_style.h"
#include "plugin/editor_view.h"

class IControl;
class IParam;
class PluginBase;
class PX_IBitmap;
class PX_SysBitmap;

class IGraphics : public IEditorView {
 public:
  static constexpr int kDefaultWidth = 832;
  static constexpr int kDefaultHeight = 376;
  static constexpr int kDefaultFrameRate = 25;
  // Clean ticks after which the plug-in's OnIdle runs.
  static constexpr int kIdleTicks = 20;

  // ShowMessage types and answers (the message-box values of Windows).
  enum MessageType : int {
    kMessageOk = 0,
    kMessageOkCancel = 1,
    kMessageYesNoCancel = 3,
    kMessageYesNo = 4,
    kMessageIconError = 16,
    kMessageIconInformation = 64,
  };
  enum MessageAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };
  enum FileAction : int { kFileOpen = 0, kFileSave = 1 };

  explicit IGraphics(PluginBase* plugin, int width = kDefaultWidth, int height = kDefaultHeight,
                     int frameRate = kDefaultFrameRate);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;
  // Releases every control and the draw bitmap. Window layers close their
  // window in their own destructor.
  ~IGraphics() override;

  // --- Virtual operations, in table order ---
  // Copies the box of the draw bitmap to the window (or memory target).
  virtual bool PresentBox(const IBox& box) = 0;
  // Sets box to the text's extent placed by the style's alignment.
  virtual bool MeasureText(ITextStyle& style, const char* text, IBox& box);
  // The open text entry closes without applying at the next tick.
  virtual void AbortTextEntry() = 0;
  // Destroys every control and the draw bitmap, makes a new bitmap of the
  // new size and tells the plug-in (which rebuilds the layout).
  virtual void Resize(int width, int height);
  virtual bool IsWindowOpen() { return NativeWindow() != nullptr; }
  virtual const char* DrawingApiName() { return ""; }
  // A modal message box of type (MessageType values, icons or-ed in);
  // returns the MessageAnswer of the button pressed.
  virtual int ShowMessage(const char* text, const char* caption, int type) = 0;
  // Shows the menu at the box's left-bottom corner; returns the (sub-)menu
  // whose item was picked, with its chosen item set, or null.
  virtual IMenu* RunPopupMenu(IMenu& menu, const IBox& box) = 0;
  // Opens an in-place entry over box holding text; what is typed goes to the
  // control (CommitEntryText) when the entry is confirmed. param may be null.
  virtual void BeginTextEntry(IControl* control, const ITextStyle& style, const IBox& box, const char* text,
                              const IParam* param) = 0;
  // Folders end with the platform's separator (UTF-8).
  virtual void HostFolder(std::string& out) = 0;
  virtual void PluginFolder(std::string& out) = 0;
  virtual void DesktopFolder(std::string& out) = 0;
  virtual void AppDataFolder(std::string& out, bool shared) = 0;
  virtual void UserAppDataFolder(std::string& out) { AppDataFolder(out, false); }
  // action: FileAction. extensions: space-separated ("fxp"). On OK fileName
  // is the chosen path and folder its folder; on cancel fileName is "".
  virtual void ChooseFile(std::string& fileName, int action, std::string& folder, const char* extensions) = 0;
  // On OK stores the chosen red, green and blue (alpha kept) and answers true.
  virtual bool ChooseColour(IColour& colour, const char* prompt) = 0;
  // Any text may be null. With confirmText asks first (Yes/No).
  virtual bool OpenLink(const char* url, const char* title, const char* confirmText, const char* failureText) = 0;
  // IEditorView: opening marks every control dirty (MarkAllDirty).
  bool Open(void* parentWindow) override = 0;
  void Close() override = 0;
  // The window, or null while closed.
  virtual void* NativeWindow() = 0;
  // UTF-8 text of the clipboard; false (and "") when it holds none.
  virtual bool ClipboardText(std::string& out) = 0;
  virtual void HideCursor() {}
  virtual void RestoreCursor() {}
  // Decodes image id (name selects the decoder by its extension); a new
  // bitmap the caller owns, or null.
  virtual PX_IBitmap* LoadImageResource(int id, const char* name) = 0;

  // --- IEditorView (host threads for the first two) ---
  void ApplyParameterToControls(int paramIndex, double value, bool normalized) override;
  void ApplyPluginValueToControls(int paramIndex, double normalized) override;
  void CreateDrawingSurface() override;
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  // True for layers that open a real window in a host's window.
  bool CanOpenWindow() const override { return false; }

  // --- Controls ---
  // Appends; the list takes ownership. Window thread.
  void AttachControl(IControl* control);
  int NControls() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int index) const;
  PluginBase* Plugin() const { return mPlugin; }
  // SetDirty(false) on every control, so that the next tick redraws all.
  void MarkAllDirty();

  // --- Bitmaps and text (window thread) ---
  // From the process-wide cache, decoded on first use. An image that cannot
  // be loaded gives a transparent strip of 1 x frames pixels, never null.
  IBitmapStrip LoadBitmapById(int id, const char* name, int frames = 1, bool sideBySide = false);
  bool DrawBitmap(const IBitmapStrip& strip, const IBox& box, int srcX, int srcY, const IBlendMode* blend);
  // frame is 1-based.
  bool DrawBitmapFrame(const IBitmapStrip& strip, const IBox& box, int frame, const IBlendMode* blend);
  bool DrawText(ITextStyle& style, const char* text, const IBox& box);
  // The composed editor image (null before CreateDrawingSurface).
  PX_IBitmap* DrawBitmapSurface() const;
  const IBox& DrawBox() const { return mDrawBox; }

  // --- Value prompts ---
  // A menu of display texts for enumerations (and Booleans with texts),
  // otherwise a text entry with the present value.
  void AskForParameterValue(IControl* control, const IParam* param, const IBox* box);
  // What a confirmed text entry does, for every window layer: with a
  // parameter the text becomes its value (display texts matched exactly for
  // Booleans and enumerations, else a decimal number, negated for negated
  // displays) through the control's ApplyUserValue; without one the control's
  // TakeEntryText gets it. At most kEntryTextLimit characters are read.
  static constexpr int kEntryTextLimit = 31;
  static void CommitEntryText(IControl* control, const IParam* param, const char* text);
  // The character filter of an entry with a parameter (backspace always passes).
  static bool EntryAcceptsCharacter(const IParam* param, int character);
  // The value of a parameter as the prompt shows it ("%.*f" or "%d").
  static std::string FormatPromptValue(const IParam& param);

  // --- Drawing cycle (window thread) ---
  bool CollectDirtyArea(IBox& box);
  bool Draw(const IBox& box);
  void SetStrictDrawing(bool strict) { mStrictDrawing = strict; }
  bool IsStrictDrawing() const { return mStrictDrawing; }
  int CleanTicks() const { return mCleanTicks; }
  int FrameRate() const { return mFrameRate; }

  // --- Events (window thread, editor coordinates) ---
  void OnMouseDown(int x, int y, const IMouseMods& mods);
  void OnMouseUp(int x, int y, const IMouseMods& mods);
  void OnMouseDrag(int x, int y, const IMouseMods& mods);
  // True when the window should capture the mouse.
  bool OnMouseDblClick(int x, int y, const IMouseMods& mods);
  // True when the window should ask to hear when the mouse leaves.
  bool OnMouseOver(int x, int y, const IMouseMods& mods);
  void OnMouseOut();
  void OnMouseWheel(int x, int y, const IMouseMods& mods, int steps);
  // False when no control took the key: the window passes it to the host.
  bool OnKeyDown(int x, int y, int key);
  void SetMouseOverHandling(bool on) { mHandleMouseOver = on; }
  int CapturedControl() const { return mCapturedControl; }
  int HoveredControl() const { return mHoveredControl; }
  // Drops capture and the last position (menus, resizing).
  void ReleaseMouseCapture();

 protected:
  // Index of the topmost control under the point, or -1.
  int FindControl(int x, int y, bool mouseOver = false) const;

 private:
  void DestroyControls();

  std::vector<std::unique_ptr<IControl>> mControls;
  // Guards the list's shape against host threads applying values while the
  // window thread attaches or destroys controls.
  mutable std::mutex mControlsLock;
  PluginBase* mPlugin;
  IBox mDrawBox;
  std::unique_ptr<PX_SysBitmap> mDrawBitmap;
  int mWidth;
  int mHeight;
  int mFrameRate;
  int mCapturedControl = -1;
  int mHoveredControl = -1;
  int mMouseX = -1;
  int mMouseY = -1;
  bool mHandleMouseOver = false;
  bool mStrictDrawing = true;
  int mCleanTicks = 0;
};
