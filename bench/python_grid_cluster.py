#!/usr/bin/python3
"""kavicalc.grid of NODES nodes (default 10,000) on the example map at 80 m,
timed side by side in one run:

- threads: jobs=1 against jobs=2;
- a local Dask cluster of one worker process against two (one thread each),
  with the default tiles; cluster start-up is not timed, the scattering of
  the inputs and the first set-up on each worker are;
- the cost of a tile: the same grid on two workers cut into many small tiles
  against the default few large ones, the extra time over the extra tiles,
  times the two workers that run tiles at once.

Every Dataset is checked to equal the jobs=1 one. The load average is printed
before and after, since the figures mean little on a busy machine.

    PYTHONPATH=python /usr/bin/python3 bench/python_grid_cluster.py [NODES]
"""

import math
import os
import sys
import tempfile
import time

from distributed import Client, LocalCluster

import kavicalc
from kavicalc.analysis.cluster import tile_ranges

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")
SPACING = 20.0
HEIGHT = 80.0
SMALL_TILE_NODES = 5
CLUSTER_TARGET = 1.7  # two workers against one on two cores


def load():
    return "load average " + " ".join(f"{value:.2f}" for value in os.getloadavg())


class Bench:
    def __init__(self, nodes):
        self.side = math.isqrt(nodes)
        half = (self.side - 1) * SPACING / 2
        self.bounds = (-half, -half, half, half)
        self.reference = None

    @property
    def nodes(self):
        return self.side * self.side

    def timed(self, label, **options):
        """Seconds of one grid run; the Dataset is compared with the first run's."""
        start = time.perf_counter()
        dataset = kavicalc.grid(os.path.join(EXAMPLES, "site.map"),
                                os.path.join(EXAMPLES, "station.lib"), HEIGHT,
                                bounds=self.bounds, spacing=SPACING, **options)
        elapsed = time.perf_counter() - start
        if self.reference is None:
            self.reference, same = dataset, ""
        else:
            same = " (equal)" if dataset.identical(self.reference) else " (DIFFERENT)"
        print(f"  {label:<36} {elapsed:7.2f} s  {self.nodes / elapsed:7.0f} nodes/s{same}",
              flush=True)
        return elapsed

    def on_cluster(self, workers, label, **options):
        with LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                          dashboard_address=None, silence_logs=50) as cluster, \
                Client(cluster, set_as_default=False) as client:
            return self.timed(label, client=client, **options)


def main(nodes):
    os.environ.setdefault("KAVI_REGISTRY", os.path.join(tempfile.mkdtemp(), "registry"))
    bench = Bench(nodes)
    print(f"grid of {bench.side} x {bench.side} = {bench.nodes} nodes at {HEIGHT:g} m, "
          f"{os.cpu_count()} cores, {load()}")

    # Untimed: registration and the first reading of the inputs are not the grid's cost.
    kavicalc.grid(os.path.join(EXAMPLES, "site.map"), os.path.join(EXAMPLES, "station.lib"),
                  HEIGHT, bounds=(0, 0, SPACING, SPACING), spacing=SPACING, jobs=1)
    t1 = bench.timed("threads jobs=1", jobs=1)
    t2 = bench.timed("threads jobs=2", jobs=2)
    c1 = bench.on_cluster(1, "cluster, 1 worker")
    c2 = bench.on_cluster(2, "cluster, 2 workers")
    small = bench.on_cluster(2, f"cluster, 2 workers, {SMALL_TILE_NODES}-node tiles",
                             tile_nodes=SMALL_TILE_NODES)

    default_tiles = len(tile_ranges(bench.nodes, 1, None, 2))
    small_tiles = len(tile_ranges(bench.nodes, 1, SMALL_TILE_NODES, 2))
    per_tile = (small - c2) / (small_tiles - default_tiles) * 2  # two tiles run at once
    print(f"threads: jobs=2 / jobs=1 speed-up {t1 / t2:.2f}")
    print(f"cluster: 2 workers / 1 worker speed-up {c1 / c2:.2f} (target {CLUSTER_TARGET} "
          f"on 2 idle cores)")
    print(f"cluster against threads: 1 worker / jobs=1 time {c1 / t1:.2f}, "
          f"2 workers / jobs=2 time {c2 / t2:.2f}")
    print(f"overhead per tile: {per_tile * 1000:.2f} ms of a worker's time ({small_tiles} "
          f"tiles of {SMALL_TILE_NODES} nodes against {default_tiles} default tiles)")
    print(f"after: {load()}")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 10000)
