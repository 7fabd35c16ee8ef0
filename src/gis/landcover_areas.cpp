#include "gis/landcover_areas.h"

#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>

#include "gis/gdal_support.h"

namespace kavi::gis {

namespace {

double SignedArea(const Polyline& ring) {
  double twice = 0;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i)
    twice += ring[i].x * ring[i + 1].y - ring[i + 1].x * ring[i].y;
  return 0.5 * twice;
}

Polyline LocalRing(const OGRLinearRing& ring, const MapFrame& frame, bool outer) {
  Polyline points;
  for (int i = 0; i < ring.getNumPoints(); ++i)
    points.push_back({ring.getX(i) - frame.originX, ring.getY(i) - frame.originY});
  if (points.size() >= 2 &&
      (points.front().x != points.back().x || points.front().y != points.back().y))
    points.push_back(points.front());
  if ((SignedArea(points) > 0) != outer) std::reverse(points.begin(), points.end());
  return points;
}

void AddPolygons(const OGRGeometry* geometry, double z0, const MapFrame& frame,
                 std::vector<LandCoverArea>& areas) {
  if (!geometry) return;
  const auto type = wkbFlatten(geometry->getGeometryType());
  if (type == wkbMultiPolygon || type == wkbGeometryCollection) {
    for (const OGRGeometry* part : *geometry->toGeometryCollection())
      AddPolygons(part, z0, frame, areas);
    return;
  }
  if (type != wkbPolygon) return;
  const OGRPolygon& polygon = *geometry->toPolygon();
  if (polygon.IsEmpty()) return;
  LandCoverArea area;
  area.z0 = z0;
  area.rings.push_back(LocalRing(*polygon.getExteriorRing(), frame, true));
  for (int i = 0; i < polygon.getNumInteriorRings(); ++i)
    area.rings.push_back(LocalRing(*polygon.getInteriorRing(i), frame, false));
  OGREnvelope e;
  polygon.getEnvelope(&e);
  area.envelope = {e.MinX - frame.originX, e.MinY - frame.originY, e.MaxX - frame.originX,
                   e.MaxY - frame.originY};
  if (area.rings.front().size() >= 4) areas.push_back(std::move(area));
}

std::string FieldNames(OGRFeatureDefn& definition) {
  std::string names;
  for (int i = 0; i < definition.GetFieldCount(); ++i)
    names += (i ? ", " : "") + std::string(definition.GetFieldDefn(i)->GetNameRef());
  return names.empty() ? "none" : names;
}

std::vector<LandCoverArea> ReadPolygons(const LandCoverRequest& request, const MapFrame& frame) {
  const std::string& path = request.path;
  DatasetPtr dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (!dataset || dataset->GetLayerCount() < 1)
    throw GisError(path + " is not a land-cover layer OGR can read (" +
                   LastGdalMessage("no vector layer") + ")");
  OGRLayer& layer = *dataset->GetLayer(0);
  OGRFeatureDefn& definition = *layer.GetLayerDefn();
  const std::string field = request.z0Field ? *request.z0Field : *request.classField;
  const int index = definition.GetFieldIndex(field.c_str());
  if (index < 0)
    throw GisError(path + ": the layer " + layer.GetName() + " has no field '" + field +
                   "' (its fields: " + FieldNames(definition) + ")");

  std::unique_ptr<OGRCoordinateTransformation> transform;
  if (const OGRSpatialReference* own = layer.GetSpatialRef(); own && !own->IsSame(frame.crs)) {
    OGRSpatialReference from(*own);
    from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    transform.reset(OGRCreateCoordinateTransformation(&from, frame.crs));
    if (!transform)
      throw GisError(path + ": cannot transform its CRS into the map's: " +
                     LastGdalMessage("no transformation"));
  }
  std::vector<LandCoverArea> areas;
  for (auto& feature : layer) {
    const std::string where = path + " feature " + std::to_string(feature->GetFID());
    double z0 = 0;
    if (!feature->IsFieldSetAndNotNull(index))
      throw GisError(where + ": the field '" + field + "' is empty");
    const std::string value = feature->GetFieldAsString(index);
    if (request.z0Field) {
      char* end = nullptr;
      z0 = std::strtod(value.c_str(), &end);
      if (end == value.c_str() || *end != '\0' || !std::isfinite(z0))
        throw GisError(where + ": the z0 '" + value + "' is not a number");
      if (z0 < 0) throw GisError(where + ": the z0 " + value + " is negative");
    } else {
      z0 = ClassZ0(*request.classes, value, where);
    }
    OGRGeometry* geometry = feature->GetGeometryRef();
    if (!geometry) continue;
    if (transform && geometry->transform(transform.get()) != OGRERR_NONE)
      throw GisError(where + ": cannot transform it into the map's CRS");
    AddPolygons(geometry, z0, frame, areas);
  }
  return areas;
}

}  // namespace

double ClassZ0(const ClassTable& classes, const std::string& value, const std::string& where) {
  const auto found = classes.find(ClassKey(value));
  if (found == classes.end())
    throw GisError(where + ": class " + ClassKey(value) + " is missing from the class table");
  return found->second.z0;
}

std::vector<LandCoverArea> ReadLandCoverPolygons(const LandCoverRequest& request,
                                                 const MapFrame& frame) {
  InitGdal();
  return ReadPolygons(request, frame);
}

}  // namespace kavi::gis
