#include "engine/obstacle_index.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

#include "engine/curves.h"

namespace velo {

namespace {

bool Finite(Vec2 p) { return std::isfinite(p.X) && std::isfinite(p.Y); }
bool Finite(const BoundingBox& b) { return Finite(b.Min) && Finite(b.Max) && b.Min.X <= b.Max.X && b.Min.Y <= b.Max.Y; }

// A box grown by `amount` and by a rounding margin relative to its size and
// place, so that points computed with rounding still fall inside.
BoundingBox Grown(BoundingBox box, double amount) {
    const double size = std::max({std::fabs(box.Min.X), std::fabs(box.Min.Y), std::fabs(box.Max.X),
                                  std::fabs(box.Max.Y)});
    const double g = amount + 1e-9 * (1 + size + amount);
    box.Min.X -= g;
    box.Min.Y -= g;
    box.Max.X += g;
    box.Max.Y += g;
    return box;
}

struct Hasher {
    std::uint64_t Value = 1469598103934665603ull;
    void Add(std::uint64_t x) { Value = (Value ^ x) * 1099511628211ull ^ (Value >> 29); }
    void Add(double x) { Add(std::bit_cast<std::uint64_t>(x)); }
    void Add(Vec2 p) { Add(p.X); Add(p.Y); }
};

// Every fixed record the index is built from, except the vertices of the
// polyline surfaces (of those only the counts and the two ends).
std::uint64_t HeaderSignature(const World& w) {
    Hasher h;
    h.Add(w.Params.FieldScale);
    for (std::int32_t count : {w.LavalCount, w.HandCount, w.WallCount, w.PlaneCount, w.SurfaceCount, w.Surface2Count}) {
        h.Add(static_cast<std::uint64_t>(count));
    }
    for (int n = 1; n <= std::min(w.LavalCount, LavalCapacity); ++n) {
        const Laval& l = w.Lavals[n];
        h.Add(static_cast<std::uint64_t>(l.Exists));
        h.Add(l.Position);
    }
    auto bars = [&](const auto& table, int from, int count) {
        for (int n = from; n <= count; ++n) {
            const HandWall& b = table[n];
            h.Add(static_cast<std::uint64_t>(b.Exists));
            h.Add(b.Coord);
            h.Add(b.Bound1);
            h.Add(b.Bound2);
            h.Add(b.HalfThickness);
        }
    };
    bars(w.Hands, 0, std::min(w.HandCount, HandCapacity));
    bars(w.Walls, 1, std::min(w.WallCount, WallCapacity));
    for (int n = 1; n <= std::min(w.PlaneCount, PlaneCapacity); ++n) {
        const Plane& p = w.Planes[n];
        h.Add(static_cast<std::uint64_t>(p.Exists) | static_cast<std::uint64_t>(p.Triangular) << 8);
        h.Add(p.P1);
        h.Add(p.P2);
        h.Add(p.Length);
        h.Add(p.HalfThickness);
    }
    for (int n = 1; n <= std::min(w.SurfaceCount, SurfaceCapacity); ++n) {
        const Surface& s = w.Surfaces[n];
        h.Add(static_cast<std::uint64_t>(s.Exists) | static_cast<std::uint64_t>(s.Closed) << 8);
        h.Add(static_cast<std::uint64_t>(s.PointCount));
        h.Add(static_cast<std::uint64_t>(s.Points.size()));
        h.Add(s.HalfThickness);
        if (!s.Points.empty()) {
            h.Add(s.Points.front());
            h.Add(s.Points.back());
        }
    }
    for (int n = 1; n <= std::min(w.Surface2Count, Surface2Capacity); ++n) {
        const Surface2& c = w.Surfaces2[n];
        h.Add(static_cast<std::uint64_t>(c.Exists) | static_cast<std::uint64_t>(c.SurfaceKind) << 8);
        h.Add(c.Centre);
        h.Add(c.Rotation);
        h.Add(c.ParamA);
        h.Add(c.ParamB);
        h.Add(c.TFrom);
        h.Add(c.TTo);
        h.Add(c.HalfThickness);
    }
    return h.Value;
}

// Every vertex of every polyline surface in use.
std::uint64_t VertexSignature(const World& w) {
    Hasher h;
    for (int n = 1; n <= std::min(w.SurfaceCount, SurfaceCapacity); ++n) {
        const Surface& s = w.Surfaces[n];
        if (!s.Exists) continue;
        // Four independent lanes keep this cheap for long polylines.
        std::uint64_t lanes[4] = {1, 2, 3, 4};
        const auto* words = reinterpret_cast<const double*>(s.Points.data());
        const std::size_t count = s.Points.size() * 2;
        for (std::size_t k = 0; k < count; ++k) {
            std::uint64_t& lane = lanes[k & 3];
            lane = (lane ^ std::bit_cast<std::uint64_t>(words[k])) * 0x9E3779B97F4A7C15ull;
        }
        h.Add(static_cast<std::uint64_t>(n));
        for (std::uint64_t lane : lanes) h.Add(lane);
    }
    return h.Value;
}

BoundingBox BarBox(const HandWall& b, bool wall) {
    BoundingBox box;
    const double t = b.HalfThickness;
    for (Vec2 p : {Vec2{b.Bound1, b.Coord - t}, Vec2{b.Bound2, b.Coord + t}}) {
        box.Add(wall ? Vec2{p.Y, p.X} : p);
    }
    return Grown(box, 0);
}

BoundingBox PlaneBox(const Plane& p, double tolerance) {
    BoundingBox box;
    box.Add(p.P1);
    box.Add(p.P2);
    if (p.Triangular == 1) {
        box.Add(p.P2.Y <= p.P1.Y ? Vec2{p.P1.X, p.P2.Y} : Vec2{p.P2.X, p.P1.Y});
        return Grown(box, tolerance);
    }
    // The plate's corners as the ball and the rod contacts place them: both
    // scale the offset by the stored length, which need not be |P2 - P1|.
    const double h = p.HalfThickness;
    const Vec2 d = p.P2 - p.P1;
    double ballLength = p.Length;
    if (!(ballLength > 0)) ballLength = Distance(p.P2, p.P1);
    for (double length : {ballLength, p.Length}) {
        if (length == 0 || std::isnan(length)) continue;
        const Vec2 o{d.Y * h / length, -d.X * h / length};
        for (Vec2 corner : {p.P1 + o, p.P2 + o, p.P1 - o, p.P2 - o}) {
            if (!Finite(corner)) return BoundingBox{{std::nan(""), 0}, {0, 0}};
            box.Add(corner);
        }
    }
    // The centre of a ball inside the plate lies within the half thickness
    // of its line.
    return Grown(box, std::fabs(h) + tolerance);
}

void AddEntry(ContactIndex& index, ObstacleOrder order, int number, BoundingBox box) {
    FixedEntry entry;
    entry.Order = order;
    entry.Number = number;
    entry.Box = box;
    index.Entries.push_back(entry);
}

void AddSurfaceEntry(ContactIndex& index, const Surface& s, int number, double tolerance) {
    const int count = static_cast<int>(std::min<long long>(s.PointCount, static_cast<long long>(s.Points.size())));
    if (count < 1) return;
    const double reach = std::max(s.HalfThickness, 0.0) + tolerance;
    FixedEntry entry;
    entry.Order = OrderSurface;
    entry.Number = number;
    entry.FirstChunk = static_cast<int>(index.Chunks.size());
    constexpr int chunkLength = 16;
    for (int begin = 1; begin < std::max(count, 2); begin += chunkLength) {
        PolylineChunk chunk;
        chunk.Begin = begin;
        chunk.End = std::min(begin + chunkLength, count);
        BoundingBox box;
        for (int k = begin - 1; k < std::max(chunk.End, begin); ++k) box.Add(s.Points[k]);
        chunk.Box = Grown(box, reach);
        index.Chunks.push_back(chunk);
    }
    if (s.Closed && count >= 3) {
        PolylineChunk chunk;
        chunk.Closing = true;
        BoundingBox box;
        box.Add(s.Points[count - 1]);
        box.Add(s.Points[0]);
        chunk.Box = Grown(box, reach);
        index.Chunks.push_back(chunk);
    }
    entry.ChunkCount = static_cast<int>(index.Chunks.size()) - entry.FirstChunk;
    for (int k = 0; k < entry.ChunkCount; ++k) {
        const BoundingBox& c = index.Chunks[entry.FirstChunk + k].Box;
        if (!Finite(c)) {
            entry.Box = BoundingBox{{-1e308, -1e308}, {1e308, 1e308}};
            entry.Box.Min.X = std::nan("");
            break;
        }
        entry.Box.Add(c.Min);
        entry.Box.Add(c.Max);
    }
    index.Entries.push_back(entry);
}

// Sizes the grid tables for the largest grid and every ball number, once,
// and gives the neighbour lists room for every ball among a crowd of
// neighbours.
void SizeBallGrid(ContactIndex& index) {
    constexpr std::size_t balls = BallCapacity + 2;
    if (index.Escaped.capacity() < balls) index.Escaped.reserve(balls);
    if (index.Neighbours.capacity() < 32 * balls) index.Neighbours.reserve(32 * balls);
    if (index.Scratch.capacity() < 4 * balls) index.Scratch.reserve(4 * balls);
    if (index.ListCentre.capacity() < balls) index.ListCentre.reserve(balls);
    if (index.NeighbourBegin.capacity() < balls) index.NeighbourBegin.reserve(balls);
    if (index.ListRadius.capacity() < balls) index.ListRadius.reserve(balls);
    if (index.ListExists.capacity() < balls) index.ListExists.reserve(balls);
    if (index.IsEscaped.capacity() < balls) index.IsEscaped.reserve(balls);
    constexpr std::size_t largestGrid = 129 * 129;
    if (index.CellFirst.size() < largestGrid) index.CellFirst.assign(largestGrid, 0);
    if (index.NextInCell.size() < BallCapacity + 1) index.NextInCell.assign(BallCapacity + 1, 0);
    if (index.UsedBallCells.capacity() < largestGrid) index.UsedBallCells.reserve(largestGrid);
    if (index.LargeBalls.capacity() < BallCapacity + 1) index.LargeBalls.reserve(BallCapacity + 1);
}

void EmptyBallGrid(ContactIndex& index) {
    for (int cell : index.UsedBallCells) index.CellFirst[static_cast<std::size_t>(cell)] = 0;
    index.UsedBallCells.clear();
    index.LargeBalls.clear();
}

int CellOf(double x, double origin, double cell, int cells) {
    const double k = std::floor((x - origin) / cell);
    if (!(k >= 0)) return 0;  // also NaN
    if (k >= cells - 1) return cells - 1;
    return static_cast<int>(k);
}

void BuildFixed(World& w, ContactIndex& index, const BoundingBox& movingBox, double meanSize) {
    index.Entries.clear();
    index.Chunks.clear();
    const double tolerance = std::fabs(OnSegmentTolerance(w.Params.FieldScale));
    for (int n = 1; n <= std::min(w.LavalCount, LavalCapacity); ++n) {
        if (!w.Lavals[n].Exists) continue;
        BoundingBox box;
        box.Add(w.Lavals[n].Position);
        AddEntry(index, OrderLaval, n, Grown(box, 0));
    }
    for (int n = 0; n <= std::min(w.HandCount, HandCapacity); ++n) {
        if (w.Hands[n].Exists) AddEntry(index, OrderHand, n, BarBox(w.Hands[n], false));
    }
    for (int n = 1; n <= std::min(w.WallCount, WallCapacity); ++n) {
        if (w.Walls[n].Exists) AddEntry(index, OrderWall, n, BarBox(w.Walls[n], true));
    }
    for (int n = 1; n <= std::min(w.PlaneCount, PlaneCapacity); ++n) {
        if (w.Planes[n].Exists) AddEntry(index, OrderPlane, n, PlaneBox(w.Planes[n], tolerance));
    }
    for (int n = 1; n <= std::min(w.SurfaceCount, SurfaceCapacity); ++n) {
        if (w.Surfaces[n].Exists) AddSurfaceEntry(index, w.Surfaces[n], n, tolerance);
    }
    for (int n = 1; n <= std::min(w.Surface2Count, Surface2Capacity); ++n) {
        const Surface2& c = w.Surfaces2[n];
        if (c.Exists) AddEntry(index, OrderSurface2, n, Grown(CurveBounds(c), std::max(c.HalfThickness, 0.0)));
    }

    // The grid resolves the part of the plane where the balls and rods are;
    // obstacles beyond it fall into its border cells.
    BoundingBox bounds;
    for (const FixedEntry& e : index.Entries) {
        if (!Finite(e.Box)) continue;
        bounds.Add(e.Box.Min);
        bounds.Add(e.Box.Max);
    }
    index.ObstacleBounds = bounds;
    if (Finite(movingBox)) {
        const double extra =
            std::max({movingBox.Max.X - movingBox.Min.X, movingBox.Max.Y - movingBox.Min.Y, 8 * meanSize});
        bounds.Min.X = std::max(bounds.Min.X, movingBox.Min.X - extra);
        bounds.Min.Y = std::max(bounds.Min.Y, movingBox.Min.Y - extra);
        bounds.Max.X = std::min(bounds.Max.X, movingBox.Max.X + extra);
        bounds.Max.Y = std::min(bounds.Max.Y, movingBox.Max.Y + extra);
    }
    index.FixedBounds = bounds;
    index.GlobalEntries.clear();
    // The cells keep their room from one build to the next: a grid built
    // again as the balls move on seldom needs more.
    auto emptyCells = [&](std::size_t count) {
        if (index.FixedCells.size() < count) index.FixedCells.resize(count);
        for (std::size_t c = 0; c < count; ++c) index.FixedCells[c].clear();
    };
    const int entryCount = static_cast<int>(index.Entries.size());
    const double width = bounds.Max.X - bounds.Min.X;
    const double height = bounds.Max.Y - bounds.Min.Y;
    const double cell = std::max({4 * meanSize, width / 256, height / 256, 1e-300});
    const int columns = std::clamp(static_cast<int>(width / cell) + 1, 1, 257);
    const int rows = std::clamp(static_cast<int>(height / cell) + 1, 1, 257);
    // A few obstacles, or all of them within one cell: every ball and rod
    // meets every entry, and the searches read no cells at all.
    if (entryCount <= 8 || !Finite(bounds) || columns * rows == 1) {
        index.FixedColumns = index.FixedRows = 1;
        index.FixedOrigin = {0, 0};
        for (int k = 0; k < entryCount; ++k) index.GlobalEntries.push_back(k);
        emptyCells(1);
        return;
    }
    index.FixedCell = cell;
    index.FixedOrigin = bounds.Min;
    index.FixedColumns = columns;
    index.FixedRows = rows;
    emptyCells(static_cast<std::size_t>(index.FixedColumns) * index.FixedRows);
    const long long cellCount = static_cast<long long>(index.FixedColumns) * index.FixedRows;
    for (int k = 0; k < entryCount; ++k) {
        const BoundingBox& b = index.Entries[k].Box;
        if (!Finite(b)) {
            index.GlobalEntries.push_back(k);
            continue;
        }
        const int x0 = CellOf(b.Min.X, index.FixedOrigin.X, cell, index.FixedColumns);
        const int x1 = CellOf(b.Max.X, index.FixedOrigin.X, cell, index.FixedColumns);
        const int y0 = CellOf(b.Min.Y, index.FixedOrigin.Y, cell, index.FixedRows);
        const int y1 = CellOf(b.Max.Y, index.FixedOrigin.Y, cell, index.FixedRows);
        const long long covered = static_cast<long long>(x1 - x0 + 1) * (y1 - y0 + 1);
        if (covered * 4 > cellCount && covered > 16) {
            index.GlobalEntries.push_back(k);
            continue;
        }
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x)
                index.FixedCells[static_cast<std::size_t>(y) * index.FixedColumns + x].push_back(k);
        }
    }
}

