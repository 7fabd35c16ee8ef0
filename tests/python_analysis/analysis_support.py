"""What the analysis-layer tests share: the example site, the tool, clusters.

They run with Debian's /usr/bin/python3 and its numpy, xarray, dask and
yaml packages; KAVI_TOOL names the built command-line tool.
"""

import os
import subprocess
import sys

_HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(_HERE, "..", "python"))

from client_support import ClientTestCase, kavicalc  # noqa: E402,F401  (shared with the tests)

EXAMPLES = os.path.normpath(os.path.join(_HERE, "..", "..", "examples"))
MAP = os.path.join(EXAMPLES, "site.map")
ATLAS = os.path.join(EXAMPLES, "station.lib")
CURVE = os.path.join(EXAMPLES, "e101_3050kw.csv")
# The example map reaches about 20 km from the origin: nodes 40 km out fail.
FAR_X = 40000.0


def run_tool(*arguments):
    """Runs the kavicalc tool; returns the completed process."""
    tool = os.environ.get("KAVI_TOOL") or "kavicalc"
    return subprocess.run([tool, *arguments], capture_output=True, text=True, check=False)


def local_cluster(**options):
    """A LocalCluster of two single-thread worker processes, without dashboard."""
    from distributed import LocalCluster
    settings = {"n_workers": 2, "threads_per_worker": 1, "processes": True,
                "dashboard_address": None, "silence_logs": 50}
    settings.update(options)
    return LocalCluster(**settings)
