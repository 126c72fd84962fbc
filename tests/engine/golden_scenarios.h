// Short deterministic renders that exercise every part of the engine, compared
// sample by sample against references checked in under golden/ (see
// golden/README.md for how to regenerate them).
#pragma once

#include <string>
#include <vector>

#include "engine_test_support.h"

struct GoldenScenario {
  std::string name;
  Stereo (*render)();
};

const std::vector<GoldenScenario>& GoldenScenarios();

// Reference files: interleaved left/right samples as little-endian IEEE doubles.
bool WriteGolden(const std::string& path, const Stereo& audio);
bool ReadGolden(const std::string& path, Stereo& audio);