// True when the moving objects reach beyond the resolved part of the grid
// on a side where obstacles lie further out: the grid is then too coarse
// there and is built again around them.
bool LeftResolvedPart(const BoundingBox& moving, const BoundingBox& resolved, const BoundingBox& obstacles) {
    return (moving.Min.X < resolved.Min.X && resolved.Min.X > obstacles.Min.X) ||
           (moving.Min.Y < resolved.Min.Y && resolved.Min.Y > obstacles.Min.Y) ||
           (moving.Max.X > resolved.Max.X && resolved.Max.X < obstacles.Max.X) ||
           (moving.Max.Y > resolved.Max.Y && resolved.Max.Y < obstacles.Max.Y);
}

// Makes the fixed part current: builds it again when a fixed record has
// changed, or when the balls and rods have moved out of the part it
// resolves.
// The records are compared in every step (a cheap signature of their
// content); the vertices of the polyline surfaces, which may be a hundred
// thousand, only after MarkFixedSceneChanged.
void CheckFixed(World& w, ContactIndex& index, bool verifyFixedScene) {
    const std::uint64_t header = HeaderSignature(w);
    bool rebuild = !index.FixedBuilt || header != index.HeaderSignature;
    if (!index.FixedBuilt || w.FixedSceneEdits != index.VertexEdits) {
        const std::uint64_t vertices = VertexSignature(w);
        rebuild = rebuild || vertices != index.VertexSignature;
        index.VertexSignature = vertices;
        index.VertexEdits = w.FixedSceneEdits;
    } else if (verifyFixedScene && VertexSignature(w) != index.VertexSignature) {
        throw std::logic_error("a polyline vertex was moved without MarkFixedSceneChanged");
    }

    // The place of the balls and rods only matters to a grid that may have
    // to follow them, or to a rebuild.
    const bool gridFollows = Finite(index.FixedBounds) && index.FixedColumns > 1;
    if (!rebuild && !gridFollows) return;
    BoundingBox moving;
    double sizeSum = 0;
    int balls = 0;
    for (int n = 1; n <= std::min(w.BallCount, BallCapacity); ++n) {
        const Ball& b = w.Balls[n];
        if (!b.Exists || !Finite(b.Position) || !std::isfinite(b.Radius)) continue;
        moving.Add(b.Position);
        sizeSum += std::fabs(b.Radius);
        ++balls;
    }
    double meanSize = balls > 0 ? sizeSum / balls : 0;
    sizeSum = 0;
    int rods = 0;
    for (int n = 1; n <= std::min(w.PegCount, PegCapacity); ++n) {
        const Peg& r = w.Pegs[n];
        if (!r.Exists || !Finite(r.End1) || !Finite(r.End2) || !std::isfinite(r.Length)) continue;
        moving.Add(r.End1);
        moving.Add(r.End2);
        sizeSum += std::fabs(r.Length) / 4;
        ++rods;
    }
    if (balls == 0) meanSize = rods > 0 ? sizeSum / rods : 1;

    if (!rebuild && (balls > 0 || rods > 0) && gridFollows) {
        rebuild = LeftResolvedPart(moving, index.FixedBounds, index.ObstacleBounds);
    }
    if (rebuild) {
        BuildFixed(w, index, balls > 0 || rods > 0 ? moving : BoundingBox{}, meanSize);
        index.FixedBuilt = true;
        index.HeaderSignature = header;
    }
}

