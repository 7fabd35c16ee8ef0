// Whether this is the slower sanitizer build, where long tests run fewer
// rounds and memory figures include the sanitizer's own quarantine.
#pragma once

#include <cstdlib>

namespace kavi::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

// True under AddressSanitizer or when KAVI_SANITIZED is set.
inline bool SanitizedRun() { return kAddressSanitizer || std::getenv("KAVI_SANITIZED") != nullptr; }

// `normal` rounds in a normal build, `sanitized` in the sanitizer build.
inline int Rounds(int normal, int sanitized) { return SanitizedRun() ? sanitized : normal; }

}  // namespace kavi::test
