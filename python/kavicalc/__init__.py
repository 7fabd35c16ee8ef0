"""Automation client of the Kavicalc wind-resource engine, on ctypes alone.

    import kavicalc

    user = kavicalc.Dispatch("Kavicalc.AtlasUser")
    user.MapFile = "hill.map"
    user.AtlasFile = "station.lib"
    user.HeightAGL = 50.0
    result = user.CalculateResults(1000.0, 2000.0)
    print(result.TotalWeibullA, result.SectorResult(1).Frequency)

Objects are activated by ProgID through the component runtime (libkavirt) and
reached late-bound through IDispatch. Failures raise ComError with the result
code, the error source and the description. Where the libraries are found is
described in kavicalc._runtime (KAVI_LIBRARY_DIR first); KAVI_REGISTRY names a
private registry file. Objects belong to the thread that made them.

The analysis layer (kavicalc.grid, predict(..., as_dataset=True),
windio_resource, write_windio) imports numpy, xarray and dask only when used.
"""

from ._dispatch import Dispatch, Method
from ._enumeration import Unknown
from ._errors import ComError
from ._runtime import LibraryNotFound, registry_path
from .climate import ClimateError, climate_from_series
from .jobs import atlas, predict, rose, site_record
from .analysis import (GridError, GridWarning, MissingPackage, grid, windio_resource,
                       write_windio)

__all__ = [
    "ClimateError",
    "ComError",
    "Dispatch",
    "GridError",
    "GridWarning",
    "LibraryNotFound",
    "Method",
    "MissingPackage",
    "Unknown",
    "atlas",
    "climate_from_series",
    "grid",
    "predict",
    "registry_path",
    "rose",
    "site_record",
    "windio_resource",
    "write_windio",
]