// The lists still serve the same balls with the same radii. The existing
// balls beyond their skin go to `outside`, in increasing number.
bool ListsMatch(const World& w, const ContactIndex& index, std::vector<int>& outside) {
    outside.clear();
    if (!index.ListsBuilt || index.ListBallCount != w.BallCount) return false;
    const int last = std::min(w.BallCount, BallCapacity);
    for (int n = 1; n <= last; ++n) {
        const Ball& b = w.Balls[n];
        if (b.Exists != (index.ListExists[static_cast<std::size_t>(n)] != 0)) return false;
        if (!b.Exists) continue;
        if (std::bit_cast<std::uint64_t>(b.Radius) !=
            std::bit_cast<std::uint64_t>(index.ListRadius[static_cast<std::size_t>(n)]))
            return false;
        if (!WithinSkin(index, n, b.Position)) outside.push_back(n);
    }
    return true;
}

// Builds the lists from the ball grid filled with every ball, then empties
// the grid again.
void BuildNeighbourLists(World& w, ContactIndex& index, double skin) {
    const int last = std::min(w.BallCount, BallCapacity);
    const std::size_t size = static_cast<std::size_t>(last) + 2;
    index.NeighbourBegin.assign(size, 0);
    index.Neighbours.clear();
    index.ListCentre.assign(size, Vec2{});
    index.ListRadius.assign(size, 0);
    index.ListExists.assign(size, 0);
    index.Skin = skin;
    for (int n = 1; n <= last; ++n) InsertBall(w, index, n);
    // Pairs that lie within the radii and 2.2 skins now; they stay within
    // two skins of touching while every ball keeps within one skin.
    const double reach = 2.2 * skin;
    std::vector<int>& candidates = index.Scratch;
    for (int n = 1; n <= last; ++n) {
        index.NeighbourBegin[static_cast<std::size_t>(n)] = static_cast<int>(index.Neighbours.size());
        const Ball& b = w.Balls[n];
        index.ListExists[static_cast<std::size_t>(n)] = b.Exists ? 1 : 0;
        if (!b.Exists) continue;
        index.ListCentre[static_cast<std::size_t>(n)] = b.Position;
        index.ListRadius[static_cast<std::size_t>(n)] = b.Radius;
        BallCandidates(index, n, b.Position, b.Radius, reach, 0, candidates);
        for (int j : candidates) {
            const Ball& o = w.Balls[j];
            const Vec2 d = o.Position - b.Position;
            const double limit = b.Radius + o.Radius + reach;
            if (d.X * d.X + d.Y * d.Y <= limit * limit * (1 + 1e-9)) index.Neighbours.push_back(j);
        }
    }
    index.NeighbourBegin[static_cast<std::size_t>(last) + 1] = static_cast<int>(index.Neighbours.size());
    EmptyBallGrid(index);
    index.Escaped.clear();
    index.IsEscaped.assign(size, 0);
    index.ListsBuilt = true;
    index.ListBallCount = w.BallCount;
    index.ListAge = 0;
    ++index.ListBuilds;
}

