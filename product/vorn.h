// The Vorn synthesizer as a plug-in: its 32 parameters, its tagged state
// record, and the sound engine behind the plug-in frame.
#pragma once

#include <memory>

#include "engine/engine_host.h"
#include "product/editor/vorn_editor_layout.h"
#include "product/synth.h"

class SynthEngine;

class Vorn final : public Synth, private EngineHost {
 public:
  static constexpr char kStateTag[] = "Vorn_1.2.0";
  static constexpr int kStateTagSize = 10;

  // Builds the whole instance; the host callback may be null (tools, tests).
  explicit Vorn(vst2::HostCallback host);
  ~Vorn() override;

  void ResetEngine() override;
  void ApplyParameter(int index) override;
  void RenderBlock(double** inputs, double** outputs, int frames) override;
  void HandleMidiMessage(const MidiMessage& message) override;
  bool SerializeState(ByteChunk& chunk) override;
  int UnserializeState(const ByteChunk& chunk, int pos) override;
  void OnPresetChange() override;
  void ReleaseAllVoices() override;
  void InitParameters() override;
  // product/editor/vorn_editor.cpp
  void BuildEditor() override;
  void SwitchView() override;
  const VornEditorLayout& EditorLayout() const { return mEditorLayout; }

  SynthEngine& Engine() { return *mEngine; }

 private:
  void SelectProgramFromMidi(int index) override;
  bool OfferControllerToLearn(int controller) override;
  void ApplyMappedController(int controller, double normalized) override;

  std::unique_ptr<SynthEngine> mEngine;
  VornEditorLayout mEditorLayout;
};

// "Flt Freq" shows the whole Hertz of the nearest pitch index.
void DisplayFilterFrequency(double value, char* text);
