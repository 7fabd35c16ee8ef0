"""What went wrong in a run: failed calculations by message, failed tiles.

A run with failures still returns its other values; the failures are stated
on the Dataset's attributes and in a GridWarning. A run in which every
calculation failed raises GridError instead.
"""

import warnings

from . import GridError, GridWarning

SHOWN_FAILURES = 5


def _number(value):
    return f"{value:g}"


class FailureReport:
    """The failures of values (SiteValues) for tasks [(x, y, height), ...]."""

    def __init__(self, tasks, values, tile_failures=()):
        self.tasks = tasks
        self.values = values
        self.tile_failures = list(tile_failures)  # texts, one per failed tile

    @property
    def failed(self):
        return len(self.values.failures)

    def lines(self):
        counts = {}
        for index in sorted(self.values.failures):
            text = self.values.failures[index]
            counts[text] = counts.get(text, 0) + 1
        lines = [f"{self.failed} of {len(self.tasks)} calculations failed"]
        lines += [f"{count} × {text}" for text, count in counts.items()]
        for index in sorted(self.values.failures)[:SHOWN_FAILURES]:
            x, y, height = self.tasks[index]
            lines.append(f"at x {_number(x)}, y {_number(y)}, height {_number(height)} m: "
                         f"{self.values.failures[index]}")
        lines += [f"tile failed: {text}" for text in self.tile_failures]
        return lines

    def apply(self, dataset, what):
        """Adds the failures to dataset's attributes and warns; GridError when all failed."""
        if self.failed == 0:
            return dataset
        text = "\n".join(self.lines())
        if self.failed == len(self.tasks):
            raise GridError(f"{what}: every calculation failed, no values:\n{text}")
        dataset.attrs["failed_calculations"] = self.failed
        if self.tile_failures:
            dataset.attrs["failed_tiles"] = len(self.tile_failures)
        dataset.attrs["failures"] = text
        warnings.warn(GridWarning(f"{what}: not-a-number values where calculations failed:\n"
                                  f"{text}"), stacklevel=3)
        return dataset
