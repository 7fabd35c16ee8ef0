#include "parameter_output.h"

#include "json_text.h"
#include "parameters/parameter_table.h"
#include "text_table.h"

namespace kavi::tool {

namespace {
// Unit and meaning of a parameter from the parameter table the tool was built
// with; empty for an ID the table does not hold.
struct Description {
  std::string unit;
  std::string meaning;
};

Description DescriptionOf(const std::string& id) {
  const parameters::ParameterRow* row = parameters::FindNamed(id);
  if (!row) return {};
  return {std::string(row->unit), std::string(row->meaning)};
}
}  // namespace

void WriteParameterTable(std::FILE* out, const std::vector<ParameterRow>& rows) {
  std::vector<TableRow> table = {
      {"ID", "Value", "Default", "Minimum", "Maximum", "Unit", "Meaning"}};
  for (const ParameterRow& row : rows) {
    const Description d = DescriptionOf(row.id);
    table.push_back({row.id, ParameterValueText(row.value), ParameterValueText(row.defaultValue),
                     ParameterValueText(row.minimum), ParameterValueText(row.maximum),
                     d.unit.empty() ? "-" : d.unit, d.meaning});
  }
  WriteTable(out, table, "", {true, false, false, false, false, true, true});
}

void WriteParameterJson(std::FILE* out, const std::vector<ParameterRow>& rows) {
  std::fprintf(out, "{\"parameters\": [");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ParameterRow& row = rows[i];
    const Description d = DescriptionOf(row.id);
    std::fprintf(out,
                 "%s\n  {\"id\": %s, \"value\": %s, \"default\": %s, \"minimum\": %s, "
                 "\"maximum\": %s, \"unit\": %s, \"meaning\": %s}",
                 i == 0 ? "" : ",", JsonString(row.id).c_str(),
                 ParameterValueJson(row.value).c_str(),
                 ParameterValueJson(row.defaultValue).c_str(),
                 ParameterValueJson(row.minimum).c_str(), ParameterValueJson(row.maximum).c_str(),
                 JsonString(d.unit).c_str(), JsonString(d.meaning).c_str());
  }
  std::fprintf(out, "%s]}\n", rows.empty() ? "" : "\n");
}

}  // namespace kavi::tool
