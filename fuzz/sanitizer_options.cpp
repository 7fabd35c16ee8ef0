// Sanitizer settings built into every fuzz target: undefined behaviour stops
// the run (so that the fuzzer keeps the input) and is reported with its stack,
// whatever the environment says.
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }
