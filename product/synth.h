// The product layer between the host binding and the synthesizer: MIDI learn
// with its controller map, the start-up bank, and the operations the
// synthesizer adds to the plug-in's table.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/engine_host.h"
#include "plugin/vst2/vst_plugin.h"
#include "product/editor/editor_commands.h"

class IGraphics;

class Synth : public VstPlugin, public EditorCommands {
 public:
  static constexpr int kLearnableControllers = EngineHost::kLearnableControllers;
  static constexpr int kUnbound = -1;

  // Creates the editor surface of the build (not yet attached).
  explicit Synth(vst2::HostCallback host);
  ~Synth() override;

  // Takes the mutex; disarms MIDI learn.
  void ResetEngine() override;
  // Takes the mutex for the MIDI-learn hook: a parameter touched while learn
  // is armed becomes the learned parameter.
  void ApplyParameter(int index) override;
  // Activation re-applies every parameter under the mutex.
  void OnActivate(bool active) override;

  // Attaches the product's controls to the editor; none by default.
  virtual void BuildEditor() {}
  // The editor, also before it is attached; null when what is attached is
  // not one.
  IGraphics* GetGraphics() const;
  virtual void ReleaseAllVoices() = 0;
  // The start-up bank file, or else the factory bank built into the library.
  virtual void LoadInitialBank();
  virtual void InitParameters() = 0;

  // --- MIDI learn (mutex held by the caller unless stated) ---
  void CommitMidiLearn();
  // A control change 0..119 while learn is armed is consumed by learning.
  bool OfferControllerToLearn(int controller);
  // The learn switch's entry: arms or disarms, clearing what was learned.
  void ArmMidiLearn(bool armed, bool unlearn) override;
  // Turned off (from the plug-in side) when learning ends.
  void SetLearnSwitch(IControl* learnSwitch) override { mLearnSwitch = learnSwitch; }
  bool IsMidiLearnArmed() const { return mLearnArmed; }
  bool IsUnlearnMode() const { return mUnlearnMode; }
  int ControllerTarget(int controller) const;
  void BindController(int controller, int parameter);
  // Sets a mapped controller's parameter as the editor would, unless it is
  // already there.
  void ApplyMappedController(int controller, double normalized);

  const std::string& StartupBankPath() const { return mStartupBankPath; }
  void SetStartupBankPath(const std::string& path) { mStartupBankPath = path; }

  // --- What the editor's controls ask (product/synth_editor.cpp) ---
  void GoToProgram(int index) override;
  void RunMenuCommand(IGraphics& editor, int command) override;
  void SwitchView() override {}
  bool HasCopiedProgram() const override;
  bool HasStartupBank() const override { return !mStartupBankPath.empty(); }
  bool MidiThru() const override;
  bool IgnoreProgramChange() const override;

 protected:
  // BuildEditor, then AttachGraphics: the final class's constructor calls it
  // once its parameters exist, before any program is loaded.
  void BuildAndAttachEditor();

 private:
  std::unique_ptr<IGraphics> mPendingGraphics;  // until the frame owns it
  std::array<int, kLearnableControllers> mControllerMap;
  bool mLearnArmed = false;
  bool mUnlearnMode = false;
  int mLearnedController = kUnbound;
  int mLearnedParameter = kUnbound;
  std::string mStartupBankPath;
  IControl* mLearnSwitch = nullptr;
};
