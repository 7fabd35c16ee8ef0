"""The nodes of a resource grid and the heights, worked out as the tool does.

Nodes lie every spacing map units from the south-west corner (x0, y0) on, as
far as the area reaches; node index = row × columns + column, row 0 in the
south. The area is bounds (x0, y0, x1, y1) or the square of half-width radius
around a point.
"""

import math
from collections.abc import Iterable

MAXIMUM_NODES = 10_000_000
MAXIMUM_HEIGHTS = 20
_EDGE_TOLERANCE = 1e-9  # a node short of the edge by this part of the spacing is inside


def _finite(value, what):
    try:
        number = float(value)
    except (TypeError, ValueError):
        number = math.nan
    if not math.isfinite(number):
        raise ValueError(f"{what} must be a finite number, not {value!r}")
    return number


def _positive(value, what):
    number = _finite(value, what)
    if number <= 0:
        raise ValueError(f"{what} must be a length in map units greater than 0, not {value!r}")
    return number


def _pair(values, count, what, example):
    try:
        items = list(values)
    except TypeError:
        items = None
    if items is None or len(items) != count:
        raise ValueError(f"{what} is {example}, not {values!r}")
    return [_finite(item, what) for item in items]


class GridLayout:
    """Columns along x (east) and rows along y (north) at a common spacing."""

    def __init__(self, x0, y0, spacing, columns, rows):
        self.x0, self.y0, self.spacing = x0, y0, spacing
        self.columns, self.rows = columns, rows

    @property
    def nodes(self):
        return self.columns * self.rows

    def xs(self):
        return [self.x0 + column * self.spacing for column in range(self.columns)]

    def ys(self):
        return [self.y0 + row * self.spacing for row in range(self.rows)]

    def node_position(self, node):
        return (self.x0 + (node % self.columns) * self.spacing,
                self.y0 + (node // self.columns) * self.spacing)


def grid_layout(bounds=None, around=None, radius=None, spacing=None):
    """The layout of bounds=(x0, y0, x1, y1) or around=(x, y) with radius, at spacing."""
    if bounds is not None and (around is not None or radius is not None):
        raise ValueError("give the area either as bounds or as around and radius, not both")
    if bounds is None and around is None:
        raise ValueError("no area: give bounds=(x0, y0, x1, y1) or around=(x, y) and radius")
    if bounds is not None:
        x0, y0, x1, y1 = _pair(bounds, 4, "bounds", "(x0, y0, x1, y1) in map units")
        if not (x0 < x1 and y0 < y1):
            raise ValueError(f"bounds (x0, y0, x1, y1) need x0 < x1 and y0 < y1, so that the "
                             f"grid has nodes; got {tuple(bounds)!r}")
    else:
        cx, cy = _pair(around, 2, "around", "(x, y) in map units")
        if radius is None:
            raise ValueError("around needs radius, the half-width of the square in map units")
        r = _positive(radius, "radius")
        x0, y0, x1, y1 = cx - r, cy - r, cx + r, cy + r
    if spacing is None:
        raise ValueError("spacing, the distance between neighbouring nodes in map units, "
                         "is required")
    step = _positive(spacing, "spacing")
    columns = math.floor((x1 - x0) / step + _EDGE_TOLERANCE) + 1
    rows = math.floor((y1 - y0) / step + _EDGE_TOLERANCE) + 1
    if columns * rows > MAXIMUM_NODES:
        raise ValueError(f"the grid would have {columns} × {rows} nodes, more than the "
                         f"{MAXIMUM_NODES} allowed; choose a larger spacing or a smaller area")
    return GridLayout(x0, y0, step, columns, rows)


def height_list(heights):
    """heights (one number or several) as a list of distinct positive floats."""
    if isinstance(heights, (str, bytes)) or not isinstance(heights, Iterable):
        heights = [heights]
    values = []
    for height in heights:
        value = _finite(height, "a height")
        if value <= 0:
            raise ValueError(f"heights above ground are in metres greater than 0, not {height!r}")
        if value in values:
            raise ValueError(f"the height {height!r} is given twice")
        values.append(value)
    if not values:
        raise ValueError("no heights: give at least one height above ground in metres")
    if len(values) > MAXIMUM_HEIGHTS:
        raise ValueError(f"more than {MAXIMUM_HEIGHTS} heights")
    return values
