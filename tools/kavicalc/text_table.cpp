#include "text_table.h"

#include <algorithm>

namespace kavi::tool {

namespace {
// Width on screen: UTF-8 continuation bytes take no column.
std::size_t DisplayWidth(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}
}  // namespace

void WriteTable(std::FILE* out, const std::vector<TableRow>& rows, const std::string& indent,
                std::size_t leftAligned) {
  WriteTable(out, rows, indent, std::vector<bool>(leftAligned, true));
}

void WriteTable(std::FILE* out, const std::vector<TableRow>& rows, const std::string& indent,
                const std::vector<bool>& textColumns) {
  std::vector<std::size_t> widths;
  for (const TableRow& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (std::size_t c = 0; c < row.size(); ++c)
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  }
  for (const TableRow& row : rows) {
    std::string line = indent;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string padding(widths[c] - DisplayWidth(row[c]), ' ');
      if (c > 0) line += "  ";
      const bool text = c < textColumns.size() && textColumns[c];
      line += text ? row[c] + padding : padding + row[c];
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::fprintf(out, "%s\n", line.c_str());
  }
}

}  // namespace kavi::tool
