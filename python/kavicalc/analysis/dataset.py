"""xarray Datasets of predicted wind climates, laid out like the tool's NetCDF.

Grids have the dimensions height, sector, y, x; site lists site and sector.
The variables, their names, units and attributes, the global attributes and
the NetCDF encoding (single precision, _FillValue -9999, deflate level 4 with
shuffle) are those of `kavicalc grid --out FILE.nc`, so that
Dataset.to_netcdf writes the same layout.
"""

from . import energy
from .optional import require

np = require("numpy")
xr = require("xarray")

FILL_VALUE = -9999.0
EDITIONS = {"kavicalc": ("Kavicalc", "1.5.5.0"), "kavibase": ("Kavibase", "1.0.0.13")}

# name: (long_name, units, standard_name or None, only with a power curve)
NODE_QUANTITIES = {
    "elevation": ("terrain elevation at the node", "m", "surface_altitude", False),
    "mean_speed": ("mean wind speed", "m s-1", "wind_speed", False),
    "power_density": ("mean wind power density", "W m-2", None, False),
    "weibull_a": ("Weibull scale parameter A of all sectors", "m s-1", None, False),
    "weibull_k": ("Weibull shape parameter k of all sectors", "1", None, False),
    "aep": ("gross annual energy production", "MW h year-1", None, True),
    "capacity_factor": ("gross capacity factor", "1", None, True),
}
SECTOR_QUANTITIES = {
    "sector_frequency": ("frequency of the wind from the sector", "%", None, False),
    "sector_weibull_a": ("Weibull scale parameter A of the sector", "m s-1", None, False),
    "sector_weibull_k": ("Weibull shape parameter k of the sector", "1", None, False),
    "sector_aep": ("gross annual energy production from the sector", "MW h year-1", None, True),
}
_QUANTITY_ENCODING = {"dtype": "float32", "_FillValue": FILL_VALUE, "zlib": True,
                      "complevel": 4, "shuffle": True}


def provenance(edition, map_file, atlas_file, rose, obstacles, parameters, power_curve,
               air_density, title):
    """The global attributes, in the tool's order; absent inputs are left out."""
    name, version = EDITIONS[edition]
    attrs = {"Conventions": "CF-1.8", "title": title,
             "source": f"kavicalc {version} ({name})", "map": str(map_file),
             "atlas": str(atlas_file)}
    if rose is not None:
        attrs["roughness_rose"] = str(rose)
    if obstacles is not None:
        attrs["obstacles"] = str(obstacles)
    settings = " ".join(f"{key}={value}" for key, value in (parameters or {}).items())
    attrs["parameters_set"] = settings or "none (all defaults)"
    if power_curve is not None:
        attrs["power_curve"] = str(power_curve)
    if air_density is not None:
        attrs["air_density"] = repr(air_density) if isinstance(air_density, float) \
            else str(air_density)
    if power_curve is not None:
        attrs["hours_per_year"] = energy.HOURS_PER_YEAR
    return attrs


def task_quantities(values, curve):
    """Per task the node quantities (tasks,) and sector ones (tasks, sectors), doubles."""
    sectors = values.sectors
    if sectors is None:
        sectors = np.full((values.count, 1, 3), np.nan)
    frequency, a, k = sectors[..., 0], sectors[..., 1], sectors[..., 2]
    node = {"elevation": values.elevation,
            "mean_speed": energy.all_sector_mean(frequency, energy.weibull_mean(a, k)),
            "power_density": values.power_density, "weibull_a": values.weibull_a,
            "weibull_k": values.weibull_k}
    sector = {"sector_frequency": frequency, "sector_weibull_a": a, "sector_weibull_k": k}
    if curve is not None:
        sector_aep, aep = energy.energy_yield(curve, frequency, a, k)
        node["aep"] = aep
        node["capacity_factor"] = energy.capacity_factor(curve, aep)
        sector["sector_aep"] = sector_aep
    failed = ~values.ok
    for table in (node, sector):
        for name, array in table.items():
            array = np.array(array, dtype=np.float64)
            array[failed] = np.nan
            table[name] = array
    return node, sector


def _quantity(name, info, dims, data):
    long_name, units, standard_name, _ = info
    attrs = {"long_name": long_name, "units": units}
    if standard_name:
        attrs["standard_name"] = standard_name
    variable = xr.Variable(dims, np.asarray(data).astype(np.float32), attrs)
    variable.encoding = dict(_QUANTITY_ENCODING)
    return variable


