// The suspension point window prpLaval: the point's coordinates.
#pragma once

#include "forms/fixed_form.h"

namespace velo {

inline constexpr const char* LavalTitle = "Свойства подвеса №";
inline constexpr const char* LavalRodText = "Тонкий стержень. Материал: Идеальный";

class LavalForm : public FixedForm<Laval> {
public:
    LavalForm(const World& world, int number) : FixedForm(world, KindLaval, number) {}

    std::string Title() const { return NumberedTitle(LavalTitle, Number()); }
    void SetX(double x) { copy_.Position.X = x; }
    void SetY(double y) { copy_.Position.Y = y; }

    // "ОК": the point takes its new place. A rod hung on it turns about the
    // point, so its centre of rotation goes along and the rod is normalised;
    // a ball hung on it is placed again at its distance from the point.
    void Apply(World& world) const;
};

}  // namespace velo
