// A small JSON reader for checking the tool's JSON output: it accepts exactly
// the JSON grammar and keeps every number as the double it denotes.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kavi::e2e {

struct JsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;  // a string's value; for a number, its literal text
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  // Member or element access that throws std::out_of_range when absent.
  const JsonValue& operator[](const std::string& key) const { return members.at(key); }
  const JsonValue& operator[](std::size_t index) const { return items.at(index); }
};

// Parses one complete document (surrounding white space allowed); throws
// std::runtime_error naming the offset of the first fault.
JsonValue ParseJson(const std::string& text);

}  // namespace kavi::e2e
