// fontconfig, which cairo loads the first time text is drawn, keeps its
// configuration for the life of the process in a form LeakSanitizer cannot
// follow. Every test binary that draws text through cairo needs this line.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
