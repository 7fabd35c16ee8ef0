"""The third-party packages of the analysis layer, imported when first used.

They come from Debian for /usr/bin/python3; a missing one raises
MissingPackage naming the Debian package to install.
"""

import importlib

DEBIAN_PACKAGES = {
    "numpy": "python3-numpy",
    "scipy": "python3-scipy",
    "xarray": "python3-xarray",
    "netCDF4": "python3-netcdf4",
    "dask": "python3-dask",
    "distributed": "python3-distributed",
    "yaml": "python3-yaml",
    "matplotlib": "python3-matplotlib",
}


class MissingPackage(ImportError):
    """An optional package that the called function needs is not installed."""


def require(module, purpose="the Kavicalc analysis layer"):
    """The imported module, or MissingPackage naming its Debian package."""
    try:
        return importlib.import_module(module)
    except ImportError as error:
        top = module.split(".", 1)[0]
        package = DEBIAN_PACKAGES.get(top, f"python3-{top.lower()}")
        raise MissingPackage(
            f"{purpose} needs the Python package {top}, which this interpreter cannot import "
            f"({error}); install the Debian package {package} (apt-get install {package}) and "
            f"run with the Debian interpreter /usr/bin/python3", name=top) from error
