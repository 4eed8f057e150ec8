// The material table: names, densities and colours of up to 101 materials
// and six tables of coefficients for every ordered pair of materials.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velo {

struct World;

inline constexpr int MaterialSlots = 101;  // indices 0..100
inline constexpr int MaxMaterialIndex = 100;

struct Material {
    std::string Name;  // UTF-8; at most 16 characters; blank = free slot
    double Density = 1;
    double ReservedReal = 0;
    std::int32_t Colour = 0;  // red + 256 * green + 65536 * blue

    friend bool operator==(const Material&, const Material&) = default;
};

// Element (i, j) of a pair table lives at i + 101 * j, where i is the
// material of the moving object and j that of the other one.
using PairTable = std::array<double, MaterialSlots * MaterialSlots>;

inline constexpr int PairIndex(int moving, int other) { return moving + MaterialSlots * other; }

struct MaterialTable {
    std::uint8_t MaterialCount = 0;  // index of the last material
    std::array<Material, MaterialSlots> Items{};
    PairTable Restitution{};
    PairTable FrictionRouth{};
    PairTable FrictionLambda{};
    PairTable RollingFriction{};
    PairTable ReservedPair1{};
    PairTable ReservedPair2{};

    friend bool operator==(const MaterialTable&, const MaterialTable&) = default;
};

struct PairCoefficients {
    double Restitution = 1;
    double FrictionRouth = 0;
    double FrictionLambda = 0;
    double RollingFriction = 0;
};

// The two-material table of a new project: "Идеальный" and "Сталь".
void SetDefaultMaterials(MaterialTable& table);

// The four used coefficients of the ordered pair (moving, other).
PairCoefficients PairOf(const MaterialTable& table, int moving, int other);

// Writes (i, j) and (j, i) of the four used tables together.
void SetPairSymmetric(MaterialTable& table, int i, int j, const PairCoefficients& c);

// Drops trailing free (blank-named) slots while MaterialCount > 0.
void TrimMaterials(MaterialTable& table);

// Number of existing objects made of each material; with selectedOnly, only
// the selected ones count.
std::array<int, MaterialSlots> MaterialUsage(const World& world, bool selectedOnly);

// Text shown for a free slot in the materials list.
inline constexpr const char* FreeMaterialText = "Отсутствует";

}  // namespace velo
