#include "editing/selection.h"

#include <algorithm>

#include "model/derived_fields.h"
#include "model/world_ops.h"

namespace velo {
namespace {

constexpr Vec2 CopyOffset{2, 1};

template <typename Table>
int LastOf(const Table& table, int count) {
    return std::clamp(count, 0, static_cast<int>(table.size()) - 1);
}

template <typename Table, typename F>
void EachExisting(Table& table, int first, int count, F f) {
    for (int n = first; n <= LastOf(table, count); ++n) {
        if (table[static_cast<std::size_t>(n)].Exists) f(n, table[static_cast<std::size_t>(n)]);
    }
}

}  // namespace

SelectionCounts CountSelect(const World& w) {
    SelectionCounts c;
    auto count = [&](const auto& table, int first, int total, int kind) {
        EachExisting(table, first, total, [&](int, const auto& r) { c.ByKind[kind] += r.Selected ? 1 : 0; });
    };
    count(w.Lavals, 1, w.LavalCount, KindLaval);
    count(w.Hands, 0, w.HandCount, KindHand);
    count(w.Walls, 1, w.WallCount, KindWall);
    count(w.Planes, 1, w.PlaneCount, KindPlane);
    count(w.Pegs, 1, w.PegCount, KindPeg);
    count(w.Surfaces, 1, w.SurfaceCount, KindSurface);
    count(w.Surfaces2, 1, w.Surface2Count, KindSurface2);
    count(w.HBodies, 1, w.HBodyCount, KindHBody);
    EachExisting(w.Balls, 1, w.BallCount, [&](int, const Ball& b) {
        if (b.Selected) ++c.ByKind[b.Shape == ShapeCylinder ? KindCylinder : KindBall];
    });
    for (int kind : {KindLaval, KindHand, KindWall, KindPlane, KindSurface, KindSurface2}) c.Fixed += c.ByKind[kind];
    for (int kind : {KindBall, KindPeg, KindCylinder}) c.Movable += c.ByKind[kind];
    return c;
}

void ToggleSelected(World& w, int kind, int number) {
    auto toggle = [&](auto& table) {
        if (number < 0 || number >= static_cast<int>(table.size())) return false;
        auto& record = table[static_cast<std::size_t>(number)];
        record.Selected = !record.Selected;
        return true;
    };
    bool done = false;
    int current = kind;
    switch (kind) {
    case KindLaval: done = toggle(w.Lavals); break;
    case KindHand: done = toggle(w.Hands); break;
    case KindWall: done = toggle(w.Walls); break;
    case KindPlane: done = toggle(w.Planes); break;
    case KindBall:
    case KindCylinder: done = toggle(w.Balls); break;
    case KindThread: done = toggle(w.Threads); break;
    case KindPeg: done = toggle(w.Pegs); break;
    case KindSurface: done = toggle(w.Surfaces); break;
    case 9:
    case 11:
    case 13:
        done = toggle(w.Surfaces2);
        current = KindSurface2;
        break;
    case KindHBody: done = toggle(w.HBodies); break;
    default: break;
    }
    if (!done) return;
    w.CurrentKind = static_cast<std::uint8_t>(current);
    w.CurrentNumber = number;
}

void SelectAll(World& w, bool skipZeroSupport) {
    auto select = [&](auto& table, int first, int count, int kind) {
        const int last = LastOf(table, count);
        for (int n = first; n <= last; ++n) table[static_cast<std::size_t>(n)].Selected = true;
        if (last >= first && last >= 1) {
            w.CurrentKind = static_cast<std::uint8_t>(kind);
            w.CurrentNumber = last;
        }
    };
    select(w.Lavals, 1, w.LavalCount, KindLaval);
    select(w.Hands, skipZeroSupport ? 1 : 0, w.HandCount, KindHand);
    select(w.Walls, 1, w.WallCount, KindWall);
    select(w.Planes, 1, w.PlaneCount, KindPlane);
    select(w.Balls, 1, w.BallCount, KindBall);
    if (w.CurrentKind == KindBall && w.Balls[static_cast<std::size_t>(w.CurrentNumber)].Shape == ShapeCylinder)
        w.CurrentKind = KindCylinder;
    select(w.Pegs, 1, w.PegCount, KindPeg);
    select(w.Surfaces, 1, w.SurfaceCount, KindSurface);
    select(w.Surfaces2, 1, w.Surface2Count, KindSurface2);
    select(w.HBodies, 1, w.HBodyCount, KindHBody);
}

void SelectLinked(World& w) {
    for (int round = 0; round < 2; ++round) {
        EachExisting(w.Lavals, 1, w.LavalCount, [&](int n, const Laval& l) {
            if (!l.Selected) return;
            EachExisting(w.Pegs, 1, w.PegCount, [&](int, Peg& r) {
                if (r.HangLaval == n) r.Selected = true;
            });
        });
        EachExisting(w.Balls, 1, w.BallCount, [&](int, const Ball& b) {
            if (b.Selected && b.BindKind == BindPegEnd && b.BindNumber >= 1 && b.BindNumber <= PegCapacity)
                w.Pegs[static_cast<std::size_t>(b.BindNumber)].Selected = true;
        });
        EachExisting(w.Pegs, 1, w.PegCount, [&](int, const Peg& r) {
            if (!r.Selected) return;
            for (int end = 1; end <= 2; ++end) {
                const int b = FastenedBall(w, r, end);
                if (b != 0) w.Balls[static_cast<std::size_t>(b)].Selected = true;
            }
            if (r.HangLaval >= 1 && r.HangLaval <= LavalCapacity) w.Lavals[static_cast<std::size_t>(r.HangLaval)].Selected = true;
        });
    }
}

void SelectInRectangle(World& w, Vec2 a, Vec2 b) {
    const Vec2 low{std::min(a.X, b.X), std::min(a.Y, b.Y)};
    const Vec2 high{std::max(a.X, b.X), std::max(a.Y, b.Y)};
    auto inside = [&](Vec2 p) { return low.X <= p.X && p.X <= high.X && low.Y <= p.Y && p.Y <= high.Y; };
    EachExisting(w.Lavals, 1, w.LavalCount, [&](int, Laval& l) { l.Selected = inside(l.Position); });
    EachExisting(w.Balls, 1, w.BallCount, [&](int, Ball& ball) { ball.Selected = inside(ball.Position); });
}

void CopySelected(World& w) {
    // Appends a copy of record `n` of a table; false when the table is full.
    auto copyInto = [&](auto& table, std::int32_t& count, int n, auto shift) {
        const int capacity = static_cast<int>(table.size()) - 1;
        if (count >= capacity) return false;
        const int copy = ++count;
        table[static_cast<std::size_t>(copy)] = table[static_cast<std::size_t>(n)];
        table[static_cast<std::size_t>(n)].Selected = false;
        shift(table[static_cast<std::size_t>(copy)]);
        return true;
    };
    auto copyKind = [&](auto& table, std::int32_t& count, int first, auto shift) {
        const int last = LastOf(table, count);
        for (int n = first; n <= last; ++n) {
            if (!table[static_cast<std::size_t>(n)].Selected) continue;
            if (!copyInto(table, count, n, shift)) break;
        }
    };
    copyKind(w.Lavals, w.LavalCount, 1, [](Laval& l) { l.Position += CopyOffset; });
    copyKind(w.Hands, w.HandCount, 0, [](HandWall& h) {
        h.Bound1 += CopyOffset.X;
        h.Bound2 += CopyOffset.X;
        h.Coord += CopyOffset.Y;
    });
    copyKind(w.Walls, w.WallCount, 1, [](HandWall& h) {
        h.Coord += CopyOffset.X;
        h.Bound1 += CopyOffset.Y;
        h.Bound2 += CopyOffset.Y;
    });
    copyKind(w.Planes, w.PlaneCount, 1, [](Plane& p) {
        p.P1 += CopyOffset;
        p.P2 += CopyOffset;
    });
    copyKind(w.Surfaces, w.SurfaceCount, 1, [](Surface& s) {
        for (Vec2& p : s.Points) p += CopyOffset;
    });
    copyKind(w.Surfaces2, w.Surface2Count, 1, [](Surface2& c) { c.Centre += CopyOffset; });
    const int ballsBefore = w.BallCount;
    copyKind(w.Balls, w.BallCount, 1, [](Ball& b) {
        b.Position += CopyOffset;
        b.Exists = true;
    });
    for (int n = ballsBefore + 1; n <= w.BallCount; ++n) RecomputeBall(w, n);
    const int rodsBefore = w.PegCount;
    copyKind(w.Pegs, w.PegCount, 1, [](Peg& r) { r.Position += CopyOffset; });
    for (int n = rodsBefore + 1; n <= w.PegCount; ++n) RecomputeRod(w, n);
    MarkFixedSceneChanged(w);
}

void DeleteSelected(World& w) {
    auto deleteKind = [&](const auto& table, int first, int count, int kind) {
        for (int n = first; n <= LastOf(table, count); ++n) {
            if (table[static_cast<std::size_t>(n)].Selected) DeleteObject(w, kind, n);
        }
    };
    deleteKind(w.Lavals, 1, w.LavalCount, KindLaval);
    deleteKind(w.Hands, 0, w.HandCount, KindHand);
    deleteKind(w.Walls, 1, w.WallCount, KindWall);
    deleteKind(w.Planes, 1, w.PlaneCount, KindPlane);
    deleteKind(w.Surfaces, 1, w.SurfaceCount, KindSurface);
    deleteKind(w.Surfaces2, 1, w.Surface2Count, KindSurface2);
    deleteKind(w.Balls, 1, w.BallCount, KindBall);
    deleteKind(w.Threads, 1, w.ThreadCount, KindThread);
    deleteKind(w.Pegs, 1, w.PegCount, KindPeg);
    for (int n = 1; n <= LastOf(w.HBodies, w.HBodyCount); ++n) {
        if (w.HBodies[static_cast<std::size_t>(n)].Selected) w.HBodies[static_cast<std::size_t>(n)].Exists = false;
    }
    ClearSelection(w);
    w.Changed = true;
}

void ToggleMarksOfSelected(World& w) {
    EachExisting(w.Balls, 1, w.BallCount, [](int, Ball& b) {
        if (b.Selected) b.Marked = !b.Marked;
    });
}

}  // namespace velo
