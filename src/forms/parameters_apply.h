// The parameters window "Параметры имитации" as logic: the value of every
// control as the window holds it, filling them from the World, and
// "Применить", which checks the entries and writes them back.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "model/materials.h"
#include "model/parameters.h"
#include "forms/parse_number.h"

namespace velo {

struct World;

// Characters of a unit name that the file keeps.
inline constexpr int UnitNameLength = 8;

// Entries of the unit list that selects which of these names is edited.
inline constexpr const char* UnitListTexts[] = {"массы (M)", "времени (T)", "заряда (Q)"};

// The controls of the window. Numbers are the texts of their fields, read
// with ParseNumber on "Применить". The struct holds the working copy of the
// material table (about half a megabyte): keep it on the heap.
struct ParameterWindowValues {
    // Units.
    std::string LengthUnitName;
    std::string MassUnitName;
    std::string TimeUnitName;
    std::string ChargeUnitName;
    std::string AngleUnitName;
    std::string AngleUnit;  // radians in one angle unit
    bool LengthUnitMasculine = true;

    // Field and medium.
    std::string Gravity;
    std::string ZeroLevel;
    std::string RouthMinSpeed;
    std::string WindX;
    std::string WindY;
    int AirOption = 1;        // AirOption of unit_labels.h
    std::string AirDensity;   // the field of "Нестандартная плотность"
    bool ZeroSupport = false;  // "Использовать опору на нулевом уровне"
    int ZeroSupportMaterial = 1;

    // View.
    std::string FieldScale;
    std::string FieldOriginX;
    std::string FieldOriginY;
    bool ViewUnlocked = true;

    // Drawing.
    std::string AmbientLight;
    bool AmbientLightAuto = true;
    std::string ObserverZ;
    int BackgroundMode = 0;
    std::string BackgroundPath;
    std::int32_t MarkColor = 0;
    int MarkSizeSlider = 5;  // MarkSize × 10
    std::array<std::array<std::int32_t, 3>, 2> Colors{};

    // "Применять текущие параметры для всех новых проектов".
    bool ApplyToNewProjects = false;

    // The working copy edited by the materials tab (materials_editing.h).
    MaterialTable Materials;
};

// Fills every control from the World, numbers as FormatNumber shows them.
std::unique_ptr<ParameterWindowValues> FillParameterWindow(const World& world,
                                                           const NumberLocale& locale = {});

// The field that a failed check moves the focus to.
enum class ParameterField {
    None,
    LengthUnitName,
    MassUnitName,
    TimeUnitName,
    ChargeUnitName,
    AngleUnitName,
    AngleUnit,
    FieldScale,
};

struct ParameterApplyResult {
    std::string Message;  // empty: stored
    ParameterField Field = ParameterField::None;
    int UnitListEntry = -1;  // entry of UnitListTexts to select, −1 for none
    bool WriteTemplate = false;  // the caller writes "New.qvs" now
    bool Ok() const { return Message.empty(); }
};

// "Применить": runs the checks in their order and stops at the first
// failure, leaving the World unchanged; otherwise stores every value,
// including the material table (trimmed) and the ZeroSupport, and marks the
// project as changed. The caller then redraws, and writes the template file
// when WriteTemplate is set.
ParameterApplyResult ApplyParameterWindow(World& world, const ParameterWindowValues& values,
                                          const NumberLocale& locale = {});

}  // namespace velo
