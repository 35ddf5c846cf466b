// Leak checking in the window tests: fontconfig keeps its caches for the
// life of the process (the test's application object is never destroyed).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
