#!/usr/bin/env python3
"""Writes the bundled example data set: a coastal site with two hills, a forest
and two villages (site.map), a meteorological station's observed wind climate
(station.tab) and the obstacles around it (station.obs), and twenty turbine
sites (turbines.csv).

Everything is computed from the constants below; the only "random" part, the
finite sample of observations behind the wind climate, comes from a generator
of our own with a fixed seed. Reruns therefore write byte-identical files.

    python3 examples/generate_examples.py           # (re)write the files
    python3 examples/generate_examples.py --check   # exit 1 if a file differs

The atlas examples/station.lib is not written here: it is the output of
`kavicalc atlas` on these files (see examples/README.md).
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------
# The site. Coordinates are metres east (x) and north (y) of the map origin.

STATION = (-1000.0, 0.0)  # the meteorological mast, on flat farmland
STATION_HEIGHT = 10.0  # anemometer height above ground (m)

WATER = 0.0  # roughness lengths (m)
FARMLAND = 0.03
MIXED = 0.1
VILLAGE = 0.4
FOREST = 0.8

MAP_HALF_SIZE = 10500.0  # the map reaches 500 m past a 20 km x 20 km square


class GaussianHill:
    """An elliptical Gaussian hill on the plain at sea level:
    z = height * 2 ** -((u / major) ** 2 + (v / minor) ** 2), where u runs along
    the major axis (at `axis_bearing`, degrees clockwise from north) and v
    across it; `major` and `minor` are the half-widths at half height."""

    def __init__(self, name, centre, height, major, minor, axis_bearing):
        self.name = name
        self.centre = centre
        self.height = height
        self.major = major
        self.minor = minor
        b = math.radians(axis_bearing)
        self.axis = (math.sin(b), math.cos(b))  # unit vector of the major axis

    def local(self, x, y):
        dx, dy = x - self.centre[0], y - self.centre[1]
        ax, ay = self.axis
        return dx * ax + dy * ay, -dx * ay + dy * ax

    def elevation(self, x, y):
        u, v = self.local(x, y)
        return self.height * 2.0 ** -((u / self.major) ** 2 + (v / self.minor) ** 2)

    def contour(self, level):
        """The closed contour at `level` metres, counter-clockwise, its first
        point repeated at the end."""
        f = math.sqrt(math.log(self.height / level) / math.log(2.0))
        a, b = self.major * f, self.minor * f
        # Ramanujan's perimeter of the ellipse; about one point per 50 m.
        h = ((a - b) / (a + b)) ** 2
        perimeter = math.pi * (a + b) * (1 + 3 * h / (10 + math.sqrt(4 - 3 * h)))
        n = min(max(round(perimeter / 50.0), 72), 180) - 1
        ax, ay = self.axis
        points = []
        for i in range(n):
            t = 2.0 * math.pi * i / n
            u, v = a * math.cos(t), b * math.sin(t)
            points.append((self.centre[0] + u * ax - v * ay, self.centre[1] + u * ay + v * ax))
        points.append(points[0])
        return points


# A ridge across the prevailing south-westerly wind, and a rounder hill.
HILLS = [
    GaussianHill("ridge", (1500.0, 1000.0), 120.0, 900.0, 600.0, 135.0),
    GaussianHill("round hill", (5000.0, -2500.0), 80.0, 700.0, 700.0, 0.0),
]
CONTOUR_INTERVAL = 10.0


def terrain_elevation(x, y):
    return sum(hill.elevation(x, y) for hill in HILLS)


def coast_x(y):
    """The coastline: sea to the west of x = coast_x(y)."""
    s = (y + 10000.0) / 9000.0
    t = (y + 10000.0) / 3100.0
    return -5200.0 + 500.0 * math.sin(2 * math.pi * s) + 250.0 * math.sin(2 * math.pi * t + 0.7)


COAST_STEP = 100.0
COAST_Y = [-MAP_HALF_SIZE + COAST_STEP * i for i in range(round(2 * MAP_HALF_SIZE / COAST_STEP) + 1)]
# Land behind the coast, from south to north: mixed land, farmland, a coastal
# town, farmland. The coast is split where the land changes.
COAST_PIECES = [(-MAP_HALF_SIZE, -5500.0, MIXED), (-5500.0, -2600.0, FARMLAND),
                (-2600.0, -900.0, VILLAGE), (-900.0, MAP_HALF_SIZE, FARMLAND)]
TOWN_BULGE = 1100.0  # how far the coastal town reaches inland (m)

FOREST_CENTRE = (0.0, -1800.0)
VILLAGE_CENTRE = (-800.0, 2400.0)


def coast_point(y):
    return (coast_x(y), y)


def closed_blob(centre, radius, stretch_x, wobble, count):
    """A closed, counter-clockwise outline (interior on the left), its first
    point repeated at the end; `wobble` lists (amplitude, harmonic, phase)."""
    points = []
    for i in range(count):
        phi = 2.0 * math.pi * i / count
        r = radius * (1.0 + sum(a * math.sin(m * phi + p) for a, m, p in wobble))
        points.append((centre[0] + stretch_x * r * math.cos(phi), centre[1] + r * math.sin(phi)))
    points.append(points[0])
    return points


def map_lines():
    """All lines of the map as (header values, points). A header of one value
    is a height contour, of two a roughness-change line (left, right as seen
    walking from the first point to the last), of three both."""
    lines = []
    # The coast, south to north: the sea is on the left. It is also the 0 m contour.
    for south, north, land in COAST_PIECES:
        ys = [y for y in COAST_Y if south <= y <= north]
        lines.append(((WATER, land, 0.0), [coast_point(y) for y in ys]))

    # Mixed land to the south: its border runs east from the coast, farmland
    # on its left (north), mixed land on its right (south).
    start = coast_point(-5500.0)
    count = math.ceil((MAP_HALF_SIZE - start[0]) / 250.0)
    border = [start]
    for j in range(1, count + 1):
        x = start[0] + (MAP_HALF_SIZE - start[0]) * j / count
        border.append((x, -5500.0 + 250.0 * math.sin(2 * math.pi * (x - start[0]) / 6000.0)))
    lines.append(((FARMLAND, MIXED), border))

    # The coastal town's landward edge: from the coast at its south end, east,
    # north and back west to the coast; the town is on the left.
    south, north = -2600.0, -900.0
    middle, half = (south + north) / 2, (north - south) / 2
    edge = [coast_point(south)]
    for i in range(1, 16):
        theta = math.pi * (i / 16.0 - 0.5)
        y = middle + half * math.sin(theta)
        edge.append((coast_x(y) + TOWN_BULGE * math.cos(theta), y))
    edge.append(coast_point(north))
    lines.append(((VILLAGE, FARMLAND), edge))

    # A forest south-east of the station and a village to its north, each a
    # closed line drawn counter-clockwise: the patch is on the left.
    forest = closed_blob(FOREST_CENTRE, 650.0, 1.3, [(0.15, 3, 0.5), (0.08, 5, 1.6)], 40)
    lines.append(((FOREST, FARMLAND), forest))
    village = closed_blob(VILLAGE_CENTRE, 500.0, 1.0, [(0.1, 2, 0.3), (0.05, 4, 2.0)], 28)
    lines.append(((VILLAGE, FARMLAND), village))

    # Height contours of the hills.
    for hill in HILLS:
        level = CONTOUR_INTERVAL
        while level < hill.height:
            lines.append(((level,), hill.contour(level)))
            level += CONTOUR_INTERVAL
    return lines


def check_map(lines):
    """Each hill's contours stand for the whole terrain: the other hill adds
    less than half a metre along them."""
    for hill in HILLS:
        for other in HILLS:
            if other is hill:
                continue
            worst = max(other.elevation(x, y) for x, y in hill.contour(CONTOUR_INTERVAL))
            assert worst < 0.5, (hill.name, other.name, worst)
    for header, points in lines:
        assert len(points) >= 2
        for x, y in points:
            assert abs(x) <= MAP_HALF_SIZE + 1e-6 and abs(y) <= MAP_HALF_SIZE + 1e-6


def number(value):
    """A header value: a real with at most four decimals, no trailing zeros."""
    text = "%.4f" % value
    text = text.rstrip("0")
    return text + "0" if text.endswith(".") else text


def map_text(lines):
    out = ["+Example site: coast, forest, villages and two hills (metres east, north)",
           "No transformation: the points are map coordinates in metres",
           "1 0"]
    for header, points in lines:
        out.append(" ".join(number(v) for v in header) + " %d" % len(points))
        for i in range(0, len(points), 3):
            out.append(" ".join("%9.1f %9.1f" % p for p in points[i:i + 3]))
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------
# The observed wind climate at the station: eight years of hourly
# observations drawn from a Weibull distribution per sector, binned per 1 m/s.

SECTOR_FREQUENCY = [5.5, 4.5, 5.0, 6.0, 6.5, 7.0, 9.5, 13.0, 13.5, 11.5, 9.5, 8.5]  # percent
SECTOR_A = [5.4, 4.8, 5.0, 5.6, 5.9, 6.2, 7.2, 8.1, 8.4, 7.9, 7.0, 6.1]  # m/s at 10 m
SECTOR_K = [1.90, 1.80, 1.85, 2.00, 2.10, 2.15, 2.20, 2.35, 2.40, 2.30, 2.10, 1.95]
OBSERVATIONS = 8 * 8766
SPEED_BINS = 30  # bins of 1 m/s, upper limits 1 ... 30 m/s
SEED = 20261207
LATITUDE = 56.0
LONGITUDE = 8.3


class SplitMix64:
    """A small, fully specified pseudo-random generator, so that the sample
    does not depend on the Python version."""

    MASK = (1 << 64) - 1

    def __init__(self, seed):
        self.state = seed & self.MASK

    def uniform(self):
        """A number in (0, 1)."""
        self.state = (self.state + 0x9E3779B97F4A7C15) & self.MASK
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & self.MASK
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & self.MASK
        z ^= z >> 31
        return ((z >> 11) + 0.5) / float(1 << 53)


def observed_counts():
    """Counts[sector][bin] of the sample; bin b holds speeds in (b, b + 1]."""
    random = SplitMix64(SEED)
    total = sum(SECTOR_FREQUENCY)
    cumulative = []
    running = 0.0
    for f in SECTOR_FREQUENCY:
        running += f / total
        cumulative.append(running)
    counts = [[0] * SPEED_BINS for _ in SECTOR_FREQUENCY]
    for _ in range(OBSERVATIONS):
        u = random.uniform()
        sector = next((i for i, c in enumerate(cumulative) if u < c), len(cumulative) - 1)
        speed = SECTOR_A[sector] * (-math.log(random.uniform())) ** (1.0 / SECTOR_K[sector])
        counts[sector][min(max(math.ceil(speed), 1), SPEED_BINS) - 1] += 1
    return counts


def rounded_to_total(values, total, decimals):
    """`values` scaled to `total` and rounded to `decimals`, the rounding
    errors distributed (largest remainders first) so that they add up exactly."""
    unit = 10 ** decimals
    scale = total * unit / sum(values)
    exact = [v * scale for v in values]
    units = [math.floor(e) for e in exact]
    missing = round(total * unit) - sum(units)
    order = sorted(range(len(values)), key=lambda i: (-(exact[i] - units[i]), i))
    for i in order[:missing]:
        units[i] += 1
    return [u / unit for u in units]


def climate_text():
    counts = observed_counts()
    sectors = len(counts)
    per_mille = [rounded_to_total(column, 1000, 1) for column in counts]
    percent = rounded_to_total([sum(column) for column in counts], 100, 1)
    out = ["Example station, 10 m mast: %d hourly observations, 12 sectors, 1 m/s bins" % OBSERVATIONS,
           "%.1f %.1f %.1f" % (LATITUDE, LONGITUDE, STATION_HEIGHT),
           "%d 1.0 0.0 0" % sectors,
           " ".join("%6.1f" % f for f in percent)]
    for b in range(SPEED_BINS):
        out.append("%3d " % (b + 1) + " ".join("%6.1f" % per_mille[s][b] for s in range(sectors)))
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------
# Obstacles around the station. Each is given by the centre of its front face
# (the face towards the station: bearing and distance from the mast), the
# length of that face, at right angles to the line of sight, its height,
# depth and porosity.

OBSTACLES = [
    ("farm building", 225.0, 60.0, 20.0, 8.0, 12.0, 0.0),
    ("shelter belt", 270.0, 250.0, 300.0, 12.0, 10.0, 0.5),
    ("shed", 135.0, 25.0, 8.0, 4.0, 5.0, 0.0),
    ("hedge", 0.0, 90.0, 120.0, 3.0, 2.0, 0.4),
]


def polar(x, y):
    """Bearing (degrees clockwise from north, in [0, 360)) and distance."""
    bearing = math.degrees(math.atan2(x, y)) % 360.0
    return round(bearing, 1) % 360.0, math.hypot(x, y)


def obstacles_text():
    out = ["Obstacles around the example station: bearing1 distance1 bearing2 distance2 height depth porosity"]
    for _name, bearing, distance, length, height, depth, porosity in OBSTACLES:
        b = math.radians(bearing)
        cx, cy = distance * math.sin(b), distance * math.cos(b)
        tx, ty = math.cos(b), -math.sin(b)  # along the front face
        a1, r1 = polar(cx - 0.5 * length * tx, cy - 0.5 * length * ty)
        a2, r2 = polar(cx + 0.5 * length * tx, cy + 0.5 * length * ty)
        out.append("%6.1f %6.1f %6.1f %6.1f %5.1f %5.1f %4.2f" % (a1, r1, a2, r2, height, depth, porosity))
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------
# Turbine sites, hub height 80 m.

HUB_HEIGHT = 80
TURBINES = [
    (1500, 1000), (1288, 1212), (1712, 788), (1076, 1424), (1924, 576),  # along the ridge
    (5000, -2500), (4600, -2500), (5400, -2500),  # the round hill: top and shoulders
    (800, 300), (2400, 1900),  # the ridge's upwind and lee foot
    (-2000, -500), (-3000, 1500), (-3800, 4000), (-2500, 2500), (0, 5000),  # farmland
    (3000, -4000), (7500, 1500), (8000, 6000), (1200, -1200),
    (7000, -7000),  # mixed land in the south-east
]


def check_turbines():
    for x, y in TURBINES:
        assert x > coast_x(y) + 300.0, (x, y)  # on land, not at the water's edge
        assert math.hypot(x - VILLAGE_CENTRE[0], y - VILLAGE_CENTRE[1]) > 700.0
        assert math.hypot((x - FOREST_CENTRE[0]) / 1.3, y - FOREST_CENTRE[1]) > 900.0


def turbines_text():
    return "x,y,height\n" + "".join("%d,%d,%d\n" % (x, y, HUB_HEIGHT) for x, y in TURBINES)


# ---------------------------------------------------------------------------

def example_files():
    lines = map_lines()
    check_map(lines)
    check_turbines()
    return {
        "site.map": map_text(lines),
        "station.tab": climate_text(),
        "station.obs": obstacles_text(),
        "turbines.csv": turbines_text(),
    }


def main(argv):
    check = argv[1:] == ["--check"]
    if argv[1:] and not check:
        sys.stderr.write("usage: generate_examples.py [--check]\n")
        return 2
    stale = []
    for name, text in example_files().items():
        path = os.path.join(HERE, name)
        if check:
            try:
                with open(path, "r", encoding="ascii", newline="") as f:
                    if f.read() == text:
                        continue
            except OSError:
                pass
            stale.append(name)
        else:
            with open(path, "w", encoding="ascii", newline="\n") as f:
                f.write(text)
    if stale:
        sys.stderr.write("out of date: %s\n" % ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
