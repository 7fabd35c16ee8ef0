#include "tool_edition.h"

namespace kavi::tool {

namespace {
constexpr ToolEdition kEditions[] = {
    {"kavicalc", "Kavicalc", "1.5.5.0", &kKavicalcIdentities, KAVI_KAVICALC_FILE_NAME, 500000},
    {"kavibase", "Kavibase", "1.0.0.13", &kKavibaseIdentities, KAVI_KAVIBASE_FILE_NAME, 1000000},
};
}  // namespace

const ToolEdition& DefaultEdition() { return kEditions[0]; }

const ToolEdition* FindEdition(const std::string& option) {
  for (const ToolEdition& edition : kEditions)
    if (option == edition.option) return &edition;
  return nullptr;
}

}  // namespace kavi::tool
