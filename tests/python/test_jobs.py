"""The job functions end to end, on a flat map and a station climate of known Weibull parameters.

Over flat terrain of one roughness, generalising a station climate into an
atlas and predicting back at the station's position and height must return the
station's own climate: per sector the frequency, Weibull A and k that the
climate file was written with.
"""

import json
import math
import os
import unittest

from client_support import (TYPICAL_CLIMATE, TempFolder, kavicalc,
                            write_flat_map, write_weibull_climate)

STATION_HEIGHT = 10.0
ENERGY_CONSTANT = 0.612591564655304  # half the air density (kg/m³) in single precision


def power_density(a, k):
    """Mean power density of a Weibull distribution, W/m²: ½ρ A³ Γ(1 + 3/k)."""
    return ENERGY_CONSTANT * a**3 * math.gamma(1.0 + 3.0 / k)


class JobTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.folder = TempFolder()
        cls.map = write_flat_map(cls.folder.file("flat.map"))
        cls.climate = write_weibull_climate(cls.folder.file("station.tab"))
        cls.atlas = cls.folder.file("station.lib")
        kavicalc.atlas(cls.map, cls.climate, STATION_HEIGHT, 0.0, 0.0, cls.atlas)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def predict(self, sites, height=STATION_HEIGHT, **options):
        return kavicalc.predict(self.map, self.atlas, height, sites, **options)

    def test_prediction_at_the_station_gives_back_its_climate(self):
        site = self.predict([(0.0, 0.0)])["sites"][0]
        self.assertEqual(len(site["sectors"]), len(TYPICAL_CLIMATE))
        for sector, (frequency, a, k) in zip(site["sectors"], TYPICAL_CLIMATE):
            with self.subTest(sector=sector["sector"]):
                self.assertAlmostEqual(sector["frequency"], frequency, delta=0.01)
                self.assertAlmostEqual(sector["weibull_a"], a, delta=0.01 * a)
                self.assertAlmostEqual(sector["weibull_k"], k, delta=0.02 * k)
        self.assertAlmostEqual(sum(s["frequency"] for s in site["sectors"]), 100.0, delta=1e-3)
        self.assertEqual([s["sector"] for s in site["sectors"]], list(range(1, 13)))

    def test_power_density_follows_from_a_and_k(self):
        site = self.predict([(0.0, 0.0)])["sites"][0]
        for record in [site] + site["sectors"]:
            self.assertAlmostEqual(record["power_density"],
                                   power_density(record["weibull_a"], record["weibull_k"]),
                                   delta=1e-5 * record["power_density"])

    def test_sites_heights_and_output_shape(self):
        sites = [(0.0, 0.0), (100.0, -250.5, 50.0), {"x": 10, "y": 20},
                 {"x": 1.0, "y": 2.0, "height": 100.0}]
        result = self.predict(sites, height=25.0)
        records = result["sites"]
        self.assertEqual([(r["x"], r["y"], r["height"]) for r in records],
                         [(0.0, 0.0, 25.0), (100.0, -250.5, 50.0), (10.0, 20.0, 25.0),
                          (1.0, 2.0, 100.0)])
        self.assertEqual(list(records[0]), ["x", "y", "height", "elevation", "weibull_a",
                                            "weibull_k", "power_density", "sectors"])
        self.assertEqual(list(records[0]["sectors"][0]),
                         ["sector", "frequency", "weibull_a", "weibull_k", "power_density"])
        self.assertEqual(json.loads(json.dumps(result)), result)
        self.assertTrue(all(r["elevation"] == 0.0 for r in records), "a map without contours")
        # The wind grows with height over flat land.
        by_height = sorted(records, key=lambda r: r["height"])
        speeds = [r["weibull_a"] for r in by_height if r["x"] != 10]
        self.assertEqual(speeds, sorted(speeds))
        self.assertLess(speeds[0], speeds[-1])

    def test_threads_give_the_serial_results_in_site_order(self):
        sites = [(x, y, h) for x in (-2000.0, 0.0, 1500.0) for y in (-500.0, 700.0)
                 for h in (10.0, 40.0)]
        serial = self.predict(sites, jobs=1)
        self.assertEqual(self.predict(sites, jobs=3), serial)
        self.assertEqual([(s["x"], s["y"], s["height"]) for s in serial["sites"]], sites)
        with self.assertRaises(ValueError):
            self.predict(sites, jobs=0)
        # The first failing site in the given order is raised, whatever the
        # threads: the example map ends about 20 km out, so 40 km out fails.
        examples = os.path.join(os.path.dirname(__file__), "..", "..", "examples")
        far = [(0.0, 0.0), (40000.0, 0.0), (0.0, 100.0), (60000.0, 0.0)]
        with self.assertRaises(kavicalc.ComError) as caught:
            kavicalc.predict(os.path.join(examples, "site.map"),
                             os.path.join(examples, "station.lib"), 80.0, far, jobs=2)
        self.assertIn("Interpolation radius too small", caught.exception.description)

    def test_site_arguments_are_checked(self):
        with self.assertRaises(ValueError):
            kavicalc.predict(self.map, self.atlas, None, [(0.0, 0.0)])
        with self.assertRaises(ValueError):
            kavicalc.predict(self.map, self.atlas, 10.0, [(0.0,)])
        with self.assertRaises(ValueError):
            kavicalc.predict(self.map, self.atlas, 10.0, [(0.0, 0.0)], edition="other")
        self.assertEqual(kavicalc.predict(self.map, self.atlas, 10.0, []), {"sites": []})

    def test_heights_and_positions_are_checked_as_the_command_line_does(self):
        # A height of 0 or below would give A = 0 from the engine: refused up front.
        for height in (0.0, -5.0, float("nan"), float("inf"), "50", True):
            with self.subTest(height=height):
                with self.assertRaises(ValueError) as caught:
                    kavicalc.predict(self.map, self.atlas, height, [(0.0, 0.0)])
                self.assertIn("height", str(caught.exception))
        with self.assertRaisesRegex(ValueError, r"height of site 2 .*greater than 0, not -5"):
            kavicalc.predict(self.map, self.atlas, 10.0, [(0.0, 0.0), (1.0, 2.0, -5)])
        with self.assertRaisesRegex(ValueError, r"x of site 1 .* must be a finite number"):
            kavicalc.predict(self.map, self.atlas, 10.0, [(float("nan"), 0.0)])
        with self.assertRaisesRegex(ValueError, r"y of site 1 .* must be a number"):
            kavicalc.predict(self.map, self.atlas, 10.0, [{"x": 0.0, "y": "north"}])
        folder = TempFolder()
        self.addCleanup(folder.cleanup)
        with self.assertRaisesRegex(ValueError, "greater than 0"):
            kavicalc.atlas(self.map, self.climate, -5.0, 0.0, 0.0, folder.file("a.lib"))
        with self.assertRaisesRegex(ValueError, "sectors must be a whole number from 1 to 36"):
            kavicalc.rose(self.map, 37, 0.0, 0.0, folder.file("r.rrd"))
        with self.assertRaisesRegex(ValueError, "x of the position"):
            kavicalc.rose(self.map, 12, float("inf"), 0.0, folder.file("r.rrd"))

    def test_settings_are_put_before_the_calculation(self):
        with self.assertRaises(kavicalc.ComError) as caught:
            self.predict([(0.0, 0.0)], settings={"STDH5": 200.5})
        self.assertEqual(caught.exception.description, "Parameter value out of range")
        out = self.folder.file("custom.lib")
        kavicalc.atlas(self.map, self.climate, STATION_HEIGHT, 0.0, 0.0, out,
                       settings={"STDH3": 75, "NUMSTDH": 4})
        with open(out) as atlas_file:
            heights = [float(h) for h in atlas_file.read().splitlines()[3].split()]
        self.assertEqual(heights, [10.0, 25.0, 75.0, 100.0])
        site = self.predict([(0.0, 0.0)])["sites"][0]
        custom = kavicalc.predict(self.map, out, STATION_HEIGHT, [(0.0, 0.0)])["sites"][0]
        self.assertAlmostEqual(custom["weibull_a"], site["weibull_a"],
                               delta=0.01 * site["weibull_a"])

    def test_kavibase_edition_predicts_alike(self):
        current = self.predict([(0.0, 0.0)])["sites"][0]
        earlier = self.predict([(0.0, 0.0)], edition="kavibase")["sites"][0]
        self.assertAlmostEqual(earlier["weibull_a"], current["weibull_a"], places=4)
        self.assertAlmostEqual(earlier["weibull_k"], current["weibull_k"], places=4)

    def test_roughness_rose_of_a_uniform_map(self):
        rose_file = self.folder.file("station.rrd")
        self.assertEqual(kavicalc.rose(self.map, 12, 0.0, 0.0, rose_file), rose_file)
        with open(rose_file) as rose_text:
            lines = rose_text.read().split("\n")
        self.assertEqual(lines[:3], ["VEMO 6.0 RRD", "", "12"])
        # The rose from the file describes the same land as the map itself.
        with_rose = self.predict([(0.0, 0.0)], rose_file=rose_file)["sites"][0]
        from_map = self.predict([(0.0, 0.0)])["sites"][0]
        self.assertAlmostEqual(with_rose["weibull_a"], from_map["weibull_a"], places=3)

    def test_an_output_never_overwrites_an_input(self):
        with open(self.map, "rb") as original:
            map_bytes = original.read()
        link = self.folder.file("link.map")
        os.symlink(self.map, link)
        for out in [self.map, link]:
            with self.subTest(out=out):
                with self.assertRaisesRegex(ValueError, "is the same file as map_file"):
                    kavicalc.rose(self.map, 12, 0.0, 0.0, out)
        with self.assertRaisesRegex(ValueError, "is the same file as tab_file"):
            kavicalc.atlas(self.map, self.climate, STATION_HEIGHT, 0.0, 0.0, self.climate)
        with open(self.map, "rb") as now:
            self.assertEqual(now.read(), map_bytes)


if __name__ == "__main__":
    unittest.main()
