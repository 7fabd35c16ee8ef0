"""Turbine power curves read by the same rules as the command-line tool.

A CSV file of rows speed,power (m/s, kW), an optional header row of column
names, blank lines and lines starting with '#' skipped; speeds strictly
increasing and not negative, powers not negative, at least two rows. Power is
linear between the rows and zero outside them.
"""

import math
import os
import re

STANDARD_AIR_DENSITY = 1.225  # kg/m³, the air that power curves refer to
AIR_DENSITY_RANGE = (0.5, 1.5)
_DECIMAL = re.compile(r"[0-9.eE+-]+")
_ECHO_LENGTH = 60


def parse_number(text):
    """A plain decimal number (no inf, nan or hexadecimal), else None."""
    text = text.strip(" \t")
    if not text or not _DECIMAL.fullmatch(text):
        return None
    try:
        value = float(text)
    except ValueError:
        return None
    return value if math.isfinite(value) else None


def _is_text(field):
    return bool(field) and parse_number(field) is None and any(c.isascii() and c.isalpha()
                                                               for c in field)


def _echo(row):
    shown = "".join("?" if ord(c) < 0x20 else c for c in row)
    return shown[:_ECHO_LENGTH] + "..." if len(shown) > _ECHO_LENGTH else shown


class PowerCurve:
    """Tabulated speeds (m/s) and powers (kW) of a turbine."""

    def __init__(self, speeds, powers):
        self.speeds = list(speeds)
        self.powers = list(powers)

    @property
    def rated_power(self):
        """The largest tabulated power, kW: what the capacity factor refers to."""
        return max(self.powers)

    def at_air_density(self, rho):
        """The curve of a pitch-regulated turbine in air of density rho (kg/m³).

        The same powers at speeds multiplied by (1.225 / rho)^(1/3), so that
        the wind carries the kinetic power flux of the tabulated speed in
        standard air.
        """
        np = __import__("numpy")
        factor = float(np.cbrt(STANDARD_AIR_DENSITY / rho))
        return PowerCurve([speed * factor for speed in self.speeds], self.powers)


def read_power_curve(path):
    """The power curve in the CSV file path; ValueError naming the file and row."""
    name = os.fspath(path)
    try:
        with open(name, encoding="utf-8", newline="") as source:
            lines = source.read().splitlines()
    except (OSError, UnicodeDecodeError) as error:
        raise ValueError(f"cannot read the power curve {name}: {error}") from error
    speeds, powers = [], []
    first = True
    for row, line in enumerate(lines, start=1):
        text = line.strip(" \t\r")
        if not text or text.startswith("#"):
            continue

        def bad(what):
            return ValueError(f"power curve {name}: row {row}: {what}, got '{_echo(text)}'")

        fields = text.split(",")
        if len(fields) != 2:
            raise bad("expected two columns speed,power (m/s, kW), e.g. 12.5,2750")
        speed_text, power_text = (field.strip(" \t\r") for field in fields)
        header = first and _is_text(speed_text) and _is_text(power_text)
        first = False
        if header:
            continue
        speed, power = parse_number(speed_text), parse_number(power_text)
        if speed is None or power is None:
            raise bad("expected numbers speed,power (m/s, kW), e.g. 12.5,2750")
        if speed < 0:
            raise bad("a wind speed must not be negative")
        if power < 0:
            raise bad("a power must not be negative")
        if speeds and speed <= speeds[-1]:
            raise bad(f"the wind speeds must increase from row to row (previous {speeds[-1]!r} m/s)")
        speeds.append(speed)
        powers.append(power)
    if len(speeds) < 2:
        raise ValueError(f"power curve {name}: expected at least two rows speed,power (m/s, kW)")
    return PowerCurve(speeds, powers)


def check_air_density(rho):
    """rho as a float in the accepted range, else ValueError."""
    low, high = AIR_DENSITY_RANGE
    try:
        value = float(rho)
    except (TypeError, ValueError):
        value = math.nan
    if not low <= value <= high:
        raise ValueError(f"air_density is the air density at the turbines in kg/m³ from {low} "
                         f"to {high}, e.g. 1.18, not {rho!r}")
    return value
