// Calculating objects of either edition as a host makes them (activation by
// ProgID), their configuration, and the numbers a host reads back from a
// prediction, gathered so that two predictions compare as a whole.
#pragma once

#include <string>
#include <vector>

#include "support/host.h"

namespace kavi::test {

// "<prefix>.<className>", e.g. "KAVIBASE.AtlasUser".
std::string ProgId(const Server& server, const char* className);

ComPtr<IKaviAtlasUser> NewAtlasUser(const Server& server);
ComPtr<IKaviAtlasGenerator> NewAtlasGenerator(const Server& server);
ComPtr<IKaviRoughnessRoseGenerator> NewRoseGenerator(const Server& server);

// Puts a configuration parameter of a calculating object; the put's result.
HRESULT SetParameter(IKaviConfigurable* object, const char* id, double value);

// Everything a host reads from a site results object, in one comparable value.
struct SiteNumbers {
  double locationX = 0, locationY = 0, heightAGL = 0, elevation = 0;
  double totalA = 0, totalK = 0, totalEnergy = 0;
  std::vector<double> sectors;  // per sector: A, k, frequency, energy
  bool operator==(const SiteNumbers&) const = default;
};
// All properties and every sector entry; an empty sector list when a getter fails.
SiteNumbers ReadSite(IKaviSiteResults* results);

// The result of a calculation and the error information it left.
struct Outcome {
  HRESULT code = S_OK;
  ErrorDetails error;
};
// One line a test can compare and print: "0x800403E8 | description | source |
// {GUID}" for a failure, the bare code for a success.
std::string OutcomeText(const Outcome& outcome);
// The outcome a failure should have.
Outcome Failure(HRESULT code, const std::string& description, const std::string& source,
                const GUID& guid);

Outcome Predict(IKaviAtlasUser* user, double x, double y, SiteNumbers* site = nullptr);
Outcome MakeAtlas(IKaviAtlasGenerator* generator, double x, double y, const std::string& atlas);
Outcome MakeRose(IKaviRoughnessRoseGenerator* generator, const std::string& rose, int sectors,
                 double x, double y);

}  // namespace kavi::test
