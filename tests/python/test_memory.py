"""References are released: many calls keep the process flat, objects all go away.

Two independent checks: the server's own count of live objects (component
objects, results, enumerators: DllCanUnloadNow answers S_OK only at zero), and
the resident size of the process read from /proc/self/statm.
"""

import gc
import os
import subprocess
import sys
import textwrap
import unittest

from client_support import (ClientTestCase, kavicalc, write_flat_map,
                            write_weibull_climate)
from kavicalc import _runtime

ITERATIONS = 2000
WARM_UP = 200
# Allowed growth of the resident size over the measured iterations. A leak of
# one BSTR, VARIANT or reference per call would pass it several times over.
ALLOWED_GROWTH = 1 << 20


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def no_live_objects():
    gc.collect()
    return _runtime.server("libkavicalc.so").DllCanUnloadNow() == 0


class MemoryTest(ClientTestCase):

    def measure(self, step):
        """Resident growth in bytes over ITERATIONS calls of step, after a warm-up."""
        for i in range(WARM_UP):
            step(i)
        gc.collect()
        before = resident_bytes()
        for i in range(ITERATIONS):
            step(i)
        gc.collect()
        return resident_bytes() - before

    def assertFlat(self, growth, what):
        self.assertLess(growth, ALLOWED_GROWTH,
                        f"{what}: resident size grew by {growth} bytes over {ITERATIONS} rounds")

    def test_property_gets_puts_and_failures(self):
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        empty = kavicalc.Dispatch("Kavicalc.AtlasUser")
        configuration = user.Configuration

        def step(i):
            user.MapFile = f"map file number {i} ☃.map"
            self.assertTrue(user.MapFile.startswith("map file"))
            user.HeightAGL = i + 0.5
            self.assertEqual(user.HeightAGL, i + 0.5)
            parameter = configuration.Item("STDH3")
            parameter.Value = 5 + i % 100
            self.assertEqual(parameter.ValidRange, (5.0, 200.0))
            with self.assertRaises(kavicalc.ComError):
                configuration.Item("STDH5").Value = 200.5
            with self.assertRaises(kavicalc.ComError):
                empty.CalculateResults(float(i), 0.0)
            with self.assertRaises(kavicalc.ComError):
                user.CalculateResults(float(i), 0.0)  # the map cannot be read
            if i % 20 == 0:
                self.assertEqual(len(list(configuration.EnumParameters)), 30)
                kavicalc.Dispatch("Kavicalc.AtlasGenerator").MapFile = "transient.map"

        self.assertFlat(self.measure(step), "property calls and failing calculations")
        del user, empty, configuration, step
        self.assertTrue(no_live_objects())

    def test_predictions(self):
        map_file = write_flat_map(self.folder.file("flat.map"))
        climate = write_weibull_climate(self.folder.file("station.tab"))
        atlas_file = self.folder.file("station.lib")
        kavicalc.atlas(map_file, climate, 10.0, 0.0, 0.0, atlas_file)
        user = kavicalc.Dispatch("Kavicalc.AtlasUser")
        user.MapFile = map_file
        user.AtlasFile = atlas_file
        user.HeightAGL = 10.0

        def step(i):
            results = user.CalculateResults(float(i % 50), 0.0)
            entry = results.SectorResult(1 + i % 12)
            self.assertGreater(entry.WeibullA, 0.0)
            self.assertGreater(results.TotalEnergyProduction, 0.0)

        self.assertFlat(self.measure(step), "predictions")
        entry = user.CalculateResults(0.0, 0.0).SectorResult(12)
        del user, step
        self.assertFalse(no_live_objects(), "an entry keeps its results alive")
        self.assertGreater(entry.Frequency, 0.0)
        del entry
        self.assertTrue(no_live_objects())

    def test_references_alive_at_exit_are_released_in_order(self):
        script = textwrap.dedent("""
            import atexit, gc, sys
            import kavicalc
            from kavicalc import _runtime
            server = _runtime.server("libkavicalc.so")
            # Registered before any object exists, so it runs after their release.
            atexit.register(lambda: print("live objects at exit:",
                                          "none" if server.DllCanUnloadNow() == 0 else "some"))
            user = kavicalc.Dispatch("Kavicalc.AtlasUser")
            items = iter(user.Configuration.EnumParameters)
            first = next(items)
            method = user.Configuration.Item
            cycle = [user, first]
            cycle.append(cycle)
            print("created")
        """)
        environment = dict(os.environ)
        environment["PYTHONPATH"] = os.path.dirname(os.path.dirname(kavicalc.__file__))
        run = subprocess.run([sys.executable, "-c", script], env=environment,
                             capture_output=True, text=True, timeout=120)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stdout.split("\n")[:2], ["created", "live objects at exit: none"])


if __name__ == "__main__":
    unittest.main()
