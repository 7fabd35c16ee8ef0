"""windIO resources: the schema's keys and dimension lists, values, YAML round trip."""

import os
import unittest

import numpy as np
import yaml

from analysis_support import ATLAS, MAP, ClientTestCase, kavicalc

GRID_DIMS = ["height", "wind_direction", "y", "x"]


class WindioTest(ClientTestCase):

    @classmethod
    def setUpClass(cls):
        cls.grid = kavicalc.grid(MAP, ATLAS, [60, 100], bounds=(0, 0, 600, 300), spacing=300,
                                 jobs=2)

    def test_grid_resource_has_the_schema_keys_dims_and_values(self):
        resource = kavicalc.windio_resource(self.grid)
        self.assertEqual(list(resource), ["wind_direction", "height", "x", "y", "weibull_a",
                                          "weibull_k", "sector_probability"])
        self.assertEqual(resource["wind_direction"], [30.0 * s for s in range(12)])
        self.assertEqual(resource["height"], [60.0, 100.0])
        self.assertEqual(resource["x"], [0.0, 300.0, 600.0])
        self.assertEqual(resource["y"], [0.0, 300.0])
        for key in ("weibull_a", "weibull_k", "sector_probability"):
            self.assertEqual(set(resource[key]), {"data", "dims"})
            self.assertEqual(resource[key]["dims"], GRID_DIMS)
            self.assertEqual(np.shape(resource[key]["data"]), (2, 12, 2, 3))
        a = np.array(resource["weibull_a"]["data"], dtype=np.float32)
        np.testing.assert_array_equal(a, self.grid.sector_weibull_a.values)
        p = np.array(resource["sector_probability"]["data"])
        np.testing.assert_allclose(p.sum(axis=1), 1.0, rtol=1e-5)
        np.testing.assert_allclose(p * 100, self.grid.sector_frequency.values, rtol=1e-6)

    def test_yaml_round_trip_and_no_half_written_file(self):
        path = self.folder.file("resource.yaml")
        self.assertEqual(kavicalc.write_windio(self.grid, path), path)
        with open(path, encoding="utf-8") as source:
            document = yaml.safe_load(source)
        self.assertEqual(set(document), {"name", "wind_resource"})
        self.assertEqual(document["wind_resource"], kavicalc.windio_resource(self.grid))
        self.assertEqual(os.listdir(self.folder.path), ["resource.yaml"])
        with self.assertRaises(ValueError):
            kavicalc.write_windio(self.grid.drop_vars("sector_weibull_k"), path)
        with open(path, encoding="utf-8") as source:
            self.assertEqual(yaml.safe_load(source), document)
        self.assertEqual(os.listdir(self.folder.path), ["resource.yaml"])

    def test_site_resource_is_per_wind_turbine(self):
        sites = kavicalc.predict(MAP, ATLAS, 80, [(0, 0), (300, 0)], as_dataset=True)
        resource = kavicalc.windio_resource(sites)
        self.assertEqual(resource["wind_turbine"], [0, 1])
        self.assertEqual(resource["x"], {"data": [0.0, 300.0], "dims": ["wind_turbine"]})
        self.assertEqual(resource["height"], {"data": [80.0, 80.0], "dims": ["wind_turbine"]})
        self.assertEqual(resource["weibull_k"]["dims"], ["wind_direction", "wind_turbine"])
        np.testing.assert_array_equal(np.array(resource["weibull_k"]["data"], dtype=np.float32),
                                      sites.sector_weibull_k.values)


if __name__ == "__main__":
    unittest.main()
