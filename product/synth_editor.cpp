// The operations the editor's controls call on the product shell: program
// stepping, the option menu's commands and the states it shows.
#include <mutex>

#include "product/editor/ipk_option_menu.h"
#include "product/synth.h"

namespace {
using Lock = std::lock_guard<std::recursive_mutex>;
}  // namespace

void Synth::GoToProgram(int index) {
  Lock lock(Mutex());
  ModifyCurrentPreset();
  SelectPreset(index);
  NotifyHostProgramChange();
  NotifyHostAllParams();
}

// The program, bank, settings and online commands join here as the shell
// grows them; the view switch is the editor's own.
void Synth::RunMenuCommand(IGraphics&, int command) {
  if (command == IPKOptionMenu::kSwitchViewCommand) SwitchView();
}

// No program clipboard, MIDI thru or program-change filter exists yet: the
// option menu shows "Paste Program" greyed and both MIDI settings unticked.
bool Synth::HasCopiedProgram() const { return false; }
bool Synth::MidiThru() const { return false; }
bool Synth::IgnoreProgramChange() const { return false; }
