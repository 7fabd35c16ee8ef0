#!/usr/bin/python3
"""kavicalc.grid of NODES nodes (default 10,000) on the example map at 80 m,
timed side by side in one run: threads jobs=1 against jobs=2; a local Dask
cluster of one worker process against two (one thread each); and the cost of
a tile, from the same grid cut into many small tiles against a few large
ones. Cluster start-up is not timed. Every Dataset is checked to equal the
jobs=1 one.

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
SMALL_TILE_NODES = 5


def timed(label, reference=None, **options):
    start = time.perf_counter()
    dataset = kavicalc.grid(os.path.join(EXAMPLES, "site.map"),
                            os.path.join(EXAMPLES, "station.lib"), 80.0, bounds=BOUNDS,
                            spacing=SPACING, **options)
    elapsed = time.perf_counter() - start
    same = "" if reference is None else (" (equal)" if dataset.identical(reference)
                                         else " (DIFFERENT)")
    print(f"  {label:<34} {elapsed:7.2f} s{same}")
    return dataset, elapsed


def cluster_run(workers, label, reference, **options):
    with LocalCluster(n_workers=workers, threads_per_worker=1, dashboard_address=None,
                      silence_logs=50) as cluster, Client(cluster) as client:
        return timed(label, reference, client=client, **options)


if __name__ == "__main__":
    nodes = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    side = math.isqrt(nodes)
    half = (side - 1) * SPACING / 2
    BOUNDS = (-half, -half, half, half)
    os.environ.setdefault("KAVI_REGISTRY", os.path.join(tempfile.mkdtemp(), "registry"))
    print(f"grid of {side} x {side} nodes at 80 m, {os.cpu_count()} cores")
    one, t1 = timed("threads jobs=1")
    _, t2 = timed("threads jobs=2", one, jobs=2)
    print(f"  threads: jobs=2 / jobs=1 speed-up {t1 / t2:.2f}")
    _, c1 = cluster_run(1, "cluster, 1 worker", one)
    _, c2 = cluster_run(2, "cluster, 2 workers", one)
    print(f"  cluster: 2 workers / 1 worker speed-up {c1 / c2:.2f}")
    _, small = cluster_run(2, f"cluster, 2 workers, {SMALL_TILE_NODES}-node tiles", one,
                           tile_nodes=SMALL_TILE_NODES)
    tiles_default = len(tile_ranges(side * side, 1, None, 2))
    tiles_small = math.ceil(side * side / SMALL_TILE_NODES)
    per_tile = (small - c2) / (tiles_small - tiles_default) * 2  # two tiles run at once
    print(f"  overhead per tile: {per_tile * 1000:.2f} ms of a worker's time "
          f"({tiles_small} against {tiles_default} tiles)")
