// Writes the golden reference renders into the folder given on the command
// line: write_engine_golden <repo>/tests/engine/golden
#include <cstdio>
#include <string>

#include "golden_scenarios.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  for (const GoldenScenario& scenario : GoldenScenarios()) {
    const std::string path = std::string(argv[1]) + "/" + scenario.name + ".f64";
    if (!WriteGolden(path, scenario.render())) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("wrote %s\n", path.c_str());
  }
  return 0;
}
