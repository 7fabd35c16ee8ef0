"""Resource grids on a Dask cluster: tiles of nodes calculated on the workers.

The input files travel as bytes (scattered once to every worker), so workers
need no shared file system: each worker process writes them into a private
temporary folder of its own. Every worker thread keeps one AtlasUser, created
on that thread, for the inputs it last calculated with, so a tile after the
first one on a thread skips the set-up and the map reading. A tile that
raises is retried once; then its nodes are not a number and the failure is
reported with the run. Before anything is sent each worker is asked to
create an AtlasUser, so that a worker that cannot load the library is named
with its reason instead of failing tiles.
"""

import atexit
import collections
import hashlib
import math
import os
import shutil
import tempfile
import threading
import uuid

from .. import jobs
from . import GridError
from .inputs import ENGINE_FILES, CalculationInputs, calculate
from .optional import require
from .results import SiteValues

distributed = require("distributed")

MAXIMUM_TILE_NODES = 1000
TILES_PER_THREAD = 4
_KEPT_INPUT_SETS = 4  # input folders a worker process keeps for later tiles


class InputBundle:
    """The engine's input files as bytes, with the parameters and edition."""

    def __init__(self, inputs):
        self.files = {}
        for role, path in inputs.files().items():
            with open(path, "rb") as source:
                self.files[role] = (os.path.basename(path) or role, source.read())
        self.parameters = dict(inputs.parameters)
        self.edition = inputs.edition
        digest = hashlib.sha256(repr((sorted(self.parameters.items()), self.edition)).encode())
        for role in sorted(self.files):
            name, data = self.files[role]
            digest.update(f"\0{role}\0{name}\0{len(data)}\0".encode())
            digest.update(data)
        self.digest = digest.hexdigest()


_folders = collections.OrderedDict()  # digest -> folder, most recently used last
_folders_lock = threading.Lock()
_thread_user = threading.local()


def _remove_folders():
    for folder in _folders.values():
        shutil.rmtree(folder, ignore_errors=True)


atexit.register(_remove_folders)


def _write(path, data):
    temporary = f"{path}.{uuid.uuid4().hex}.tmp"
    with open(temporary, "wb") as out:
        out.write(data)
    os.replace(temporary, path)


def _inputs_here(bundle):
    """CalculationInputs naming copies of the bundle's files in this process."""
    with _folders_lock:
        folder = _folders.get(bundle.digest)
        if folder is None:
            folder = tempfile.mkdtemp(prefix="kavicalc-inputs-")
            for role, (name, data) in bundle.files.items():
                os.mkdir(os.path.join(folder, role))
                _write(os.path.join(folder, role, name), data)
            _folders[bundle.digest] = folder
            while len(_folders) > _KEPT_INPUT_SETS:
                shutil.rmtree(_folders.popitem(last=False)[1], ignore_errors=True)
        _folders.move_to_end(bundle.digest)
    paths = {role: os.path.join(folder, role, name) for role, (name, _) in bundle.files.items()}
    return CalculationInputs(*(paths.get(role) for role in ENGINE_FILES),
                             parameters=bundle.parameters, edition=bundle.edition)


def _user_for(bundle):
    """This thread's AtlasUser for the bundle's inputs, set up on first use."""
    kept = getattr(_thread_user, "kept", None)
    if kept is None or kept[0] != bundle.digest:
        _thread_user.kept = None
        kept = (bundle.digest, _inputs_here(bundle).open_user())
        _thread_user.kept = kept
    return kept[1]


def compute_tile(bundle, tasks):
    """SiteValues of the tile's tasks [(x, y, height), ...], on this worker thread."""
    return calculate(lambda: _user_for(bundle), tasks, 1)


def probe_worker(edition):
    """Creates an AtlasUser of the edition: raises what stops this worker from calculating."""
    jobs._create(edition, "AtlasUser")
    return True


