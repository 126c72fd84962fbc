// A DLL carries its own operator new, which calls the C runtime's malloc
// through the DLL's import table; replacing the program's allocator counts
// nothing of it. So the library's import table entries for the C runtime's
// allocating functions are pointed at counting wrappers that call the
// originals. Counts are kept per thread in a TLS slot, which (unlike a
// thread_local variable under mingw) allocates nothing when touched.
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstring>

#include "tests/chaos/library_allocations.h"

namespace {

using Function = void (*)();
using Malloc = void*(__cdecl*)(std::size_t);
using Calloc = void*(__cdecl*)(std::size_t, std::size_t);
using Realloc = void*(__cdecl*)(void*, std::size_t);
using Strdup = char*(__cdecl*)(const char*);

DWORD g_slot = TLS_OUT_OF_INDEXES;
Malloc g_malloc = nullptr;
Calloc g_calloc = nullptr;
Realloc g_realloc = nullptr;
Strdup g_strdup = nullptr;

void Count() {
  // TlsGetValue clears the thread's last error, which the library may be
  // about to read.
  const DWORD error = GetLastError();
  const auto count = reinterpret_cast<std::uintptr_t>(TlsGetValue(g_slot));
  TlsSetValue(g_slot, reinterpret_cast<void*>(count + 1));
  SetLastError(error);
}

void* __cdecl CountedMalloc(std::size_t size) {
  Count();
  return g_malloc(size);
}
void* __cdecl CountedCalloc(std::size_t count, std::size_t size) {
  Count();
  return g_calloc(count, size);
}
void* __cdecl CountedRealloc(void* block, std::size_t size) {
  Count();
  return g_realloc(block, size);
}
char* __cdecl CountedStrdup(const char* text) {
  Count();
  return g_strdup(text);
}

template <typename To, typename From>
To Convert(From from) {
  static_assert(sizeof(To) == sizeof(From), "same size");
  To to;
  std::memcpy(&to, &from, sizeof(to));
  return to;
}

// The import's original and its counting replacement.
struct Hook {
  const char* name;
  Function* original;
  Function replacement;
};

bool IsCRuntime(const char* dll) {
  char lower[64] = {};
  for (std::size_t i = 0; i + 1 < sizeof(lower) && dll[i] != '\0'; ++i)
    lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(dll[i])));
  return std::strcmp(lower, "msvcrt.dll") == 0 || std::strcmp(lower, "ucrtbase.dll") == 0 ||
         std::strncmp(lower, "api-ms-win-crt-heap", 19) == 0 || std::strncmp(lower, "api-ms-win-crt-string", 21) == 0;
}

// Points the import slot at `hook`'s replacement; answers whether it did.
bool Patch(IMAGE_THUNK_DATA* slot, const Hook& hook) {
  DWORD protection = 0;
  if (!VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &protection)) return false;
  *hook.original = Convert<Function>(slot->u1.Function);
  slot->u1.Function = Convert<decltype(slot->u1.Function)>(hook.replacement);
  VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), protection, &protection);
  FlushInstructionCache(GetCurrentProcess(), nullptr, 0);
  return true;
}

}  // namespace

bool WatchLibraryAllocations(const void* codeInLibrary, std::string& how) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const char*>(codeInLibrary), &module)) {
    how = "not counted: the library's module was not found";
    return false;
  }
  g_slot = TlsAlloc();
  if (g_slot == TLS_OUT_OF_INDEXES) {
    how = "not counted: no thread-local slot";
    return false;
  }
  Hook hooks[] = {
      {"malloc", reinterpret_cast<Function*>(&g_malloc), Convert<Function>(&CountedMalloc)},
      {"calloc", reinterpret_cast<Function*>(&g_calloc), Convert<Function>(&CountedCalloc)},
      {"realloc", reinterpret_cast<Function*>(&g_realloc), Convert<Function>(&CountedRealloc)},
      {"_strdup", reinterpret_cast<Function*>(&g_strdup), Convert<Function>(&CountedStrdup)},
  };
  auto* base = reinterpret_cast<unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  int patched = 0;
  auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
  for (; directory.VirtualAddress != 0 && import->Name != 0; ++import) {
    if (!IsCRuntime(reinterpret_cast<const char*>(base + import->Name))) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      for (const Hook& hook : hooks) {
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), hook.name) == 0 && Patch(slots, hook)) ++patched;
      }
    }
  }
  // Without malloc (which operator new calls) the count would mean nothing.
  if (g_malloc == nullptr) {
    how = "not counted: the library imports no C runtime malloc";
    return false;
  }
  how = "counted through the library's " + std::to_string(patched) + " C runtime allocator imports";
  return true;
}

std::size_t ThreadLibraryAllocations() {
  const DWORD error = GetLastError();
  const auto count = reinterpret_cast<std::uintptr_t>(TlsGetValue(g_slot));
  SetLastError(error);
  return count;
}
