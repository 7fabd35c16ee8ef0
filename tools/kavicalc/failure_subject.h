// What a failed calculation was about. The server reports a failure with its
// own message, which often does not say which of the files given it concerns;
// the tool knows the files and can look at them, and says so before the
// server's message, which stays as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "call_failure.h"
#include "site_checks.h"
#include "tool_edition.h"
#include "value_parsers.h"

namespace kavi::tool {

struct CalculationFile {
  enum class Role { kMap, kClimate, kAtlas, kRose, kObstacles, kAtlasOut, kRoseOut };
  Role role;
  std::string path;
};

// The failure with "SUBJECT: " before its description, where the tool can tell
// which file it concerns (files in the order the server reads them, outputs
// last); otherwise the failure as it was.
CallFailure NameTheSubject(const CallFailure& failure, const std::vector<CalculationFile>& files,
                           const ToolEdition& edition);

// NameTheSubject, and for a failure at the position `at` (map coordinates)
// that is no file's fault, the position named (with what "Interpolation radius
// too small" means there).
CallFailure ExplainedFailure(const CallFailure& failure, const std::vector<CalculationFile>& files,
                             const std::optional<MapArea>& map, Position at,
                             const ToolEdition& edition, const std::string& name = "");

// The server's message without the edition's prefix ("Kavicalc: ").
std::string MessageOf(const CallFailure& failure, const ToolEdition& edition);

}  // namespace kavi::tool