def connect(client, timeout):
    """(client, whether this call opened it) for a Client or a scheduler address."""
    if isinstance(client, str):
        try:  # a malformed address is refused before a Client is half made of it
            distributed.comm.get_address_host_port(client)
        except ValueError as error:
            raise ValueError(f"{client!r} is not a Dask scheduler address: give one such as "
                             f"'tcp://scheduler:8786' ({error})") from None
        try:
            return distributed.Client(client, timeout=timeout, set_as_default=False), True
        except (OSError, TimeoutError) as error:
            raise ConnectionError(f"cannot reach the Dask scheduler at {client} within "
                                  f"{timeout:g} s: {error}") from error
    if not isinstance(client, distributed.Client):
        raise TypeError("client is a dask.distributed.Client or a scheduler address such as "
                        f"'tcp://scheduler:8786', not {type(client).__name__}")
    if client.status != "running":
        raise ConnectionError(f"the Dask client is not connected to a scheduler (its status is "
                              f"{client.status!r})")
    return client, False


def check_workers(client, edition):
    """GridError naming every worker that cannot create an AtlasUser, and why."""
    answers = client.run(probe_worker, edition, on_error="return")
    if not answers:
        raise GridError("the Dask cluster has no workers to calculate on")
    failed = {worker: answer for worker, answer in answers.items() if answer is not True}
    if failed:
        lines = [f"  {worker}: {type(error).__name__}: {error}"
                 for worker, error in sorted(failed.items())]
        raise GridError(f"{len(failed)} of {len(answers)} Dask workers cannot run Kavicalc "
                        "calculations (the kavicalc package and its libraries must be installed "
                        "on every worker):\n" + "\n".join(lines))


def tile_ranges(tasks, heights, tile_nodes, threads):
    """[(first task, end task), ...] of tiles of whole nodes."""
    nodes = tasks // heights
    if tile_nodes is None:
        tile_nodes = min(MAXIMUM_TILE_NODES, math.ceil(nodes / (TILES_PER_THREAD * threads)))
    elif isinstance(tile_nodes, bool) or not isinstance(tile_nodes, int) or tile_nodes < 1:
        raise ValueError(f"tile_nodes is a whole number of nodes from 1 on, not {tile_nodes!r}")
    size = max(1, tile_nodes) * heights
    return [(start, min(start + size, tasks)) for start in range(0, tasks, size)]


def _tile_text(start, stop, heights, error):
    return (f"nodes {start // heights} to {(stop - 1) // heights}: {type(error).__name__}: "
            f"{error} (tried twice)")


def run_on_cluster(client, inputs, tasks, heights, tile_nodes, progress, timeout):
    """(SiteValues, texts of failed tiles) of tasks calculated on the cluster."""
    client, opened = connect(client, timeout)
    futures = []
    try:
        check_workers(client, inputs.edition)
        threads = max(1, sum(client.nthreads().values()))
        ranges = tile_ranges(len(tasks), heights, tile_nodes, threads)
        shared = client.scatter(InputBundle(inputs), broadcast=True, hash=False)
        run = uuid.uuid4().hex
        futures = [client.submit(compute_tile, shared, tasks[start:stop], retries=1, pure=False,
                                 key=f"kavicalc-tile-{run}-{number}")
                   for number, (start, stop) in enumerate(ranges)]
        if progress:  # Dask's text bar, which waits for the tiles; a notebook shows it too
            distributed.progress(futures, scheduler=client.scheduler.address, notebook=False)
        try:
            parts = iter(client.gather(futures, errors="skip"))
        except distributed.client.CancelledError as error:
            raise GridError(f"the cluster cancelled a tile of the grid ({error}); the run is "
                            "incomplete") from error
        values = SiteValues(len(tasks))
        failed = []
        for (start, stop), future in zip(ranges, futures):
            if future.status == "finished":
                values.merge(start, next(parts))
            elif future.status == "error":
                error = future.exception()
                for index in range(start, stop):
                    values.fail(index, f"tile failed: {type(error).__name__}: {error}")
                failed.append(_tile_text(start, stop, heights, error))
            else:
                raise GridError(f"a tile of the grid was {future.status} on the cluster; "
                                "the run is incomplete")
        return values, failed
    finally:
        if futures:
            client.cancel(futures)
        if opened:
            client.close()
