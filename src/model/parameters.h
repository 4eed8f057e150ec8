// The project's units and global simulation parameters.
#pragma once

#include <array>
#include <cstdint>
#include <numbers>
#include <string>

#include "model/vec2.h"

namespace velo {

// Unit names are labels only: no conversion is done, except for angles,
// which the windows show in AngleUnit while the World holds radians.
struct UnitSystem {
    std::string LengthUnitName = "м";  // UTF-8 in memory, 8 characters on disk
    std::string MassUnitName = "кг";
    std::string TimeUnitName = "с";
    std::string ChargeUnitName = "Кл";
    std::string AngleUnitName = "градус";
    std::string ReservedUnitName;
    bool LengthUnitMasculine = true;
    double AngleUnit = std::numbers::pi / 180;  // radians in one angle unit

    friend bool operator==(const UnitSystem&, const UnitSystem&) = default;
};

inline constexpr std::int32_t Rgb(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

// The scales the view can work with, in field points per length unit:
// beyond them a ball's largest radius (10000 / FieldScale) or the field
// coordinates of the objects are no longer numbers.
inline constexpr double SmallestFieldScale = 1e-6;
inline constexpr double LargestFieldScale = 1e12;

struct Parameters {
    double Gravity = 9.81;
    std::int32_t FieldOriginX = 1000;
    std::int32_t FieldOriginY = 6800;
    double ZeroLevel = 0;
    double FieldScale = 1000;
    std::int16_t Reserved = 0;
    double AirDensity = 1;
    Vec2 Wind;
    double RouthMinSpeed = 1;
    double ObserverZ = 500;
    double AmbientLight = 0.5;
    bool AmbientLightAuto = true;
    std::uint8_t BackgroundMode = 0;
    std::int32_t MarkColor = Rgb(255, 255, 255);
    // Colors[i][j], i = 0..1, j = 0..2.
    std::array<std::array<std::int32_t, 3>, 2> Colors{{
        {Rgb(0, 0, 0), Rgb(0, 0, 221), Rgb(204, 0, 0)},
        {Rgb(0, 0, 0), Rgb(0, 0, 255), Rgb(238, 0, 0)},
    }};
    std::uint8_t DefaultMaterial = 1;
    double DefaultHalfThickness = 0.05;
    double TimeScale = 1;
    std::int32_t StepCounter = 0;
    double MarkSize = 0.5;
    double MaxStep = 0.001;
    std::string DescriptionExt;  // blank when there is no description
    std::int16_t WatermarkMode = 0;

    // Not stored in the file.
    bool ViewUnlocked = true;
    std::string BackgroundPath;

    friend bool operator==(const Parameters&, const Parameters&) = default;
};

}  // namespace velo
