// Reading option values: numbers, positions, heights, sector counts,
// parameter settings and output formats. Every refusal is a usage error that
// says what was expected, with an example.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavi::tool {

struct Position {
  double x;
  double y;
};

struct Setting {
  std::string id;
  std::string value;
};

// True when single precision holds the value (the engine computes in it).
bool FitsSinglePrecision(double value);

// A finite decimal number filling the whole text (surrounding blanks allowed).
std::optional<double> ParseNumber(std::string_view text);

// "X,Y" in map units.
Position ParsePosition(const std::string& text, const std::string& command);
// A height above ground in metres, greater than zero.
double ParseHeight(const std::string& text, const std::string& command);
// A whole number of direction sectors from 1 to 36.
int ParseSectorCount(const std::string& text, const std::string& command);
// "ID=VALUE"; the value is passed to the server as text, which converts it.
Setting ParseSetting(const std::string& text, const std::string& command);
std::vector<Setting> ParseSettings(const std::vector<std::string>& texts,
                                   const std::string& command);
// One of the allowed output formats; the first one is the default.
std::string ParseFormat(const std::string* text, const std::vector<std::string>& allowed,
                        const std::string& command);

}  // namespace kavi::tool
