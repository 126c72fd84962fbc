#include "product/vorn.h"

#include "engine/synth_engine.h"

namespace {
using Lock = std::lock_guard<std::recursive_mutex>;
}

Vorn::Vorn(vst2::HostCallback host)
    : Synth(host), mEngine(std::make_unique<SynthEngine>(static_cast<EngineHost&>(*this))) {
  SetRenderableSampleRates(SynthEngine::kMinSampleRate, SynthEngine::kMaxSampleRate);
  InitParameters();
  BuildAndAttachEditor();
  LoadInitialBank();
}

Vorn::~Vorn() = default;

void Vorn::ResetEngine() {
  Lock lock(Mutex());
  Synth::ResetEngine();
  mEngine->Reset(SampleRate(), BlockSize());
}

void Vorn::ApplyParameter(int index) {
  Synth::ApplyParameter(index);
  const IParam* param = GetParam(index);
  if (!param) return;
  mEngine->ApplyParameter(index, param->Value(), param->GetNormalized());
}

void Vorn::RenderBlock(double**, double** outputs, int frames) { mEngine->RenderBlock(outputs[0], outputs[1], frames); }

void Vorn::HandleMidiMessage(const MidiMessage& message) {
  PassMidiThrough(message);
  mEngine->HandleMidiMessage(MidiEvent{message.frameOffset, message.status, message.data1, message.data2});
}

void Vorn::OnPresetChange() { RefreshEditorControls(); }

void Vorn::ReleaseAllVoices() { mEngine->ReleaseAllVoices(); }

void Vorn::SelectProgramFromMidi(int index) {
  if (!IgnoreProgramChange()) SelectPreset(index);
}

bool Vorn::OfferControllerToLearn(int controller) { return Synth::OfferControllerToLearn(controller); }

void Vorn::ApplyMappedController(int controller, double normalized) {
  Synth::ApplyMappedController(controller, normalized);
}
