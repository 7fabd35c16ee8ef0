// Mean wind speed and gross energy yield of Weibull wind climates.
#pragma once

#include "power_curve.h"

namespace kavi::tool {

// Hours in the average year of the Gregorian calendar (365.25 days): the
// hours that an annual energy production refers to.
constexpr double kHoursPerYear = 8766.0;

// Mean of the Weibull distribution (A, k): A Γ(1 + 1/k), m/s.
double WeibullMeanSpeed(double A, double k);

// Expected power of the curve in the Weibull wind climate (A, k), kW: the
// integral of P(u) p(u) du, exact on each linear piece of the curve through
// the regularised incomplete gamma function. Not a number when A or k is not
// a positive finite number.
double ExpectedPower(const PowerCurve& curve, double A, double k);

// Gross annual energy production in MWh of a sector with frequency percent
// of the time and Weibull (A, k).
double SectorEnergyYield(const PowerCurve& curve, double frequency, double A, double k);

}  // namespace kavi::tool
