// State chunks as hosts pass them around: taken and given back, given to
// another instance, cut short, with bytes flipped, or not a chunk at all;
// and the round trip a saved song depends on.
#include <memory>
#include <string>

#include "tests/chaos/chaos_host.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"

namespace {
// The host keeps the chunks it took to give them back later, to any instance.
constexpr std::size_t kKeptChunks = 16;
}  // namespace

void ChaosHost::TakeChunk(Slot& slot) {
  std::int32_t which = random_.Chance(500) ? kBankChunk : kProgramChunk;
  Note("effGetChunk");
  Chunk chunk = GetChunk(*slot.plugin, which);
  if (chunk.empty()) {
    Fail("effGetChunk gave nothing");
    return;
  }
  // The first bytes say which kind it is, so a kept chunk can go to either.
  if (chunks_.size() < kKeptChunks)
    chunks_.push_back(std::move(chunk));
  else
    chunks_[static_cast<std::size_t>(random_.Below(static_cast<int>(kKeptChunks)))] = std::move(chunk);
}

void ChaosHost::GiveChunk(Slot& slot) {
  Chunk chunk;
  if (!chunks_.empty()) chunk = chunks_[static_cast<std::size_t>(random_.Below(static_cast<int>(chunks_.size())))];
  switch (random_.Below(6)) {
    case 0:  // cut short
      chunk.resize(chunk.empty() ? 0 : static_cast<std::size_t>(random_.Below(static_cast<int>(chunk.size()))));
      break;
    case 1:  // bytes flipped
      for (int n = random_.Between(1, 8); n > 0 && !chunk.empty(); --n) {
        chunk[static_cast<std::size_t>(random_.Below(static_cast<int>(chunk.size())))] ^=
            static_cast<unsigned char>(1 + random_.Below(255));
      }
      break;
    case 2:  // not a chunk at all
      chunk.resize(static_cast<std::size_t>(random_.Below(2048)));
      for (unsigned char& byte : chunk) byte = static_cast<unsigned char>(random_.Below(256));
      break;
    default:  // as taken, from this instance or another
      break;
  }
  std::int32_t which = random_.Chance(500) ? kBankChunk : kProgramChunk;
  Note("effSetChunk");
  SetChunk(*slot.plugin, which, std::move(chunk));
}

// A fresh instance, opened and at `program`, as a host makes one to load a
// saved song into.
std::unique_ptr<PluginInstance> ChaosHost::FreshInstance(vst2::IntPtr program) {
  Note("create a fresh instance");
  auto fresh = std::make_unique<PluginInstance>(entry_);
  if (!fresh->IsValid()) {
    Fail("the entry point returned no effect record");
    return nullptr;
  }
  Note("effOpen");
  fresh->Dispatch(vst2::effOpen);
  Note("effSetProgram");
  fresh->Dispatch(vst2::effSetProgram, 0, program);
  return fresh;
}

// A program chunk comes back byte for byte from a fresh instance at the same
// program, unless the program's name is empty (a damaged bank can leave it
// so): an empty name in a chunk keeps the receiving program's name. A bank's slots carry the index and name of
// whichever program was current when each was stored, unused on loading, so a bank is checked by what it restores
// (every program name, the current program's parameters) and by coming back byte for byte once it has been through a
// fresh instance.
void ChaosHost::RoundTrip(Slot& slot) {
  const std::int32_t which = random_.Chance(500) ? kBankChunk : kProgramChunk;
  const char* kind = which == kBankChunk ? "bank" : "program";
  Note("effGetProgram");
  const vst2::IntPtr program = slot.plugin->Dispatch(vst2::effGetProgram);
  Note("effGetChunk");
  const Chunk taken = GetChunk(*slot.plugin, which);
  std::unique_ptr<PluginInstance> first = FreshInstance(program);
  if (!first) return;
  Note("effSetChunk into a fresh instance");
  if (SetChunk(*first, which, taken) == 0) {
    Fail(std::string("a fresh instance refused a ") + kind + " chunk just taken");
    return;
  }
  Note("getParameter, effGetProgramNameIndexed");
  if (AllParameters(*first) != AllParameters(*slot.plugin)) {
    Fail(std::string("a ") + kind + " chunk set into a fresh instance gave other parameter values");
  }
  if (which == kBankChunk && AllProgramNames(*first) != AllProgramNames(*slot.plugin)) {
    Fail("a bank chunk set into a fresh instance gave other program names");
  }
  Note("effGetChunk from the fresh instance");
  const Chunk again = GetChunk(*first, which);
  const Chunk* expected = &taken;
  std::unique_ptr<PluginInstance> second;
  if (which == kProgramChunk && slot.plugin->ProgramName().empty()) return;
  if (which == kBankChunk) {
    second = FreshInstance(program);
    if (!second) return;
    Note("effSetChunk into a second fresh instance");
    SetChunk(*second, which, again);
    expected = &again;
  }
  Note("effGetChunk");
  const Chunk last = GetChunk(second ? *second : *first, which);
  if (last != *expected) {
    std::size_t at = 0;
    while (at < expected->size() && at < last.size() && (*expected)[at] == last[at]) ++at;
    Fail(std::string("a ") + kind + " chunk of " + std::to_string(expected->size()) +
         " bytes came back from a fresh instance as " + std::to_string(last.size()) + " bytes, first difference at " +
         std::to_string(at));
  }
  Note("effClose of the fresh instances");
}
