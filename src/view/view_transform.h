// The mapping between model coordinates (length units), field points and
// pixels of the scene, and the keyboard navigation that moves and zooms it.
//
// The field is always 10000 points across and 7000 points down, with Y up.
// Its left edge has field X = -FieldOriginX and its top edge field
// Y = +FieldOriginY. The scene widget shows the field across its whole
// width, so one pixel covers 10000 / (width in pixels) points. (The screen
// measures 15 twips per pixel at 96 dpi; twips per pixel times 10000 over
// the width in twips reduces to 10000 over the width in pixels.)
#pragma once

#include <cstdint>

#include "model/parameters.h"
#include "model/vec2.h"

namespace velo {

struct World;

// Field coordinates beyond this magnitude are clamped to it.
inline constexpr double FieldClampLimit = 1000000;

inline constexpr int FieldWidthPoints = 10000;
inline constexpr int FieldHeightPoints = 7000;

// Screen twips in one pixel (96 dpi). Sizes measured in twips (layout
// margins) are divided by this to get pixels.
inline constexpr int TwipsPerPixel = 15;

// One model coordinate to a field coordinate: value * FieldScale clamped to
// +-FieldClampLimit (the sign of the value is kept).
double ModelToFieldCoord(double value, double fieldScale);
Vec2 ModelToField(Vec2 model, double fieldScale);
// The inverse division, not clamped.
Vec2 FieldToModel(Vec2 field, double fieldScale);

// Field points per pixel for a scene of the given inner width in pixels.
double PointsPerPixelForWidth(int widthPixels);

// Grid spacing in length units: 10 ^ floor(log10(1600 / FieldScale)).
double GridSpacingUnits(double fieldScale);

// The 10 : 7 scene inside an available area (pixels): H = W * 0.7 when the
// area is taller than that, else W = H / 0.7, rounded to whole pixels.
struct SceneSize {
    int Width = 0;
    int Height = 0;
};
SceneSize FitField(int availableWidth, int availableHeight);

// A snapshot of the view state with the derived pixel scale.
struct ViewTransform {
    double FieldScale = 1000;
    std::int32_t FieldOriginX = 1000;
    std::int32_t FieldOriginY = 6800;
    double PointsPerPixel = 10;

    static ViewTransform FromParameters(const Parameters& params, int widthPixels);

    // Field point to pixel position (from the top-left inner corner).
    double PixelX(double fieldX) const { return (fieldX + FieldOriginX) / PointsPerPixel; }
    double PixelY(double fieldY) const { return (FieldOriginY - fieldY) / PointsPerPixel; }
    // Pixel position to field point.
    double FieldX(double pixelX) const { return pixelX * PointsPerPixel - FieldOriginX; }
    double FieldY(double pixelY) const { return FieldOriginY - pixelY * PointsPerPixel; }

    // Model point to pixel position through the clamped field coordinates.
    Vec2 ModelToPixel(Vec2 model) const;
    // Pixel position to model point.
    Vec2 PixelToModel(double pixelX, double pixelY) const;

    // Edges of the field in field coordinates.
    double LeftEdge() const { return -static_cast<double>(FieldOriginX); }
    double RightEdge() const { return FieldWidthPoints - static_cast<double>(FieldOriginX); }
    double TopEdge() const { return FieldOriginY; }
    double BottomEdge() const { return static_cast<double>(FieldOriginY) - FieldHeightPoints; }
};

// Keys of the scene's keyboard navigation (the numeric keypad).
enum class NavigationKey {
    None,
    Pad0, Pad1, Pad2, Pad3, Pad4, Pad5, Pad6, Pad7, Pad8, Pad9,
    PadPlus,
    PadMinus,
};

struct NavigationInput {
    NavigationKey Key = NavigationKey::None;
    bool ControlOnly = false;      // Ctrl is held and no other modifier
    bool Running = false;          // the simulation runs: nothing happens
    bool WindowEnabled = true;     // the main window is disabled: nothing happens
    bool InvertNavigation = false; // the "InvertNavigation" setting
};

struct NavigationResult {
    bool Panned = false;             // the origin moved
    bool Zoomed = false;             // FieldScale changed
    bool StepToggled = false;        // the pan step changed
    bool Redraw = false;             // redraw keeping the selection
    bool RepeatPointerMove = false;  // re-run pointer-move handling at the last position
};

inline constexpr int InitialPanStep = 200;

// Applies one key press of the navigation to the view parameters and the
// pan step of the main window. Pans and zooms act only while ViewUnlocked
// and only with Ctrl as the sole modifier; Numpad + and - ask for a redraw
// even without it. With InvertNavigation the four directions are reversed.
NavigationResult ApplyNavigationKey(Parameters& params, int& panStep, const NavigationInput& input);

}  // namespace velo
