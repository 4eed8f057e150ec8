// The core's transcendental functions give the same bits on every system
// and with every compiler the program is built with: the values below were
// taken on Linux and hold unchanged under Windows. A build of the functions
// with other floating-point flags (contraction into fused multiply-add,
// fast math) or a swap for the C library's fails here first, before the
// golden hashes say only that something moved.
#include <gtest/gtest.h>

#include "model/portable_math.h"

namespace velo {
namespace {

using namespace math;

TEST(PortableMath, SameBitsOnEverySystem) {
    const struct {
        const char* Call;
        double Value;
        double Expected;
    } cases[] = {
        {"Sin(1e5)", Sin(1e5), 0x1.24daa9c527e96p-5},
        {"Sin(0.5)", Sin(0.5), 0x1.eaee8744b05fp-2},
        {"Cos(2.5)", Cos(2.5), -0x1.9a2f7ef858b7dp-1},
        {"Tan(1.2)", Tan(1.2), 0x1.493c43acb164dp+1},
        {"Atan(0.3)", Atan(0.3), 0x1.2a73a661eaf06p-2},
        {"Atan2(-1, -3)", Atan2(-1, -3), -0x1.68f095fdf593cp+1},
        {"Acos(-0.7)", Acos(-0.7), 0x1.2c501446cd5f2p+1},
        {"Exp(-3.7)", Exp(-3.7), 0x1.9511fc6871044p-6},
        {"Log(123.456)", Log(123.456), 0x1.343774f3e2362p+2},
        {"Log10(0.002)", Log10(0.002), -0x1.5977d95ec10cp+1},
        {"Pow(1.2, -7)", Pow(1.2, -7), 0x1.1dc7944f21208p-2},
        {"Pow(10, 13)", Pow(10, 13), 0x1.2309ce54p+43},
        {"Cbrt(-17.5)", Cbrt(-17.5), -0x1.4c51d2c807e59p+1},
        {"Hypot(3e-3, 4.1)", Hypot(3e-3, 4.1), 0x1.06666b00e59f9p+2},
        {"Sinh(0.8)", Sinh(0.8), 0x1.c6b5d3c9c16efp-1},
        {"Cosh(-2.2)", Cosh(-2.2), 0x1.24589c2cef9c1p+2},
        {"Asinh(5.5)", Asinh(5.5), 0x1.33f9bed3b2dc6p+1},
        {"Acosh(1.5)", Acosh(1.5), 0x1.ecc2caec5160ap-1},
        {"Atanh(-0.45)", Atanh(-0.45), -0x1.f0554513b1b4cp-2},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Value, c.Expected) << c.Call;
    // Powers of ten that a double holds are exact.
    EXPECT_EQ(Pow(10, 13), 1e13);
    EXPECT_EQ(Pow(10, -1), 0.1);
}

}  // namespace
}  // namespace velo
