// A host loads and unloads the plug-in many times (scanning, opening songs):
// every time the fonts' FreeType library must go with it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <malloc.h>

namespace {

using MakeAndDropFont = int (*)();

// Loads the module, makes and drops a font in it, unloads it.
bool LoadUseUnload() {
  void* module = dlopen(VORN_FONT_USER_MODULE, RTLD_NOW | RTLD_LOCAL);
  if (!module) return false;
  auto make = reinterpret_cast<MakeAndDropFont>(dlsym(module, "MakeAndDropFont"));
  const bool made = make && make() == 1;
  dlclose(module);
  return made;
}

}  // namespace

TEST(FontUnload, UnloadingTheModuleReleasesItsFreeTypeLibrary) {
  // fontconfig stays loaded, as in a desktop host whose toolkit uses it; its
  // configuration is the process's, made in the first round.
  ASSERT_NE(dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NODELETE), nullptr);
  ASSERT_TRUE(LoadUseUnload()) << dlerror();
  // A FreeType library with its modules is about 3 KB; the loader itself
  // keeps a little now and then. (Under a sanitizer the heap figures are its
  // own, and LeakSanitizer reports the lost library at the end.)
  constexpr int kRounds = 20;
  constexpr long long kAllowedPerRound = 1024;
  const long long before = static_cast<long long>(mallinfo2().uordblks);
  for (int round = 0; round < kRounds; ++round) ASSERT_TRUE(LoadUseUnload());
  const long long grown = static_cast<long long>(mallinfo2().uordblks) - before;
  EXPECT_LT(grown, kRounds * kAllowedPerRound)
      << "the heap grew by " << grown << " bytes in " << kRounds << " rounds of loading, using and unloading";
}
