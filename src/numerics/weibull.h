// The Gamma function and the Weibull fit shared by the observed-climate
// reader, the atlas calculation, the transfer and the prediction.
#pragma once

#include "numerics/gamma.h"
#include "numerics/weibull_fit.h"
