#include "model/roughness_rose_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "model/exceptions.h"
#include "model/roughness_rose_plausibility.h"
#include "output/output_file.h"

namespace kavi::model {

namespace {

constexpr const char* kTag = "VEMO 6.0 RRD";
constexpr int kFieldWidth = 14;
constexpr int kPrecision = 5;
constexpr std::streamsize kMaxSkippedLine = 65536;
constexpr const char* kSaveContext = "CRoughnessRose::Save";
constexpr const char* kLoadContext = "CRoughnessRose::Load";
constexpr const char* kCannotOpen = "Cannot open file";
constexpr const char* kSectorMismatch =
    "Roughness rose is compatible with histogram (number of sectors mismatch).";
constexpr const char* kTooManyChanges =
    "Cannot open file: more than 10 roughness changes in a sector";
constexpr const char* kNegativeChanges =
    "Cannot open file: negative number of roughness changes in a sector";
constexpr const char* kIncomplete =
    "Cannot open file: fewer values than the counts announce, or one that is not a number";

bool IsDirectory(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The largest change count of the first nsec sectors, 0 if none is positive.
int LargestCount(const numerics::RoughnessRose& rose, int nsec) {
  return std::max(0, *std::max_element(rose.changes, rose.changes + nsec));
}

// Throws unless every change count of the first nsec sectors fits the rose.
void CheckCounts(const numerics::RoughnessRose& rose, int nsec, const char* context) {
  for (int i = 0; i < nsec; ++i) {
    if (rose.changes[i] > numerics::kMaxRoughnessChanges) {
      throw RuntimeError(context, kTooManyChanges);
    }
    if (rose.changes[i] < 0) throw RuntimeError(context, kNegativeChanges);
  }
}

template <typename T>
void WriteRow(std::ostream& out, const T* values, int nsec) {
  for (int i = 0; i < nsec; ++i) out << std::setw(kFieldWidth) << values[i];
}

// Reads nsec values into `values`; a file that ends early or holds something
// other than a number is refused, not used with what the rose held before.
template <typename T>
void ReadRow(std::istream& in, T* values, int nsec) {
  for (int i = 0; i < nsec; ++i) {
    T value{};
    if (!(in >> value)) throw RuntimeError(kLoadContext, kIncomplete);
    values[i] = value;
  }
}

}  // namespace

void SaveRoughnessRose(const std::string& path, int nsec, const numerics::RoughnessRose& rose) {
  if (nsec < 1 || nsec > numerics::kMaxSectors) throw RuntimeError(kSaveContext, kCannotOpen);
  CheckCounts(rose, nsec, kSaveContext);
  std::ostringstream out;
  out << kTag << "\n\n" << nsec << '\n';
  out << std::setprecision(kPrecision);
  WriteRow(out, rose.changes, nsec);
  out << '\n';
  const int m = LargestCount(rose, nsec);
  for (int r = 0; r < m; ++r) {
    WriteRow(out, rose.z0[r], nsec);
    out << '\n';
    WriteRow(out, rose.distance[r], nsec);
    out << '\n';
  }
  WriteRow(out, rose.z0[m], nsec);
  const std::string text = out.str();
  output::OutputFile file;
  if (IsDirectory(path) || !file.Open(path) || !file.Write(text.data(), text.size()) ||
      !file.Commit()) {
    throw RuntimeError(kSaveContext, kCannotOpen);
  }
}

void LoadRoughnessRose(const std::string& path, int nsec, numerics::RoughnessRose& rose) {
  if (IsDirectory(path)) throw RuntimeError(kLoadContext, kCannotOpen);
  std::ifstream in(path);
  if (!in) throw RuntimeError(kLoadContext, kCannotOpen);
  for (int line = 0; line < 2; ++line) in.ignore(kMaxSkippedLine, '\n');
  int n = 0;
  in >> n;
  if (n != nsec || n < 1 || n > numerics::kMaxSectors) {
    throw RuntimeError(kLoadContext, kSectorMismatch);
  }
  // Read into a copy, so that a refused file leaves the rose as it was.
  numerics::RoughnessRose read = rose;
  ReadRow(in, read.changes, n);
  CheckCounts(read, n, kLoadContext);
  const int m = LargestCount(read, n);
  for (int r = 0; r < m; ++r) {
    ReadRow(in, read.z0[r], n);
    ReadRow(in, read.distance[r], n);
  }
  ReadRow(in, read.z0[m], n);
  if (const std::string problem = RoseProblem(read, n); !problem.empty())
    throw RuntimeError(kLoadContext, std::string(kCannotOpen) + ": " + problem);
  rose = read;
}

}  // namespace kavi::model
