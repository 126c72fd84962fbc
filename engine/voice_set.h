// Sets of the engine's 64 voices as bit masks: bit v stands for voice v.
#pragma once

#include <cstdint>

using VoiceSet = std::uint64_t;

inline VoiceSet VoiceBit(int v) { return VoiceSet{1} << v; }

// Voices 0 .. count-1 (count 1..64).
inline VoiceSet FirstVoices(int count) { return count >= 64 ? ~VoiceSet{0} : VoiceBit(count) - 1; }

// The lowest voice in a set that is not empty.
inline int LowestSetBit(VoiceSet set) { return __builtin_ctzll(set); }
