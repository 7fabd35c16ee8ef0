"""The analysis layer: xarray Datasets, resource grids on threads or a Dask
cluster, and windIO resources.

Importing this package costs nothing: numpy, xarray, dask and yaml are
imported by the modules behind these functions when one is first called, and
a missing one raises MissingPackage naming its Debian package.
"""

from .optional import MissingPackage


class GridWarning(UserWarning):
    """Some calculations of a run failed; their values are not a number."""


class GridError(RuntimeError):
    """A run produced no values: every calculation, or the cluster, failed."""


def grid(map, atlas, heights, *, bounds=None, around=None, radius=None, spacing, rose=None,
         obstacles=None, parameters=None, power_curve=None, air_density=None, jobs=None,
         client=None, progress=False, edition="kavicalc", tile_nodes=None,
         scheduler_timeout=10.0):
    """The predicted wind resource at every node of a regular grid, as an xarray.Dataset.

    The same variables, dimensions (height, sector, y, x), units and
    attributes as `kavicalc grid --out FILE.nc`; Dataset.to_netcdf writes
    that layout. The area is bounds=(x0, y0, x1, y1) or around=(x, y) with
    radius; nodes every spacing map units from (x0, y0) on. heights is one
    height above ground or several. parameters is {ID: value} of
    configuration parameters. power_curve (CSV speed,power in m/s and kW) adds
    aep, capacity_factor and sector_aep; air_density (kg/m³) corrects the
    curve. jobs threads calculate at once (default all cores), each with its
    own AtlasUser.

    client, a dask.distributed.Client or a scheduler address such as
    "tcp://scheduler:8786" (connected within scheduler_timeout seconds), runs
    the grid on the cluster in tiles of tile_nodes nodes (default: several
    tiles per worker thread); the input files travel with the tasks.

    progress=True reports how far the run is: on local threads the nodes
    done, the rate and the time left on standard error (redrawn in place on
    a terminal, a line every few seconds elsewhere); on a cluster Dask's own
    progress bar of the tiles, on standard output.

    Failed calculations or tiles leave not-a-number values, are listed on the
    attributes failed_calculations, failed_tiles and failures and raise a
    GridWarning; when every calculation fails, GridError.
    """
    from .grid import run_grid
    return run_grid(map, atlas, heights, bounds=bounds, around=around, radius=radius,
                    spacing=spacing, rose=rose, obstacles=obstacles, parameters=parameters,
                    power_curve=power_curve, air_density=air_density, jobs=jobs, client=client,
                    progress=progress, edition=edition, tile_nodes=tile_nodes,
                    scheduler_timeout=scheduler_timeout)


def windio_resource(dataset):
    """The windIO plant energy_resource's wind_resource of a grid Dataset, as a dict."""
    from .windio import windio_resource as build
    return build(dataset)


def write_windio(dataset, path):
    """Writes the windIO energy_resource of a grid Dataset to path as YAML."""
    from .windio import write_windio as write
    return write(dataset, path)


__all__ = ["GridError", "GridWarning", "MissingPackage", "grid", "windio_resource",
           "write_windio"]
