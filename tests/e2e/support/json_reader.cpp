#include "support/json_reader.h"

#include <cstdlib>

namespace kavi::e2e {

namespace {
class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value();
    SkipSpace();
    if (at_ != text_.size()) Fault("text after the document");
    return value;
  }

 private:
  [[noreturn]] void Fault(const std::string& what) const {
    throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
  }
  void SkipSpace() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t'))
      ++at_;
  }
  bool Take(char c) {
    SkipSpace();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fault(std::string("expected '") + c + "'");
  }
  bool Word(const char* word) {
    const std::string w = word;
    if (text_.compare(at_, w.size(), w) != 0) return false;
    at_ += w.size();
    return true;
  }

  JsonValue Value() {
    SkipSpace();
    if (at_ >= text_.size()) Fault("unexpected end");
    JsonValue value;
    const char c = text_[at_];
    if (c == '{') return Object();
    if (c == '[') return Array();
    if (c == '"') {
      value.kind = JsonValue::Kind::String;
      value.text = String();
    } else if (Word("true")) {
      value.kind = JsonValue::Kind::Boolean;
      value.boolean = true;
    } else if (Word("false")) {
      value.kind = JsonValue::Kind::Boolean;
    } else if (Word("null")) {
      value.kind = JsonValue::Kind::Null;
    } else {
      value = Number();
    }
    return value;
  }

  JsonValue Object() {
    JsonValue value;
    value.kind = JsonValue::Kind::Object;
    Expect('{');
    if (Take('}')) return value;
    do {
      SkipSpace();
      const std::string key = String();
      Expect(':');
      if (!value.members.emplace(key, Value()).second) Fault("repeated member " + key);
    } while (Take(','));
    Expect('}');
    return value;
  }

  JsonValue Array() {
    JsonValue value;
    value.kind = JsonValue::Kind::Array;
    Expect('[');
    if (Take(']')) return value;
    do value.items.push_back(Value());
    while (Take(','));
    Expect(']');
    return value;
  }

  std::string String() {
    if (at_ >= text_.size() || text_[at_] != '"') Fault("expected a string");
    ++at_;
    std::string s;
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (static_cast<unsigned char>(c) < 0x20) Fault("control character in a string");
      if (c == '\\') {
        if (at_ >= text_.size()) Fault("unfinished escape");
        c = text_[at_++];
        if (c == 'n')
          c = '\n';
        else if (c == 't')
          c = '\t';
        else if (c == 'u') {
          if (at_ + 4 > text_.size()) Fault("unfinished escape");
          c = static_cast<char>(std::strtol(text_.substr(at_, 4).c_str(), nullptr, 16));
          at_ += 4;
        } else if (c != '"' && c != '\\' && c != '/')
          Fault("unknown escape");
      }
      s += c;
    }
    if (at_ >= text_.size()) Fault("unfinished string");
    ++at_;
    return s;
  }

  // The JSON number grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
  JsonValue Number() {
    const std::size_t start = at_;
    const auto digits = [this] {
      const std::size_t from = at_;
      while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
      return at_ - from;
    };
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    const std::size_t integerStart = at_;
    const std::size_t integerDigits = digits();
    if (integerDigits == 0 || (integerDigits > 1 && text_[integerStart] == '0'))
      Fault("bad number");
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      if (digits() == 0) Fault("bad number");
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (digits() == 0) Fault("bad number");
    }
    JsonValue value;
    value.kind = JsonValue::Kind::Number;
    value.text = text_.substr(start, at_ - start);
    value.number = std::strtod(value.text.c_str(), nullptr);
    return value;
  }

  const std::string& text_;
  std::size_t at_ = 0;
};
}  // namespace

JsonValue ParseJson(const std::string& text) { return Reader(text).Document(); }

}  // namespace kavi::e2e