// Decides at the start of a step whether the lists serve it: kept while
// they match the balls and few balls have escaped their skin, built again
// otherwise, and rested for a while when they did not last a few steps.
void PrepareNeighbourLists(World& w, ContactIndex& index, int existing, int finiteBalls, double meanRadius) {
    index.ListsActive = false;
    const double skin = 0.25 * meanRadius;
    // Every existing ball must have a finite centre and radius, and the
    // skin must be a usable length.
    if (existing == 0 || finiteBalls != existing || !(skin > 0) || !std::isfinite(skin)) {
        index.ListsBuilt = false;
        return;
    }
    if (ListsMatch(w, index, index.Scratch)) {
        for (const int n : index.Scratch) MarkEscaped(index, n);
        if (static_cast<int>(index.Escaped.size()) <= MaxEscaped) {
            index.ListsActive = true;
            ++index.ListAge;
            return;
        }
        if (index.ListAge < 3) index.StepsUntilLists = 16;
    }
    index.ListsBuilt = false;
    if (index.StepsUntilLists > 0) {
        --index.StepsUntilLists;
        return;
    }
    BuildNeighbourLists(w, index, skin);
    index.ListsActive = true;
}

}  // namespace

void StartIndexStep(World& w, ContactIndex& index, bool verifyFixedScene) {
    SizeBallGrid(index);
    EmptyBallGrid(index);
    index.LastNumber = 0;

    BoundingBox box;
    double radiusSum = 0;
    int counted = 0;
    int existing = 0;
    const int last = std::min(w.BallCount, BallCapacity);
    for (int n = 1; n <= last; ++n) {
        const Ball& b = w.Balls[n];
        existing += b.Exists ? 1 : 0;
        if (!b.Exists || !Finite(b.Position) || !std::isfinite(b.Radius)) continue;
        box.Add(b.Position);
        radiusSum += std::fabs(b.Radius);
        ++counted;
    }
    const double meanRadius = counted > 0 ? radiusSum / counted : 1;
    if (counted > 0) {
        const double width = box.Max.X - box.Min.X;
        const double height = box.Max.Y - box.Min.Y;
        const double cell = std::max({2.5 * meanRadius, width / 128, height / 128, 1e-300});
        index.BallCell = cell;
        index.BallOrigin = box.Min;
        index.BallColumns = std::clamp(static_cast<int>(width / cell) + 1, 1, 129);
        index.BallRows = std::clamp(static_cast<int>(height / cell) + 1, 1, 129);
    } else {
        index.BallCell = 1;
        index.BallOrigin = {0, 0};
        index.BallColumns = index.BallRows = 1;
    }
    index.SmallRadiusMax = 0;
    for (int n = 1; n <= last; ++n) {
        const Ball& b = w.Balls[n];
        if (b.Exists && b.Radius <= index.BallCell) index.SmallRadiusMax = std::max(index.SmallRadiusMax, b.Radius);
    }

    CheckFixed(w, index, verifyFixedScene);
    PrepareNeighbourLists(w, index, existing, counted, meanRadius);
    if (!index.ListsActive) ++index.StepsWithoutLists;
}

