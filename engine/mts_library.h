// The binding to the MTS-ESP tuning library: a shared library, installed by
// tuning software, through which a tuning master publishes one frequency per
// MIDI note. It is loaded at run time; when it or any entry point is missing,
// the answers below are those of "no master": equal temperament, nothing
// filtered.
#pragma once

#include <string>

#include "engine/platform/mts_library_loader.h"

class MtsLibrary {
 public:
  // The library at the platform's install location, loaded once per process
  // on first use and released when the process unloads this code.
  static const MtsLibrary& Installed();

  // Loads the library at path (tests load a stand-in this way).
  explicit MtsLibrary(const std::string& path);
  ~MtsLibrary();
  MtsLibrary(const MtsLibrary&) = delete;
  MtsLibrary& operator=(const MtsLibrary&) = delete;

  bool IsLoaded() const { return mHandle != nullptr; }

  void RegisterClient() const;
  void DeregisterClient() const;
  // Whether a master is active and has published a table: only then are the
  // table and the note filter consulted.
  bool HasActiveMaster() const;
  // Hz for MIDI note 0..127 from the master's table; only while HasActiveMaster().
  double MasterFrequency(int note) const { return mMasterTable[note]; }
  bool ShouldFilterNote(int note) const;

 private:
  using VoidFunction = void (*)();
  using BoolFunction = bool (*)();
  using FilterFunction = bool (*)(char note, char channel);
  using TableFunction = const double* (*)();

  tuning_library::Handle mHandle = nullptr;
  VoidFunction mRegisterClient = nullptr;
  VoidFunction mDeregisterClient = nullptr;
  BoolFunction mHasMaster = nullptr;
  FilterFunction mShouldFilterNote = nullptr;
  // Owned by the library, which keeps it current while a master runs; read
  // without a lock.
  const double* mMasterTable = nullptr;
};
