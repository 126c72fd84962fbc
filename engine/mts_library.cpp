#include "engine/mts_library.h"

namespace {

constexpr char kAllChannels = -1;

template <typename Function>
Function Resolve(tuning_library::Handle library, const char* name) {
  return reinterpret_cast<Function>(tuning_library::Find(library, name));
}

}  // namespace

const MtsLibrary& MtsLibrary::Installed() {
  static const MtsLibrary library(tuning_library::InstalledPath());
  return library;
}

MtsLibrary::MtsLibrary(const std::string& path) : mHandle(tuning_library::Open(path)) {
  if (!mHandle) return;
  mRegisterClient = Resolve<VoidFunction>(mHandle, "MTS_RegisterClient");
  mDeregisterClient = Resolve<VoidFunction>(mHandle, "MTS_DeregisterClient");
  mHasMaster = Resolve<BoolFunction>(mHandle, "MTS_HasMaster");
  mShouldFilterNote = Resolve<FilterFunction>(mHandle, "MTS_ShouldFilterNote");
  if (auto getTable = Resolve<TableFunction>(mHandle, "MTS_GetTuningTable")) mMasterTable = getTable();
}

MtsLibrary::~MtsLibrary() {
  if (mHandle) tuning_library::Close(mHandle);
}

void MtsLibrary::RegisterClient() const {
  if (mRegisterClient) mRegisterClient();
}

void MtsLibrary::DeregisterClient() const {
  if (mDeregisterClient) mDeregisterClient();
}

bool MtsLibrary::HasActiveMaster() const { return mMasterTable && mHasMaster && mHasMaster(); }

bool MtsLibrary::ShouldFilterNote(int note) const {
  if (!HasActiveMaster() || !mShouldFilterNote) return false;
  return mShouldFilterNote(static_cast<char>(note & 127), kAllChannels);
}