def _coordinate(dims, data, attrs, dtype=np.float64):
    variable = xr.Variable(dims, np.asarray(data, dtype=dtype), attrs)
    variable.encoding = {"_FillValue": None}
    return variable


def _sector_variables(count):
    numbers = np.arange(1, count + 1, dtype=np.int32)
    return {
        "sector": _coordinate(("sector",), numbers,
                              {"long_name": "direction sector, 1 centred on north"}, np.int32),
        "wind_from_direction": _coordinate(
            ("sector",), [360.0 * (n - 1) / count for n in numbers],
            {"standard_name": "wind_from_direction",
             "long_name": "centre bearing of the sector, clockwise from north",
             "units": "degree"}),
    }


def _wanted(table, curve):
    return [(name, info) for name, info in table.items() if curve is not None or not info[3]]


def grid_dataset(layout, heights, values, curve, attrs):
    """The Dataset of a grid whose tasks are node × height, node-major."""
    node, sector = task_quantities(values, curve)
    count = sector["sector_frequency"].shape[1]
    shape = (layout.rows, layout.columns, len(heights))

    def per_height(array):  # (tasks,) -> (height, y, x)
        return array.reshape(shape).transpose(2, 0, 1)

    def per_sector(array):  # (tasks, sectors) -> (height, sector, y, x)
        return array.reshape(shape + (count,)).transpose(2, 3, 0, 1)

    elevation = per_height(node["elevation"])
    first = np.argmax(~np.isnan(elevation), axis=0)  # first height with a result
    elevation = np.take_along_axis(elevation, first[None], axis=0)[0]
    variables = {
        "x": _coordinate(("x",), layout.xs(),
                         {"standard_name": "projection_x_coordinate",
                          "long_name": "x of the node, east in map coordinates", "units": "m"}),
        "y": _coordinate(("y",), layout.ys(),
                         {"standard_name": "projection_y_coordinate",
                          "long_name": "y of the node, north in map coordinates", "units": "m"}),
        "height": _coordinate(("height",), heights,
                              {"standard_name": "height", "long_name": "height above ground",
                               "units": "m", "positive": "up"}),
        **_sector_variables(count),
    }
    for name, info in _wanted(NODE_QUANTITIES, curve):
        if name == "elevation":
            variables[name] = _quantity(name, info, ("y", "x"), elevation)
        else:
            variables[name] = _quantity(name, info, ("height", "y", "x"), per_height(node[name]))
    for name, info in _wanted(SECTOR_QUANTITIES, curve):
        variables[name] = _quantity(name, info, ("height", "sector", "y", "x"),
                                    per_sector(sector[name]))
    coordinates = {name: variables.pop(name) for name in ("x", "y", "height", "sector")}
    return xr.Dataset(variables, coords=coordinates, attrs=attrs)


def site_dataset(tasks, values, curve, attrs):
    """The Dataset of a list of sites (x, y, height): dimensions site and sector."""
    node, sector = task_quantities(values, curve)
    count = sector["sector_frequency"].shape[1]
    xs, ys, hs = (np.array([task[i] for task in tasks], dtype=np.float64) for i in range(3))
    coordinates = {
        "site": _coordinate(("site",), np.arange(len(tasks), dtype=np.int32),
                            {"long_name": "site number, in the order given"}, np.int32),
        "x": _coordinate(("site",), xs, {"standard_name": "projection_x_coordinate",
                                         "long_name": "x of the site, east in map coordinates",
                                         "units": "m"}),
        "y": _coordinate(("site",), ys, {"standard_name": "projection_y_coordinate",
                                         "long_name": "y of the site, north in map coordinates",
                                         "units": "m"}),
        "height": _coordinate(("site",), hs, {"standard_name": "height",
                                              "long_name": "height above ground", "units": "m",
                                              "positive": "up"}),
    }
    sector_variables = _sector_variables(count)
    coordinates["sector"] = sector_variables.pop("sector")
    variables = dict(sector_variables)
    for name, info in _wanted(NODE_QUANTITIES, curve):
        variables[name] = _quantity(name, info, ("site",), node[name])
    for name, info in _wanted(SECTOR_QUANTITIES, curve):
        variables[name] = _quantity(name, info, ("sector", "site"), sector[name].T)
    return xr.Dataset(variables, coords=coordinates, attrs={**attrs, "featureType": "point"})
