// What the plug-in frame asks of an attached editor. The editor framework
// implements it; the frame never depends on the editor library.
#pragma once

class IEditorView {
 public:
  virtual ~IEditorView() = default;

  // Moves every control bound to the parameter to the value, without telling
  // the host. Called under the plug-in mutex from any host thread.
  virtual void ApplyParameterToControls(int index, double value, bool normalized) = 0;
  // Attach-time update: controls bound to the parameter (and the first
  // auxiliary binding that refers to it) receive the normalised value.
  virtual void ApplyPluginValueToControls(int index, double normalized) = 0;
  // Gives the editor its drawing surface of its own width and height.
  virtual void CreateDrawingSurface() = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // False for a surface with no window to show in a host (the headless
  // one): the host is then not offered an editor.
  virtual bool CanOpenWindow() const { return true; }
  virtual bool Open(void* parentWindow) = 0;
  virtual void Close() = 0;
  // Called once without the plug-in mutex right before the plug-in is
  // destroyed: a surface whose events run on a thread of its own stops
  // calling into the plug-in and returns when it no longer does.
  virtual void StopEvents() {}
};
