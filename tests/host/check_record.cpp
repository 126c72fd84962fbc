// The effect record as the entry point hands it over, before and after effOpen,
// and the second exported name of the entry point.
#include <string>

#include "tests/host/checks.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/plugin_library.h"
#include "tests/host/vorn_facts.h"

namespace {

constexpr std::int32_t kRequiredFlags =
    vst2::effFlagsCanReplacing | vst2::effFlagsProgramChunks | vst2::effFlagsIsSynth | vst2::effFlagsCanDoubleReplacing;
constexpr std::int32_t kAllowedFlags = kRequiredFlags | vst2::effFlagsHasEditor;
constexpr int kEditorWidth = 832;
constexpr int kEditorHeight = 376;

void CheckFields(CheckReport& report, const vst2::AEffect& effect, const std::string& when) {
  report.Equal("numPrograms " + when, vorn_facts::kProgramCount, effect.numPrograms);
  report.Equal("numParams " + when, vorn_facts::kParameterCount, effect.numParams);
  report.Equal("numInputs " + when, 0, effect.numInputs);
  report.Equal("numOutputs " + when, 2, effect.numOutputs);
  report.Check((effect.flags & kRequiredFlags) == kRequiredFlags && (effect.flags & ~kAllowedFlags) == 0,
               "flags " + when, Hex(kRequiredFlags) + " or " + Hex(kAllowedFlags),
               Hex(static_cast<std::uint32_t>(effect.flags)));
  report.Equal("uniqueID " + when, vorn_facts::kUniqueId, effect.uniqueID);
  report.Equal("version " + when, vorn_facts::kVersion, effect.version);
  report.Equal("initialDelay " + when, 0, effect.initialDelay);
  report.Near("ioRatio " + when, 1.0, effect.ioRatio, 0.0);
}

}  // namespace

void CheckEffectRecord(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("effect record");
  PluginInstance instance(context.entry);
  report.True(instance.IsValid(), "VSTPluginMain returns a record with magic 'VstP'");
  if (!instance.IsValid()) return;
  const vst2::AEffect& effect = *instance.effect();
  report.True(effect.dispatcher != nullptr, "dispatcher set", "null");
  report.True(effect.process != nullptr, "process (accumulating) set", "null");
  report.True(effect.processReplacing != nullptr, "processReplacing set", "null");
  report.True(effect.processDoubleReplacing != nullptr, "processDoubleReplacing set", "null");
  report.True(effect.setParameter != nullptr, "setParameter set", "null");
  report.True(effect.getParameter != nullptr, "getParameter set", "null");
  report.True(effect.object != nullptr, "object set", "null");
  CheckFields(report, effect, "after VSTPluginMain");

  instance.Dispatch(vst2::effOpen);
  CheckFields(report, effect, "after effOpen");

  // The editor rectangle exists exactly when the record says there is an editor.
  vst2::ERect* rect = nullptr;
  vst2::IntPtr answer = instance.Dispatch(vst2::effEditGetRect, 0, 0, &rect);
  if ((effect.flags & vst2::effFlagsHasEditor) != 0) {
    report.Equal("effEditGetRect with an editor", 1, answer);
    report.True(rect != nullptr && rect->top == 0 && rect->left == 0 && rect->bottom == kEditorHeight &&
                    rect->right == kEditorWidth,
                "effEditGetRect gives {0, 0, 376, 832}",
                rect == nullptr ? "null" : std::to_string(rect->bottom) + " x " + std::to_string(rect->right));
  } else {
    report.Equal("effEditGetRect without an editor", 0, answer);
  }

  // The dispatcher finds the plug-in through the record's object field; a
  // record without one gets 0 for everything.
  vst2::AEffect orphan = effect;
  orphan.object = nullptr;
  report.Equal("effGetVendorVersion on a record without object", 0,
               effect.dispatcher(&orphan, vst2::effGetVendorVersion, 0, 0, nullptr, 0.0f));

  report.Step("second entry point \"main\"");
  vst2::EntryPoint second = context.library.FindEntryPoint("main");
  report.True(second != nullptr, "library exports \"main\"", "not exported");
  if (second != nullptr) {
    PluginInstance other(second);
    report.True(other.IsValid() && other.effect()->uniqueID == vorn_facts::kUniqueId,
                "\"main\" returns a Vorn effect record", "no valid record");
    report.True(other.IsValid() && other.effect() != instance.effect(), "\"main\" makes a new instance",
                "the same record");
  }
}
