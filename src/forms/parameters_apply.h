// The parameters window "Параметры имитации" as logic: the value of every
// control as the window holds it, filling them from the World, and
// "Применить", which checks the entries and writes them back.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/materials.h"
#include "model/parameters.h"
#include "forms/number_input.h"
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
// The radians in one angle unit that "Применить" takes, by magnitude.
inline constexpr double SmallestAngleUnit = 1e-100;
inline constexpr double LargestAngleUnit = 1e100;

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

// The checks of "Применить" alone, in their order, stopping at the first
// failure; nothing is stored. WriteTemplate is not set here.
ParameterApplyResult CheckParameterWindow(const ParameterWindowValues& values,
                                          const NumberLocale& locale = {});

// "Применить": runs the checks in their order and stops at the first
// failure, leaving the World unchanged; otherwise stores every value,
// including the material table (trimmed) and the ZeroSupport, and marks the
// project as changed. A default material or a ZeroSupport material that no
// longer names a material falls back to the ideal material (the default
// one for the support). When gravity, the zero level or the scale changed,
// every ball and rod is normalised again (their potential energies and the
// largest ball follow those). The caller then redraws, and writes the
// template file when WriteTemplate is set.
ParameterApplyResult ApplyParameterWindow(World& world, const ParameterWindowValues& values,
                                          const NumberLocale& locale = {});

// The numeric fields of the window, each with the values it takes. A field
// refuses what it cannot take at once (struck through, the last value
// kept); a zero angle unit and a scale that is not positive are taken by
// their fields and refused by "Применить" with its message.
enum class ParameterNumber {
    Gravity,
    ZeroLevel,
    RouthMinSpeed,  // not negative
    Wind,
    AirDensity,     // "Нестандартная плотность": not negative
    AngleUnit,
    FieldScale,
    FieldOrigin,    // whole field points within the 32-bit range
    AmbientLight,   // 0..1
    ObserverZ,
};
NumberInput::Check ParameterNumberCheck(ParameterNumber field);

// Values from -limit to limit that the reader gave for a number it could
// read (never the stand-in for an unreadable one).
NumberInput::Check ReadableWithin(double low, double high);

// The six entries of Colors in the order the window shows them (and the file
// stores them): the row index (fixed, movable) varies fastest.
struct ColourSlot {
    int Row;     // 0 fixed, 1 movable
    int Column;  // normal, selected, changeable
};
inline constexpr ColourSlot ColourSlots[6] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}};
inline constexpr const char* ColourRowTexts[] = {"Неподвижный", "Подвижный"};
inline constexpr const char* ColourColumnTexts[] = {"Обычный", "Выделенный", "Изменяемый"};

// The background picture list. Entry 0 is no picture; entries 1..n are the
// pictures "Graphics/Backgrounds/Back<n>.bmp" beside the program; the last
// one, BackgroundFromFile, is a picture chosen with "Обзор".
inline constexpr int BackgroundFromFile = 255;
inline constexpr const char* BackgroundNoneText = "Без рисунка";
inline constexpr const char* BackgroundFileText = "Рисунок из файла";
inline constexpr const char* BackgroundBrowseTitle = "Обзор графических файлов";

struct BackgroundEntry {
    int Mode;  // the BackgroundMode this entry stands for
    std::string Text;
};

std::filesystem::path BackgroundPicturePath(const std::filesystem::path& programFolder, int mode);
// The pictures Back1.bmp, Back2.bmp, ... found one after the other.
int CountBackgroundPictures(const std::filesystem::path& programFolder);
// The list for `pictureCount` pictures; a current mode that the list would
// not hold (a project made where more pictures were installed) gets an
// entry of its own, so reopening never changes the choice.
std::vector<BackgroundEntry> BackgroundList(int pictureCount, int currentMode);

// The picture "Применить" puts into the project: nothing (no change) when
// the choice is the one the window opened with; an empty path to take the
// picture away; otherwise the picture file to copy in.
std::optional<std::filesystem::path> BackgroundToStore(const ParameterWindowValues& values,
                                                       const Parameters& opened,
                                                       const std::filesystem::path& programFolder);

}  // namespace velo
