// The registry in memory and its escaped text form.
#include "registry_tree.h"

#include <cstdio>

namespace kavi::runtime {

namespace {

constexpr std::string_view kHeader = "Kavi registry 1";
constexpr std::string_view kHeaderPrefix = "Kavi registry ";
constexpr std::string_view kEnd = "END";

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

bool SameName(std::string_view a, std::string_view b) { return Fold(a) == Fold(b); }

bool IsControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (IsControl(c)) {
          char escaped[5];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads a quoted string starting at line[at]; moves at past the closing quote.
std::optional<std::string> ReadQuoted(std::string_view line, std::size_t& at, std::string& reason) {
  if (at >= line.size() || line[at] != '"') {
    reason = "a quoted text was expected";
    return std::nullopt;
  }
  std::string text;
  for (++at; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '"') {
      ++at;
      return text;
    }
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++at >= line.size()) break;
    switch (line[at]) {
      case '\\':
        text += '\\';
        break;
      case '"':
        text += '"';
        break;
      case 'n':
        text += '\n';
        break;
      case 'r':
        text += '\r';
        break;
      case 't':
        text += '\t';
        break;
      case 'x': {
        const int high = at + 1 < line.size() ? HexDigit(line[at + 1]) : -1;
        const int low = at + 2 < line.size() ? HexDigit(line[at + 2]) : -1;
        if (high < 0 || low < 0) {
          reason = "\\x must be followed by two hexadecimal digits";
          return std::nullopt;
        }
        text += static_cast<char>(high * 16 + low);
        at += 2;
        break;
      }
      default:
        reason = std::string("unknown escape \\") + line[at];
        return std::nullopt;
    }
  }
  reason = "unterminated quoted text";
  return std::nullopt;
}

void SkipSpaces(std::string_view line, std::size_t& at) {
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
}

bool IsBlankLine(std::string_view line) {
  std::size_t at = 0;
  SkipSpaces(line, at);
  return at == line.size();
}

}  // namespace

bool IsValidKeyPath(std::string_view path) {
  if (path.empty() || path.front() == '\\' || path.back() == '\\') return false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsControl(path[i])) return false;
    if (path[i] == '\\' && path[i + 1] == '\\') return false;  // empty component
  }
  return true;
}

const std::string* RegistryKey::Find(std::string_view name) const {
  if (name.empty()) return defaultValue ? &*defaultValue : nullptr;
  for (const auto& [valueName, data] : values)
    if (SameName(valueName, name)) return &data;
  return nullptr;
}

bool RegistryKey::Set(std::string_view name, std::string_view data) {
  if (name.empty()) {
    if (defaultValue == data) return false;
    defaultValue = std::string(data);
    return true;
  }
  for (auto& [valueName, value] : values) {
    if (!SameName(valueName, name)) continue;
    if (value == data) return false;
    value = data;
    return true;
  }
  values.emplace_back(name, data);
  return true;
}

const RegistryKey* RegistryTree::Find(std::string_view path) const {
  const auto found = keys_.find(Fold(path));
  return found == keys_.end() ? nullptr : &found->second;
}

RegistryKey& RegistryTree::Create(std::string_view path, bool& created) {
  created = false;
  RegistryKey* key = nullptr;
  for (std::size_t end = 0; end != std::string_view::npos;) {
    end = path.find('\\', end + 1);
    const std::string_view prefix = path.substr(0, end);
    auto [it, inserted] = keys_.try_emplace(Fold(prefix));
    if (inserted) {
      it->second.path = std::string(prefix);
      created = true;
    }
    key = &it->second;
  }
  return *key;
}

bool RegistryTree::DeleteTree(std::string_view path) {
  const std::string folded = Fold(path);
  const auto first = keys_.find(folded);
  if (first == keys_.end()) return false;
  // Descendants sort directly after their key's "path\" prefix.
  auto last = keys_.lower_bound(folded + '\\');
  while (last != keys_.end() && last->first.compare(0, folded.size() + 1, folded + '\\') == 0)
    ++last;
  keys_.erase(first);
  keys_.erase(keys_.lower_bound(folded + '\\'), last);
  return true;
}

std::string RegistryTree::Serialize() const {
  std::string out(kHeader);
  out +=
      "\n; HKEY_CLASSES_ROOT: [key path], then its values, @=\"default\" and \"name\"=\"value\".\n"
      "; In quoted text \\\\ \\\" \\n \\r \\t and \\xHH stand for the escaped character.\n";
  for (const auto& [folded, key] : keys_) {
    out += "\n[" + key.path + "]\n";
    if (key.defaultValue) {
      out += "@=";
      AppendQuoted(out, *key.defaultValue);
      out += '\n';
    }
    for (const auto& [name, data] : key.values) {
      AppendQuoted(out, name);
      out += '=';
      AppendQuoted(out, data);
      out += '\n';
    }
  }
  out += "\n";
  out += kEnd;
  out += "\n";
  return out;
}

std::optional<RegistryParseError> RegistryTree::Parse(std::string_view text) {
  keys_.clear();
  RegistryKey* key = nullptr;
  bool ended = false;
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);

    if (number == 1) {
      if (line == kHeader) continue;
      if (line.substr(0, kHeaderPrefix.size()) == kHeaderPrefix)
        return RegistryParseError{1, "unsupported format version"};
      return RegistryParseError{1, "not a registry file"};
    }
    if (ended) {
      if (IsBlankLine(line)) continue;
      return RegistryParseError{number, "text after the END line"};
    }
    if (IsBlankLine(line) || line.front() == ';') continue;
    if (line == kEnd) {
      ended = true;
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 2)
        return RegistryParseError{number, "key line without closing ]"};
      const std::string_view path = line.substr(1, line.size() - 2);
      if (!IsValidKeyPath(path)) return RegistryParseError{number, "invalid key path"};
      bool created = false;
      key = &Create(path, created);
      continue;
    }
    if (line.front() != '@' && line.front() != '"')
      return RegistryParseError{number, "unexpected text"};
    if (!key) return RegistryParseError{number, "value before the first key"};
    std::size_t at = 0;
    std::string reason;
    std::string name;
    if (line.front() == '@') {
      at = 1;
    } else {
      auto quoted = ReadQuoted(line, at, reason);
      if (!quoted) return RegistryParseError{number, reason};
      if (quoted->empty()) return RegistryParseError{number, "empty value name (use @)"};
      name = std::move(*quoted);
    }
    SkipSpaces(line, at);
    if (at >= line.size() || line[at] != '=') return RegistryParseError{number, "= expected"};
    ++at;
    SkipSpaces(line, at);
    auto data = ReadQuoted(line, at, reason);
    if (!data) return RegistryParseError{number, reason};
    SkipSpaces(line, at);
    if (at != line.size()) return RegistryParseError{number, "unexpected text after the value"};
    key->Set(name, *data);
  }
  if (number == 0) return RegistryParseError{0, "the file is empty"};
  if (!ended) return RegistryParseError{0, "the END line is missing"};
  return std::nullopt;
}

}  // namespace kavi::runtime
