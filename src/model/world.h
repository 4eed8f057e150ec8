// The World: the one in-memory project. Fixed-capacity tables of plain
// records addressed by object kind and number, the material table, the units
// and parameters, and a few global values. Everything here is plain data;
// the operations are free functions in the neighbouring files.
//
// A World is a few megabytes (polyline vertex arrays, thread arrays, the
// material pair tables): allocate it on the heap (std::make_unique<World>()).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/materials.h"
#include "model/parameters.h"
#include "model/vec2.h"

namespace velo {

// Object kinds: the same codes name the kind in CurrentKind, in creation
// modes, in references between objects and in the order of the file's
// object section.
enum ObjectKind : std::uint8_t {
    KindNone = 0,
    KindLaval = 1,
    KindHand = 2,
    KindWall = 3,
    KindPlane = 4,
    KindBall = 5,
    KindThread = 6,
    KindPeg = 7,
    KindSurface = 8,
    KindSurface2 = 9,
    KindCylinder = 10,
    KindHBody = 20,
};

// Highest usable number of each table (tables are indexed 0..capacity).
inline constexpr int LavalCapacity = 200;
inline constexpr int HandCapacity = 200;
inline constexpr int WallCapacity = 200;
inline constexpr int PlaneCapacity = 200;
inline constexpr int BallCapacity = 400;  // balls and cylinders together
inline constexpr int ThreadCapacity = 20;
inline constexpr int PegCapacity = 200;
inline constexpr int SurfaceCapacity = 100;
inline constexpr int Surface2Capacity = 200;
inline constexpr int HBodyCapacity = 200;

inline constexpr int SurfacePointCapacity = 1024;
inline constexpr int ThreadSegmentCapacity = 512;

// Ball shapes.
inline constexpr std::uint8_t ShapeBall = 1;
inline constexpr std::uint8_t ShapeCylinder = 2;

// What a ball is attached to (BindKind).
inline constexpr std::uint8_t BindNothing = 0;
inline constexpr std::uint8_t BindLaval = 1;
inline constexpr std::uint8_t BindPegEnd = 7;

// The Marker byte of every fixed record (suspension point, support, wall,
// plane, surfaces): PreviewMarker while its property window shows the
// working copy in the record's place, so that it is drawn in the changeable
// colour; 0 otherwise. Never stored.
inline constexpr std::uint8_t PreviewMarker = 18;

// Project kinds.
enum ProjectKindCode : std::uint8_t {
    ProjectNone = 0,
    ProjectMechanical = 1,
    ProjectCelestial = 2,
    ProjectDiffraction = 3,
};

struct Laval {
    Vec2 Position;
    double Reserved = 0;
    bool Selected = false;
    bool Exists = false;
    std::uint8_t Marker = 0;
};

// Supports (Hand) and walls (Wall) share this record: a horizontal segment
// at Y = Coord for a support, a vertical one at X = Coord for a wall.
struct HandWall {
    std::uint8_t Material = 0;
    double Coord = 0;
    double Bound1 = 0;
    double Bound2 = 0;
    double HalfThickness = 0;
    bool Selected = false;
    bool Exists = false;
    std::uint8_t Marker = 0;
};

struct Plane {
    std::uint8_t Material = 0;
    Vec2 P1;
    Vec2 P2;
    double Length = 0;  // derived
    double Angle = 0;   // derived, 0..pi/2
    double HalfThickness = 0;
    bool Selected = false;
    bool Exists = false;
    std::uint8_t Triangular = 0;  // 1 solid right triangle, 0 plate
    std::uint8_t Marker = 0;
};

struct Ball {
    double Mass = 0;
    double Density = 0;
    double Radius = 0;
    double Height = 0;
    double Volume = 0;
    std::uint8_t Material = 0;
    double DragLinear = 0;
    double DragQuadratic = 0;
    Vec2 Position;
    std::uint8_t Z = 0;
    std::uint8_t Shape = ShapeBall;
    Vec2 Velocity;
    Vec2 GravityAccel;  // not stored
    Vec2 Acceleration;
    Vec2 Force;
    double KineticEnergy = 0;    // derived
    double PotentialEnergy = 0;  // derived
    Vec2 Momentum;               // derived
    double InertiaFactor = 0;
    double Inertia = 0;  // derived
    double Torque = 0;
    double AngularMomentum = 0;
    double Omega = 0;
    double Epsilon = 0;
    double Phi = 0;
    std::uint8_t BindKind = BindNothing;
    std::int32_t BindNumber = 0;
    double BindAngle = 0;
    double BindRadius = 0;  // not stored
    bool Marked = false;
    bool Selected = false;
    bool Allow3D = false;
    bool Exists = false;
    bool Movable = false;
};

struct Thread {
    double LinearDensity = 0;
    double Length = 0;
    std::int32_t SegmentCount = 0;
    std::uint8_t Z = 0;
    std::array<Vec2, ThreadSegmentCapacity + 1> Points{};
    std::array<Vec2, ThreadSegmentCapacity + 1> SegmentForce{};
    // Per-segment arrays are indexed by segment k = 1..SegmentCount; slot 0
    // is unused so that the index matches the segment number.
    std::array<double, ThreadSegmentCapacity + 1> SegmentOmega{};
    std::array<double, ThreadSegmentCapacity + 1> SegmentEpsilon{};
    std::array<double, ThreadSegmentCapacity + 1> SegmentPhi{};
    std::array<double, ThreadSegmentCapacity + 1> SegmentLength{};
    std::array<std::int32_t, ThreadSegmentCapacity + 1> SegmentLine{};
    std::int32_t FirstEndLaval = 0;
    std::int32_t SecondEndBinding = 0;
    std::uint8_t Material = 0;
    bool Selected = false;
    bool Exists = false;
};

struct Peg {
    double LinearDensity = 0;
    double Mass = 0;
    double Volume = 0;  // derived
    double Density = 0;
    double SectionInertiaFactor = 0;
    std::uint8_t SectionShape = 0;  // 1 rectangle, 0 ellipse; not stored
    double Width = 0;
    double Depth = 0;
    double SectionArea = 0;
    Vec2 Position;  // rotation centre
    Vec2 Velocity;
    Vec2 Acceleration;
    Vec2 Force;
    Vec2 End1;  // derived
    Vec2 End2;  // derived
    std::uint8_t Z = 0;
    double Omega = 0;
    double Epsilon = 0;
    double Phi = 0;
    double PivotInertia = 0;  // derived
    double Inertia = 0;       // derived
    double Torque = 0;
    double AngularMomentum = 0;
    double Length = 0;
    std::int32_t HangLaval = 0;
    double HangFraction = 0;
    double CentreOffset = 0;  // derived
    std::uint8_t End1Kind = 0;
    std::int32_t End1Number = 0;
    std::uint8_t End2Kind = 0;
    std::int32_t End2Number = 0;
    double DragLinear = 0;
    double DragQuadratic = 0;
    double KineticEnergy = 0;    // derived
    double PotentialEnergy = 0;  // derived
    std::uint8_t Material = 0;
    bool Selected = false;
    bool Exists = false;
    bool Movable = false;
};

struct Surface {
    std::int32_t PointCount = 0;
    bool Closed = false;
    std::int16_t Reserved = 0;
    // Room for SurfacePointCapacity vertices once the surface is in use;
    // ClearWorld empties it.
    std::vector<Vec2> Points;
    std::uint8_t Material = 0;
    double HalfThickness = 0;
    bool Selected = false;
    bool Exists = false;
    std::uint8_t Marker = 0;

