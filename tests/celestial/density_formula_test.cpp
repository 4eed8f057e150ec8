// Density laws of celestial bodies: refusals, constants through both ways,
// and profiles against their exact means.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "celestial/density_formula.h"

namespace velo {
namespace {

TEST(CelestialDensityFormula, RefusesWhatDoesNotCompileOrIsOutOfRange) {
    const char* refused[] = {
        "",            // nothing
        "2*",          // unfinished
        "(1000",       // unbalanced
        "1000)+(x",    // compiles only inside x*x*(...)
        "y+1",         // unknown name
        "0",           // not above 1e-80
        "1e-81",
        "-5",
        "1e80",        // not below 1e80
        "1/0",         // infinity
        "sqrt(-1)",    // not a number
        "x-2",         // negative mean
        "1/(x-x)",     // infinite everywhere
        "sqrt(x-2)",   // not a number everywhere
        "5500, 5",     // two results
        "x=3",         // assignments
        "x=x+1",
        "x+=1",
        "1000+(x=0)",
        "1/x^3",       // no finite mean: infinite at the centre
        "1/x^4",
    };
    for (const char* text : refused) EXPECT_FALSE(MeanDensity(text).has_value()) << '"' << text << '"';
    EXPECT_EQ(ReadDensity("1/x^3").Refusal, DensityDivergesMessage);
    EXPECT_EQ(ReadDensity("2*").Refusal, DensityNotReadMessage);
    EXPECT_EQ(ReadDensity("-5").Refusal, DensityOutOfRangeMessage);
}

TEST(CelestialDensityFormula, ConstantGivesTheSameMeanWithOrWithoutX) {
    for (const std::string text : {"1000", "5514", "0.125", "3e-70", "7e79"}) {
        const auto plain = MeanDensity(text);
        const auto integrated = MeanDensity(text + "+0*x");
        ASSERT_TRUE(plain && integrated) << text;
        EXPECT_EQ(*plain, std::stod(text));
        EXPECT_NEAR(*integrated, *plain, 1e-14 * *plain) << text;
    }
    // Taken in lower case; the letter x in a function name takes the
    // integral way too.
    EXPECT_NEAR(*MeanDensity("EXP(1)*1000"), std::exp(1.0) * 1000, 1e-10);
    EXPECT_EQ(*MeanDensity("2E3"), 2000);
    // A decimal comma between digits; comparisons are no assignments.
    EXPECT_EQ(*MeanDensity("5500,5"), 5500.5);
    EXPECT_NEAR(*MeanDensity("1000*(1,5+0*x)"), 1500, 1e-10);
    EXPECT_NEAR(*MeanDensity("max(1, 2)*1000"), 2000, 1e-10);
    EXPECT_NEAR(*MeanDensity("(x<=0,5)*8000+1000"), 2000, 1e-6);
}

TEST(CelestialDensityFormula, ProfilesGiveTheirExactMeans) {
    struct Profile {
        const char* Text;
        double Mean;  // 3 * integral of x^2 rho over [0, 1]
    };
    const Profile profiles[] = {
        {"13000 - 10000*x", 13000 - 7500},       // linear: a - 3b/4
        {"12000*(1 - x^2) + 500", 4800 + 500},   // quadratic: a (1 - 3/5)
        {"1000/x", 1500},                        // infinite at the centre
        {"1000*exp(-x)", 3000 * (2 - 5 / std::exp(1.0))},
        {"(x<0.5)*7000 + 1000", 1000 + 7000 / 8.0},  // a core, its boundary on a step's edge
    };
    for (const Profile& p : profiles) {
        const auto mean = MeanDensity(p.Text);
        ASSERT_TRUE(mean.has_value()) << p.Text;
        EXPECT_NEAR(*mean, p.Mean, 1e-12 * p.Mean) << p.Text;
    }
    // A core boundary inside a step and a weak infinity at the centre keep
    // a mean, to a few digits.
    EXPECT_NEAR(*MeanDensity("(x<1/3)*12000 + 1000"), 1000 + 12000 / 27.0, 0.2);
    EXPECT_NEAR(*MeanDensity("1/x^2.5"), 6, 0.02);
}

TEST(CelestialDensityFormula, TheThreeCallsOfTheWindow) {
    auto formula = DensityFormula::Create("x*x*(2 + x)");
    ASSERT_TRUE(formula.has_value());
    EXPECT_EQ(formula->Evaluate(2), 16);
    EXPECT_NEAR(formula->Integrate(0, 2, 1), 8.0 / 3 * 2 + 4, 1e-13);  // exact for cubics in one step
    EXPECT_FALSE(DensityFormula::Create("x*").has_value());
}

}  // namespace
}  // namespace velo
