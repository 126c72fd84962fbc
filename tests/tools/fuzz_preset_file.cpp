// libFuzzer target: the program and bank file reader must take any bytes.
#include <cstddef>
#include <cstdint>

#include "tools/vorn-render/preset_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const render::PresetReadResult result = render::ReadPresetFile(data, size);
  std::size_t values = 0;
  for (const render::PresetProgram& program : result.file.programs) values += program.values.size();
  return values > size ? 1 : 0;  // every value must have come from the input
}
