"""The engine's results of many site calculations, held in numpy arrays.

One entry per task (a position and a height): elevation, all-sector Weibull
A and k, power density, and per sector the frequency, A and k, all as the
engine gives them (doubles read through the automation interface). Failed
tasks keep not-a-number values and their failure message.
"""

import threading

from .._errors import ComError
from ..jobs import sector_results
from .optional import require

np = require("numpy")

SECTOR_FIELDS = ("Frequency", "WeibullA", "WeibullK")


def failure_text(error):
    """A ComError as the tool prints it: 'SOURCE: DESCRIPTION (0xHRESULT)'."""
    source = " ".join(str(error.source or "").split())
    description = " ".join(str(error.description or "").split())
    return f"{source + ': ' if source else ''}{description} (0x{error.hresult & 0xFFFFFFFF:08X})"


class SiteValues:
    """Results of count tasks; store() may be called from several threads."""

    def __init__(self, count):
        self.count = count
        self.ok = np.zeros(count, dtype=bool)
        self.elevation = np.full(count, np.nan)
        self.weibull_a = np.full(count, np.nan)
        self.weibull_k = np.full(count, np.nan)
        self.power_density = np.full(count, np.nan)
        self.sectors = None  # (count, sector count, frequency / A / k)
        self.failures = {}  # task index -> message
        self._sizing = threading.Lock()

    def __getstate__(self):  # sent back from Dask workers; the lock stays behind
        state = dict(self.__dict__)
        del state["_sizing"]
        return state

    def __setstate__(self, state):
        self.__dict__.update(state)
        self._sizing = threading.Lock()

    def _sector_array(self, count):
        with self._sizing:
            if self.sectors is None:
                self.sectors = np.full((self.count, count, len(SECTOR_FIELDS)), np.nan)
            return self.sectors

    def store(self, index, results):
        """Reads the site results object of task index."""
        try:
            sectors = [[getattr(sector, field) for field in SECTOR_FIELDS]
                       for sector in sector_results(results)]
            values = (results.Elevation, results.TotalWeibullA, results.TotalWeibullK,
                      results.TotalEnergyProduction)
        except ComError as error:
            self.fail(index, failure_text(error))
            return
        array = self._sector_array(len(sectors))
        if array.shape[1] != len(sectors):
            self.fail(index, "the node's result has another sector count than the first one")
            return
        array[index] = sectors
        (self.elevation[index], self.weibull_a[index], self.weibull_k[index],
         self.power_density[index]) = values
        self.ok[index] = True

    def fail(self, index, text):
        self.failures[index] = text

    def merge(self, start, part):
        """Copies part (the values of tasks start … start + part.count) into self."""
        stop = start + part.count
        for index, text in part.failures.items():
            self.fail(start + index, text)
        if part.sectors is None:
            return
        array = self._sector_array(part.sectors.shape[1])
        if array.shape[1] != part.sectors.shape[1]:
            for index in np.flatnonzero(part.ok):
                self.fail(start + int(index),
                          "the node's result has another sector count than the first one")
            return
        array[start:stop] = part.sectors
        for name in ("ok", "elevation", "weibull_a", "weibull_k", "power_density"):
            getattr(self, name)[start:stop] = getattr(part, name)
