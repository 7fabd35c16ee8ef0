// The registry in memory (keys under HKEY_CLASSES_ROOT with a default value and
// named values) and its text form. Key and value names compare without regard
// to ASCII case, as the platform's registry does; the case first written is kept.
//
// Text form:
//   Kavi registry 1
//   ; comment lines start with a semicolon
//   [CLSID\{...}\InprocServer32]
//   @="/usr/lib/libkavicalc.so"
//   "ThreadingModel"="Apartment"
//   END
// In quoted text \\ \" \n \r \t and \xHH stand for the escaped character. The
// END line marks a complete file, so that a truncated one is recognised.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavi::runtime {

// A key path is non-empty components separated by single backslashes, with no
// control characters.
bool IsValidKeyPath(std::string_view path);

struct RegistryKey {
  std::string path;
  std::optional<std::string> defaultValue;
  std::vector<std::pair<std::string, std::string>> values;  // named values, in order

  // The value called name ("" is the default value), or null.
  const std::string* Find(std::string_view name) const;
  // Sets a value; returns whether anything changed.
  bool Set(std::string_view name, std::string_view data);
};

struct RegistryParseError {
  int line;  // 0 when the problem is not on one line (a missing END)
  std::string reason;
};

class RegistryTree {
 public:
  const RegistryKey* Find(std::string_view path) const;
  // The key at path, created with any missing ancestors; created tells whether
  // any key was new.
  RegistryKey& Create(std::string_view path, bool& created);
  // Removes the key and everything below it; false when there is no such key.
  bool DeleteTree(std::string_view path);

  std::string Serialize() const;
  // Replaces this tree by the one the text describes, or reports why it cannot.
  std::optional<RegistryParseError> Parse(std::string_view text);

 private:
  std::map<std::string, RegistryKey> keys_;  // by case-folded path
};

}  // namespace kavi::runtime
