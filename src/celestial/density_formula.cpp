#include "celestial/density_formula.h"

#include <cmath>
#include <utility>

#include <muParser.h>

namespace velo {

struct DensityFormula::Compiled {
    mu::Parser Parser;
    double X = 0;
};

DensityFormula::DensityFormula(std::unique_ptr<Compiled> compiled) : compiled_(std::move(compiled)) {}
DensityFormula::DensityFormula(DensityFormula&&) noexcept = default;
DensityFormula& DensityFormula::operator=(DensityFormula&&) noexcept = default;
DensityFormula::~DensityFormula() = default;

namespace {

// An '=' that is not part of a comparison (<=, >=, ==, !=) is one of the
// parser's assignments (x=3, x+=1): it would change x in the middle of an
// integral and so give a meaningless mean.
bool HasAssignment(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') continue;
        if (i + 1 < text.size() && text[i + 1] == '=') {
            ++i;  // ==
            continue;
        }
        const char before = i > 0 ? text[i - 1] : ' ';
        if (before != '<' && before != '>' && before != '!') return true;
    }
    return false;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<DensityFormula> DensityFormula::Create(const std::string& text) {
    if (HasAssignment(text)) return std::nullopt;
    auto compiled = std::make_unique<Compiled>();
    try {
        compiled->Parser.DefineVar("x", &compiled->X);
        compiled->Parser.SetExpr(text);
        // The parser reads the text on its first evaluation; syntax errors
        // and unknown names show up there, not in SetExpr.
        compiled->Parser.Eval();
        // A comma outside a function's arguments starts a second result
        // ("1, 2" gives 2); only one value is a density.
        if (compiled->Parser.GetNumResults() != 1) return std::nullopt;
    } catch (const mu::Parser::exception_type&) {
        return std::nullopt;
    }
    return DensityFormula(std::move(compiled));
}

double DensityFormula::Evaluate(double x) {
    compiled_->X = x;
    return compiled_->Parser.Eval();
}

double DensityFormula::Integrate(double from, double to, int steps) {
    if (steps < 1) return 0;
    const double h = (to - from) / steps;
    // Gauss points of a step at its middle -+ h / (2 sqrt 3), each of
    // weight h / 2.
    const double offset = h / (2 * std::sqrt(3.0));
    // Compensated (Neumaier) sum: twenty thousand terms of one sign would
    // otherwise lose a few digits, and a constant law should give back its
    // constant as nearly as the arithmetic allows.
    double sum = 0;
    double carry = 0;
    auto add = [&](double term) {
        const double t = sum + term;
        carry += std::fabs(sum) >= std::fabs(term) ? (sum - t) + term : (term - t) + sum;
        sum = t;
    };
    for (int i = 0; i < steps; ++i) {
        const double middle = from + (i + 0.5) * h;
        add(Evaluate(middle - offset));
        add(Evaluate(middle + offset));
    }
    return (sum + carry) * (h / 2);
}

DensityReading ReadDensity(const std::string& text) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    // A comma between digits is a decimal comma, as the number fields read
    // it ("5500,5"); the arguments of min, max and the like are then
    // separated by a comma and a blank ("max(1, x)").
    for (std::size_t i = 1; i + 1 < lower.size(); ++i)
        if (lower[i] == ',' && IsDigit(lower[i - 1]) && IsDigit(lower[i + 1])) lower[i] = '.';
    auto formula = DensityFormula::Create(lower);
    if (!formula) return {std::nullopt, DensityNotReadMessage};
    double mean = 0;
    if (lower.find('x') != std::string::npos) {
        auto weighted = DensityFormula::Create("x*x*(" + lower + ")");
        if (!weighted) return {std::nullopt, DensityNotReadMessage};
        mean = 3 * weighted->Integrate(0.0, 1.0, DensityIntegralSteps);
        // A law that grows too fast towards the centre (1/x^3) has no mean:
        // its integral grows with the number of steps instead of settling.
        // Halving the steps changes a settled integral by far less than the
        // tolerance, even for a layered body whose layer boundary falls
        // inside a step (some 1e-4).
        const double finer = 3 * weighted->Integrate(0.0, 1.0, 2 * DensityIntegralSteps);
        if (std::isfinite(mean) && std::isfinite(finer) &&
            !(std::fabs(finer - mean) <= DensityIntegralTolerance * std::fabs(finer)))
            return {std::nullopt, DensityDivergesMessage};
    } else {
        mean = formula->Evaluate(0);
    }
    if (!(mean > 1e-80 && mean < 1e80)) return {std::nullopt, DensityOutOfRangeMessage};
    return {mean, {}};
}

std::optional<double> MeanDensity(const std::string& text) { return ReadDensity(text).Mean; }

}  // namespace velo
