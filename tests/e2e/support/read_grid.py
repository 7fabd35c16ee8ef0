"""Reads one node of a resource grid written by kavicalc grid, with the
field's own readers (GDAL for GeoTIFF, netCDF4 for NetCDF), and prints it as
JSON: {"quantity": value or null, ...}, sector quantities as lists, plus the
file's attributes and the EPSG code of its coordinate reference. Usage: read_grid.py FILE X Y HEIGHT"""
import json
import sys


def epsg_of(wkt):
    """The EPSG code of a WKT coordinate reference, or None."""
    from osgeo import osr

    if not wkt:
        return None
    reference = osr.SpatialReference()
    reference.ImportFromWkt(wkt)
    reference.AutoIdentifyEPSG()
    return reference.GetAuthorityCode(None)


def netcdf_node(path, x, y, height):
    import netCDF4
    import numpy

    with netCDF4.Dataset(path) as ds:
        ix = int(numpy.argmin(abs(ds["x"][:] - x)))
        iy = int(numpy.argmin(abs(ds["y"][:] - y)))
        ih = int(numpy.argmin(abs(ds["height"][:] - height)))
        out = {"attributes": {name: str(ds.getncattr(name)) for name in ds.ncattrs()},
               "dimensions": list(ds["sector_weibull_a"].dimensions),
               "units": {name: getattr(var, "units", None) for name, var in ds.variables.items()},
               "standard_names": {name: getattr(var, "standard_name", None)
                                  for name, var in ds.variables.items()},
               "wind_from_direction": [float(v) for v in ds["wind_from_direction"][:]],
               "epsg": epsg_of(getattr(ds["crs"], "crs_wkt", None)) if "crs" in ds.variables
               else None}
        for name, var in ds.variables.items():
            if var.dimensions == ("y", "x"):
                value = var[iy, ix]
            elif var.dimensions == ("height", "y", "x"):
                value = var[ih, iy, ix]
            elif var.dimensions == ("height", "sector", "y", "x"):
                out[name] = [None if numpy.ma.is_masked(v) else float(v) for v in var[ih, :, iy, ix]]
                continue
            else:
                continue
            out[name] = None if numpy.ma.is_masked(value) else float(value)
        return out


def geotiff_node(path, x, y, height):
    from osgeo import gdal

    ds = gdal.Open(path)
    west, size, _, north, _, _ = ds.GetGeoTransform()
    column = int((x - west) // size)
    row = int((north - y) // -(-size))
    out = {"attributes": ds.GetMetadata(), "epsg": epsg_of(ds.GetProjection())}
    suffix = "_%gm" % height
    for b in range(1, ds.RasterCount + 1):
        band = ds.GetRasterBand(b)
        name = band.GetDescription()
        if name.endswith(suffix):
            name = name[: -len(suffix)]
        elif name != "elevation":
            continue
        value = float(band.ReadAsArray(column, row, 1, 1)[0][0])
        out[name] = None if value == band.GetNoDataValue() else value
        out.setdefault("units", {})[name] = band.GetUnitType()
    return out


def main():
    path, x, y, height = sys.argv[1], *map(float, sys.argv[2:5])
    node = netcdf_node(path, x, y, height) if path.endswith(".nc") else geotiff_node(path, x, y, height)
    print(json.dumps(node))


main()
