// An aligned text table: a header row and data rows, each column padded to
// its widest cell; text columns left-aligned, number columns right-aligned.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace kavi::tool {

using TableRow = std::vector<std::string>;

// Writes the rows (the first is the header) with indent before each line; the
// first leftAligned columns hold text, the others numbers.
void WriteTable(std::FILE* out, const std::vector<TableRow>& rows, const std::string& indent,
                std::size_t leftAligned);
// The same with the text columns marked one by one: column c is left-aligned
// when textColumns[c] is true (columns beyond the list hold numbers).
void WriteTable(std::FILE* out, const std::vector<TableRow>& rows, const std::string& indent,
                const std::vector<bool>& textColumns);

}  // namespace kavi::tool
