// Spatial index of the ball and rod contacts: a grid of the balls rebuilt in
// every step and updated as each ball finishes its contacts, and a static
// grid of the fixed obstacles rebuilt whenever the fixed scene changes. It only
// skips pairs that certainly cannot touch (every box carries a margin for
// rounding); the visiting order stays that of the plain loops.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/geometry.h"
#include "engine/step_context.h"
#include "model/world.h"

namespace velo {

// Order of the obstacle kinds in the ball contacts.
enum ObstacleOrder : std::uint32_t {
    OrderLaval = 0,
    OrderHand = 1,
    OrderWall = 2,
    OrderPlane = 3,
    OrderSurface = 4,
    OrderSurface2 = 5,
};

// A run of a polyline's walk: vertices Begin..End-1 with the feet on the
// segments ending at them (Begin = 1 also takes vertex 0 first), or the
// closing edge from the last vertex back to the first.
struct PolylineChunk {
    int Begin = 1;
    int End = 1;
    bool Closing = false;
    BoundingBox Box;  // with the thickness, the foot tolerance and a margin
};

struct FixedEntry {
    ObstacleOrder Order = OrderLaval;
    int Number = 0;
    BoundingBox Box;  // where the obstacle can act, less the ball radius
    int FirstChunk = 0;
    int ChunkCount = 0;
};

struct ContactIndex {
    int LastNumber = 0;  // the ball grid holds balls 1..LastNumber

    // Balls 1..LastNumber by the cell of their centre, in increasing number.
    Vec2 BallOrigin;
    double BallCell = 1;
    int BallColumns = 1;
    int BallRows = 1;
    // The balls of each cell as a chain through NextInCell (0 ends it), in
    // no particular order: the searches read the candidates back by number.
    // The tables are sized once for the largest grid and every ball, so the
    // step allocates nothing however the balls move.
    std::vector<int> CellFirst;
    std::vector<int> NextInCell;
    std::vector<int> UsedBallCells;
    std::vector<int> LargeBalls;  // radius above the cell, or no finite centre
    double SmallRadiusMax = 0;

    // Neighbour lists: for every ball the lower-numbered balls that lay
    // within the sum of the radii and a little over twice the skin when the
    // lists were built. While no ball is further than the skin from where it
    // was then, they hold every pair that can touch, and the ball grid is
    // not needed. A ball that moves further gives them up for the rest of
    // the step; the next step builds them again.
    bool ListsActive = false;  // for the rest of this step
    bool ListsBuilt = false;
    double Skin = 0;
    std::int32_t ListBallCount = 0;
    int ListAge = 0;        // steps the present lists have served
    int StepsUntilLists = 0;  // lists rest while they would not last
    std::vector<int> NeighbourBegin;
    std::vector<int> Neighbours;
    std::vector<Vec2> ListCentre;
    std::vector<double> ListRadius;
    std::vector<unsigned char> ListExists;
    // Balls that have left their skin since the lists were built, in
    // increasing number: each is tested against every lower ball, and every
    // higher ball tests it, so the lists stay exact without them.
    std::vector<int> Escaped;
    std::vector<unsigned char> IsEscaped;
    // How often the lists were built, a ball escaped its skin, and a step
    // went without them (for the tests).
    long long ListBuilds = 0;
    long long ListEscapes = 0;
    long long StepsWithoutLists = 0;

    // Fixed obstacles.
    bool FixedBuilt = false;
    std::uint64_t HeaderSignature = 0;
    std::uint64_t VertexSignature = 0;
    std::uint64_t VertexEdits = 0;  // World::FixedSceneEdits when the vertices were read
    std::vector<FixedEntry> Entries;  // in visiting order
    std::vector<PolylineChunk> Chunks;
    BoundingBox FixedBounds;     // the part of the plane the grid resolves
    BoundingBox ObstacleBounds;  // every finite obstacle box
    Vec2 FixedOrigin;
    double FixedCell = 1;
    int FixedColumns = 1;
    int FixedRows = 1;
    std::vector<std::vector<int>> FixedCells;  // entry indices, increasing
    std::vector<int> GlobalEntries;            // entries tested by every ball

    std::vector<int> Scratch;

};

// Rounding margin of a box test near p.
inline double BoxMargin(Vec2 p, double reach) {
    return 1e-9 * (1 + std::fabs(p.X) + std::fabs(p.Y) + std::fabs(reach));
}

// p lies within `reach` of the box (always true for a box or point that is
// not finite, so nothing is skipped that the exact test might take).
inline bool NearBox(const BoundingBox& box, Vec2 p, double reach) {
    const double r = reach + BoxMargin(p, reach);
    return !(p.X < box.Min.X - r || p.X > box.Max.X + r || p.Y < box.Min.Y - r || p.Y > box.Max.Y + r);
}

// Starts the index for a new step: the ball grid afresh from the present
// centres, the fixed part rebuilt when a fixed object changed (see
// CheckFixed below) or the moving objects left the part it resolves, and
// the neighbour lists kept, built or rested.
void StartIndexStep(World& world, ContactIndex& index, bool verifyFixedScene);

// Adds the balls below `number` that are not in the grid yet, before the
// contacts of ball `number` (nothing while the neighbour lists serve).
void FillBallGridBelow(World& world, ContactIndex& index, int number);

// Entries whose box comes within `reach` of `box`, in visiting order (all of
// them when the box is not finite).
void RodCandidates(const ContactIndex& index, const BoundingBox& box, double reach, std::vector<int>& out);

// Balls below `number` that may touch a ball of radius `radius` at p, in
// increasing number, all above `after`.
void BallCandidates(const ContactIndex& index, int number, Vec2 p, double radius, double move,
                    int after, std::vector<int>& out);

// Entries that may act on a ball of radius `radius` at p, in visiting order,
// all after entry `after`.
void FixedCandidates(const ContactIndex& index, Vec2 p, double radius, double move, int after,
                     std::vector<int>& out);

// True while ball `number` at p is within the skin of where the lists saw it.
inline bool WithinSkin(const ContactIndex& index, int number, Vec2 p) {
    const Vec2 d = p - index.ListCentre[static_cast<std::size_t>(number)];
    return d.X * d.X + d.Y * d.Y <= index.Skin * index.Skin;
}

// More escaped balls than this have the lists built again.
inline constexpr int MaxEscaped = 8;

// Records that ball `number` has left its skin.
void MarkEscaped(ContactIndex& index, int number);

// Gives the neighbour lists up for the rest of the step: the ball grid takes
// over, filled with balls 1..number-1 at their present centres.
void DropNeighbourLists(World& world, ContactIndex& index, int number);

// Puts ball `number` into the grid at its present centre.
void InsertBall(World& world, ContactIndex& index, int number);

// Moves ball `number`, already in the grid at `oldPosition`, to the cell of
// its present centre (a pair contact has pushed it aside).
void MoveBallInGrid(World& world, ContactIndex& index, int number, Vec2 oldPosition);

}  // namespace velo
