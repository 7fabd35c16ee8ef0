"""Mean wind speed and gross energy yield of Weibull climates, on numpy arrays.

The arithmetic is that of the command-line tool, operation for operation in
double precision, so that the values rounded to single precision agree with
its outputs: the sector mean A Γ(1 + 1/k); the all-sector mean weighted by the
frequencies of the sectors that blow; on each linear piece a + b u of the
power curve, with x = (u/A)^k,

    ∫ p(u) du   = exp(-x0) - exp(-x1)
    ∫ u p(u) du = A Γ(1 + 1/k) [P(1 + 1/k, x1) - P(1 + 1/k, x0)]

(P the regularised lower incomplete gamma function), the differences taken
from the upper tails above the median and from the lower ones below it.
"""

from .optional import require

np = require("numpy")
special = require("scipy.special", "the energy yield of the Kavicalc analysis layer")

HOURS_PER_YEAR = 8766.0  # the average Gregorian year of 365.25 days
KWH_PER_MWH = 1000.0


def _positive(values):
    return np.isfinite(values) & (values > 0)


def weibull_mean(a, k):
    """A Γ(1 + 1/k), not a number where A or k is not a positive finite number."""
    with np.errstate(all="ignore"):
        mean = a * special.gamma(1.0 + 1.0 / k)
    return np.where(_positive(a) & _positive(k), mean, np.nan)


def all_sector_mean(frequency, sector_mean):
    """The frequency-weighted mean of the sector means over the sectors that blow.

    frequency, sector_mean: arrays (..., sectors); summed sector by sector in
    order, as the tool does.
    """
    weighted = np.zeros(frequency.shape[:-1])
    total = np.zeros(frequency.shape[:-1])
    for s in range(frequency.shape[-1]):
        blows = frequency[..., s] > 0
        weighted = np.where(blows, weighted + frequency[..., s] * sector_mean[..., s], weighted)
        total = np.where(blows, total + frequency[..., s], total)
    with np.errstate(all="ignore"):
        return np.where(total > 0, weighted / total, np.nan)


def expected_power(curve, a, k):
    """∫ P(u) p(u) du in kW of the curve in the Weibull climates (A, k), arrays."""
    valid = _positive(a) & _positive(k)
    a = np.where(valid, a, 1.0)
    k = np.where(valid, k, 1.0)
    s = 1.0 + 1.0 / k
    mean = a * special.gamma(s)
    power = np.zeros(np.shape(a))
    points = list(zip(curve.speeds, curve.powers))
    for (u0, p0), (u1, p1) in zip(points, points[1:]):
        b = (p1 - p0) / (u1 - u0)
        intercept = p0 - b * u0
        x0 = np.power(u0 / a, k)
        x1 = np.power(u1 / a, k)
        upper = x0 > 1.0
        probability = np.where(upper, np.exp(-x0) - np.exp(-x1), -np.expm1(-x1) + np.expm1(-x0))
        moment = mean * np.where(upper, special.gammaincc(s, x0) - special.gammaincc(s, x1),
                                 special.gammainc(s, x1) - special.gammainc(s, x0))
        power = power + (intercept * probability + b * moment)
    return np.where(valid, power, np.nan)


def energy_yield(curve, frequency, a, k):
    """Gross AEP in MWh per year: per sector (..., sectors) and in total (...).

    A sector that never blows yields nothing, whatever its Weibull parameters.
    """
    sector = np.zeros(np.shape(frequency))
    for s in range(frequency.shape[-1]):
        f = frequency[..., s]
        value = HOURS_PER_YEAR * f / 100.0 * expected_power(curve, a[..., s], k[..., s]) / KWH_PER_MWH
        sector[..., s] = np.where(f > 0, value, 0.0)
    total = np.zeros(np.shape(frequency)[:-1])
    for s in range(frequency.shape[-1]):
        total = total + sector[..., s]
    return sector, total


def capacity_factor(curve, aep):
    """The AEP over the curve's largest power running all year."""
    rated = curve.rated_power
    if rated <= 0:
        return np.full(np.shape(aep), np.nan)
    return aep * KWH_PER_MWH / (rated * HOURS_PER_YEAR)