    friend bool operator==(const Surface&, const Surface&) = default;
};

inline constexpr std::uint8_t Parabola = 1;
inline constexpr std::uint8_t Hyperbola = 2;
inline constexpr std::uint8_t Ellipse = 3;

struct Surface2 {
    bool Closed = false;
    Vec2 Centre;
    double Rotation = 0;
    double ParamA = 0;
    double ParamB = 0;
    double TFrom = 0;
    double TTo = 0;
    std::uint8_t SurfaceKind = Parabola;
    std::uint8_t Material = 0;
    double HalfThickness = 0;
    bool Selected = false;
    bool Exists = false;
    std::uint8_t Marker = 0;
};

// Three-dimensional vector of a celestial project: metres in the
// observer's frame, the observer at the origin looking along -z.
struct Vec3 {
    double X = 0;
    double Y = 0;
    double Z = 0;

    friend bool operator==(const Vec3&, const Vec3&) = default;
};

// A celestial body. Slot 0 of the table is the edit copy of the property
// window and is never simulated.
struct HBody {
    std::array<char16_t, 16> Name{u' ', u' ', u' ', u' ', u' ', u' ', u' ', u' ',
                                  u' ', u' ', u' ', u' ', u' ', u' ', u' ', u' '};
    double Radius = 0;
    std::string DensityFormula = "1000";
    double Density = 1000;  // mean density
    double Volume = 0;
    double Mass = 0;
    std::int32_t Colour = 0;
    Vec3 Position;
    Vec3 Velocity;
    Vec3 Acceleration;
    Vec3 Momentum;
    Vec3 Force;
    bool Movable = false;
    bool Selected = false;
    bool Exists = false;

