// In the address-sanitizer build: the font library that PNG rendering loads
// keeps its font configuration for the life of the process on purpose, which
// the leak checker would report at exit. Only that library is exempted.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
