// Getting and setting the plug-in's state chunks as a host does, and the
// pieces of a chunk the checks look at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PluginInstance;

constexpr std::int32_t kBankChunk = 0;
constexpr std::int32_t kProgramChunk = 1;
constexpr std::size_t kChunkHeaderSize = 8;

// effGetChunk, copied out of the plug-in's buffer (empty when it answered 0).
std::vector<unsigned char> GetChunk(const PluginInstance& instance, std::int32_t which);
// effSetChunk with a copy of `bytes` (the plug-in must not keep the host's pointer).
std::int64_t SetChunk(const PluginInstance& instance, std::int32_t which, std::vector<unsigned char> bytes);

// True when the chunk is a program chunk: the framework header, then the
// state tag.
bool IsProgramChunk(const std::vector<unsigned char>& chunk);

// A chunk of the form "header, state, name" split into the state part (with
// the header) and the trailing name (its length field included).
std::vector<unsigned char> WithoutTrailingName(const std::vector<unsigned char>& programChunk, const std::string& name);
void AppendString(std::vector<unsigned char>& bytes, const std::string& text);

std::vector<float> AllParameters(const PluginInstance& instance);
std::vector<std::string> AllProgramNames(const PluginInstance& instance);
