// Leak-checker suppressions for the shell tests. fontconfig keeps its
// configuration until the process ends and never frees it; Qt's font
// database loads it on first use.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
