"""Site calculations on several threads, each with its own AtlasUser.

An object belongs to the thread that created it, so every worker thread sets
up its own AtlasUser and then takes the next task from a shared counter until
none is left. The calls into the engine release the interpreter lock (ctypes
does so for every foreign call), so the threads calculate at the same time.
"""

import os
import threading
from concurrent.futures import ThreadPoolExecutor

from ._errors import ComError


def default_jobs():
    """All cores, as the command-line tool uses by default."""
    return max(1, os.cpu_count() or 1)


def check_jobs(jobs):
    """jobs as a thread count: None means all cores; else a whole number from 1 on."""
    if jobs is None:
        return default_jobs()
    if isinstance(jobs, bool) or not isinstance(jobs, int) or jobs < 1:
        raise ValueError(f"jobs is a whole number of threads from 1 on, not {jobs!r}")
    return jobs


def run_sites(open_user, tasks, jobs, on_result, on_failure):
    """Calculates every task (x, y, height) on up to jobs threads.

    open_user() returns a set-up AtlasUser; it is called once on each thread.
    on_result(index, results) receives the site results object of a task on
    the thread that calculated it; on_failure(index, error) the ComError of a
    task that failed. A failure to set up a user, or any exception from the
    callbacks, stops the other threads and is raised here.
    """
    counter = iter(range(len(tasks)))
    take = threading.Lock()
    stop = threading.Event()

    def work():
        try:
            user = open_user()
            while not stop.is_set():
                with take:
                    index = next(counter, None)
                if index is None:
                    return
                x, y, height = tasks[index]
                try:
                    user.HeightAGL = height
                    results = user.CalculateResults(x, y)
                except ComError as error:
                    on_failure(index, error)
                    continue
                on_result(index, results)
        except BaseException:
            stop.set()
            raise

    threads = min(jobs, len(tasks))
    if threads <= 1:
        work()
        return
    with ThreadPoolExecutor(max_workers=threads, thread_name_prefix="kavicalc") as pool:
        futures = [pool.submit(work) for _ in range(threads)]
    for future in futures:
        future.result()
