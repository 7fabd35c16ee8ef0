#include "svg_writer.h"

#include <charconv>
#include <cmath>

namespace kavi::tool {

namespace {
constexpr int kCoordinateDecimals = 2;
constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// The length of the well-formed UTF-8 sequence at the start of text that
// encodes a character XML allows, or 0.
std::size_t XmlCharacterLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return (lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r') ? 1 : 0;
  std::size_t length = 0;
  char32_t code = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, smallest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  const bool excluded = code == 0xFFFE || code == 0xFFFF || code > 0x10FFFF;
  return (code < smallest || surrogate || excluded) ? 0 : length;
}
}  // namespace

std::string SvgNumber(double value) {
  if (!std::isfinite(value)) return "0";
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, kCoordinateDecimals);
  std::string number(text, result.ptr);
  while (number.back() == '0') number.pop_back();
  if (number.back() == '.') number.pop_back();
  return number == "-0" ? "0" : number;
}

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = XmlCharacterLength(text);
    if (length == 0) {
      escaped += kReplacement;
      text.remove_prefix(1);
      continue;
    }
    switch (text[0]) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return escaped;
}

SvgWriter::SvgWriter(double width, double height) {
  document_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  Open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
               {"width", width},
               {"height", height},
               {"viewBox", "0 0 " + SvgNumber(width) + " " + SvgNumber(height)},
               {"font-family", "DejaVu Sans, Verdana, Arial, Helvetica, sans-serif"}});
  Empty("rect", {{"width", width}, {"height", height}, {"fill", "#ffffff"}});
}

void SvgWriter::StartTag(const char* name, const SvgAttributes& attributes) {
  document_.append(2 * open_.size(), ' ');
  document_ += '<';
  document_ += name;
  for (const SvgAttribute& attribute : attributes) {
    document_ += ' ';
    document_ += attribute.name();
    document_ += "=\"";
    document_ += XmlEscaped(attribute.value());
    document_ += '"';
  }
}

void SvgWriter::Open(const char* name, const SvgAttributes& attributes) {
  StartTag(name, attributes);
  document_ += ">\n";
  open_.push_back(name);
}

void SvgWriter::Close() {
  if (open_.empty()) return;
  const char* name = open_.back();
  open_.pop_back();
  document_.append(2 * open_.size(), ' ');
  document_ += "</";
  document_ += name;
  document_ += ">\n";
}

void SvgWriter::Empty(const char* name, const SvgAttributes& attributes) {
  StartTag(name, attributes);
  document_ += "/>\n";
}

void SvgWriter::Text(const char* name, const SvgAttributes& attributes, std::string_view text) {
  StartTag(name, attributes);
  document_ += '>';
  document_ += XmlEscaped(text);
  document_ += "</";
  document_ += name;
  document_ += ">\n";
}

std::string SvgWriter::Finish() {
  while (!open_.empty()) Close();
  return std::move(document_);
}

}  // namespace kavi::tool
