// Numbers in free format, as the text input files write them: values separated
// by blanks, tabs or commas (and line ends where a list runs over several
// lines); a real with or without a decimal point and with an optional E or D
// exponent; an integer as digits alone.
#pragma once

namespace kavi::numerics {

// Blank, tab, comma, carriage return or line feed.
inline bool IsFieldSeparator(char c) {
  // One test for all characters above the comma, which are never separators.
  return static_cast<unsigned char>(c) <= ',' &&
         (c == ' ' || c == ',' || c == '\t' || c == '\n' || c == '\r');
}

// Reads the whole of [begin, end) as a real, rounded once to single
// precision. False when the text is not a number or its value lies beyond the
// single-precision range (a value below it becomes 0).
bool ParseReal(const char* begin, const char* end, float& value);

// The quick reading of the commonest field, an optionally signed short
// decimal such as "-1234.5", taken from `begin` up to the next separator or
// `end`: returns where the field stops and its value, exactly as ParseReal
// gives it, or nullptr for any field of another form (which ParseReal then
// reads in full).
const char* ScanShortReal(const char* begin, const char* end, float& value);

// Reads the whole of [begin, end) as an optionally signed decimal integer
// without point or exponent. False when it is not one or does not fit 32 bits.
bool ParseInteger(const char* begin, const char* end, int& value);

// Reads the values of one record (one line already in memory) in turn.
class FieldReader {
 public:
  FieldReader(const char* text, int length) : next_(text), end_(text + length) {}
  // False when the record has no further value or the next one is not a
  // number of the requested kind.
  bool NextReal(float& value);
  bool NextInteger(int& value);

 private:
  // The next field, or false when only separators remain.
  bool NextField(const char*& begin, const char*& end);

  const char* next_;
  const char* end_;
};

}  // namespace kavi::numerics
