// What the plug-in asks of the host and what it does with the answers: the
// product string and vendor version when the host opens it, and the vendor
// string that decides whether index 0 of the chunk opcodes means the bank.
#include <string>
#include <vector>

#include "tests/host/checks.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"
#include "tests/host/vorn_facts.h"

namespace {

HostIdentity Vendor(const std::string& vendor) {
  HostIdentity identity;
  identity.vendor = vendor;
  return identity;
}

HostIdentity Product(const std::string& product, std::int32_t vendorVersion) {
  HostIdentity identity;
  identity.product = product;
  identity.vendorVersion = vendorVersion;
  return identity;
}

}  // namespace

void CheckVendorChunkRule(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("vendor chunk rule");
  // These two vendors keep one program per chunk, whatever the index says.
  for (const char* vendor : {"Native Instruments", "NATIVE INSTRUMENTS", "native instruments", "nAtive Instruments",
                             "JUCE VST Host", "juce vst host"}) {
    PluginInstance instance(context.entry, Vendor(vendor));
    if (!instance.IsValid()) return;
    instance.Dispatch(vst2::effOpen);
    std::string who = std::string("host vendor ") + Quoted(vendor);
    std::vector<unsigned char> chunk = GetChunk(instance, kBankChunk);
    report.True(IsProgramChunk(chunk), who + ": effGetChunk(0) gives a program chunk", "a bank chunk");
    std::vector<float> saved = AllParameters(instance);
    std::vector<std::string> names = AllProgramNames(instance);
    instance.SetParameter(vorn_facts::kVolume, 0.1f);
    report.Equal(who + ": effSetChunk(0) with that chunk answer", 1, SetChunk(instance, kBankChunk, chunk));
    report.True(AllParameters(instance) == saved, who + ": effSetChunk(0) restores the program", "different values");
    std::string renamed;
    std::vector<std::string> after = AllProgramNames(instance);
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (after[i] != names[i]) renamed += " " + std::to_string(i) + ":" + Quoted(names[i]) + "->" + Quoted(after[i]);
    }
    report.Check(renamed.empty(), who + ": effSetChunk(0) with a program chunk leaves the program names",
                 "64 names unchanged", "renamed" + renamed);
    GetChunk(instance, kProgramChunk);
    report.Equal(who + ": vendor string asked once", 1, instance.requests().Of(vst2::audioMasterGetVendorString));
  }
  for (const char* vendor : {"Native Instruments GmbH", "JUCE", "Steinberg", ""}) {
    PluginInstance instance(context.entry, Vendor(vendor));
    if (!instance.IsValid()) return;
    instance.Dispatch(vst2::effOpen);
    report.True(!IsProgramChunk(GetChunk(instance, kBankChunk)),
                std::string("host vendor ") + Quoted(vendor) + ": effGetChunk(0) gives a bank chunk",
                "a program chunk");
  }

  // A bank chunk handed to such a host as index 0 is not one program: it is
  // read again as a bank.
  PluginInstance maker(context.entry);
  if (!maker.IsValid()) return;
  maker.Dispatch(vst2::effOpen);
  maker.SelectProgram(3);
  char name[] = "Bank Via NI";
  maker.Dispatch(vst2::effSetProgramName, 0, 0, name);
  maker.SelectProgram(0);
  std::vector<unsigned char> bank = GetChunk(maker, kBankChunk);
  PluginInstance native(context.entry, Vendor("Native Instruments"));
  native.Dispatch(vst2::effOpen);
  report.Equal("host \"Native Instruments\": effSetChunk(0) with a bank chunk answer", 1,
               SetChunk(native, kBankChunk, bank));
  report.Equal("host \"Native Instruments\": the bank's program names arrive", "Bank Via NI",
               native.ProgramNameIndexed(3));
}

void CheckHostIdentification(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("host identification");
  {
    PluginInstance instance(context.entry, Product("REAPER", 62900));
    if (!instance.IsValid()) return;
    instance.Dispatch(vst2::effOpen);
    report.Equal("effOpen asks for the product string once", 1,
                 instance.requests().Of(vst2::audioMasterGetProductString));
    report.Equal("effOpen asks for the vendor version once", 1,
                 instance.requests().Of(vst2::audioMasterGetVendorVersion));
    instance.Dispatch(vst2::effOpen);
    report.Equal("a second effOpen does not ask for the product string again", 1,
                 instance.requests().Of(vst2::audioMasterGetProductString));
    report.Equal("a second effOpen does not ask for the vendor version again", 1,
                 instance.requests().Of(vst2::audioMasterGetVendorVersion));
    report.Equal("numOutputs after effOpen", 2, instance.effect()->numOutputs);
  }
  {
    PluginInstance instance(context.entry, Product("", 12345));
    if (!instance.IsValid()) return;
    instance.Dispatch(vst2::effOpen);
    instance.Dispatch(vst2::effOpen);
    report.Equal("empty product string: asked once", 1, instance.requests().Of(vst2::audioMasterGetProductString));
    report.Equal("empty product string: vendor version not asked", 0,
                 instance.requests().Of(vst2::audioMasterGetVendorVersion));
  }
  // Hosts the plug-in adapts its channels for still see the same record.
  for (const char* product : {"Adobe Audition", "Forte 4", "Orion Platinum", "SAWStudio", "Cubase VST"}) {
    PluginInstance instance(context.entry, Product(product, 10203));
    if (!instance.IsValid()) return;
    instance.Dispatch(vst2::effOpen);
    report.True(instance.effect()->numInputs == 0 && instance.effect()->numOutputs == 2,
                std::string("host ") + Quoted(product) + ": 0 inputs, 2 outputs after effOpen",
                std::to_string(instance.effect()->numInputs) + " in, " + std::to_string(instance.effect()->numOutputs) +
                    " out");
  }
}
