// The product layer between the host binding and the synthesizer: MIDI learn
// with its controller map, the per-user settings file, the start-up bank, and
// the operations the synthesizer adds to the plug-in's table.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "engine/engine_host.h"
#include "plugin/byte_chunk.h"
#include "plugin/vst2/vst_plugin.h"
#include "product/editor/editor_commands.h"

class IGraphics;

class Synth : public VstPlugin, public EditorCommands {
 public:
  static constexpr int kLearnableControllers = EngineHost::kLearnableControllers;
  static constexpr int kUnbound = -1;
  // Result codes of the product's operations.
  static constexpr int kResultOk = 0;
  static constexpr int kResultCannotLoad = 8;
  static constexpr int kResultCannotSave = 9;
  static constexpr int kResultNoConfiguration = 11;
  // WriteConfiguration(kWriteAllSettings) writes every setting but the folder.
  static constexpr int kWriteAllSettings = -1;

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
  // The start-up bank file, or else the factory bank built into the library;
  // the start-up bank stays selected either way.
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

  // --- Settings file (product/synth_settings.cpp) ---
  // Construction and the editor thread; the mutex is taken only around the
  // controller map, which the audio thread reads.
  // Reads every setting; answers kResultNoConfiguration when there is no file.
  virtual int ReadConfiguration();
  // The start-up bank entry, then: which < 0 both MIDI switches and the
  // controller map; kCommandMidiThru or kCommandIgnoreProgramChange that
  // switch alone. Answers kResultOk.
  int WriteConfiguration(int which);
  void WriteStartupBankEntry();
  // The program folder becomes the process's current program folder and is
  // written.
  void WriteProgramFolder();
  int SelectStartupBank(const std::string& path);
  void UnselectStartupBank();
  void SetMidiThru(bool on) { mMidiThru = on; }
  void SetIgnoreProgramChange(bool on) { mIgnoreProgramChange = on; }
  bool MidiThru() const override { return mMidiThru; }
  bool IgnoreProgramChange() const override { return mIgnoreProgramChange; }
  const std::string& ConfigurationPath() const { return mConfigurationPath; }
  const std::string& DocumentsFolder() const { return mDocumentsFolder; }
  const std::string& ProgramFolder() const { return mProgramFolder; }
  const std::string& StartupBankPath() const { return mStartupBankPath; }

  // --- Program and bank commands (product/program_commands.cpp) ---
  // Editor thread. Messages and dialogs are shown outside the mutex; the
  // program operations take it for their whole run.
  // One option-menu command (MenuCommand); other numbers do nothing.
  void RunMenuCommand(IGraphics& graphics, int command) override;
  // Keeps the edits of the program being left in its slot, then selects index.
  void GoToProgram(int index) override;
  void CopyProgram();
  void PasteProgram();
  virtual void InitProgram();
  // The editor's other view of the controls; the layout supplies it.
  void SwitchView() override {}
  // Asks the update server (product/update/update_check.h).
  int CheckForUpdate(IGraphics& graphics);
  // What the option menu greys: paste with nothing copied, loading and
  // unselecting with no start-up bank.
  bool HasCopiedProgram() const override { return mProgramClipboard.Size() > 0; }
  bool HasStartupBank() const override { return !mStartupBankPath.empty(); }

 protected:
  // Audio thread, mutex held: with MIDI thru on, the host gets the message back.
  void PassMidiThrough(const MidiMessage& message);

  // BuildEditor, then AttachGraphics: the final class's constructor calls it
  // once its parameters exist, before any program is loaded.
  void BuildAndAttachEditor();

 private:
  void OpenConfiguration();
  void RunFileCommand(IGraphics& graphics, int command);
  void LoadStartupBank(IGraphics& graphics);
  void ChooseProgramFolder(IGraphics& graphics);

  std::unique_ptr<IGraphics> mPendingGraphics;  // until the frame owns it
  std::array<int, kLearnableControllers> mControllerMap;
  bool mLearnArmed = false;
  bool mUnlearnMode = false;
  int mLearnedController = kUnbound;
  int mLearnedParameter = kUnbound;
  std::string mStartupBankPath;
  std::string mConfigurationPath;
  std::string mDocumentsFolder;
  std::string mProgramFolder;
  // Read on the audio thread, switched on the editor thread.
  std::atomic<bool> mMidiThru{false};
  std::atomic<bool> mIgnoreProgramChange{false};
  ByteChunk mProgramClipboard;
  int mClipboardSource = kUnbound;
  IControl* mLearnSwitch = nullptr;
};
