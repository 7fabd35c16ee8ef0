// Named temporary files beside an output: their names, the removal of those a
// killed process left behind, and their removal when the process ends by a
// signal or exit() before the output is complete.
#pragma once

#include <string>

#include "output/output_target.h"

namespace kavi::output {

// Removes the temporary files of `target` that belong to processes which no
// longer run (left by a kill). Files of running processes are kept.
void RemoveStaleTemporaries(const OutputTarget& target);

// A name for a new temporary file in `folder`, telling the output it is for
// and the process that makes it, and ending in `extension` (e.g. ".tif"), so
// that format drivers chosen by extension work. Differs on every call.
std::string TemporaryName(const std::string& folder, const std::string& name,
                          const std::string& extension);

// While registered, `path` is removed when the process is ended by SIGINT,
// SIGTERM, SIGHUP or SIGQUIT (where the program keeps their default
// handling) or by exit(). Registration fails (false) only when too many
// temporaries are live at once.
bool RegisterTemporary(const std::string& path);
void UnregisterTemporary(const std::string& path);

// The extension of a file name, with its dot ("" when none).
std::string ExtensionOf(const std::string& name);

}  // namespace kavi::output
