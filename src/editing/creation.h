// Creating objects with the mouse: the records each creation gesture makes,
// the refusals of the creation commands, and the shapes of the rubber bands
// that become objects.
#pragma once

#include <string>

#include "model/vec2.h"
#include "model/world.h"

namespace velo {

// Editing modes (MakeObj).
enum EditModeCode : int {
    ModeSelect = 0,
    ModeLaval = 1,
    ModeHand = 2,
    ModeWall = 3,
    ModePlane = 4,
    ModeBall = 5,
    ModeThread = 6,
    ModePeg = 7,
    ModeSurface = 8,
    ModeParabola = 9,
    ModeCylinder = 10,
    ModeHyperbola = 11,
    ModeProtractor = 12,
    ModeEllipse = 13,
    ModeRuler = 14,
    ModeHBody = 20,
    ModeGroup = 250,
    ModeMove = 254,
};

// New movable bodies get these drag coefficients, and new rods this section.
inline constexpr double NewBodyDragLinear = 8;
inline constexpr double NewBodyDragQuadratic = 1;
inline constexpr double NewRodWidth = 0.03;

// Why the command of `mode` cannot arm it now: the capacity message of a
// full table, or "Нет ни одного подвеса" for a thread; empty when it can.
std::string CreationRefusal(const World& world, int mode);

// Ball radius in pixels for the "BallSize" setting 1..3 (0: the last radius).
double BallSizePixels(int ballSize);

// Each creator returns the new object's number, 0 when the table is full
// (the World is then unchanged). New objects are selected and current.
int CreateLaval(World& world, Vec2 at);
// A ball (kind 5) or cylinder (kind 10) at `at`, of radius `radius`.
int CreateBody(World& world, int kind, Vec2 at, double radius, int layer, bool marked);
// A support (kind 2) or wall (kind 3) between `from` and `to` along its axis
// at `coord` across it (the bounds in increasing order).
int CreateBar(World& world, int kind, double coord, double from, double to);
int CreatePlane(World& world, Vec2 p1, Vec2 p2);
// A rod from `end1` to `end2`: hung on a suspension point it crosses within
// half its width, else on the nearest one, else free.
int CreateRod(World& world, Vec2 end1, Vec2 end2, int layer);
// A polyline surface through `points` (at least one, at most 1024).
int CreateSurface(World& world, const std::vector<Vec2>& points, bool closed);

// A second-order curve of `kind` (1 parabola, 2 hyperbola, 3 ellipse)
// centred at `centre`, its axis turned by `rotation`; `axisLength` is the
// length of the axis drawn at the first stage.
Surface2 CurveAt(int kind, Vec2 centre, double rotation, double axisLength);
// The shape that passes through `pointer` (model units): ParamA, ParamB and
// the range TFrom = -TTo, in the curve's own frame.
void ShapeCurveThrough(Surface2& curve, double axisLength, Vec2 pointer);
int CreateCurve(World& world, const Surface2& shape);

// The direction angle of b - a, 0 to 2 pi.
double DirectionAngle(Vec2 a, Vec2 b);

}  // namespace velo
