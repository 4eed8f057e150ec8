// The density law of a celestial body: a formula typed by the user in the
// body's window, with x the distance from the centre in units of the
// body's radius (0 at the centre, 1 at the surface). Only the mean density
// reaches the model.
//
// Formulas are read by muParser: numbers, the variable x, + - * / ^,
// parentheses, unary minus and the functions sin, cos, tan, exp, ln, sqrt,
// abs among others.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace velo {

// One compiled formula of the variable x. Move-only: the parser holds the
// address of the variable.
class DensityFormula {
public:
    // Compiles `text` as it stands; nothing when it does not compile, holds
    // an assignment or gives more than one result.
    static std::optional<DensityFormula> Create(const std::string& text);

    // The value at x (for a formula without x, its constant value).
    double Evaluate(double x);

    // The definite integral over x from `from` to `to` in `steps` equal
    // steps, by the two-point Gauss rule on each step. That rule is exact
    // for cubics, so the integrands of constant and linear density laws
    // (x*x*c and x*x*(a + b*x)) come out exact but for rounding. It never
    // evaluates the ends of a step, so a law with an integrable infinity at
    // the centre, such as 1/x, still has a mean.
    double Integrate(double from, double to, int steps);

    DensityFormula(DensityFormula&&) noexcept;
    DensityFormula& operator=(DensityFormula&&) noexcept;
    ~DensityFormula();

private:
    struct Compiled;
    explicit DensityFormula(std::unique_ptr<Compiled> compiled);
    std::unique_ptr<Compiled> compiled_;
};

// Steps of the integral of the mean density.
inline constexpr int DensityIntegralSteps = 10000;
// The integral in twice the steps must agree within this relative
// difference, or the law has no finite mean.
inline constexpr double DensityIntegralTolerance = 1e-3;

inline constexpr const char* DensityNotReadMessage =
    "Формула не распознана: используйте числа, переменную x, знаки + - * / ^, скобки и функции.";
inline constexpr const char* DensityDivergesMessage =
    "Плотность слишком быстро растёт к центру тела: средняя плотность не определена.";
inline constexpr const char* DensityOutOfRangeMessage =
    "Средняя плотность должна быть больше 1E-80 и меньше 1E80.";

struct DensityReading {
    std::optional<double> Mean;  // nothing when refused
    std::string Refusal;         // why, for the user
};

// The mean density of the law in `text`, or nothing when the entry is
// refused. The text is taken in lower case, and a comma between two digits
// as a decimal comma ("5500,5"). A text with the letter x is
// integrated: mean = 3 * integral of x*x*(text) over [0, 1]; any other is
// a constant, evaluated once. Refused: a text that does not compile (or
// whose product with x*x does not), assigns to x ("x=3", "x+=1") or gives
// more than one result ("1, 2"), and a mean that is not within
// 1e-80 < mean < 1e80 (which also refuses NaN and infinities); a law whose
// integral does not settle (1/x^3, infinite at the centre) is refused too.
DensityReading ReadDensity(const std::string& text);
std::optional<double> MeanDensity(const std::string& text);

}  // namespace velo
