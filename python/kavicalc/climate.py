"""Observed wind climates from measured series, through the kavicalc tool.

The climate logic (reading series, binning, calms, the sample fits, the file
writer and the plot) lives once, in the command-line tool; this function runs
``kavicalc climate ... --format json`` and returns its summary as a dict. The
tool is the one named by KAVI_TOOL, else ``kavicalc`` in the ``bin`` folder
beside the folder of the libraries the client loads (``<prefix>/lib`` and
``<prefix>/bin``, or ``build/lib`` and ``build/bin``), else ``kavicalc`` on PATH.
"""

import json
import os
import shutil
import subprocess

from ._runtime import RUNTIME_FILE, _locate

TOOL_NAME = "kavicalc"


class ClimateError(RuntimeError):
    """The tool refused the input or the options; the message is the tool's own."""

    def __init__(self, message, status):
        super().__init__(message)
        self.status = status


def tool_path():
    """Where the kavicalc tool is; FileNotFoundError when nowhere."""
    explicit = os.environ.get("KAVI_TOOL")
    if explicit:
        return explicit
    try:
        folder = _locate(RUNTIME_FILE)
    except OSError:
        folder = None
    if folder:
        beside = os.path.join(os.path.dirname(folder), "bin", TOOL_NAME)
        if os.access(beside, os.X_OK):
            return beside
    found = shutil.which(TOOL_NAME)
    if found:
        return found
    raise FileNotFoundError("cannot find the kavicalc tool: set KAVI_TOOL to its path")


def climate_from_series(out, series=None, speed=None, direction=None, *, table=None, time=None,
                        skip_rows=None, height=None, latitude=None, longitude=None, title=None,
                        sectors=None, bin_width=None, calm=None, missing=(), start=None,
                        end=None, plot=None):
    """Writes the observed wind climate file ``out`` and returns the summary dict.

    The options are those of ``kavicalc climate``: ``series`` with the
    ``speed`` and ``direction`` columns (names or numbers from 1), or a ready
    frequency ``table``; ``start`` and ``end`` are --from and --to; ``missing``
    is a list of further missing-value markers. Raises ClimateError with the
    tool's message when the tool refuses.
    """
    options = [("--series", series), ("--table", table), ("--speed", speed),
               ("--direction", direction), ("--time", time), ("--skip-rows", skip_rows),
               ("--height", height), ("--latitude", latitude), ("--longitude", longitude),
               ("--title", title), ("--sectors", sectors), ("--bin-width", bin_width),
               ("--calm", calm), *(("--missing", marker) for marker in missing),
               ("--from", start), ("--to", end), ("--out", out), ("--plot", plot),
               ("--format", "json")]
    args = [tool_path(), "climate"]
    for name, value in options:
        if value is not None:
            args += [name, str(value)]
    done = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
    if done.returncode != 0:
        message = os.fsdecode(done.stderr).strip() or f"kavicalc exited with {done.returncode}"
        raise ClimateError(message, done.returncode)
    return json.loads(os.fsdecode(done.stdout))
