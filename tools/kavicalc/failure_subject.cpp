#include "failure_subject.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "gis/map_lines.h"

namespace kavi::tool {

namespace {
using Role = CalculationFile::Role;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

std::string Noun(Role role) {
  switch (role) {
    case Role::kMap:
      return "map file";
    case Role::kClimate:
      return "observed climate";
    case Role::kAtlas:
    case Role::kAtlasOut:
      return "atlas file";
    case Role::kRose:
    case Role::kRoseOut:
      return "roughness rose file";
    case Role::kObstacles:
      break;
  }
  return "obstacles file";
}

bool IsOutput(Role role) { return role == Role::kAtlasOut || role == Role::kRoseOut; }

// Why the file cannot be read, or nothing when it can.
std::optional<std::string> UnreadableReason(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::string(std::strerror(EISDIR));
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string(std::strerror(errno));
  char byte;
  const bool readable = read(fd, &byte, 1) >= 0;
  const int reason = errno;
  close(fd);
  if (!readable) return std::string(std::strerror(reason));
  return std::nullopt;
}

// Why no new file can be made in folder, or nothing when one can.
std::optional<std::string> UnwritableReason(const std::filesystem::path& folder) {
  const std::string probe = (folder.empty() ? std::filesystem::path(".") : folder) /
                            (".kavicalc-probe-" + std::to_string(getpid()));
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return std::string(std::strerror(errno));
  close(fd);
  unlink(probe.c_str());
  return std::nullopt;
}

// Why an output file cannot be written there, or nothing when it can.
std::optional<std::string> OutputReason(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::string(std::strerror(EISDIR));
  return UnwritableReason(std::filesystem::path(path).parent_path());
}

const CalculationFile* Find(const std::vector<CalculationFile>& files, Role role) {
  for (const CalculationFile& file : files)
    if (file.role == role) return &file;
  return nullptr;
}

// The observed climate or the atlas, whichever the calculation reads.
const CalculationFile* WindClimate(const std::vector<CalculationFile>& files) {
  const CalculationFile* file = Find(files, Role::kClimate);
  return file ? file : Find(files, Role::kAtlas);
}

// The map as the engine's reader sees it: what is wrong with it, if anything.
std::optional<std::string> MapProblem(const CalculationFile& map, const ToolEdition& edition) {
  try {
    gis::ReadMapLines(map.path, edition.mapCapacity);
  } catch (const gis::MapReadError& error) {
    return std::string(error.what());
  }
  return std::nullopt;
}

std::optional<std::string> Subject(const std::string& message,
                                   const std::vector<CalculationFile>& files,
                                   const ToolEdition& edition) {
  for (const CalculationFile& file : files)
    if (!IsOutput(file.role))
      if (const auto reason = UnreadableReason(file.path))
        return "cannot read the " + Noun(file.role) + " " + Quoted(file.path) + ": " + *reason;

  const CalculationFile* map = Find(files, Role::kMap);
  const bool mapMessage = message == "Error in map file" || message == "Too large map file" ||
                          message == "MINPUT returned bad value" ||
                          message == "Unable to open file";
  if (map && mapMessage)
    if (const auto problem = MapProblem(*map, edition))
      return "map " + Quoted(map->path) + ": " + *problem;

  const CalculationFile* climate = WindClimate(files);
  if (message == "Unable to open file") {
    if (const CalculationFile* out = Find(files, Role::kAtlasOut))
      if (const auto reason = OutputReason(out->path))
        return "cannot write the atlas file " + Quoted(out->path) + ": " + *reason;
    if (climate) {
      std::string subject =
          "the " + Noun(climate->role) + " " + Quoted(climate->path) + " could not be read";
      if (const auto reason = UnwritableReason(std::filesystem::current_path()))
        subject += ", or the working folder takes no work file (" + *reason + ")";
      return subject;
    }
  }
  if (message == "Too many sectors" && climate)
    return "the " + Noun(climate->role) + " " + Quoted(climate->path) + " has more than 36 sectors";
  if (message == "Cannot open file") {
    if (const CalculationFile* rose = Find(files, Role::kRose))
      return "the roughness rose file " + Quoted(rose->path) + " could not be read";
    if (const CalculationFile* out = Find(files, Role::kRoseOut)) {
      const auto reason = OutputReason(out->path);
      return "cannot write the roughness rose file " + Quoted(out->path) +
             (reason ? ": " + *reason : "");
    }
  }
  if (message.rfind("Roughness rose is compatible", 0) == 0)
    if (const CalculationFile* rose = Find(files, Role::kRose))
      return "the roughness rose file " + Quoted(rose->path) +
             " has another number of sectors than the wind climate";
  if (const CalculationFile* obstacles = Find(files, Role::kObstacles)) {
    if (message == "Unexpected exception in fortran code")
      return "the obstacles file " + Quoted(obstacles->path) + " could not be read";
    if (message == "Too large obstacle list")
      return "the obstacles file " + Quoted(obstacles->path) +
             " gives more shelter records than the engine holds (1000)";
  }
  return std::nullopt;
}
}  // namespace

std::string MessageOf(const CallFailure& failure, const ToolEdition& edition) {
  const std::string prefix = std::string(edition.name) + ": ";
  const std::string& text = failure.description();
  return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text;
}

CallFailure NameTheSubject(const CallFailure& failure, const std::vector<CalculationFile>& files,
                           const ToolEdition& edition) {
  const auto subject = Subject(MessageOf(failure, edition), files, edition);
  if (!subject) return failure;
  return CallFailure(failure.code(), failure.source(), *subject + ": " + failure.description());
}

CallFailure ExplainedFailure(const CallFailure& failure, const std::vector<CalculationFile>& files,
                             const std::optional<MapArea>& map, Position at,
                             const ToolEdition& edition, const std::string& name) {
  const CallFailure named = NameTheSubject(failure, files, edition);
  if (named.description() != failure.description()) return named;
  const std::string where = MessageOf(failure, edition) == "Interpolation radius too small"
                                ? NoContourInReach(map, at.x, at.y, name)
                                : SiteText(at.x, at.y, name);
  return CallFailure(failure.code(), failure.source(), where + ": " + failure.description());
}

}  // namespace kavi::tool
