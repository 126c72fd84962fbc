// The option menu's command numbers: each is its item's position in the menu
// (20 and 21 in the MIDI sub-menu, 22 and 23 in the online sub-menu).
#pragma once

enum MenuCommand {
  kCommandCopyProgram = 0,
  kCommandPasteProgram = 1,
  kCommandInitProgram = 2,
  kCommandLoadProgram = 4,
  kCommandSaveProgram = 5,
  kCommandLoadBank = 6,
  kCommandSaveBank = 7,
  kCommandSelectStartupBank = 9,
  kCommandLoadStartupBank = 10,
  kCommandUnselectStartupBank = 11,
  kCommandDefaultProgramFolder = 13,
  kCommandReloadConfiguration = 15,
  kCommandSaveConfiguration = 16,
  kCommandSwitchView = 18,
  kCommandMidiThru = 20,
  kCommandIgnoreProgramChange = 21,
  kCommandCheckForUpdate = 22,
  kCommandVisitWebSite = 23,
};
