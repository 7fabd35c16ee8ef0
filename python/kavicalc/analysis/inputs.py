"""The inputs of a run of site calculations, and the AtlasUser they set up."""

import os

from .. import jobs
from .._site_runs import run_sites
from .results import SiteValues, failure_text

ENGINE_FILES = ("map_file", "atlas_file", "rose_file", "obstacles_file")


class CalculationInputs:
    """File names, configuration parameters and edition of the calculations."""

    def __init__(self, map_file, atlas_file, rose_file=None, obstacles_file=None,
                 parameters=None, edition="kavicalc"):
        self.map_file = os.fspath(map_file)
        self.atlas_file = os.fspath(atlas_file)
        self.rose_file = None if rose_file is None else os.fspath(rose_file)
        self.obstacles_file = None if obstacles_file is None else os.fspath(obstacles_file)
        self.parameters = dict(parameters or {})
        self.edition = str(edition).lower()
        if self.edition not in jobs.EDITION_PREFIXES:
            raise ValueError(f"unknown edition {edition!r}: use 'kavicalc' or 'kavibase'")

    def files(self):
        """{role: path} of the files given."""
        return {role: getattr(self, role) for role in ENGINE_FILES
                if getattr(self, role) is not None}

    def check_readable(self):
        """OSError naming the first input file that cannot be read."""
        for role, path in self.files().items():
            with open(path, "rb"):
                pass

    def open_user(self):
        """A new AtlasUser with the inputs put, on the calling thread."""
        user = jobs._create(self.edition, "AtlasUser")
        jobs._configure(user, self.parameters)
        user.MapFile = self.map_file
        user.AtlasFile = self.atlas_file
        jobs._put_optional(user, "RoughnessRoseFile", self.rose_file)
        jobs._put_optional(user, "ObstaclesDataFile", self.obstacles_file)
        return user


def calculate(open_user, tasks, jobs_count, progress=None):
    """SiteValues of tasks [(x, y, height), ...] on jobs_count threads.

    progress, when given, is told of every finished task (advance()).
    """
    values = SiteValues(len(tasks))

    def store(index, results):
        values.store(index, results)
        if progress is not None:
            progress.advance()

    def fail(index, error):
        values.fail(index, failure_text(error))
        if progress is not None:
            progress.advance()

    run_sites(open_user, tasks, jobs_count, store, fail)
    return values