void InsertBall(World& w, ContactIndex& index, int number) {
    const Ball& b = w.Balls[number];
    if (!b.Exists) return;
    if (!Finite(b.Position) || !(b.Radius <= index.BallCell)) {
        index.LargeBalls.push_back(number);
        return;
    }
    const int x = CellOf(b.Position.X, index.BallOrigin.X, index.BallCell, index.BallColumns);
    const int y = CellOf(b.Position.Y, index.BallOrigin.Y, index.BallCell, index.BallRows);
    const int cell = y * index.BallColumns + x;
    int& first = index.CellFirst[static_cast<std::size_t>(cell)];
    if (first == 0) index.UsedBallCells.push_back(cell);
    index.NextInCell[static_cast<std::size_t>(number)] = first;
    first = number;
}

void MoveBallInGrid(World& w, ContactIndex& index, int number, Vec2 oldPosition) {
    const Ball& b = w.Balls[number];
    if (Finite(oldPosition) && b.Radius <= index.BallCell) {
        const int x = CellOf(oldPosition.X, index.BallOrigin.X, index.BallCell, index.BallColumns);
        const int y = CellOf(oldPosition.Y, index.BallOrigin.Y, index.BallCell, index.BallRows);
        int* link = &index.CellFirst[static_cast<std::size_t>(y) * index.BallColumns + x];
        while (*link != 0 && *link != number) link = &index.NextInCell[static_cast<std::size_t>(*link)];
        if (*link == 0) return;
        // The cell stays on the used list even when emptied: that list only
        // tells the next step which cells to clear.
        *link = index.NextInCell[static_cast<std::size_t>(number)];
    } else {
        const auto found = std::find(index.LargeBalls.begin(), index.LargeBalls.end(), number);
        if (found == index.LargeBalls.end()) return;
        index.LargeBalls.erase(found);
    }
    InsertBall(w, index, number);
}

