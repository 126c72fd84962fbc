// Program and bank files as hosts save and load them: the chunk taken from
// an instance wrapped in an FXP or FXB header and written to disk, read back
// later into any instance, sometimes cut short, with bytes flipped or with
// another file's chunk inside. A file just saved must load and come out the
// same again; a damaged one must leave the instance sound.
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "plugin/fx_file_layout.h"
#include "tests/chaos/chaos_host.h"
#include "tests/chaos/fx_file.h"
#include "tests/chaos/temporary_folder.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"

namespace {

// The host keeps the files it saved to load them later, into any instance.
constexpr std::size_t kKeptFiles = 16;

bool WriteBytes(const std::filesystem::path& path, const FxBytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

FxBytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return FxBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char* KindOf(bool bank) { return bank ? "bank" : "program"; }

// The bytes before the chunk.
std::size_t HeaderSize(bool bank) {
  return static_cast<std::size_t>(bank ? fxfile::kBankChunkDataOffset : fxfile::kProgramChunkDataOffset);
}

}  // namespace

void ChaosHost::SaveFile(Slot& slot) {
  if (folder_ == nullptr || folder_->path().empty()) {
    Fail("no temporary folder for program and bank files");
    return;
  }
  vst2::AEffect* effect = slot.plugin->effect();
  SavedFile saved;
  saved.bank = random_.Chance(400);
  FxFileFields fields;
  fields.bank = saved.bank;
  fields.pluginId = effect->uniqueID;
  fields.pluginVersion = effect->version;
  fields.count = saved.bank ? effect->numPrograms : effect->numParams;
  Note("effGetProgram");
  fields.currentProgram = static_cast<std::int32_t>(slot.plugin->Dispatch(vst2::effGetProgram));
  Note("effGetProgramName");
  fields.programName = slot.plugin->ProgramName();
  Note("effGetChunk for a file");
  const Chunk chunk = GetChunk(*slot.plugin, saved.bank ? kBankChunk : kProgramChunk);
  if (chunk.empty()) {
    Fail(std::string("effGetChunk gave nothing to save as a ") + KindOf(saved.bank) + " file");
    return;
  }
  if (!saved.bank) {
    Note("getParameter");
    saved.parameters = AllParameters(*slot.plugin);
  }
  saved.path = folder_->path() / ("saved" + std::to_string(filesSaved_++) + (saved.bank ? ".fxb" : ".fxp"));
  const FxBytes file = WriteFxFile(fields, chunk);
  if (!WriteBytes(saved.path, file) || ReadBytes(saved.path) != file) {
    Fail("a " + std::string(KindOf(saved.bank)) + " file did not come back from " + saved.path.string() +
         " as written");
    return;
  }
  if (files_.size() < kKeptFiles) {
    files_.push_back(std::move(saved));
  } else {
    SavedFile& replaced = files_[static_cast<std::size_t>(random_.Below(static_cast<int>(kKeptFiles)))];
    std::error_code ignored;
    std::filesystem::remove(replaced.path, ignored);
    replaced = std::move(saved);
  }
}

void ChaosHost::LoadFile(Slot& slot) {
  if (files_.empty()) return;
  const SavedFile& saved = files_[static_cast<std::size_t>(random_.Below(static_cast<int>(files_.size())))];
  FxBytes file = ReadBytes(saved.path);
  const std::size_t header = HeaderSize(saved.bank);
  bool intact = false;
  switch (random_.Below(8)) {
    case 0:  // cut short
      file.resize(static_cast<std::size_t>(random_.Below(static_cast<int>(file.size()))));
      break;
    case 1:  // bytes flipped anywhere
      for (int n = random_.Between(1, 8); n > 0; --n) {
        file[static_cast<std::size_t>(random_.Below(static_cast<int>(file.size())))] ^=
            static_cast<unsigned char>(1 + random_.Below(255));
      }
      break;
    case 2:  // a byte of the header flipped
      file[static_cast<std::size_t>(random_.Below(static_cast<int>(header)))] ^=
          static_cast<unsigned char>(1 << random_.Below(8));
      break;
    case 3: {  // another file's chunk, perhaps of the other kind, in this file's header
      const SavedFile& other = files_[static_cast<std::size_t>(random_.Below(static_cast<int>(files_.size())))];
      const FxBytes otherFile = ReadBytes(other.path);
      const std::size_t otherHeader = HeaderSize(other.bank);
      file.resize(header);
      if (otherFile.size() > otherHeader)
        file.insert(file.end(), otherFile.begin() + static_cast<std::ptrdiff_t>(otherHeader), otherFile.end());
      intact = other.bank == saved.bank && other.path == saved.path;
      break;
    }
    default: intact = true; break;
  }
  const FxFileRead read = ReadFxFile(file, slot.plugin->effect()->uniqueID);
  ++filesLoaded_;
  if (!read.accepted) {
    ++filesRefused_;
    if (intact)
      Fail("the " + std::string(KindOf(saved.bank)) + " file " + saved.path.string() + " was refused: " + read.why);
    return;
  }
  const std::int32_t which = read.bank ? kBankChunk : kProgramChunk;
  const char* kind = KindOf(read.bank);
  Note("effSetChunk from a file");
  const std::int64_t answer = SetChunk(*slot.plugin, which, read.chunk);
  if (!intact) {
    CheckSound(slot, "a damaged file");
    return;
  }
  if (answer == 0) {
    Fail(std::string("a ") + kind + " file just saved was refused by effSetChunk");
    return;
  }
  if (!read.bank) {
    Note("getParameter");
    if (AllParameters(*slot.plugin) != saved.parameters)
      Fail("a program file loaded gave other parameter values than were saved");
  }
  // What a loaded file put in the instance, taken out and set again, comes
  // back byte for byte. A bank does once it has been set twice: each slot's
  // state carries the name of the program that was current while it was
  // read, and the current program's name changes while a bank is read.
  Note("effGetChunk after loading a file");
  Chunk taken = GetChunk(*slot.plugin, which);
  if (read.bank) {
    Note("effSetChunk of that chunk");
    SetChunk(*slot.plugin, which, taken);
    Note("effGetChunk");
    taken = GetChunk(*slot.plugin, which);
  }
  Note("effSetChunk of that chunk");
  SetChunk(*slot.plugin, which, taken);
  Note("effGetChunk again");
  const Chunk again = GetChunk(*slot.plugin, which);
  if (again != taken) {
    std::size_t at = 0;
    while (at < taken.size() && at < again.size() && taken[at] == again[at]) ++at;
    Fail(std::string("the ") + kind +
         " chunk after loading a file changed when set again: " + std::to_string(taken.size()) + " bytes became " +
         std::to_string(again.size()) + ", first difference at " + std::to_string(at));
  }
}

std::string ChaosHost::FileFigures() const {
  return std::to_string(filesSaved_) + " files saved, " + std::to_string(filesLoaded_) + " loaded (" +
         std::to_string(filesRefused_) + " refused by their header)";
}

// After data the plug-in may have refused: a current program it has, and
// every parameter a value in [0, 1].
void ChaosHost::CheckSound(Slot& slot, const char* after) {
  vst2::AEffect* effect = slot.plugin->effect();
  Note("effGetProgram");
  const vst2::IntPtr program = slot.plugin->Dispatch(vst2::effGetProgram);
  if (program < 0 || program >= effect->numPrograms) {
    Fail(std::string("after ") + after + " the current program is " + std::to_string(program));
  }
  Note("getParameter");
  const std::vector<float> values = AllParameters(*slot.plugin);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!std::isfinite(values[i]) || values[i] < 0.0f || values[i] > 1.0f) {
      Fail(std::string("after ") + after + " parameter " + std::to_string(i) + " reads " + std::to_string(values[i]));
      return;
    }
  }
}
