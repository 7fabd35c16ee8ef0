#include "gis/gdal_support.h"

#include <cpl_error.h>

#include <mutex>

namespace kavi::gis {

void InitGdal() {
  static std::once_flag once;
  std::call_once(once, [] {
    GDALAllRegister();
    CPLSetErrorHandler(CPLQuietErrorHandler);
  });
}

std::string LastGdalMessage(const std::string& fallback) {
  const char* message = CPLGetLastErrorMsg();
  std::string text = message && *message ? message : fallback;
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  CPLErrorReset();
  return text;
}

std::string EpsgName(const OGRSpatialReference& reference) {
  OGRSpatialReference copy(reference);
  const char* target = copy.IsProjected() ? "PROJCS" : copy.IsGeographic() ? "GEOGCS" : nullptr;
  const char* authority = copy.GetAuthorityName(target);
  const char* code = copy.GetAuthorityCode(target);
  if (!authority || !code) {
    copy.AutoIdentifyEPSG();
    authority = copy.GetAuthorityName(target);
    code = copy.GetAuthorityCode(target);
  }
  if (!authority || !code || std::string(authority) != "EPSG") return "";
  return std::string("EPSG:") + code;
}

std::string WktOf(const OGRSpatialReference& reference) {
  char* text = nullptr;
  reference.exportToWkt(&text);
  std::string wkt = text ? text : "";
  CPLFree(text);
  return wkt;
}

OGRSpatialReference SpatialReferenceFrom(const std::string& definition, const std::string& what) {
  InitGdal();
  OGRSpatialReference reference;
  reference.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  if (reference.SetFromUserInput(definition.c_str()) != OGRERR_NONE)
    throw GisError(what + " '" + definition + "' is not a coordinate reference system GDAL knows");
  return reference;
}

}  // namespace kavi::gis
