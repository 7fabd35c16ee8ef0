// Height contours of an elevation raster from GDAL's contour generator: a
// line at every multiple of the interval, closed where the height closes on
// itself and open where it runs into the edge or into cells without data.
#pragma once

#include <vector>

#include "gis/elevation_raster.h"
#include "gis/map_content.h"

namespace kavi::gis {

// The contours in the local frame of (originX, originY), each thinned by
// tolerance metres (0: kept as made).
std::vector<Contour> TraceContours(const ElevationRaster& raster, double interval, double originX,
                                   double originY, double tolerance);

// A round interval (1, 2, 2.5 or 5 times a power of ten) giving about 25
// contour levels over the range of heights.
double DefaultInterval(double lowest, double highest);

}  // namespace kavi::gis