void FillBallGridBelow(World& w, ContactIndex& index, int number) {
    if (index.ListsActive) return;
    // Balls not processed since the last call have not moved.
    for (int n = index.LastNumber + 1; n < number; ++n) InsertBall(w, index, n);
    index.LastNumber = std::max(index.LastNumber, number - 1);
}

void MarkEscaped(ContactIndex& index, int number) {
    unsigned char& flag = index.IsEscaped[static_cast<std::size_t>(number)];
    if (flag) return;
    flag = 1;
    ++index.ListEscapes;
    index.Escaped.insert(std::lower_bound(index.Escaped.begin(), index.Escaped.end(), number), number);
}

void DropNeighbourLists(World& w, ContactIndex& index, int number) {
    index.ListsActive = false;
    index.ListsBuilt = false;
    if (index.ListAge < 3) index.StepsUntilLists = 16;
    for (int n = index.LastNumber + 1; n < number; ++n) InsertBall(w, index, n);
    index.LastNumber = number - 1;
}

void BallCandidates(const ContactIndex& index, int number, Vec2 p, double radius, double move, int after,
                    std::vector<int>& out) {
    out.clear();
    // A bit per ball number: the cells are gathered in any order and read
    // back in increasing number without sorting.
    constexpr int words = BallCapacity / 64 + 1;
    std::uint64_t marked[words] = {};
    const int below = std::min(number, BallCapacity + 1);
    auto mark = [&](int j) {
        if (j > after && j < below) marked[j >> 6] |= std::uint64_t{1} << (j & 63);
    };
    const double half = radius + index.SmallRadiusMax + move;
    const double r = half + BoxMargin(p, half);
    const int x0 = CellOf(p.X - r, index.BallOrigin.X, index.BallCell, index.BallColumns);
    const int x1 = CellOf(p.X + r, index.BallOrigin.X, index.BallCell, index.BallColumns);
    const int y0 = CellOf(p.Y - r, index.BallOrigin.Y, index.BallCell, index.BallRows);
    const int y1 = CellOf(p.Y + r, index.BallOrigin.Y, index.BallCell, index.BallRows);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            for (int j = index.CellFirst[static_cast<std::size_t>(y) * index.BallColumns + x]; j != 0;
                 j = index.NextInCell[static_cast<std::size_t>(j)])
                mark(j);
        }
    }
    for (int j : index.LargeBalls) mark(j);
    for (int w = 0; w < words; ++w) {
        for (std::uint64_t bits = marked[w]; bits != 0; bits &= bits - 1) {
            out.push_back(w * 64 + std::countr_zero(bits));
        }
    }
}

