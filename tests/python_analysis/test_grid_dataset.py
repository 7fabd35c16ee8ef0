"""kavicalc.grid and predict(..., as_dataset=True) against the tool's NetCDF
output, independent energy arithmetic, threads, failures and bad input."""

import contextlib
import io
import math
import os
import unittest
import warnings

import netCDF4
import numpy as np
import xarray as xr

from analysis_support import ATLAS, CURVE, FAR_X, MAP, ClientTestCase, kavicalc, run_tool
from kavicalc.analysis import progress  # noqa: E402  (after the path is set)

HEIGHTS = [50.0, 80.0]
BOUNDS = (-600.0, -300.0, 600.0, 300.0)
SPACING = 300.0
SETTINGS = {"STDH3": 75}


def example_grid(**options):
    return kavicalc.grid(MAP, ATLAS, HEIGHTS, bounds=BOUNDS, spacing=SPACING,
                         parameters=SETTINGS, power_curve=CURVE, air_density=1.2, **options)


class GridAgainstToolTest(ClientTestCase):

    @classmethod
    def setUpClass(cls):
        cls.local = example_grid(jobs=1)

    def test_dataset_identical_to_tool_netcdf_and_written_the_same(self):
        out = self.folder.file("tool.nc")
        run = run_tool("grid", "--map", MAP, "--atlas", ATLAS, "--height", "50,80",
                       "--bounds", ",".join(f"{v:g}" for v in BOUNDS), "--spacing", "300",
                       "--set", "STDH3=75", "--power-curve", CURVE, "--air-density", "1.2",
                       "--jobs", "2", "--out", out)
        self.assertEqual(run.returncode, 0, run.stderr)
        with xr.open_dataset(out) as tool:
            tool.load()
        # Values compared exactly (single precision, NaN equal to NaN), and
        # every variable's dimensions, attributes, dtype and the global ones.
        xr.testing.assert_identical(self.local, tool)
        for name, variable in tool.variables.items():
            self.assertEqual(self.local[name].dtype, variable.dtype, name)
        self.assertEqual(self.local.attrs["parameters_set"], "STDH3=75")
        self.assertEqual(self.local.attrs["hours_per_year"], 8766.0)

        ours = self.folder.file("python.nc")
        self.local.to_netcdf(ours)
        with xr.open_dataset(ours) as back:
            xr.testing.assert_identical(back.load(), tool)
        with netCDF4.Dataset(ours) as mine, netCDF4.Dataset(out) as theirs:
            for name, variable in theirs.variables.items():
                self.assertEqual(mine[name].dimensions, variable.dimensions, name)
                self.assertEqual({a: str(variable.getncattr(a)) for a in variable.ncattrs()},
                                 {a: str(mine[name].getncattr(a)) for a in mine[name].ncattrs()},
                                 name)
                self.assertEqual(mine[name].filters(), variable.filters(), name)

    def test_energy_yield_matches_quadrature_of_the_curve(self):
        # Independent of the closed form: the curve's power integrated over
        # each sector's Weibull density on a fine grid of speeds.
        speeds, powers = np.loadtxt(CURVE, delimiter=",", skiprows=1, unpack=True)
        speeds = speeds * (1.225 / 1.2) ** (1.0 / 3.0)
        u = np.linspace(0.0, speeds[-1], 200001)
        p = np.interp(u, speeds, powers, left=0.0, right=0.0)
        point = self.local.isel(height=1, y=1, x=2)
        total = 0.0
        for s in range(point.sizes["sector"]):
            f = float(point.sector_frequency[s])
            a, k = float(point.sector_weibull_a[s]), float(point.sector_weibull_k[s])
            density = (k / a) * (u / a) ** (k - 1) * np.exp(-(u / a) ** k)
            expected = 8766.0 * f / 100.0 * np.trapz(p * density, u) / 1000.0
            self.assertAlmostEqual(float(point.sector_aep[s]) / expected, 1.0, delta=2e-5)
            total += float(point.sector_aep[s])
        self.assertAlmostEqual(float(point.aep) / total, 1.0, delta=1e-6)
        self.assertAlmostEqual(float(point.capacity_factor),
                               float(point.aep) * 1000.0 / (powers.max() * 8766.0), delta=1e-6)
        means = point.sector_weibull_a * [math.gamma(1 + 1 / float(k))
                                          for k in point.sector_weibull_k]
        expected_mean = float((means * point.sector_frequency).sum() / point.sector_frequency.sum())
        self.assertAlmostEqual(float(point.mean_speed), expected_mean, delta=1e-5)

    def test_two_threads_equal_one(self):
        xr.testing.assert_identical(example_grid(jobs=2), self.local)

    def test_progress_on_threads_counts_every_node_and_changes_no_value(self):
        # A line per finished calculation (no pause between lines), as a log gets them.
        self.addCleanup(setattr, progress, "LOG_SECONDS", progress.LOG_SECONDS)
        progress.LOG_SECONDS = 0.0
        log = io.StringIO()
        with contextlib.redirect_stderr(log):
            xr.testing.assert_identical(example_grid(jobs=2, progress=True), self.local)
        lines = log.getvalue().splitlines()
        self.assertEqual(len(lines), 1 + 30 + 1)  # start, 15 nodes × 2 heights, end
        self.assertEqual(lines[0], "kavicalc.grid: nodes done: 0 of 15")
        counts = [int(line.split()[3]) for line in lines[1:-1]]
        self.assertEqual(counts, [n // 2 for n in range(1, 31)])
        self.assertRegex(lines[-2], r"nodes done: 15 of 15, [0-9.]+ per s, 0 s left$")
        self.assertRegex(lines[-1], r"^kavicalc.grid: 15 of 15 nodes done in [0-9.]+ s$")

        class Terminal(io.StringIO):
            def isatty(self):
                return True

        screen = Terminal()
        with contextlib.redirect_stderr(screen):
            example_grid(jobs=1, progress=True)
        drawn = screen.getvalue()
        self.assertTrue(drawn.startswith("\r\033[Kkavicalc.grid: nodes done: 0 of 15"))
        self.assertTrue(drawn.endswith("\r\033[K"))  # the line is cleared, no newline left
        self.assertNotIn("\n", drawn)
        quiet = io.StringIO()
        with contextlib.redirect_stderr(quiet):
            example_grid(jobs=1)
        self.assertEqual(quiet.getvalue(), "")

    def test_site_dataset_equals_grid_nodes_and_plain_predict(self):
        sites = [(-600.0, -300.0, 50.0), (300.0, 0.0, 80.0), (600.0, 300.0, 80.0)]
        ds = kavicalc.predict(MAP, ATLAS, None, sites, settings=SETTINGS, as_dataset=True,
                              jobs=2, power_curve=CURVE, air_density=1.2)
        self.assertEqual(dict(ds.sizes), {"site": 3, "sector": 12})
        plain = kavicalc.predict(MAP, ATLAS, None, sites, settings=SETTINGS)["sites"]
        for i, (x, y, height) in enumerate(sites):
            node = self.local.sel(x=x, y=y, height=height)
            site = ds.isel(site=i)
            for name in ("mean_speed", "weibull_a", "weibull_k", "power_density", "aep",
                         "capacity_factor", "elevation"):
                self.assertEqual(float(site[name]), float(node[name]), name)
            for name in ("sector_frequency", "sector_weibull_a", "sector_aep"):
                np.testing.assert_array_equal(site[name].values, node[name].values)
            self.assertEqual(float(site.weibull_a), np.float32(plain[i]["weibull_a"]))
            self.assertEqual((float(site.x), float(site.y), float(site.height)), (x, y, height))
        self.assertEqual(ds.attrs["title"], "Predicted wind climate at sites")


class GridFailuresTest(ClientTestCase):

    def test_failed_nodes_are_nan_reported_and_the_rest_kept(self):
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            ds = kavicalc.grid(MAP, ATLAS, 80, bounds=(0.0, 0.0, 2 * FAR_X, 1.0),
                               spacing=FAR_X / 2, jobs=2)
        self.assertEqual([w.category for w in caught], [kavicalc.GridWarning])
        self.assertEqual(ds.attrs["failed_calculations"], 3)
        self.assertIn("3 of 5 calculations failed", ds.attrs["failures"])
        self.assertIn("at x 40000, y 0, height 80 m: Kavicalc.AtlasUser.1:", ds.attrs["failures"])
        speeds = ds.mean_speed.values[0, 0]
        self.assertTrue(np.isnan(speeds[2:]).all() and np.isfinite(speeds[:2]).all())
        self.assertTrue(np.isnan(ds.sector_frequency.values[0, :, 0, 2:]).all())
        near = kavicalc.grid(MAP, ATLAS, 80, bounds=(0.0, 0.0, FAR_X / 2, 1.0), spacing=FAR_X / 2)
        np.testing.assert_array_equal(near.mean_speed.values[0, 0], speeds[:2])

    def test_every_node_failing_raises_instead_of_a_dataset(self):
        with self.assertRaises(kavicalc.GridError) as caught:
            kavicalc.grid(MAP, ATLAS, 80, bounds=(FAR_X, 0.0, 2 * FAR_X, 1.0), spacing=FAR_X)
        self.assertIn("every calculation failed", str(caught.exception))
        self.assertIn("2 × Kavicalc.AtlasUser.1: Kavicalc: Interpolation radius too small",
                      str(caught.exception))

    def test_bad_input_is_refused_before_calculating(self):
        curve = self.folder.file("bad.csv")
        with open(curve, "w") as out:
            out.write("speed,power\n3,0\n2,100\n")
        cases = [
            (dict(bounds=(0, 0, 0, 100), spacing=50), ValueError, "x0 < x1"),
            (dict(bounds=(0, 0, 100), spacing=50), ValueError, "bounds is"),
            (dict(bounds=(0, 0, 100, 100), spacing=0), ValueError, "spacing"),
            (dict(bounds=(0, 0, 100, 100), spacing=math.nan), ValueError, "spacing"),
            (dict(around=(0, 0), spacing=50), ValueError, "radius"),
            (dict(around=(0, 0), radius=0, spacing=50), ValueError, "radius"),
            (dict(around=(0, 0), radius=10, bounds=(0, 0, 1, 1), spacing=50), ValueError,
             "either"),
            (dict(bounds=(0, 0, 1e6, 1e6), spacing=1), ValueError, "more than the 10000000"),
            (dict(bounds=(0, 0, 100, 100), spacing=50, power_curve=curve), ValueError,
             "row 3: the wind speeds must increase"),
            (dict(bounds=(0, 0, 100, 100), spacing=50, air_density=1.2), ValueError,
             "air_density needs power_curve"),
            (dict(bounds=(0, 0, 100, 100), spacing=50, power_curve=CURVE, air_density=3),
             ValueError, "from 0.5 to 1.5"),
            (dict(bounds=(0, 0, 100, 100), spacing=50, jobs=0), ValueError, "jobs"),
        ]
        for options, error, text in cases:
            with self.subTest(options=options), self.assertRaises(error) as caught:
                kavicalc.grid(MAP, ATLAS, 80, **options)
            self.assertIn(text, str(caught.exception))
        for heights in ([], [80, 80], [-5]):
            with self.subTest(heights=heights), self.assertRaises(ValueError):
                kavicalc.grid(MAP, ATLAS, heights, bounds=(0, 0, 100, 100), spacing=50)
        with self.assertRaises(FileNotFoundError):
            kavicalc.grid(os.path.join(self.folder.path, "none.map"), ATLAS, 80,
                          bounds=(0, 0, 100, 100), spacing=50)


if __name__ == "__main__":
    unittest.main()
