#include "numerics/obstacle_file.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "numerics/context.h"
#include "numerics/obstacle_plausibility.h"

namespace kavi::numerics {

namespace {

constexpr int kValuesPerObstacle = 7;
constexpr int kMaxTokenLength = 64;        // longer words are never numbers of this file
constexpr long kMaxLineLength = 1L << 20;  // 1 MiB

bool IsSeparator(int c) {
  return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Converts one word of free-format input: an optional sign, digits with an
// optional decimal point (at least one digit), and an optional exponent
// introduced by E or D. Values beyond single precision are refused; values
// too small for it become zero or subnormal. Independent of the C locale.
bool ParseNumber(const char* word, int size, float& value) {
  char text[kMaxTokenLength + 1];
  int length = 0;
  int i = 0;
  if (i < size && (word[i] == '+' || word[i] == '-')) {
    if (word[i] == '-') text[length++] = '-';
    ++i;
  }
  int digits = 0;
  for (; i < size && IsDigit(word[i]); ++i, ++digits) text[length++] = word[i];
  if (i < size && word[i] == '.') text[length++] = word[i++];
  for (; i < size && IsDigit(word[i]); ++i, ++digits) text[length++] = word[i];
  if (digits == 0) return false;
  if (i < size && (word[i] == 'e' || word[i] == 'E' || word[i] == 'd' || word[i] == 'D')) {
    text[length++] = 'e';
    ++i;
    if (i < size && (word[i] == '+' || word[i] == '-')) text[length++] = word[i++];
    int exponentDigits = 0;
    for (; i < size && IsDigit(word[i]); ++i, ++exponentDigits) text[length++] = word[i];
    if (exponentDigits == 0) return false;
  }
  if (i != size) return false;

  const auto [end, error] = std::from_chars(text, text + length, value);
  if (error == std::errc() && end == text + length) return std::isfinite(value);
  if (error != std::errc::result_out_of_range) return false;
  // Out of single-precision range: an underflow is kept as the nearest single,
  // an overflow is refused.
  double wide = 0.0;
  const auto [wideEnd, wideError] = std::from_chars(text, text + length, wide);
  if (wideError != std::errc() || wideEnd != text + length || !(std::fabs(wide) < 1.0))
    return false;
  value = static_cast<float>(wide);
  return true;
}

// Reads the numbers of free-format records one word at a time.
class RecordScanner {
 public:
  enum class Result { kNumber, kEndOfLine, kEndOfFile, kNotNumber };

  explicit RecordScanner(std::FILE* file) : file_(file) {}

  // The next number. With crossLines false the scan stops at the end of the
  // current line; otherwise line ends count as separators.
  Result Next(bool crossLines, float& value) {
    int c = std::getc(file_);
    for (;; c = std::getc(file_)) {
      if (c == EOF) return Result::kEndOfFile;
      if (c == '\n') {
        if (crossLines) continue;
        std::ungetc(c, file_);
        return Result::kEndOfLine;
      }
      if (!IsSeparator(c)) break;
    }
    char word[kMaxTokenLength];
    int size = 0;
    bool tooLong = false;
    for (; c != EOF && c != '\n' && !IsSeparator(c); c = std::getc(file_)) {
      if (size == kMaxTokenLength) {
        tooLong = true;  // no number of this file; not read to its end (it may have none)
        break;
      }
      word[size++] = static_cast<char>(c);
    }
    if (c == '\n') std::ungetc(c, file_);
    if (tooLong || !ParseNumber(word, size, value)) return Result::kNotNumber;
    return Result::kNumber;
  }

  // Reads seven numbers; kNumber when all seven were read.
  Result NextObstacle(bool crossLines, float (&values)[kValuesPerObstacle]) {
    for (float& value : values) {
      const Result result = Next(crossLines, value);
      if (result != Result::kNumber) return result;
    }
    return Result::kNumber;
  }

  // Skips to the next line; false when the line is longer than any line of
  // such a file (a device or a file of another kind).
  bool SkipRestOfLine() {
    for (long read = 0; read < kMaxLineLength; ++read) {
      const int c = std::getc(file_);
      if (c == EOF || c == '\n') return true;
    }
    return false;
  }

  // Copies the first characters of the current line into `title` (blank-padded,
  // carriage return dropped) and moves to the next line.
  bool ReadTitle(char (&title)[kObstacleTitleLength + 1]) {
    int size = 0;
    int c = std::getc(file_);
    for (; c != EOF && c != '\n' && size < kObstacleTitleLength; c = std::getc(file_))
      title[size++] = static_cast<char>(c);
    if (size > 0 && title[size - 1] == '\r') --size;
    std::memset(title + size, ' ', kObstacleTitleLength - size);
    title[kObstacleTitleLength] = '\0';
    return c == EOF || c == '\n' || SkipRestOfLine();
  }

 private:
  std::FILE* file_;
};

// Position of the first line: after a UTF-8 byte order mark, if there is one.
long FirstLineStart(std::FILE* file) {
  unsigned char mark[3] = {};
  const std::size_t read = std::fread(mark, 1, sizeof mark, file);
  return read == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF ? 3 : 0;
}

// Reads the obstacles of an open file; false when a record is not numbers or
// not a plausible obstacle, when there are more than the list holds (tooMany
// set) or when the file cannot be read.
bool ReadObstacles(std::FILE* file, ObstacleInput& input, bool& tooMany) {
  int& count = input.count;
  RecordScanner scanner(file);
  const long firstLine = FirstLineStart(file);
  if (std::fseek(file, firstLine, SEEK_SET) != 0) return false;

  // The first line is an obstacle when it holds seven numbers, else the title.
  float values[kValuesPerObstacle];
  const bool titled = scanner.NextObstacle(false, values) != RecordScanner::Result::kNumber;
  if (std::fseek(file, firstLine, SEEK_SET) != 0) return false;
  if (titled && !scanner.ReadTitle(input.title)) return false;

  for (;;) {
    const RecordScanner::Result result = scanner.NextObstacle(true, values);
    if (result == RecordScanner::Result::kEndOfFile) break;  // an incomplete record ends the list
    if (result == RecordScanner::Result::kNotNumber) return false;
    // More obstacles than the list holds are refused, not cut off unseen.
    if (count == kMaxObstacles) {
      tooMany = true;
      return false;
    }
    // In file order: a1, r1, a2, r2, h, D, P (height before depth).
    const Obstacle o{values[0], values[1], values[2], values[3], values[4], values[5], values[6]};
    if (!ObstacleIsPlausible(o)) return false;
    input.obstacles[count++] = o;
    if (!scanner.SkipRestOfLine()) return false;
  }
  return std::ferror(file) == 0;
}

}  // namespace

ObstacleInput ReadObstacleFile(Context& ctx, std::string_view name) {
  ObstacleInput input;
  std::memset(input.title, ' ', kObstacleTitleLength);
  input.title[kObstacleTitleLength] = '\0';

  // A NUL would cut the name short and open another file.
  if (name.empty() || name.find('\0') != std::string_view::npos) {
    ctx.SetStatus(kStatusObstacleFileMissing);
    return input;
  }
  const std::string path(name);
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) {
    ctx.SetStatus(kStatusObstacleFileMissing);
    return input;
  }
  bool tooMany = false;
  const bool ok = ReadObstacles(file, input, tooMany);
  std::fclose(file);
  if (!ok) {
    ctx.SetStatus(tooMany ? kStatusTooManyShelterRecords : kStatusObstacleFileUnreadable);
    input.count = 0;
  }
  return input;
}

}  // namespace kavi::numerics