void RodCandidates(const ContactIndex& index, const BoundingBox& box, double reach, std::vector<int>& out) {
    out.clear();
    const int entryCount = static_cast<int>(index.Entries.size());
    if (!Finite(box) || !std::isfinite(reach)) {
        for (int k = 0; k < entryCount; ++k) out.push_back(k);
        return;
    }
    const double size =
        std::max({std::fabs(box.Min.X), std::fabs(box.Min.Y), std::fabs(box.Max.X), std::fabs(box.Max.Y)});
    const double r = std::fabs(reach) + 1e-9 * (1 + size + std::fabs(reach));
    auto overlaps = [&](const BoundingBox& b) {
        // A box that is not finite may hold anything.
        return !Finite(b) || !(b.Max.X < box.Min.X - r || b.Min.X > box.Max.X + r || b.Max.Y < box.Min.Y - r ||
                               b.Min.Y > box.Max.Y + r);
    };
    for (int k : index.GlobalEntries) {
        if (overlaps(index.Entries[k].Box)) out.push_back(k);
    }
    if (index.FixedColumns * index.FixedRows > 1) {
        const int x0 = CellOf(box.Min.X - r, index.FixedOrigin.X, index.FixedCell, index.FixedColumns);
        const int x1 = CellOf(box.Max.X + r, index.FixedOrigin.X, index.FixedCell, index.FixedColumns);
        const int y0 = CellOf(box.Min.Y - r, index.FixedOrigin.Y, index.FixedCell, index.FixedRows);
        const int y1 = CellOf(box.Max.Y + r, index.FixedOrigin.Y, index.FixedCell, index.FixedRows);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                for (int k : index.FixedCells[static_cast<std::size_t>(y) * index.FixedColumns + x]) {
                    if (overlaps(index.Entries[k].Box)) out.push_back(k);
                }
            }
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

void FixedCandidates(const ContactIndex& index, Vec2 p, double radius, double move, int after,
                     std::vector<int>& out) {
    out.clear();
    for (int k : index.GlobalEntries) {
        if (k > after) out.push_back(k);
    }
    // Without a grid the global entries are all, already in increasing order.
    if (index.FixedColumns * index.FixedRows <= 1) return;
    {
        const double half = radius + move;
        const double r = half + BoxMargin(p, half);
        const int x0 = CellOf(p.X - r, index.FixedOrigin.X, index.FixedCell, index.FixedColumns);
        const int x1 = CellOf(p.X + r, index.FixedOrigin.X, index.FixedCell, index.FixedColumns);
        const int y0 = CellOf(p.Y - r, index.FixedOrigin.Y, index.FixedCell, index.FixedRows);
        const int y1 = CellOf(p.Y + r, index.FixedOrigin.Y, index.FixedCell, index.FixedRows);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                for (int k : index.FixedCells[static_cast<std::size_t>(y) * index.FixedColumns + x]) {
                    if (k > after) out.push_back(k);
                }
            }
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

}  // namespace velo
