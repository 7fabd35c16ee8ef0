"""One function per job, on the same late-bound path as any script.

``settings`` is a dict {ID: value} of configuration parameters, each put
through ``Configuration.Item(ID).Value`` before the calculation; a refused
value raises ComError like any other failure. ``edition`` is "kavicalc" (the
current interface) or "kavibase" (the earlier one).
"""

import math
import numbers
import os
from collections.abc import Mapping

from ._abi import E_INVALIDARG
from ._dispatch import Dispatch
from ._errors import ComError
from ._file_identity import refuse_output_over_inputs
from ._site_runs import check_jobs, run_sites

EDITION_PREFIXES = {"kavicalc": "Kavicalc", "kavibase": "KAVIBASE"}
MAX_SECTORS = 36


def _create(edition, class_name):
    prefix = EDITION_PREFIXES.get(str(edition).lower())
    if prefix is None:
        raise ValueError(f"unknown edition {edition!r}: use 'kavicalc' or 'kavibase'")
    return Dispatch(f"{prefix}.{class_name}")


def _configure(calculator, settings):
    if not settings:
        return
    configuration = calculator.Configuration
    for identifier, value in settings.items():
        configuration.Item(identifier).Value = value


def _number(value, what):
    """value as a float, or ValueError naming what it should have been."""
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise ValueError(f"{what} must be a number, not {value!r}")
    number = float(value)
    if not math.isfinite(number):
        raise ValueError(f"{what} must be a finite number, not {value!r}")
    return number


def _position(x, y, what="the position"):
    return _number(x, f"x of {what}"), _number(y, f"y of {what}")


def _height(value, what="the height"):
    """A height above ground in metres, greater than 0, as the command line requires."""
    height = _number(value, what)
    if height <= 0:
        raise ValueError(f"{what} must be a height above ground in metres greater than 0, "
                         f"not {value!r}")
    return height


def _sector_count(value):
    if isinstance(value, bool) or not isinstance(value, numbers.Integral) or not (
            1 <= value <= MAX_SECTORS):
        raise ValueError(f"sectors must be a whole number from 1 to {MAX_SECTORS}, not {value!r}")
    return int(value)


def _put_optional(calculator, name, value):
    if value is not None:
        setattr(calculator, name, value)


def rose(map_file, sectors, x, y, out, edition="kavicalc", settings=None):
    """Writes the roughness rose at (x, y) with the given number of sectors to out.

    RoughnessRoseGenerator.CalculateRoughnessRose; returns the output path.
    """
    sectors = _sector_count(sectors)
    x, y = _position(x, y)
    refuse_output_over_inputs("out", out, map_file=map_file)
    generator = _create(edition, "RoughnessRoseGenerator")
    _configure(generator, settings)
    generator.MapFile = map_file
    generator.CalculateRoughnessRose(out, sectors, x, y)
    return os.fspath(out)


def atlas(map_file, tab_file, height, x, y, out, rose_file=None, obstacles_file=None,
          settings=None, edition="kavicalc"):
    """Writes the wind atlas of the station at (x, y), height m above ground, to out.

    AtlasGenerator.CalculateAtlas from the observed climate tab_file; returns
    the output path.
    """
    height = _height(height)
    x, y = _position(x, y, "the station")
    refuse_output_over_inputs("out", out, map_file=map_file, tab_file=tab_file,
                              rose_file=rose_file, obstacles_file=obstacles_file)
    generator = _create(edition, "AtlasGenerator")
    _configure(generator, settings)
    generator.MapFile = map_file
    generator.TabFile = tab_file
    generator.HeightAGL = height
    _put_optional(generator, "RoughnessRoseFile", rose_file)
    _put_optional(generator, "ObstaclesDataFile", obstacles_file)
    generator.CalculateAtlas(x, y, out)
    return os.fspath(out)


def _site(site, height, number):
    """(x, y, height) of site number (from 1) given as (x, y), (x, y, height) or a mapping."""
    if isinstance(site, Mapping):
        x, y, own = site["x"], site["y"], site.get("height")
    else:
        values = tuple(site)
        if len(values) not in (2, 3):
            raise ValueError(f"a site is (x, y) or (x, y, height), not {site!r}")
        x, y, own = values[0], values[1], values[2] if len(values) == 3 else None
    own = height if own is None else own
    if own is None:
        raise ValueError(f"no height for the site {site!r}: give height or a per-site height")
    what = f"site {number} {site!r}"
    x, y = _position(x, y, what)
    return x, y, _height(own, f"the height of {what}")


def sector_results(results):
    """The SectorResult objects of a site results object, sector 1 first."""
    sectors = []
    for index in range(1, MAX_SECTORS + 1):
        try:
            sectors.append(results.SectorResult(index))
        except ComError as error:
            if error.hresult == E_INVALIDARG:  # one past the last sector
                break
            raise
    return sectors


def site_record(results):
    """A site results object as a plain dict, shaped like the tool's JSON output."""
    return {
        "x": results.LocationX,
        "y": results.LocationY,
        "height": results.HeightAGL,
        "elevation": results.Elevation,
        "weibull_a": results.TotalWeibullA,
        "weibull_k": results.TotalWeibullK,
        "power_density": results.TotalEnergyProduction,
        "sectors": [{"sector": index, "frequency": sector.Frequency,
                     "weibull_a": sector.WeibullA, "weibull_k": sector.WeibullK,
                     "power_density": sector.Energy}
                    for index, sector in enumerate(sector_results(results), start=1)],
    }


def predict(map_file, atlas_file, height, sites, rose_file=None, obstacles_file=None,
            settings=None, edition="kavicalc", *, jobs=1, as_dataset=False, power_curve=None,
            air_density=None):
    """The predicted wind climate at each site: AtlasUser.CalculateResults per site.

    sites holds (x, y) or (x, y, height) tuples, or mappings with "x", "y" and
    optionally "height"; a per-site height overrides height (which may be None
    when every site has its own). Returns {"sites": [...]} with one dict per
    site as site_record gives it; the first failing site raises its ComError.

    jobs threads calculate at once (None: all cores), each with its own
    AtlasUser; the results are the same whatever jobs. as_dataset=True returns
    an xarray.Dataset over a site dimension with the variables of
    kavicalc.grid (power_curve and air_density add the energy yield), failed
    sites not a number and listed on its attributes.
    """
    # Every site is checked before the first calculation, as the command line does.
    tasks = [_site(site, height, number) for number, site in enumerate(sites, start=1)]
    if as_dataset:
        from .analysis.sites import predict_dataset
        return predict_dataset(map_file, atlas_file, tasks, rose_file, obstacles_file, settings,
                               edition, power_curve, air_density, jobs)
    if power_curve is not None or air_density is not None:
        raise ValueError("power_curve and air_density come with as_dataset=True")

    def open_user():
        user = _create(edition, "AtlasUser")
        _configure(user, settings)
        user.MapFile = map_file
        user.AtlasFile = atlas_file
        _put_optional(user, "RoughnessRoseFile", rose_file)
        _put_optional(user, "ObstaclesDataFile", obstacles_file)
        return user

    records = [None] * len(tasks)
    failures = {}

    def keep(index, results):
        records[index] = site_record(results)

    run_sites(open_user, tasks, check_jobs(jobs), keep, failures.__setitem__)
    if failures:
        raise failures[min(failures)]
    return {"sites": records}
