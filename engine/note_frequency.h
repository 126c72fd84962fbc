// Pitch index to frequency. A pitch index counts 1/128 of an equal-tempered
// semitone from MIDI note 0 (8.176 Hz); 17280 is 135 semitones up. Between
// semitones the frequency is interpolated linearly in Hz from two tables of
// rounded constants, so results are exact to the tables, not to 2^(x/12).
#pragma once

constexpr int kPitchStepsPerSemitone = 128;
constexpr int kMaxPitchIndex = 17280;
constexpr int kNoteFrequencyTableSize = 136;

// Valid for any int; saturates beyond +/-17280.
double NoteFrequency(int pitchIndex);
