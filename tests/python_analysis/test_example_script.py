"""examples/resource_grid_dask.py runs and writes what it says."""

import os
import subprocess
import sys
import unittest

import xarray as xr
import yaml

from analysis_support import EXAMPLES, ClientTestCase


class ExampleScriptTest(ClientTestCase):

    def test_example_writes_netcdf_windio_and_picture(self):
        run = subprocess.run([sys.executable, os.path.join(EXAMPLES, "resource_grid_dask.py"),
                              self.folder.path], capture_output=True, text=True, check=False)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("961 nodes: mean wind speed", run.stdout)
        with xr.open_dataset(self.folder.file("resource.nc")) as grid:
            self.assertEqual(dict(grid.sizes), {"height": 1, "sector": 12, "y": 31, "x": 31})
            self.assertFalse(bool(grid.mean_speed.isnull().any()))
        with open(self.folder.file("resource-windio.yaml"), encoding="utf-8") as source:
            self.assertEqual(yaml.safe_load(source)["wind_resource"]["x"][0], 0.0)
        with open(self.folder.file("mean-speed.png"), "rb") as picture:
            self.assertEqual(picture.read(8), b"\x89PNG\r\n\x1a\n")


if __name__ == "__main__":
    unittest.main()
