#include "support/calculation_objects.h"

#include <cstdio>

namespace kavi::test {

namespace {

double Read(IKaviSiteResults* results, HRESULT (IKaviSiteResults::*getter)(double*), bool& ok) {
  double value = 0;
  ok = ok && (results->*getter)(&value) == S_OK;
  return value;
}

double Read(IKaviSectorInfo* entry, HRESULT (IKaviSectorInfo::*getter)(double*), bool& ok) {
  double value = 0;
  ok = ok && (entry->*getter)(&value) == S_OK;
  return value;
}

Outcome Finish(HRESULT code) {
  Outcome outcome;
  outcome.code = code;
  if (FAILED(code)) outcome.error = TakeErrorInfo();
  return outcome;
}

}  // namespace

std::string OutcomeText(const Outcome& outcome) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(outcome.code));
  if (SUCCEEDED(outcome.code)) return code;
  if (!outcome.error.present) return std::string(code) + " | no error information";
  return std::string(code) + " | " + outcome.error.description + " | " + outcome.error.source +
         " | " + GuidToString(outcome.error.guid);
}

Outcome Failure(HRESULT code, const std::string& description, const std::string& source,
                const GUID& guid) {
  Outcome outcome;
  outcome.code = code;
  outcome.error.present = true;
  outcome.error.description = description;
  outcome.error.source = source;
  outcome.error.guid = guid;
  return outcome;
}

std::string ProgId(const Server& server, const char* className) {
  return std::string(server.ids->progIdPrefix) + "." + className;
}

ComPtr<IKaviAtlasUser> NewAtlasUser(const Server& server) {
  return Create<IKaviAtlasUser>(ProgId(server, "AtlasUser").c_str(), server.ids->IKaviAtlasUser);
}

ComPtr<IKaviAtlasGenerator> NewAtlasGenerator(const Server& server) {
  return Create<IKaviAtlasGenerator>(ProgId(server, "AtlasGenerator").c_str(),
                                     server.ids->IKaviAtlasGenerator);
}

ComPtr<IKaviRoughnessRoseGenerator> NewRoseGenerator(const Server& server) {
  return Create<IKaviRoughnessRoseGenerator>(ProgId(server, "RoughnessRoseGenerator").c_str(),
                                             server.ids->IKaviRoughnessRoseGenerator);
}

HRESULT SetParameter(IKaviConfigurable* object, const char* id, double value) {
  ComPtr<IKaviConfiguration> configuration;
  HRESULT h = object->get_Configuration(configuration.put());
  if (FAILED(h)) return h;
  ComPtr<IKaviParameter> parameter;
  h = configuration->get_Item(Bstr(id).get(), parameter.put());
  if (FAILED(h)) return h;
  return parameter->put_Value(MakeVariantR8(value));
}

SiteNumbers ReadSite(IKaviSiteResults* results) {
  SiteNumbers site;
  bool ok = true;
  site.locationX = Read(results, &IKaviSiteResults::get_LocationX, ok);
  site.locationY = Read(results, &IKaviSiteResults::get_LocationY, ok);
  site.heightAGL = Read(results, &IKaviSiteResults::get_HeightAGL, ok);
  site.elevation = Read(results, &IKaviSiteResults::get_Elevation, ok);
  site.totalA = Read(results, &IKaviSiteResults::get_TotalWeibullA, ok);
  site.totalK = Read(results, &IKaviSiteResults::get_TotalWeibullK, ok);
  site.totalEnergy = Read(results, &IKaviSiteResults::get_TotalEnergyProduction, ok);
  for (LONG s = 1; ok; ++s) {
    ComPtr<IKaviSectorInfo> entry;
    if (results->SectorResult(s, entry.put()) != S_OK) break;
    site.sectors.push_back(Read(entry.get(), &IKaviSectorInfo::get_WeibullA, ok));
    site.sectors.push_back(Read(entry.get(), &IKaviSectorInfo::get_WeibullK, ok));
    site.sectors.push_back(Read(entry.get(), &IKaviSectorInfo::get_Frequency, ok));
    site.sectors.push_back(Read(entry.get(), &IKaviSectorInfo::get_Energy, ok));
  }
  if (!ok) site.sectors.clear();
  return site;
}

Outcome Predict(IKaviAtlasUser* user, double x, double y, SiteNumbers* site) {
  ComPtr<IKaviSiteResults> results;
  const Outcome outcome = Finish(user->CalculateResults(x, y, results.put()));
  if (site) *site = results ? ReadSite(results.get()) : SiteNumbers{};
  return outcome;
}

Outcome MakeAtlas(IKaviAtlasGenerator* generator, double x, double y, const std::string& atlas) {
  return Finish(generator->CalculateAtlas(x, y, Bstr(atlas.c_str()).get()));
}

Outcome MakeRose(IKaviRoughnessRoseGenerator* generator, const std::string& rose, int sectors,
                 double x, double y) {
  return Finish(generator->CalculateRoughnessRose(Bstr(rose.c_str()).get(), sectors, x, y));
}

}  // namespace kavi::test
