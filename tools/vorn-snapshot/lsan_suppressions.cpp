// fontconfig keeps its configuration, loaded on the first font lookup, until
// the process ends; LeakSanitizer counts that as a leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
