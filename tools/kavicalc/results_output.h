// The predicted wind climates of predict, written as an aligned table, one
// JSON document or CSV rows.
#pragma once

#include <cstdio>
#include <vector>

#include "site_outcome.h"

namespace kavi::tool {

// One block per site: position, height, elevation and the all-sector A, k and
// power density, then one aligned row per sector.
void WriteResultsTable(std::FILE* out, const std::vector<SiteOutcome>& sites);
// {"sites": [...]} with every number so that it reads back exactly, and
// "failures": [...] for the sites that failed, when there are any.
void WriteResultsJson(std::FILE* out, const std::vector<SiteOutcome>& sites,
                      const std::vector<SiteFailure>& failures);
// [name,]x,y,height,elevation,sector,bearing,frequency,weibull_a,weibull_k,
// power_density: one row per site and sector, then a row with sector "all"
// for the totals; the name column when any site has a name.
void WriteResultsCsv(std::FILE* out, const std::vector<SiteOutcome>& sites);

}  // namespace kavi::tool
