// What the sound engine asks of the plug-in around it. The engine calls these
// on the audio thread (inside HandleMidiMessage or a control tick) with the
// plug-in mutex held.
#pragma once

class EngineHost {
 public:
  // Control changes 0 .. kLearnableControllers - 1 can be learned and mapped.
  static constexpr int kLearnableControllers = 120;

  virtual ~EngineHost() = default;

  // MIDI program change: restore program `index` at once (out of range: nothing).
  virtual void SelectProgramFromMidi(int index) = 0;
  // A control change 0..119 arrives while MIDI learn may be armed. Answers
  // true when the learn step took the controller; the message then goes no
  // further.
  virtual bool OfferControllerToLearn(int controller) = 0;
  // A queued control change (not 1 or 64) is due: the host looks the
  // controller up in its map and, when it is bound and `normalized` differs
  // from the parameter's current normalised value, sets the parameter as the
  // editor would and tells the editor.
  virtual void ApplyMappedController(int controller, double normalized) = 0;
};
