#include "file_options.h"

#include <cstdio>

#include "usage_error.h"

namespace kavi::tool {

namespace {
// The name with every byte outside printable ASCII shown as \xHH.
std::string Escaped(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f) {
      shown += c;
    } else {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02X", byte);
      shown += code;
    }
  }
  return shown;
}

// The length of the UTF-8 sequence starting at text[i], or 0 when it is not
// well-formed.
std::size_t SequenceLength(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return length;
}
}  // namespace

bool IsValidUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

const std::string* OptionalFile(const ParsedOptions& options, const std::string& name) {
  const std::string* file = options.Find(name);
  if (file && file->empty()) throw UsageError(name + " needs a file name", options.command());
  if (file && !IsValidUtf8(*file))
    throw UsageError(name + ": the file name '" + Escaped(*file) +
                         "' is not valid UTF-8; rename the file or use a link with a UTF-8 name",
                     options.command());
  return file;
}

const std::string& RequiredFile(const ParsedOptions& options, const std::string& name) {
  options.Required(name, "FILE");
  return *OptionalFile(options, name);
}

}  // namespace kavi::tool
