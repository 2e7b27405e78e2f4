// Fontconfig keeps caches for the life of the process that it never frees; the leak checker
// would report them at exit of every test that draws text. Read by the leak checker when
// the tests are built with sanitizers; an unused function otherwise.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
