// The two editions of the server the tool can drive: their names, versions,
// identities and the file name of their library.
#pragma once

#include <kavi/identities.h>

#include <string>

namespace kavi::tool {

struct ToolEdition {
  const char* option;       // the --edition value: "kavicalc" or "kavibase"
  const char* name;         // "Kavicalc"
  const char* version;      // file and product version of the server
  const Identities* ids;    // class and interface identifiers, ProgID prefix
  const char* libraryFile;  // "libkavicalc.so"
  int mapCapacity;          // entries of each map coordinate array
};

const ToolEdition& DefaultEdition();
// The edition named by an --edition value, or nullptr.
const ToolEdition* FindEdition(const std::string& option);

}  // namespace kavi::tool
