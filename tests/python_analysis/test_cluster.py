"""Grids on a LocalCluster of two worker processes: equal to local runs,
failing tiles retried then reported, a killed worker survived, workers that
cannot load the library named, an unreachable scheduler refused in time."""

import contextlib
import io
import os
import signal
import tempfile
import threading
import time
import unittest
import warnings

import numpy as np
import xarray as xr
from distributed import Client

from analysis_support import ATLAS, CURVE, FAR_X, MAP, ClientTestCase, kavicalc, local_cluster
import kavicalc.analysis.cluster as cluster_module  # noqa: E402  (after the path is set)

BOUNDS = (-900.0, -300.0, 900.0, 300.0)


def tile_fault(marker_folder, failing, every_time):
    """Makes this worker's tiles that hold the node failing (x, y) raise: every
    time, or only on the first attempt (a marker file records it)."""
    real = cluster_module.calculate

    def faulty(open_user, tasks, jobs):
        if any((x, y) == failing for x, y, _ in tasks):
            marker = os.path.join(marker_folder, "attempted")
            if every_time or not os.path.exists(marker):
                open(marker, "w").close()
                raise RuntimeError("injected tile fault")
        return real(open_user, tasks, jobs)

    faulty.real = real
    cluster_module.calculate = faulty


def remove_tile_fault():
    cluster_module.calculate = getattr(cluster_module.calculate, "real", cluster_module.calculate)


class ClusterGridTest(ClientTestCase):

    @classmethod
    def setUpClass(cls):
        cls.cluster = local_cluster()
        cls.client = Client(cls.cluster, set_as_default=False)
        cls.local = kavicalc.grid(MAP, ATLAS, [50, 80], bounds=BOUNDS, spacing=300,
                                  power_curve=CURVE, jobs=1)

    @classmethod
    def tearDownClass(cls):
        cls.client.close()
        cls.cluster.close()

    def grid(self, **options):
        return kavicalc.grid(MAP, ATLAS, [50, 80], bounds=BOUNDS, spacing=300,
                             power_curve=CURVE, client=self.client, **options)

    def test_cluster_equals_local_run_with_one_thread(self):
        for tile_nodes in (1, 4, None):
            with self.subTest(tile_nodes=tile_nodes):
                xr.testing.assert_identical(self.grid(tile_nodes=tile_nodes), self.local)
        shown = io.StringIO()  # Dask's text progress bar of the tiles
        with contextlib.redirect_stdout(shown):
            xr.testing.assert_identical(self.grid(tile_nodes=5, progress=True), self.local)
        self.assertIn("| 100% Completed |", shown.getvalue())

    def test_tile_of_failing_nodes_is_reported_and_the_run_goes_on(self):
        options = dict(bounds=(0.0, 0.0, 3 * FAR_X / 2, 1.0), spacing=FAR_X / 2)
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            remote = kavicalc.grid(MAP, ATLAS, 80, client=self.client, tile_nodes=2, **options)
            local = kavicalc.grid(MAP, ATLAS, 80, jobs=1, **options)
        self.assertEqual([w.category for w in caught], [kavicalc.GridWarning] * 2)
        xr.testing.assert_identical(remote, local)
        self.assertEqual(remote.attrs["failed_calculations"], 2)
        self.assertTrue(np.isfinite(remote.mean_speed.values[0, 0, :2]).all())

    def test_failing_tile_is_retried_once_then_nan(self):
        self.addCleanup(self.client.run, remove_tile_fault)
        for every_time in (False, True):
            with self.subTest(every_time=every_time), tempfile.TemporaryDirectory() as markers:
                self.client.run(tile_fault, markers, (0.0, -300.0), every_time)
                with warnings.catch_warnings(record=True) as caught:
                    warnings.simplefilter("always")
                    ds = self.grid(tile_nodes=2)
                self.client.run(remove_tile_fault)
                self.assertTrue(os.path.exists(os.path.join(markers, "attempted")))
                if not every_time:  # the second attempt succeeded
                    self.assertEqual(caught, [])
                    xr.testing.assert_identical(ds, self.local)
                    continue
                self.assertEqual([w.category for w in caught], [kavicalc.GridWarning])
                self.assertEqual(ds.attrs["failed_tiles"], 1)
                self.assertEqual(ds.attrs["failed_calculations"], 4)  # two nodes, two heights
                self.assertIn("tile failed: nodes 2 to 3: RuntimeError: injected tile fault "
                              "(tried twice)", ds.attrs["failures"])
                failed = np.isnan(ds.mean_speed.values)
                self.assertEqual(failed.sum(), 4)
                self.assertTrue(failed[:, 0, 3].all())  # x = 0 is column 3 of row 0
                kept = ~np.isnan(ds.mean_speed.values)
                np.testing.assert_array_equal(ds.mean_speed.values[kept],
                                              self.local.mean_speed.values[kept])

    def test_every_tile_failing_raises(self):
        with self.assertRaises(kavicalc.GridError):
            kavicalc.grid(MAP, ATLAS, 80, bounds=(FAR_X, 0.0, 2 * FAR_X, 1.0), spacing=FAR_X,
                          client=self.client, tile_nodes=1)


