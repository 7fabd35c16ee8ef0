// Sequential reading of a text file through a fixed buffer: whole records
// (lines) for headers, and values of lists that run over several records.
// Memory use does not depend on the file or on the length of its lines.
#pragma once

#include <cstddef>
#include <cstdio>

namespace kavi::numerics {

class TextReader {
 public:
  enum class Item { kValue, kEnd, kBad };

  // Reads from an open file; the caller keeps it open and closes it.
  explicit TextReader(std::FILE* file) : file_(file) {}
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  // Reads the next record without its line end (and without a carriage return
  // before it), keeping its first `capacity` characters in `record`; the rest
  // of a longer record is skipped. False at the end of the file.
  bool ReadRecord(char* record, int capacity, int& length);

  // Reads the next value of a free-format list, continuing over line ends and
  // blank records: kValue, kEnd at the end of the file, or kBad when the next
  // field is not a number of the requested kind (or is longer than the buffer).
  Item NextReal(float& value);
  Item NextInteger(int& value);

  // Skips what is left of the current record, up to and including its line end.
  void SkipRestOfRecord();

  // True when reading failed for another reason than the end of the file,
  // also when the file holds a line over 1 MiB or is over 2 GiB long (no file
  // of the engine's is: it is a device, a pipe without end or another kind).
  bool failed() const { return error_; }

  static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;
  static constexpr unsigned long long kMaxFileBytes = 2ULL << 30;

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;

  // Counts `size` bytes just read; false once a bound is passed.
  bool WithinBounds(const char* data, std::size_t size);

  // Moves the unread characters to the front and reads more behind them.
  // False when nothing more could be read.
  bool Refill();
  // Moves past separators, reading more as needed. False at the end of the file.
  bool SkipSeparators();
  // Finds the next field, [begin, end) in the buffer. False at the end of the
  // file; kBad for a field longer than the buffer.
  Item NextField(std::size_t& begin, std::size_t& end);

  std::FILE* file_;
  std::size_t next_ = 0;  // first unread character
  std::size_t end_ = 0;   // end of the characters in the buffer
  bool atEnd_ = false;    // nothing more to read from the file
  bool error_ = false;
  unsigned long long fileBytes_ = 0;
  std::size_t lineBytes_ = 0;  // since the last line end read
  char buffer_[kBufferSize];
};

}  // namespace kavi::numerics
