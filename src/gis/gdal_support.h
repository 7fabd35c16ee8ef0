// Small helpers around GDAL/OGR: registration, owned handles, and the text of
// the last error GDAL reported, for messages that say what went wrong.
#pragma once

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace kavi::gis {

// A GIS input or output that cannot be used; the message names the file and
// what is wrong with it, in one line.
class GisError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Registers GDAL's drivers once and keeps GDAL's own messages off stderr
// (they are collected and reported through GisError instead).
void InitGdal();

// The last message GDAL reported, or fallback when it reported none.
std::string LastGdalMessage(const std::string& fallback);

struct DatasetCloser {
  void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

// "EPSG:N" of a spatial reference, or empty when it has no EPSG code.
std::string EpsgName(const OGRSpatialReference& reference);

// The spatial reference as WKT, for GDAL's utilities.
std::string WktOf(const OGRSpatialReference& reference);

// A spatial reference from "EPSG:N" or any other definition GDAL accepts;
// GisError naming what when it cannot be read.
OGRSpatialReference SpatialReferenceFrom(const std::string& definition, const std::string& what);

}  // namespace kavi::gis
