#include "product/synth.h"

#include "editor/icontrol.h"
#include "editor/igraphics.h"
#include "editor/platform/graphics_factory.h"
#include "plugin/editor_view.h"
#include "product/factory_bank.h"
#include "vorn_version.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr const char* kEffectName = "Vorn";
constexpr const char* kProductName = "";
constexpr const char* kVendorName = "Paper Kite Sounds";
constexpr int kUniqueId = 0x766F726E;  // 'vorn'
constexpr const char* kChannelIoText = "0-1 0-2";

}  // namespace

Synth::Synth(vst2::HostCallback host)
    : VstPlugin(host, kEffectName, kProductName, kVendorName, kUniqueId, kVornVersionPacked, kChannelIoText,
                kPresetCount),
      mPendingGraphics(CreatePlatformGraphics(this)) {
  mControllerMap.fill(kUnbound);
  OpenConfiguration();
}

Synth::~Synth() = default;

IGraphics* Synth::GetGraphics() const {
  return mPendingGraphics ? mPendingGraphics.get() : dynamic_cast<IGraphics*>(Editor());
}

void Synth::BuildAndAttachEditor() {
  BuildEditor();
  AttachGraphics(mPendingGraphics.release());
}

void Synth::ResetEngine() {
  Lock lock(Mutex());
  mLearnArmed = false;
}

void Synth::ApplyParameter(int index) {
  Lock lock(Mutex());
  if (index >= 0 && index < kParameterCount && mLearnArmed) {
    mLearnedParameter = index;
    CommitMidiLearn();
  }
}

void Synth::OnActivate(bool active) {
  Lock lock(Mutex());
  if (active) ApplyAllParameters();
}

void Synth::LoadInitialBank() {
  // A start-up bank that cannot be loaded now (a drive not mounted, say)
  // stays selected: forgetting it here would erase it from the settings file
  // at the next write, and "Load Startup Bank" reports the failure instead.
  if (LoadBankFile(mStartupBankPath.c_str())) return;
  const void* bank = nullptr;
  int size = 0;
  if (FactoryBankBytes(bank, size)) LoadBankFromMemory(bank, size);
}

void Synth::CommitMidiLearn() {
  if (mLearnArmed && !mUnlearnMode) {
    if (mLearnedController != kUnbound && mLearnedParameter != kUnbound) {
      for (int& target : mControllerMap) {
        if (target == mLearnedParameter) target = kUnbound;
      }
      mControllerMap[static_cast<std::size_t>(mLearnedController)] = mLearnedParameter;
      mLearnArmed = false;
    }
  } else if (mLearnArmed) {
    if (mLearnedController != kUnbound) {
      mControllerMap[static_cast<std::size_t>(mLearnedController)] = kUnbound;
      mLearnArmed = false;
      mUnlearnMode = false;
    } else if (mLearnedParameter != kUnbound) {
      for (int& target : mControllerMap) {
        if (target == mLearnedParameter) target = kUnbound;
      }
      mLearnArmed = false;
      mUnlearnMode = false;
    }
  }
  if (mLearnSwitch && !mLearnArmed) {
    mLearnSwitch->ApplyPluginValue(0.0);
    mLearnSwitch->SetDirty(true);
  }
}

bool Synth::OfferControllerToLearn(int controller) {
  if (!mLearnArmed || controller < 0 || controller >= kLearnableControllers) return false;
  mLearnedController = controller;
  CommitMidiLearn();
  return true;
}

void Synth::ArmMidiLearn(bool armed, bool unlearn) {
  // The learn switch calls this on the window thread; the audio thread reads
  // the state under the mutex as parameters and controllers arrive.
  Lock lock(Mutex());
  mLearnedController = kUnbound;
  mLearnedParameter = kUnbound;
  mUnlearnMode = unlearn;
  mLearnArmed = armed;
}

int Synth::ControllerTarget(int controller) const {
  if (controller < 0 || controller >= kLearnableControllers) return kUnbound;
  return mControllerMap[static_cast<std::size_t>(controller)];
}

void Synth::BindController(int controller, int parameter) {
  if (controller >= 0 && controller < kLearnableControllers) {
    mControllerMap[static_cast<std::size_t>(controller)] = parameter;
  }
}

void Synth::ApplyMappedController(int controller, double normalized) {
  const int parameter = ControllerTarget(controller);
  IParam* param = GetParam(parameter);
  if (!param || normalized == param->GetNormalized()) return;
  SetParameterFromEditor(parameter, normalized);
  if (IEditorView* editor = Editor()) editor->ApplyParameterToControls(parameter, param->GetNormalized(), true);
}
