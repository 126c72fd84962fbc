// A shared library that is not a VST 2 plug-in: it exports a function, but
// neither entry point name.
extern "C" __attribute__((visibility("default"))) int FakeNotAPlugin() { return 42; }
