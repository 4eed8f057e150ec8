#include "view/colours.h"

#include <cmath>

namespace velo {

namespace {

int MixChannel(int a, int b, double t) {
    // nearbyint rounds in the current mode, which is to nearest with ties to
    // even; the result is kept in range so a factor above 1 cannot spill
    // into the next channel.
    const double value = std::nearbyint(a + (b - a) * t);
    if (!(value > 0)) return 0;  // also catches NaN
    if (value > 255) return 255;
    return static_cast<int>(value);
}

}  // namespace

Colour MixColour(Colour a, Colour b, double t) {
    const int red = MixChannel(RedOf(a), RedOf(b), t);
    const int green = MixChannel(GreenOf(a), GreenOf(b), t);
    const int blue = MixChannel(BlueOf(a), BlueOf(b), t);
    return red + 256 * green + 65536 * blue;
}

double Brightness(Colour c) {
    return (RedOf(c) + GreenOf(c) + BlueOf(c)) / 765.0;
}

Colour ShadeByLayer(Colour c, int z, double observerZ, double ambientLight) {
    const double ratio = (observerZ - 256) / (observerZ - z);
    const double f = ratio * ratio;
    double t = f * (1 - ambientLight) + ambientLight;
    // An observer standing exactly on the object's layer gives no finite
    // factor; the object is then shown in its own colour.
    if (!std::isfinite(t)) t = 1;
    return MixColour(Black, c, t);
}

std::uint32_t ToArgb(Colour c) {
    return 0xFF000000u + static_cast<std::uint32_t>(RedOf(c)) * 65536u +
           static_cast<std::uint32_t>(GreenOf(c)) * 256u + static_cast<std::uint32_t>(BlueOf(c));
}

}  // namespace velo
