#include "delimited_text.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "call_failure.h"

namespace kavi::tool {

namespace {
std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}
}  // namespace

DelimitedText::DelimitedText(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_, std::ios::binary);
  if (!in) Fail(E_FAIL, "could not read " + path_ + ": " + std::strerror(errno));
  content_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) Fail(E_FAIL, "could not read " + path_ + ": " + std::strerror(errno));
  std::string_view rest = content_;
  // A byte-order mark that some spreadsheets put first is not part of the header.
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  std::size_t number = 0;
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines_.push_back({++number, line, end != std::string_view::npos});
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
}

char FindDelimiter(std::string_view header) {
  std::size_t comma = 0, semicolon = 0, tab = 0;
  bool quoted = false;
  for (const char c : header) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    comma += c == ',';
    semicolon += c == ';';
    tab += c == '\t';
  }
  if (semicolon > comma && semicolon >= tab) return ';';
  if (tab > comma && tab > semicolon) return '\t';
  return ',';
}

void SplitFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == delimiter && !quoted) {
      fields.push_back(Trimmed(line.substr(start, i - start)));
      start = i + 1;
    }
  }
  fields.push_back(Trimmed(line.substr(start)));
}

std::string Unquoted(std::string_view field) {
  if (field.size() < 2 || field.front() != '"' || field.back() != '"') return std::string(field);
  std::string text;
  const std::string_view inner = field.substr(1, field.size() - 2);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    text += inner[i];
    if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
  }
  return text;
}

}  // namespace kavi::tool
