// Text files of delimited records (CSV and its relatives): the whole file in
// memory, split into lines that keep their numbers, and each line into
// fields by a delimiter found from the header.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavi::tool {

struct TextLine {
  std::size_t number;     // from 1
  std::string_view text;  // without the line end
  bool ended;             // false for a last line that has no line end
};

class DelimitedText {
 public:
  // Reads the whole file; CallFailure "could not read PATH: REASON" when it
  // cannot be opened or read.
  explicit DelimitedText(std::string path);

  const std::string& path() const { return path_; }
  bool empty() const { return lines_.empty(); }
  const std::vector<TextLine>& lines() const { return lines_; }

 private:
  std::string path_;
  std::string content_;
  std::vector<TextLine> lines_;
};

// The delimiter of a header line: whichever of comma, semicolon and tab
// occurs most often outside quotes (comma when none does).
char FindDelimiter(std::string_view header);

// The fields of a line, blanks around each trimmed; a field in double quotes
// may hold the delimiter, and "" inside it stands for one quote.
void SplitFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields);

// A field with its surrounding quotes removed (and "" made into ").
std::string Unquoted(std::string_view field);

}  // namespace kavi::tool
