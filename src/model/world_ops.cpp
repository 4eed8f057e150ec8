#include "model/world_ops.h"

#include <algorithm>
#include <string>

#include "model/derived_fields.h"

namespace velo {

const char* const CapacityMessageEnding =
    ". Попробуйте оптимизировать имитацию или использовать версию Velocitronimatics, "
    "позволяющую работать с необходимым количеством объектов.";

namespace {

// Text before the limit in the capacity message; empty for the kinds that
// are refused silently.
const char* CapacityText(int kind) {
    switch (kind) {
    case KindLaval:
        return "Подвес не может быть создан, так как номер подвеса в данной версии не может превышать ";
    case KindPeg:
        return "Невозможно создать стержень, так как номер стержня в данной версии не может превышать ";
    case KindPlane:
        return "Невозможно создать наклонную плоскость, так как её номер в данной версии не может "
               "превышать ";
    case KindSurface:
        return "Поверхность с настраиваемыми гранями не может быть создана, так как номер поверхности "
               "такого типа в данной версии не может превышать ";
    case KindSurface2:
        return "Поверхность второго порядка не может быть создана, так как номер поверхности такого "
               "типа в данной версии не может превышать ";
    case KindHBody:
        return "Небесное тело не может быть создано, так как его номер в данной версии программы не "
               "может превышать ";
    default:
        return "";
    }
}

// The table kind behind a creation mode: cylinders live in the ball table,
// the hyperbola and ellipse modes create second-order surfaces.
int TableKind(int kind) {
    if (kind == KindCylinder) return KindBall;
    if (kind == 11 || kind == 13) return KindSurface2;
    return kind;
}

bool AnyLavalExists(const World& world) {
    for (int n = 1; n <= world.LavalCount; ++n) {
        if (world.Lavals[n].Exists) return true;
    }
    return false;
}

}  // namespace

int CapacityOf(int kind) {
    switch (TableKind(kind)) {
    case KindLaval: return LavalCapacity;
    case KindHand: return HandCapacity;
    case KindWall: return WallCapacity;
    case KindPlane: return PlaneCapacity;
    case KindBall: return BallCapacity;
    case KindThread: return ThreadCapacity;
    case KindPeg: return PegCapacity;
    case KindSurface: return SurfaceCapacity;
    case KindSurface2: return Surface2Capacity;
    case KindHBody: return HBodyCapacity;
    default: return 0;
    }
}

std::int32_t& CountOf(World& world, int kind) {
    switch (TableKind(kind)) {
    case KindLaval: return world.LavalCount;
    case KindHand: return world.HandCount;
    case KindWall: return world.WallCount;
    case KindPlane: return world.PlaneCount;
    case KindBall: return world.BallCount;
    case KindThread: return world.ThreadCount;
    case KindPeg: return world.PegCount;
    case KindSurface: return world.SurfaceCount;
    case KindSurface2: return world.Surface2Count;
    default: return world.HBodyCount;
    }
}

std::int32_t CountOf(const World& world, int kind) {
    return CountOf(const_cast<World&>(world), kind);
}

NewObjectResult NewObject(World& world, int kind) {
    const int table = TableKind(kind);
    const int capacity = CapacityOf(kind);
    if (capacity == 0 || table == KindHBody) return {};
    MarkFixedSceneChanged(world);
    std::int32_t& count = CountOf(world, kind);
    if (count >= capacity) {
        const std::string text = CapacityText(table);
        if (text.empty()) return {};
        return {0, text + std::to_string(capacity) + CapacityMessageEnding};
    }
    if (table == KindThread && !AnyLavalExists(world)) return {0, NoLavalMessage};

    const int n = ++count;
    const Parameters& p = world.Params;
    const std::uint8_t material = p.DefaultMaterial;
    const double density = world.Materials.Items[material < MaterialSlots ? material : 0].Density;
    // A reused slot may hold anything: every record starts from scratch.
    switch (table) {
    case KindLaval:
        world.Lavals[n] = Laval{};
        world.Lavals[n].Reserved = 0;
        world.Lavals[n].Exists = world.Lavals[n].Selected = true;
        break;
    case KindHand:
    case KindWall: {
        HandWall& h = table == KindHand ? world.Hands[n] : world.Walls[n];
        h = HandWall{};
        h.Material = material;
        h.HalfThickness = p.DefaultHalfThickness;
        h.Exists = h.Selected = true;
        break;
    }
    case KindPlane:
        world.Planes[n] = Plane{};
        world.Planes[n].Material = material;
        world.Planes[n].HalfThickness = p.DefaultHalfThickness;
        world.Planes[n].Exists = world.Planes[n].Selected = true;
        break;
    case KindBall: {
        Ball& b = world.Balls[n];
        b = Ball{};
        b.Material = material;
        b.Density = density;
        b.Shape = kind == KindCylinder ? ShapeCylinder : ShapeBall;
        b.InertiaFactor = kind == KindCylinder ? 0.5 : 0.4;
        b.Allow3D = true;
        b.Movable = true;
        b.Exists = b.Selected = true;
        break;
    }
    case KindThread: {
        Thread& t = world.Threads[n];
        t = Thread{};
        t.Material = material;
        t.Exists = t.Selected = true;
        break;
    }
    case KindPeg: {
        Peg& r = world.Pegs[n];
        r = Peg{};
        r.Material = material;
        r.Density = density;
        r.Movable = true;
        r.Exists = r.Selected = true;
        break;
    }
    case KindSurface: {
        Surface& s = world.Surfaces[n];
        s = Surface{};
        s.Points.assign(SurfacePointCapacity, Vec2{});
        s.Material = material;
        s.HalfThickness = p.DefaultHalfThickness;
        s.Exists = s.Selected = true;
        break;
    }
    case KindSurface2: {
        Surface2& s = world.Surfaces2[n];
        s = Surface2{};
        s.Closed = false;
        s.SurfaceKind = kind == KindSurface2 ? Parabola : static_cast<std::uint8_t>((kind - 7) / 2);
        s.Material = material;
        s.HalfThickness = p.DefaultHalfThickness;
        s.Exists = s.Selected = true;
        break;
    }
    default:
        break;
    }
    world.CurrentKind = static_cast<std::uint8_t>(kind == KindCylinder ? KindCylinder : table);
    world.CurrentNumber = n;
    return {n, {}};
}

namespace {

// A rod that loses its suspension point turns about its centre of mass
// from now on. It keeps its ends where they are, and every point of it the
// velocity it had while it turned about the point.
void FreeHangingRod(World& world, int number) {
    Peg& rod = world.Pegs[number];
    const Vec2 pivot = rod.Position;
    RecomputeRod(world, number);
    const Vec2 end1 = rod.End1;
    rod.HangLaval = 0;
    RecomputeRod(world, number);
    rod.Position += end1 - rod.End1;
    rod.Velocity = Vec2{-(rod.Position.Y - pivot.Y), rod.Position.X - pivot.X} * rod.Omega;
    RecomputeRod(world, number);
}

// The rod lets go of the balls at its ends, and the balls of the rod.
void ReleaseRodEnds(World& world, int number) {
    Peg& rod = world.Pegs[number];
    for (std::uint8_t* kind : {&rod.End1Kind, &rod.End2Kind}) {
        if (*kind == KindBall || *kind == KindCylinder) *kind = 0;
    }
    for (int b = 1; b <= std::min(world.BallCount, BallCapacity); ++b) {
        Ball& ball = world.Balls[b];
        if (ball.BindKind == BindPegEnd && ball.BindNumber == number) ball.BindKind = BindNothing;
    }
}

}  // namespace

void DeleteObject(World& world, int kind, int number) {
    const int table = TableKind(kind);
    if (number < 0 || number > CapacityOf(kind)) return;
    MarkFixedSceneChanged(world);
    switch (table) {
    case KindLaval:
        world.Lavals[number].Exists = false;
        for (int r = 1; r <= std::min(world.PegCount, PegCapacity); ++r) {
            Peg& rod = world.Pegs[r];
            if (rod.HangLaval != number) continue;
            if (rod.Exists) FreeHangingRod(world, r);
            else rod.HangLaval = 0;
        }
        // A ball hung on the point is left free rather than pointing at a
        // deleted point.
        for (int b = 1; b <= world.BallCount; ++b) {
            Ball& ball = world.Balls[b];
            if (ball.BindKind == BindLaval && ball.BindNumber == number) ball.BindKind = BindNothing;
        }
        break;
    case KindHand: world.Hands[number].Exists = false; break;
    case KindWall: world.Walls[number].Exists = false; break;
    case KindPlane: world.Planes[number].Exists = false; break;
    case KindBall:
        world.Balls[number].Exists = false;
        for (int r = 1; r <= world.PegCount; ++r) {
            Peg& rod = world.Pegs[r];
            if ((rod.End1Kind == KindBall || rod.End1Kind == KindCylinder) && rod.End1Number == number)
                rod.End1Kind = 0;
            if ((rod.End2Kind == KindBall || rod.End2Kind == KindCylinder) && rod.End2Number == number)
                rod.End2Kind = 0;
        }
        break;
    case KindThread: world.Threads[number].Exists = false; break;
    case KindPeg:
        world.Pegs[number].Exists = false;
        // Balls fastened to the deleted rod fly on by themselves.
        ReleaseRodEnds(world, number);
        break;
    case KindSurface: world.Surfaces[number].Exists = false; break;
    case KindSurface2: world.Surfaces2[number].Exists = false; break;
    default: break;
    }
}

void MarkFixedSceneChanged(World& world) { ++world.FixedSceneEdits; }

void ClearSelection(World& world) {
    auto clear = [](auto& table, int first, int count) {
        const int last = std::min(count, static_cast<int>(table.size()) - 1);
        for (int n = first; n <= last; ++n) table[static_cast<std::size_t>(n)].Selected = false;
    };
    clear(world.Lavals, 1, world.LavalCount);
    clear(world.Hands, 0, world.HandCount);
    clear(world.Walls, 1, world.WallCount);
    clear(world.Planes, 1, world.PlaneCount);
    clear(world.Surfaces, 1, world.SurfaceCount);
    clear(world.Surfaces2, 1, world.Surface2Count);
    clear(world.Balls, 1, world.BallCount);
    clear(world.Threads, 1, world.ThreadCount);
    clear(world.Pegs, 1, world.PegCount);
    clear(world.HBodies, 1, world.HBodyCount);
    world.CurrentKind = KindNone;
}

void ClearWorld(World& world) {
    for (Surface& s : world.Surfaces) {
        s.Points.clear();
        s.Points.shrink_to_fit();
    }
    world.Hands[0].Exists = false;
    world.LavalCount = world.HandCount = world.WallCount = world.PlaneCount = 0;
    world.BallCount = world.ThreadCount = world.PegCount = 0;
    world.SurfaceCount = world.Surface2Count = world.HBodyCount = 0;
    world.HBodies[0].Exists = false;  // no edit copy outlives its project
    // Numbers are handed out again from 1, so old contacts must not linger.
    ++world.Generation;
    world.Changed = false;
    MarkFixedSceneChanged(world);
}

void DefaultWorld(World& world) {
    ClearWorld(world);
    world.Units = UnitSystem{};
    world.Params = Parameters{};
    world.Celestial = CelestialParameters{};
    SetDefaultMaterials(world.Materials);
    HandWall& zero = world.Hands[0];
    zero = HandWall{};
    zero.Material = world.Params.DefaultMaterial;
    zero.Coord = world.Params.ZeroLevel;
    zero.Bound1 = -10000;
    zero.Bound2 = 10000;
    zero.HalfThickness = world.Params.DefaultHalfThickness;
    zero.Selected = false;
    zero.Exists = false;
    world.CurrentKind = KindNone;
    world.CurrentNumber = 0;
    world.T = 0;
}

}  // namespace velo
