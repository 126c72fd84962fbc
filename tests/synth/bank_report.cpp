// Prints the figures of every factory program as a table, for voicing the
// bank: bank-report [first-slot [last-slot]]
#include <cstdio>
#include <cstdlib>

#include "tests/synth/bank_audit.h"

int main(int argc, char** argv) {
  const int first = argc > 1 ? std::atoi(argv[1]) : 0;
  const int last = argc > 2 ? std::atoi(argv[2]) : 63;
  std::printf("%-2s %-22s %2s %6s %6s %6s %6s %6s %6s %5s %-13s %6s %6s %5s %4s %4s %5s\n", "#", "program", "mp",
              "noteL", "chordL", "melL", "level", "pk100", "pk127", "step", "at", "dc", "alias", "decay", ">5k", ">12k",
              "cent");
  for (int slot = first; slot <= last; ++slot) {
    const ProgramFigures f = MeasureProgram(slot);
    std::printf("%-2d %-22s %c%c %6.1f %6.1f %6.1f %6.1f %6.1f %6.1f %5.2f %-13s %6.1f %6.1f %5.2f %4.2f %4.2f %5.0f\n",
                slot, f.name.c_str(), f.mono ? 'm' : '-', f.sync ? 's' : '-', f.noteLufs, f.chordLufs, f.melodyLufs,
                f.level, f.chordPeak100, f.chordPeak127, f.worstStep, f.worstStepAt.c_str(), f.dcDb,
                f.sync ? f.aliasDb : 0.0, f.decaySeconds, f.shareAbove5k, f.shareAbove12k, f.centroidHz);
    std::fflush(stdout);
  }
  return 0;
}
