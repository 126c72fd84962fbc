// What the product's editor controls ask of the plug-in beyond the plug-in
// frame: program stepping, the option menu's commands and the states that
// grey or tick its items, the view switch and MIDI learn. The plug-in
// implements it; tests may stand in for it.
//
// Threads: the editor's window thread. Program operations take the plug-in's
// mutex themselves; the learn entry does not (a click writes the learn
// fields as they are).
#pragma once

class IControl;
class IGraphics;

class EditorCommands {
 public:
  virtual ~EditorCommands() = default;

  // Keeps the edits of the program being left, selects index (outside
  // 0..63 selects nothing) and tells the host.
  virtual void GoToProgram(int index) = 0;
  // Runs option-menu command `command` (the item's position) with editor's
  // dialogs and message boxes.
  virtual void RunMenuCommand(IGraphics& editor, int command) = 0;
  // Shows the other of the two views.
  virtual void SwitchView() = 0;

  // --- States the option menu shows ---
  // A program was copied ("Paste Program" is offered).
  virtual bool HasCopiedProgram() const = 0;
  virtual bool HasStartupBank() const = 0;
  virtual bool MidiThru() const = 0;
  virtual bool IgnoreProgramChange() const = 0;

  // --- MIDI learn ---
  // The learn switch's left click: arms (or disarms) learning, clearing what
  // was learned; unlearn selects the mode that removes bindings.
  virtual void ArmMidiLearn(bool armed, bool unlearn) = 0;
  // The switch to turn off when learning ends (null: none).
  virtual void SetLearnSwitch(IControl* learnSwitch) = 0;
};
