// An editor surface with no window: every platform operation answers from
// queues that tests and tools fill beforehand (message-box answers, menu
// choices by item path, file and colour dialogs, text entries), and records
// what was asked. Events are fed through the core's entry points; Tick runs
// one timer tick; the composed image is read from the draw bitmap, presented
// boxes land in a memory target, and either can be written as a PNG.
// Everything runs on the calling thread, which acts as the window thread.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/igraphics.h"

class PX_MemBitmap;

class IGraphicsHeadless : public IGraphics {
 public:
  // What a platform operation was asked, in the order asked.
  struct MessageRecord {
    std::string text;
    std::string caption;
    int type = 0;
    int answer = 0;
  };
  struct FileRecord {
    std::string fileName;  // as passed in
    int action = 0;
    std::string folder;  // as passed in
    std::string extensions;
  };
  struct TextEntryRecord {
    IControl* control = nullptr;
    const IParam* param = nullptr;
    IBox box;
    std::string text;
    int maxLength = 0;
  };

  explicit IGraphicsHeadless(PluginBase* plugin, int width = kDefaultWidth, int height = kDefaultHeight,
                             int frameRate = kDefaultFrameRate);
  ~IGraphicsHeadless() override;

  // --- Scripted answers ---
  // Unanswered message boxes answer No (Yes/No types), Cancel (types with a
  // Cancel button) or OK.
  void QueueMessageAnswer(int answer);
  // The item texts (as shown, numbering prefix included) from the top menu
  // down; an empty path dismisses the menu. Unqueued menus are dismissed.
  void QueueMenuChoice(std::vector<std::string> path);
  // A chosen path; "" cancels. Unqueued dialogs are cancelled.
  void QueueFileChoice(std::string path);
  // A chosen colour, or nullopt to cancel. Unqueued dialogs are cancelled.
  void QueueColourChoice(std::optional<IColour> colour);
  // The text typed into the next entry and confirmed at the next tick, or
  // nullopt to cancel it. Unqueued entries are cancelled at the next tick.
  void QueueTextEntry(std::optional<std::string> text);
  void SetClipboardText(std::optional<std::string> text) { mClipboard = std::move(text); }
  // Folders the surface reports; the defaults are "".
  void SetFolders(const std::string& host, const std::string& plugin, const std::string& desktop,
                  const std::string& appData, const std::string& sharedAppData);
  // Whether OpenLink succeeds (default true).
  void SetLinksOpen(bool open) { mLinksOpen = open; }

  // --- What was asked ---
  const std::vector<MessageRecord>& Messages() const { return mMessages; }
  // One text per menu shown: an item a line, sub-menu items indented by two
  // blanks, marks "[x]" checked, "(grey)" greyed or disabled, "----" separators.
  const std::vector<std::string>& MenusShown() const { return mMenusShown; }
  // Menu paths that named no selectable item (the menu was dismissed).
  const std::vector<std::vector<std::string>>& UnmatchedMenuChoices() const { return mUnmatchedMenus; }
  const std::vector<FileRecord>& FileDialogs() const { return mFileDialogs; }
  const std::vector<std::string>& ColourPrompts() const { return mColourPrompts; }
  const std::vector<TextEntryRecord>& TextEntries() const { return mTextEntries; }
  const std::vector<std::string>& LinksOpened() const { return mLinks; }
  bool IsTextEntryOpen() const { return mEntryOpen; }
  bool IsCursorHidden() const { return mCursorHidden; }

  // --- Driving ---
  // One timer tick: a pending text entry is applied or cancelled (and
  // nothing else happens), else the dirty area is collected and drawn.
  // Returns true when something was drawn.
  bool Tick();
  // Press and release at one point.
  void Click(int x, int y, const IMouseMods& mods = LeftButton());
  // Press at (x0, y0), drag in `steps` equal moves to (x1, y1), release.
  void DragFromTo(int x0, int y0, int x1, int y1, int steps = 4, const IMouseMods& mods = LeftButton());
  static IMouseMods LeftButton();
  static IMouseMods RightButton();

  // --- Reading the image ---
  // The box the last tick presented (empty when it drew nothing).
  const IBox& LastPresentedBox() const { return mLastPresented; }
  int PresentCount() const { return mPresentCount; }
  // The memory target PresentBox copies into (the window's pixels).
  PX_IBitmap* PresentedBitmap() const;
  // Writes the draw bitmap as an RGBA PNG; false on failure.
  bool WritePng(const char* path) const;

  // --- Platform operations ---
  bool PresentBox(const IBox& box) override;
  void AbortTextEntry() override;
  const char* DrawingApiName() override { return "Headless"; }
  int ShowMessage(const char* text, const char* caption, int type) override;
  IMenu* RunPopupMenu(IMenu& menu, const IBox& box) override;
  void BeginTextEntry(IControl* control, const ITextStyle& style, const IBox& box, const char* text,
                      const IParam* param) override;
  void HostFolder(std::string& out) override { out = mHostFolder; }
  void PluginFolder(std::string& out) override { out = mPluginFolder; }
  void DesktopFolder(std::string& out) override { out = mDesktopFolder; }
  void AppDataFolder(std::string& out, bool shared) override { out = shared ? mSharedAppDataFolder : mAppDataFolder; }
  void ChooseFile(std::string& fileName, int action, std::string& folder, const char* extensions) override;
  bool ChooseColour(IColour& colour, const char* prompt) override;
  bool OpenLink(const char* url, const char* title, const char* confirmText, const char* failureText) override;
  bool Open(void* parentWindow) override;
  void Close() override;
  void* NativeWindow() override { return mOpen ? this : nullptr; }
  bool ClipboardText(std::string& out) override;
  void HideCursor() override { mCursorHidden = true; }
  void RestoreCursor() override { mCursorHidden = false; }
  // PNG images from the library's image table (LoadPngFromResource).
  PX_IBitmap* LoadImageResource(int id, const char* name) override;

 private:
  IMenu* ChooseMenuPath(IMenu& menu, const std::vector<std::string>& path);

  std::deque<int> mMessageAnswers;
  std::deque<std::vector<std::string>> mMenuChoices;
  std::deque<std::string> mFileChoices;
  std::deque<std::optional<IColour>> mColourChoices;
  std::deque<std::optional<std::string>> mEntryTexts;
  std::optional<std::string> mClipboard;
  std::string mHostFolder, mPluginFolder, mDesktopFolder, mAppDataFolder, mSharedAppDataFolder;
  bool mLinksOpen = true;

  std::vector<MessageRecord> mMessages;
  std::vector<std::string> mMenusShown;
  std::vector<std::vector<std::string>> mUnmatchedMenus;
  std::vector<FileRecord> mFileDialogs;
  std::vector<std::string> mColourPrompts;
  std::vector<TextEntryRecord> mTextEntries;
  std::vector<std::string> mLinks;

  bool mOpen = false;
  bool mCursorHidden = false;
  bool mEntryOpen = false;
  std::optional<std::string> mEntryAnswer;
  std::unique_ptr<PX_MemBitmap> mPresented;
  IBox mLastPresented;
  int mPresentCount = 0;
};
