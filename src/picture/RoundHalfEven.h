#pragma once
// Conversions of real numbers to whole numbers round to the nearest integer, halves to the even
// neighbour, whatever the floating-point environment's rounding mode is.

#include <cmath>

template <typename Real>
Real RoundHalfEven(Real value) {
    const Real below = std::floor(value);
    const Real fraction = value - below;
    if (fraction > Real(0.5)) return below + Real(1);
    if (fraction < Real(0.5)) return below;
    return std::fmod(below, Real(2)) == Real(0) ? below : below + Real(1);
}