class ClusterFaultsTest(ClientTestCase):

    def test_killed_worker_is_survived(self):
        with local_cluster() as cluster, Client(cluster, set_as_default=False) as client:
            pids = client.run(os.getpid)
            local = kavicalc.grid(MAP, ATLAS, 80, bounds=BOUNDS, spacing=150, jobs=1)
            outcome = {}

            def run():
                outcome["ds"] = kavicalc.grid(MAP, ATLAS, 80, bounds=BOUNDS, spacing=150,
                                              client=client, tile_nodes=1)

            runner = threading.Thread(target=run)
            runner.start()
            victim = None
            while runner.is_alive() and victim is None:  # kill a worker while it calculates
                busy = [w for w, keys in client.processing().items()
                        if any(str(k).startswith("kavicalc-tile") for k in keys)]
                victim = busy[0] if busy else None
                time.sleep(0.01)
            if victim:
                os.kill(pids[victim], signal.SIGKILL)
            runner.join()
            self.assertIsNotNone(victim)
            xr.testing.assert_identical(outcome["ds"], local)

    def test_worker_without_library_is_named_with_reason(self):
        missing = os.path.join(self.folder.path, "no-libraries")
        with local_cluster(env={"KAVI_LIBRARY_DIR": missing}) as cluster, \
                Client(cluster, set_as_default=False) as client:
            with self.assertRaises(kavicalc.GridError) as caught:
                kavicalc.grid(MAP, ATLAS, 80, bounds=BOUNDS, spacing=300, client=client)
            workers = sorted(client.scheduler_info()["workers"])
        text = str(caught.exception)
        self.assertIn("2 of 2 Dask workers cannot run Kavicalc calculations", text)
        for worker in workers:
            self.assertIn(f"{worker}: LibraryNotFound: libkavirt.so is not in "
                          f"KAVI_LIBRARY_DIR={missing}", text)

    def test_unreachable_scheduler_fails_within_the_timeout(self):
        with self.assertRaises(ConnectionError) as caught:
            kavicalc.grid(MAP, ATLAS, 80, bounds=BOUNDS, spacing=300,
                          client="tcp://127.0.0.1:9", scheduler_timeout=1.0)
        self.assertIn("cannot reach the Dask scheduler at tcp://127.0.0.1:9 within 1 s",
                      str(caught.exception))
        with self.assertRaises(TypeError):
            kavicalc.grid(MAP, ATLAS, 80, bounds=BOUNDS, spacing=300, client=42)
        for address in ("scheduler", "tcp://scheduler:port"):
            with self.subTest(address=address), self.assertRaises(ValueError) as caught:
                kavicalc.grid(MAP, ATLAS, 80, bounds=BOUNDS, spacing=300, client=address)
            self.assertIn(f"{address!r} is not a Dask scheduler address", str(caught.exception))
        with self.assertRaises(ValueError) as caught:  # no nodes: refused before connecting
            kavicalc.grid(MAP, ATLAS, 80, bounds=(0, 0, 0, 100), spacing=50,
                          client="tcp://127.0.0.1:9")
        self.assertIn("x0 < x1", str(caught.exception))

    def test_cluster_without_workers_is_refused(self):
        with local_cluster(n_workers=0) as cluster, Client(cluster, set_as_default=False) as client:
            with self.assertRaises(kavicalc.GridError) as caught:
                kavicalc.grid(MAP, ATLAS, 80, bounds=BOUNDS, spacing=300, client=client)
        self.assertIn("the Dask cluster has no workers", str(caught.exception))


if __name__ == "__main__":
    unittest.main()
