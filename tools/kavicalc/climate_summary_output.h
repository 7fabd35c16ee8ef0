// The summary of climate as an aligned table or one JSON document.
#pragma once

#include <cstdio>

#include "climate_summary.h"

namespace kavi::tool {

void WriteClimateSummaryTable(std::FILE* out, const ClimateSummary& summary);

// {"file", "input", "title", "latitude", "longitude", "height", "height_source",
//  "sector_count", "bins", "bin_upper_limits", "calm_limit", "records": {"read",
//  "outside_period", "missing", "out_of_range", "used", "calm"}, "data_recovery",
//  "calm_share", "first_time", "last_time", "weibull_fit", "all": {...},
//  "sectors": [{"sector", "bearing", "count", "frequency", "mean_speed",
//  "power_density", "weibull_a", "weibull_k"}, ...]}
void WriteClimateSummaryJson(std::FILE* out, const ClimateSummary& summary);

}  // namespace kavi::tool
