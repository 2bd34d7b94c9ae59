#include "import/Oklab.h"

#include <cmath>

#include "import/LinearLight.h"

namespace import {

Oklab OklabFromLinear(double red, double green, double blue) {
    const double l = std::cbrt(0.4122214708 * red + 0.5363325363 * green + 0.0514459929 * blue);
    const double m = std::cbrt(0.2119034982 * red + 0.6806995451 * green + 0.1073969566 * blue);
    const double s = std::cbrt(0.0883024619 * red + 0.2817188376 * green + 0.6299787005 * blue);
    return Oklab{static_cast<float>(0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s),
                 static_cast<float>(1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s),
                 static_cast<float>(0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s)};
}

Oklab OklabFromSrgb(Colour colour) {
    return OklabFromLinear(ToLinear(colour.Red), ToLinear(colour.Green), ToLinear(colour.Blue));
}

}  // namespace import