    friend bool operator==(const HBody&, const HBody&) = default;
};

// Physical constants, time scale and view of a celestial project. The view
// angles and the projection distance (in field units) go together; the
// celestial code keeps them consistent.
struct CelestialParameters {
    double GravitationalConstant = 6.672e-11;
    double LightSpeed = 299792458;
    double PlanckConstant = 6.6262e-34;
    double BoltzmannConstant = 1.3807e-23;
    double CelestialTimeScale = 3600;
    double ViewAngleV = 1.570796326794895;
    double ViewAngleH = 1.920140724811376;
    double ObserverDistance = 3500;

    friend bool operator==(const CelestialParameters&, const CelestialParameters&) = default;
};

struct World {
    std::array<Laval, LavalCapacity + 1> Lavals{};
    std::array<HandWall, HandCapacity + 1> Hands{};  // 0 is the ZeroSupport
    std::array<HandWall, WallCapacity + 1> Walls{};
    std::array<Plane, PlaneCapacity + 1> Planes{};
    std::array<Ball, BallCapacity + 1> Balls{};  // 0 is the EditCopy
    std::array<Thread, ThreadCapacity + 1> Threads{};
    std::array<Peg, PegCapacity + 1> Pegs{};  // 0 is the EditCopy
    std::array<Surface, SurfaceCapacity + 1> Surfaces{};
    std::array<Surface2, Surface2Capacity + 1> Surfaces2{};
    std::array<HBody, HBodyCapacity + 1> HBodies{};  // 0 is the edit copy

    // Highest number handed out per table (not the number of live objects).
    std::int32_t LavalCount = 0;
    std::int32_t HandCount = 0;
    std::int32_t WallCount = 0;
    std::int32_t PlaneCount = 0;
    std::int32_t BallCount = 0;
    std::int32_t ThreadCount = 0;
    std::int32_t PegCount = 0;
    std::int32_t SurfaceCount = 0;
    std::int32_t Surface2Count = 0;
    std::int32_t HBodyCount = 0;

    std::uint8_t CurrentKind = KindNone;
    std::int32_t CurrentNumber = 0;
    std::uint8_t ProjectKind = ProjectNone;
    double T = 0;

    UnitSystem Units;
    Parameters Params;
    CelestialParameters Celestial;
    MaterialTable Materials;

    // Field points covered by one screen pixel; the view keeps it current.
    // The rod edge test uses a tenth of one pixel as its tolerance.
    double PointsPerPixel = 10;

    // The project differs from its last saved state.
    bool Changed = false;

    // Edits of the fixed objects (suspension points, supports, walls,
    // planes and surfaces). The contact index of the step compares the fixed
    // records in every step, but re-reads the vertices of the polyline
    // surfaces only when this count has moved: every routine that changes a
    // fixed object calls MarkFixedSceneChanged.
    std::uint64_t FixedSceneEdits = 0;

    // Clears of the World. What a step context remembers of the objects
    // (which rod touched what in the last step) belongs to one generation:
    // a cleared World hands its numbers out again.
    std::uint64_t Generation = 0;
};

}  // namespace velo
