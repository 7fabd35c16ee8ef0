// The predicted wind climate of one site, read from its site results object.
#pragma once

#include <kavi/identities.h>
#include <kavi/interfaces.h>

#include <string>
#include <vector>

#include "power_curve.h"

namespace kavi::tool {

struct SectorOutcome {
  double frequency;  // percent
  double weibullA;   // m/s
  double weibullK;
  double powerDensity;  // W/m²
  double meanSpeed;     // m/s
  double aep;           // MWh per year; not a number without a power curve
};

struct SiteOutcome {
  double x;
  double y;
  double height;
  double elevation;
  double weibullA;
  double weibullK;
  double powerDensity;
  double meanSpeed;  // m/s: the frequency-weighted mean of the sectors' mean speeds
  std::vector<SectorOutcome> sectors;  // sector 1 first
  double aep;             // MWh per year, all sectors; not a number without a power curve
  double capacityFactor;  // aep over the rated power all year, 0 … 1
  bool HasEnergyYield() const;
  std::string name;                   // from the sites file; may be empty
  std::vector<std::string> warnings;  // what the user must know about this result
};

// A site whose calculation failed, with what the server said.
struct SiteFailure {
  std::size_t number;  // of the site in the order given, from 1
  std::string name;
  double x;
  double y;
  double height;
  std::string message;  // "SOURCE: DESCRIPTION (0xHRESULT)"
};

// The results as the object gives them, with the mean speeds; no energy yield yet.
SiteOutcome ReadSiteOutcome(IKaviSiteResults* results, const Identities& ids);

// Fills the energy yield of the site and its sectors for the power curve.
void AddEnergyYield(SiteOutcome& site, const PowerCurve& curve);

// Centre bearing of sector (numbered from 1) of count sectors, degrees from north.
double SectorBearing(std::size_t sector, std::size_t count);

}  // namespace kavi::tool
