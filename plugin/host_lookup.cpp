#include <cctype>
#include <cstring>
#include <string>

#include "plugin/host_kind.h"

namespace {

struct HostText {
  const char* text;
  HostKind kind;
};

// Searched in this order; the first text contained in the product string wins.
constexpr HostText kHostTexts[] = {
    {"cubase", kHostCubase},         {"reaper", kHostReaper},         {"nuendo", kHostNuendo},
    {"cakewalk", kHostSonar},        {"samplitude", kHostSamplitude}, {"fruity", kHostFL},
    {"live", kHostAbletonLive},      {"melodyne", kHostMelodyne},     {"vstmanlib", kHostVstManLib},
    {"aulab", kHostAULab},           {"garageband", kHostGarageBand}, {"forte", kHostForte},
    {"chainer", kHostChainer},       {"audition", kHostAudition},     {"orion", kHostOrion},
    {"sawstudio", kHostSAWStudio},   {"logic", kHostLogic},           {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch}, {"presonus", kHostStudioOne},    {"vst3plugintesthost", kHostVst3TestHost},
    {"protools", kHostProTools},     {"ardour", kHostArdour},         {"openmpt", kHostOpenMPT},
    {"renoise", kHostRenoise},       {"standalone", kHostStandalone},
};

constexpr std::size_t kMaxProductLength = 255;

}  // namespace

HostKind LookUpHost(const char* productString) {
  if (!productString) return kHostUnknown;
  std::string lower(productString, strnlen(productString, kMaxProductLength));
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const HostText& entry : kHostTexts) {
    if (lower.find(entry.text) != std::string::npos) return entry.kind;
  }
  return kHostUnknown;
}
