#include "parameter_output.h"

#include "json_text.h"
#include "text_table.h"

namespace kavi::tool {

void WriteParameterTable(std::FILE* out, const std::vector<ParameterRow>& rows) {
  std::vector<TableRow> table = {{"ID", "Value", "Default", "Minimum", "Maximum"}};
  for (const ParameterRow& row : rows) {
    table.push_back({row.id, ParameterValueText(row.value), ParameterValueText(row.defaultValue),
                     ParameterValueText(row.minimum), ParameterValueText(row.maximum)});
  }
  WriteTable(out, table, "", 1);
}

void WriteParameterJson(std::FILE* out, const std::vector<ParameterRow>& rows) {
  std::fprintf(out, "{\"parameters\": [");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ParameterRow& row = rows[i];
    std::fprintf(out,
                 "%s\n  {\"id\": %s, \"value\": %s, \"default\": %s, \"minimum\": %s, "
                 "\"maximum\": %s}",
                 i == 0 ? "" : ",", JsonString(row.id).c_str(),
                 ParameterValueJson(row.value).c_str(),
                 ParameterValueJson(row.defaultValue).c_str(),
                 ParameterValueJson(row.minimum).c_str(), ParameterValueJson(row.maximum).c_str());
  }
  std::fprintf(out, "%s]}\n", rows.empty() ? "" : "\n");
}

}  // namespace kavi::tool
