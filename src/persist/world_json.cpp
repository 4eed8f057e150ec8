#include "persist/world_json.h"

#include <algorithm>
#include <cmath>

namespace velo {

using Json = nlohmann::ordered_json;

Json RealToJson(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    return value;
}

namespace {

Json V(const Vec2& v) { return Json::array({RealToJson(v.X), RealToJson(v.Y)}); }
Json R(double value) { return RealToJson(value); }
Json Byte(std::uint8_t value) { return static_cast<int>(value); }

Json LavalJson(int number, const Laval& r) {
    return Json{{"number", number},
                {"Position", V(r.Position)}, {"Reserved", R(r.Reserved)}, {"Selected", r.Selected},
                {"Exists", r.Exists}};
}

Json HandWallJson(int number, const HandWall& r) {
    return Json{{"number", number},
                {"Material", Byte(r.Material)},
                {"Coord", R(r.Coord)},
                {"Bound1", R(r.Bound1)},
                {"Bound2", R(r.Bound2)},
                {"HalfThickness", R(r.HalfThickness)},
                {"Selected", r.Selected},
                {"Exists", r.Exists}};
}

Json PlaneJson(int number, const Plane& r) {
    return Json{{"number", number},
                {"Material", Byte(r.Material)},
                {"P1", V(r.P1)},
                {"P2", V(r.P2)},
                {"Length", R(r.Length)},
                {"Angle", R(r.Angle)},
                {"HalfThickness", R(r.HalfThickness)},
                {"Selected", r.Selected},
                {"Exists", r.Exists},
                {"Triangular", Byte(r.Triangular)}};
}

Json BallJson(int number, const Ball& r) {
    return Json{{"number", number},
                {"Mass", R(r.Mass)},
                {"Density", R(r.Density)},
                {"Radius", R(r.Radius)},
                {"Height", R(r.Height)},
                {"Volume", R(r.Volume)},
                {"Material", Byte(r.Material)},
                {"DragLinear", R(r.DragLinear)},
                {"DragQuadratic", R(r.DragQuadratic)},
                {"Position", V(r.Position)},
                {"Z", Byte(r.Z)},
                {"Shape", Byte(r.Shape)},
                {"Velocity", V(r.Velocity)},
                {"GravityAccel", V(r.GravityAccel)},
                {"Acceleration", V(r.Acceleration)},
                {"Force", V(r.Force)},
                {"KineticEnergy", R(r.KineticEnergy)},
                {"PotentialEnergy", R(r.PotentialEnergy)},
                {"Momentum", V(r.Momentum)},
                {"InertiaFactor", R(r.InertiaFactor)},
                {"Inertia", R(r.Inertia)},
                {"Torque", R(r.Torque)},
                {"AngularMomentum", R(r.AngularMomentum)},
                {"Omega", R(r.Omega)},
                {"Epsilon", R(r.Epsilon)},
                {"Phi", R(r.Phi)},
                {"BindKind", Byte(r.BindKind)},
                {"BindNumber", r.BindNumber},
                {"BindAngle", R(r.BindAngle)},
                {"BindRadius", R(r.BindRadius)},
                {"Marked", r.Marked},
                {"Selected", r.Selected},
                {"Allow3D", r.Allow3D},
                {"Exists", r.Exists},
                {"Movable", r.Movable}};
}

Json ThreadJson(int number, const Thread& r) {
    const int n = std::clamp<int>(r.SegmentCount, 0, ThreadSegmentCapacity);
    Json points = Json::array(), forces = Json::array();
    for (int k = 0; k <= n; ++k) {
        points.push_back(V(r.Points[k]));
        forces.push_back(V(r.SegmentForce[k]));
    }
    Json omega = Json::array(), epsilon = Json::array(), phi = Json::array(), length = Json::array(),
         line = Json::array();
    for (int k = 1; k <= n; ++k) {
        omega.push_back(R(r.SegmentOmega[k]));
        epsilon.push_back(R(r.SegmentEpsilon[k]));
        phi.push_back(R(r.SegmentPhi[k]));
        length.push_back(R(r.SegmentLength[k]));
        line.push_back(r.SegmentLine[k]);
    }
    return Json{{"number", number},
                {"LinearDensity", R(r.LinearDensity)},
                {"Length", R(r.Length)},
                {"SegmentCount", r.SegmentCount},
                {"Z", Byte(r.Z)},
                {"Points", points},
                {"SegmentForce", forces},
                {"SegmentOmega", omega},
                {"SegmentEpsilon", epsilon},
                {"SegmentPhi", phi},
                {"SegmentLength", length},
                {"SegmentLine", line},
                {"FirstEndLaval", r.FirstEndLaval},
                {"SecondEndBinding", r.SecondEndBinding},
                {"Material", Byte(r.Material)},
                {"Selected", r.Selected},
                {"Exists", r.Exists}};
}

Json PegJson(int number, const Peg& r) {
    return Json{{"number", number},
                {"LinearDensity", R(r.LinearDensity)},
                {"Mass", R(r.Mass)},
                {"Volume", R(r.Volume)},
                {"Density", R(r.Density)},
                {"SectionInertiaFactor", R(r.SectionInertiaFactor)},
                {"SectionShape", Byte(r.SectionShape)},
                {"Width", R(r.Width)},
                {"Depth", R(r.Depth)},
                {"SectionArea", R(r.SectionArea)},
                {"Position", V(r.Position)},
                {"Velocity", V(r.Velocity)},
                {"Acceleration", V(r.Acceleration)},
                {"Force", V(r.Force)},
                {"End1", V(r.End1)},
                {"End2", V(r.End2)},
                {"Z", Byte(r.Z)},
                {"Omega", R(r.Omega)},
                {"Epsilon", R(r.Epsilon)},
                {"Phi", R(r.Phi)},
                {"PivotInertia", R(r.PivotInertia)},
                {"Inertia", R(r.Inertia)},
                {"Torque", R(r.Torque)},
                {"AngularMomentum", R(r.AngularMomentum)},
                {"Length", R(r.Length)},
                {"HangLaval", r.HangLaval},
                {"HangFraction", R(r.HangFraction)},
                {"CentreOffset", R(r.CentreOffset)},
                {"End1Kind", Byte(r.End1Kind)},
                {"End1Number", r.End1Number},
                {"End2Kind", Byte(r.End2Kind)},
                {"End2Number", r.End2Number},
                {"DragLinear", R(r.DragLinear)},
                {"DragQuadratic", R(r.DragQuadratic)},
                {"KineticEnergy", R(r.KineticEnergy)},
                {"PotentialEnergy", R(r.PotentialEnergy)},
                {"Material", Byte(r.Material)},
                {"Selected", r.Selected},
                {"Exists", r.Exists},
                {"Movable", r.Movable}};
}

Json SurfaceJson(int number, const Surface& r) {
    Json points = Json::array();
    const int n = std::clamp<int>(r.PointCount, 0, static_cast<int>(r.Points.size()));
    for (int k = 0; k < n; ++k) points.push_back(V(r.Points[k]));
    return Json{{"number", number},
                {"PointCount", r.PointCount},
                {"Closed", r.Closed},
                {"Reserved", r.Reserved},
                {"Points", points},
                {"Material", Byte(r.Material)},
                {"HalfThickness", R(r.HalfThickness)},
                {"Selected", r.Selected},
                {"Exists", r.Exists}};
}

Json Surface2Json(int number, const Surface2& r) {
    return Json{{"number", number},
                {"Closed", r.Closed},
                {"Centre", V(r.Centre)},
                {"Rotation", R(r.Rotation)},
                {"ParamA", R(r.ParamA)},
                {"ParamB", R(r.ParamB)},
                {"TFrom", R(r.TFrom)},
                {"TTo", R(r.TTo)},
                {"SurfaceKind", Byte(r.SurfaceKind)},
                {"Material", Byte(r.Material)},
                {"HalfThickness", R(r.HalfThickness)},
                {"Selected", r.Selected},
                {"Exists", r.Exists}};
}

// Records first..count of a table, each with its number in front. Counts
// outside the table (which no reader lets through) are clamped.
template <typename Table, typename ToJson>
Json TableJson(const Table& table, int first, int count, ToJson toJson) {
    Json array = Json::array();
    const int last = std::min<int>(count, static_cast<int>(table.size()) - 1);
    for (int n = first; n <= last; ++n) {
        array.push_back(toJson(n, table[n]));
    }
    return array;
}

Json UnitsJson(const UnitSystem& u) {
    return Json{{"LengthUnitName", u.LengthUnitName}, {"MassUnitName", u.MassUnitName},
                {"TimeUnitName", u.TimeUnitName},     {"ChargeUnitName", u.ChargeUnitName},
                {"AngleUnitName", u.AngleUnitName},   {"ReservedUnitName", u.ReservedUnitName},
                {"LengthUnitMasculine", u.LengthUnitMasculine}, {"AngleUnit", R(u.AngleUnit)}};
}

Json ParametersJson(const Parameters& p) {
    Json colors = Json::array();
    for (const auto& row : p.Colors) colors.push_back(Json::array({row[0], row[1], row[2]}));
    return Json{{"Gravity", R(p.Gravity)},
                {"FieldOriginX", p.FieldOriginX},
                {"FieldOriginY", p.FieldOriginY},
                {"ZeroLevel", R(p.ZeroLevel)},
                {"FieldScale", R(p.FieldScale)},
                {"Reserved", p.Reserved},
                {"AirDensity", R(p.AirDensity)},
                {"Wind", V(p.Wind)},
                {"RouthMinSpeed", R(p.RouthMinSpeed)},
                {"ObserverZ", R(p.ObserverZ)},
                {"AmbientLight", R(p.AmbientLight)},
                {"AmbientLightAuto", p.AmbientLightAuto},
                {"BackgroundMode", Byte(p.BackgroundMode)},
                {"MarkColor", p.MarkColor},
                {"Colors", colors},
                {"DefaultMaterial", Byte(p.DefaultMaterial)},
                {"DefaultHalfThickness", R(p.DefaultHalfThickness)},
                {"TimeScale", R(p.TimeScale)},
                {"StepCounter", p.StepCounter},
                {"MarkSize", R(p.MarkSize)},
                {"MaxStep", R(p.MaxStep)},
                {"DescriptionExt", p.DescriptionExt},
                {"WatermarkMode", p.WatermarkMode},
                {"ViewUnlocked", p.ViewUnlocked},
                {"BackgroundPath", p.BackgroundPath}};
}

Json MaterialsJson(const MaterialTable& m) {
    const int n = std::min<int>(m.MaterialCount, MaxMaterialIndex);
    Json items = Json::array();
    for (int i = 0; i <= n; ++i) {
        const Material& item = m.Items[i];
        items.push_back(Json{{"number", i},
                             {"Name", item.Name},
                             {"Density", R(item.Density)},
                             {"ReservedReal", R(item.ReservedReal)},
                             {"Colour", item.Colour}});
    }
    auto matrix = [n](const PairTable& table) {
        Json rows = Json::array();
        for (int i = 0; i <= n; ++i) {
            Json row = Json::array();
            for (int j = 0; j <= n; ++j) row.push_back(RealToJson(table[PairIndex(i, j)]));
            rows.push_back(std::move(row));
        }
        return rows;
    };
    return Json{{"MaterialCount", static_cast<int>(m.MaterialCount)},
                {"Items", items},
                {"ReservedPair1", matrix(m.ReservedPair1)},
                {"ReservedPair2", matrix(m.ReservedPair2)},
                {"FrictionRouth", matrix(m.FrictionRouth)},
                {"FrictionLambda", matrix(m.FrictionLambda)},
                {"Restitution", matrix(m.Restitution)},
                {"RollingFriction", matrix(m.RollingFriction)}};
}

}  // namespace

Json WorldToJson(const World& w, const JsonHeaderInfo& h) {
    Json out;
    out["Header"] = Json{{"Signature", h.Signature},
                         {"RequiredVersion", h.RequiredVersion},
                         {"RequiredBuild", h.RequiredBuild},
                         {"RecommendedVersion", h.RecommendedVersion},
                         {"RecommendedBuild", h.RecommendedBuild},
                         {"WriterVersion", h.WriterVersion},
                         {"WriterBuild", h.WriterBuild},
                         {"AuthorText", h.AuthorText},
                         {"ProjectKind", Byte(w.ProjectKind)},
                         {"CurrentKind", Byte(w.CurrentKind)},
                         {"CurrentNumber", w.CurrentNumber}};
    out["Units"] = UnitsJson(w.Units);
    out["Parameters"] = ParametersJson(w.Params);
    out["Materials"] = MaterialsJson(w.Materials);
    out["T"] = R(w.T);
    out["Laval"] = TableJson(w.Lavals, 1, w.LavalCount, LavalJson);
    out["Hand"] = TableJson(w.Hands, 0, w.HandCount, HandWallJson);
    out["Wall"] = TableJson(w.Walls, 1, w.WallCount, HandWallJson);
    out["Plane"] = TableJson(w.Planes, 1, w.PlaneCount, PlaneJson);
    out["Ball"] = TableJson(w.Balls, 1, w.BallCount, BallJson);
    out["Thread"] = TableJson(w.Threads, 1, w.ThreadCount, ThreadJson);
    out["Peg"] = TableJson(w.Pegs, 1, w.PegCount, PegJson);
    out["Surface"] = TableJson(w.Surfaces, 1, w.SurfaceCount, SurfaceJson);
    out["Surface2"] = TableJson(w.Surfaces2, 1, w.Surface2Count, Surface2Json);
    return out;
}

}  // namespace velo
