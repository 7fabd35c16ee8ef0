"""windIO plant energy resources from Kavicalc Datasets.

The wind_resource of the windIO energy_resource schema in its Weibull form:
coordinates as plain lists (wind_direction in degrees, height, and x, y for a
grid or wind_turbine for a list of sites), and weibull_a, weibull_k and
sector_probability (0 … 1) as {data, dims}. Values are the Dataset's single
precision numbers, written as the shortest decimals that read back to them;
failed nodes are not a number (.nan in YAML).
"""

import os
import uuid

from .optional import require

np = require("numpy")

_FIELDS = (("weibull_a", "sector_weibull_a", 1.0), ("weibull_k", "sector_weibull_k", 1.0),
           ("sector_probability", "sector_frequency", 0.01))


def _numbers(array):
    """Nested lists of Python floats, each the shortest decimal of its single."""
    singles = np.asarray(array, dtype=np.float32)
    flat = [float(str(value)) for value in singles.ravel()]
    return np.array(flat, dtype=object).reshape(singles.shape).tolist() if singles.ndim else flat[0]


def _check(dataset):
    missing = [name for name in ("sector_frequency", "sector_weibull_a", "sector_weibull_k",
                                 "wind_from_direction", "height") if name not in dataset.variables]
    if missing:
        raise ValueError(f"the Dataset is not one of kavicalc.grid or kavicalc.predict(..., "
                         f"as_dataset=True): it lacks {', '.join(missing)}")


def windio_resource(dataset):
    """The wind_resource dict of a grid (height, sector, y, x) or site Dataset."""
    _check(dataset)
    sites = "site" in dataset.dims
    renamed = {"sector": "wind_direction", "site": "wind_turbine"}
    order = ("sector", "site") if sites else ("height", "sector", "y", "x")
    resource = {"wind_direction": _numbers(dataset["wind_from_direction"].values)}
    if sites:
        resource["wind_turbine"] = [int(n) for n in dataset["site"].values]
        for name in ("x", "y", "height"):
            resource[name] = {"data": [float(v) for v in dataset[name].values],
                              "dims": ["wind_turbine"]}
    else:
        for name in ("height", "x", "y"):
            resource[name] = [float(v) for v in dataset[name].values]
    for key, variable, scale in _FIELDS:
        values = dataset[variable].transpose(*order)
        data = values.values.astype(np.float64) * scale if scale != 1.0 else values.values
        resource[key] = {"data": _numbers(data), "dims": [renamed.get(d, d) for d in order]}
    return resource


def write_windio(dataset, path):
    """Writes {name, wind_resource} as YAML to path, through a temporary file."""
    yaml = require("yaml", "kavicalc.write_windio")
    document = {"name": str(dataset.attrs.get("title", "Kavicalc wind resource")),
                "wind_resource": windio_resource(dataset)}
    target = os.fspath(path)
    temporary = os.path.join(os.path.dirname(os.path.abspath(target)),
                             f".{os.path.basename(target)}.{uuid.uuid4().hex}.tmp")
    try:
        with open(temporary, "w", encoding="utf-8") as out:
            yaml.safe_dump(document, out, sort_keys=False, default_flow_style=None,
                           allow_unicode=True, width=100)
        os.replace(temporary, target)
    except BaseException:
        if os.path.exists(temporary):
            os.remove(temporary)
        raise
    return target
