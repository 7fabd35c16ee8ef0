// The numerical core's file-open routine. Files are known by a unit number
// that the caller chooses; the unit stays connected to its file until
// CloseDataFile. The table of units belongs to one context.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kavi::numerics {

constexpr int kMaxDataUnits = 100;  // units 0 … 99

struct Context;

// The files connected to units 0 … 99; closed when the table goes.
class DataUnits {
 public:
  DataUnits() = default;
  DataUnits(const DataUnits&) = delete;
  DataUnits& operator=(const DataUnits&) = delete;
  ~DataUnits();
  std::FILE*& operator[](int unit) { return files_[unit]; }

 private:
  std::FILE* files_[kMaxDataUnits] = {};
};

// Opens `name` (trailing blanks are not part of it) for sequential access on
// `unit`. Form: "formatted" or "unformatted" (any letter case), or "UNKNOWN"
// meaning formatted. Disposition: "OLD" (the file must exist; opened for
// reading) or "UNKNOWN" (opened for reading and writing, created when missing),
// any letter case. Trailing blanks of form and disposition are ignored. A unit that is still
// connected is closed first. Returns 0 on success; otherwise an error number, with the status word
// set to 4 and `unit` set to -1. Directories are not opened.
int OpenDataFile(Context& ctx, int& unit, std::string_view name, std::string_view form,
                 std::string_view disposition);

// The stream connected to `unit`, or null.
std::FILE* DataFile(Context& ctx, int unit);

// Closes the file connected to `unit`, if any. False when closing reported an
// error (data not written).
bool CloseDataFile(Context& ctx, int unit);

// The path of a file name: trailing blanks removed. False when nothing is left
// or the name holds a NUL character.
bool DataFilePath(std::string_view name, std::string& path);

}  // namespace kavi::numerics
