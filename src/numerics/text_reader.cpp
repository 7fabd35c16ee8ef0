#include "numerics/text_reader.h"

#include <cstring>

#include "numerics/free_format.h"

namespace kavi::numerics {

bool TextReader::WithinBounds(const char* data, std::size_t size) {
  fileBytes_ += size;
  // Lines that start and end within these bytes are shorter than the buffer;
  // only the line going on from before and the one going on after count.
  const auto* first = static_cast<const char*>(std::memchr(data, '\n', size));
  if (!first) {
    lineBytes_ += size;
  } else {
    if (lineBytes_ + static_cast<std::size_t>(first - data) > kMaxLineBytes) return false;
    std::size_t last = size;
    while (data[last - 1] != '\n') --last;
    lineBytes_ = size - last;
  }
  return fileBytes_ <= kMaxFileBytes && lineBytes_ <= kMaxLineBytes;
}

bool TextReader::Refill() {
  if (atEnd_) return false;
  std::memmove(buffer_, buffer_ + next_, end_ - next_);
  end_ -= next_;
  next_ = 0;
  const std::size_t wanted = kBufferSize - end_;
  const std::size_t got = std::fread(buffer_ + end_, 1, wanted, file_);
  if (got < wanted) {
    atEnd_ = true;
    error_ = std::ferror(file_) != 0;
  }
  if (!WithinBounds(buffer_ + end_, got)) {
    // A device or pipe without end, or a file of another kind: reading stops
    // here as after a read error.
    atEnd_ = true;
    error_ = true;
    return false;
  }
  end_ += got;
  return got > 0;
}

bool TextReader::ReadRecord(char* record, int capacity, int& length) {
  if (next_ == end_ && !Refill()) return false;
  length = 0;
  bool lastWasReturn = false;
  for (;;) {
    const char* start = buffer_ + next_;
    const auto* lineEnd = static_cast<const char*>(std::memchr(start, '\n', end_ - next_));
    const std::size_t count = lineEnd ? static_cast<std::size_t>(lineEnd - start) : end_ - next_;
    if (count > 0) {
      const std::size_t room = static_cast<std::size_t>(capacity - length);
      const std::size_t kept = count < room ? count : room;
      std::memcpy(record + length, start, kept);
      length += static_cast<int>(kept);
      lastWasReturn = start[count - 1] == '\r';
    }
    next_ += count;
    if (lineEnd) {
      ++next_;
      break;
    }
    if (!Refill()) break;
  }
  // A carriage return before the line end belongs to the line end.
  if (lastWasReturn && length > 0 && record[length - 1] == '\r') --length;
  return true;
}

void TextReader::SkipRestOfRecord() {
  for (;;) {
    const auto* lineEnd =
        static_cast<const char*>(std::memchr(buffer_ + next_, '\n', end_ - next_));
    if (lineEnd) {
      next_ = static_cast<std::size_t>(lineEnd - buffer_) + 1;
      return;
    }
    next_ = end_;
    if (!Refill()) return;
  }
}

bool TextReader::SkipSeparators() {
  for (;;) {
    while (next_ != end_ && IsFieldSeparator(buffer_[next_])) ++next_;
    if (next_ != end_) return true;
    if (!Refill()) return false;
  }
}

TextReader::Item TextReader::NextField(std::size_t& begin, std::size_t& end) {
  if (!SkipSeparators()) return Item::kEnd;
  std::size_t stop = next_;
  for (;;) {
    while (stop != end_ && !IsFieldSeparator(buffer_[stop])) ++stop;
    if (stop != end_ || atEnd_) break;
    // The field may go on beyond the buffer: keep it and read more.
    if (next_ == 0 && end_ == kBufferSize) {
      next_ = end_;
      return Item::kBad;
    }
    const std::size_t offset = stop - next_;
    const bool more = Refill();
    stop = next_ + offset;
    if (!more) break;
  }
  begin = next_;
  end = stop;
  next_ = stop;
  return Item::kValue;
}

TextReader::Item TextReader::NextReal(float& value) {
  if (!SkipSeparators()) return Item::kEnd;
  // Most fields are short decimals, read in the one pass that finds their end;
  // one that reaches the end of the buffer may go on in the next read.
  const char* const field = buffer_ + next_;
  const char* const stop = ScanShortReal(field, buffer_ + end_, value);
  if (stop && (stop != buffer_ + end_ || atEnd_)) {
    next_ += static_cast<std::size_t>(stop - field);
    return Item::kValue;
  }
  std::size_t begin = 0;
  std::size_t end = 0;
  const Item item = NextField(begin, end);
  if (item != Item::kValue) return item;
  return ParseReal(buffer_ + begin, buffer_ + end, value) ? Item::kValue : Item::kBad;
}

TextReader::Item TextReader::NextInteger(int& value) {
  std::size_t begin = 0;
  std::size_t end = 0;
  const Item item = NextField(begin, end);
  if (item != Item::kValue) return item;
  return ParseInteger(buffer_ + begin, buffer_ + end, value) ? Item::kValue : Item::kBad;
}

}  // namespace kavi::numerics
