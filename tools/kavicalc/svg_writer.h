// A small builder of SVG documents: nested elements with attributes and text,
// escaped so that any text gives well-formed XML, and numbers written the
// same way on every machine whatever the locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavi::tool {

// A coordinate or length with at most two decimals, trailing zeros dropped
// ("12.5", "-3", "0"); a value that is not finite is written as 0, so that the
// document always stays valid.
std::string SvgNumber(double value);

// The text as XML character data or attribute value: markup characters become
// entities, and what XML cannot hold (control characters, bytes that are not
// UTF-8) becomes the replacement character U+FFFD.
std::string XmlEscaped(std::string_view text);

class SvgAttribute {
 public:
  SvgAttribute(const char* name, std::string value) : name_(name), value_(std::move(value)) {}
  SvgAttribute(const char* name, const char* value) : name_(name), value_(value) {}
  SvgAttribute(const char* name, double value) : name_(name), value_(SvgNumber(value)) {}

  const char* name() const { return name_; }
  const std::string& value() const { return value_; }

 private:
  const char* name_;
  std::string value_;
};

using SvgAttributes = std::vector<SvgAttribute>;

class SvgWriter {
 public:
  // Starts the document: the XML declaration and the root element of the
  // given size in pixels, with a white background over the whole of it.
  SvgWriter(double width, double height);

  // An element that holds others, until the matching Close.
  void Open(const char* name, const SvgAttributes& attributes = {});
  void Close();
  // An element without content.
  void Empty(const char* name, const SvgAttributes& attributes);
  // An element holding only text.
  void Text(const char* name, const SvgAttributes& attributes, std::string_view text);

  // Closes every element still open, the root included, and hands out the document.
  std::string Finish();

 private:
  void StartTag(const char* name, const SvgAttributes& attributes);

  std::string document_;
  std::vector<const char*> open_;
};

}  // namespace kavi::tool
