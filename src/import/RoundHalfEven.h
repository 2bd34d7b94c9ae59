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

// numerator / denominator (numerator at least 0, denominator above 0) rounded the same way, in
// whole numbers: the remainder says on which side of the half the quotient lies.
template <typename Whole>
Whole DivideRoundingHalfEven(Whole numerator, Whole denominator) {
    const Whole quotient = numerator / denominator;
    const Whole twiceRemainder = 2 * (numerator % denominator);
    const bool up = twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 == 1);
    return up ? quotient + 1 : quotient;
}
