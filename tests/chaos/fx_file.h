// Program (FXP) and bank (FXB) files in their chunk form, as a host writes
// them around the chunks it takes from a plug-in and reads them back: the
// header checked for the magic, the kind and the plug-in's ID before the
// chunk inside goes to effSetChunk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using FxBytes = std::vector<unsigned char>;

struct FxFileFields {
  bool bank = false;
  std::int32_t pluginId = 0;
  std::int32_t pluginVersion = 0;
  // Parameters (program file) or programs (bank file).
  std::int32_t count = 0;
  std::string programName;          // program files
  std::int32_t currentProgram = 0;  // bank files
};

FxBytes WriteFxFile(const FxFileFields& fields, const FxBytes& chunk);

struct FxFileRead {
  // False when the header does not belong to a chunk file of this plug-in;
  // `why` then says what was wrong.
  bool accepted = false;
  std::string why;
  bool bank = false;
  // The chunk as far as the file holds it: a host passes on what it has
  // when a file ends before the size its header gives.
  FxBytes chunk;
};

FxFileRead ReadFxFile(const FxBytes& file, std::int32_t pluginId);
