#include "tests/host/state_chunks.h"

#include <cstring>

#include "tests/host/plugin_instance.h"
#include "tests/host/vorn_facts.h"

std::vector<unsigned char> GetChunk(const PluginInstance& instance, std::int32_t which) {
  void* data = nullptr;
  vst2::IntPtr size = instance.Dispatch(vst2::effGetChunk, which, 0, &data);
  if (size <= 0 || data == nullptr) return {};
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

std::int64_t SetChunk(const PluginInstance& instance, std::int32_t which, std::vector<unsigned char> bytes) {
  return instance.Dispatch(vst2::effSetChunk, which, static_cast<vst2::IntPtr>(bytes.size()),
                           bytes.empty() ? static_cast<void*>(&bytes) : bytes.data());
}

bool IsProgramChunk(const std::vector<unsigned char>& chunk) {
  return chunk.size() >= kChunkHeaderSize + vorn_facts::kStateTagLength && std::memcmp(chunk.data(), "tffp", 4) == 0 &&
         std::memcmp(chunk.data() + kChunkHeaderSize, vorn_facts::kStateTag, vorn_facts::kStateTagLength) == 0;
}

std::vector<unsigned char> WithoutTrailingName(const std::vector<unsigned char>& programChunk,
                                               const std::string& name) {
  std::size_t trailer = 4 + name.size();
  if (programChunk.size() < trailer) return programChunk;
  return std::vector<unsigned char>(programChunk.begin(), programChunk.end() - static_cast<long>(trailer));
}

void AppendString(std::vector<unsigned char>& bytes, const std::string& text) {
  std::uint32_t length = static_cast<std::uint32_t>(text.size());
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(length >> shift));
  bytes.insert(bytes.end(), text.begin(), text.end());
}

std::vector<float> AllParameters(const PluginInstance& instance) {
  std::vector<float> values;
  for (int i = 0; i < vorn_facts::kParameterCount; ++i) values.push_back(instance.GetParameter(i));
  return values;
}

std::vector<std::string> AllProgramNames(const PluginInstance& instance) {
  std::vector<std::string> names;
  for (int i = 0; i < vorn_facts::kProgramCount; ++i) names.push_back(instance.ProgramNameIndexed(i));
  return names;
}
