// vorn-demo-midi OUT.mid: writes the demo piece.
#include <cstdio>

#include "tools/demo/demo_song.h"
#include "tools/demo/midi_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vorn-demo-midi OUT.mid\n");
    return 1;
  }
  if (!demo::SaveBytes(argv[1], demo::DemoSong())) {
    std::fprintf(stderr, "vorn-demo-midi: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
