#include "view/world_renderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_map>

#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include "celestial/bodies.h"
#include "engine/curves.h"

namespace velo {

namespace {

// Pixel positions are kept within this range before they reach integer
// drawing calls, so that an object far outside the field cannot overflow
// them; anything that far out is off the picture anyway.
constexpr double PixelLimit = 10000000;

// Supports use the anti-aliased path only while both ends lie this close to
// the picture's left edge.
constexpr double AntialiasedSupportLimit = 5000000;

// Ball pictures are rasterised once per size; beyond this diameter they are
// played back as vectors instead of taking a huge image.
constexpr int MaxRasterDiameter = 1024;

constexpr int BallPictureRadius = 3000;

constexpr int RoundJoinWidth = 4;

// Polyline points that move the drawn line by less than this many pixels
// are left out.
constexpr double PolylineTolerance = 0.25;
constexpr int MinBallSteps = 3;
constexpr int MaxBallSteps = 250;

double ClampPixel(double value) {
    if (std::isnan(value)) return 0;
    return std::clamp(value, -PixelLimit, PixelLimit);
}

// Integer part of value + 0.5, as the pixel-based routines round corners.
int RoundCorner(double value) {
    return static_cast<int>(std::floor(ClampPixel(value) + 0.5));
}

QPointF PixelOf(const ViewTransform& view, Vec2 model) {
    const Vec2 p = view.ModelToPixel(model);
    return {ClampPixel(p.X), ClampPixel(p.Y)};
}

// Turns anti-aliasing on for one fixed object and restores the previous
// state afterwards, so it never stays on between two objects.
class SmoothingScope {
public:
    SmoothingScope(QPainter& painter, bool on)
        : painter_(painter), previous_(painter.testRenderHint(QPainter::Antialiasing)) {
        painter_.setRenderHint(QPainter::Antialiasing, on);
    }
    ~SmoothingScope() { painter_.setRenderHint(QPainter::Antialiasing, previous_); }
    SmoothingScope(const SmoothingScope&) = delete;
    SmoothingScope& operator=(const SmoothingScope&) = delete;

private:
    QPainter& painter_;
    bool previous_;
};

void UseSolid(QPainter& painter, Colour colour, int penWidth = 1) {
    QPen pen(ToQColor(colour));
    pen.setWidth(penWidth);
    painter.setPen(pen);
    painter.setBrush(ToQColor(colour));
}

Colour MaterialColour(const World& world, int material) {
    if (material < 0 || material >= MaterialSlots) return Black;
    return world.Materials.Items[static_cast<std::size_t>(material)].Colour;
}

Colour MovableColour(const World& world, int number, bool selected, int material, int z) {
    const auto& colors = world.Params.Colors[ColorsMovable];
    Colour c = number == 0 ? colors[ColorsChangeable]
                           : (selected ? colors[ColorsSelected] : MaterialColour(world, material));
    return ShadeByLayer(c, z, world.Params.ObserverZ, world.Params.AmbientLight);
}

// Points of a polyline that matter at screen resolution: the points whose
// removal would move the line by more than `tolerance` pixels stay
// (Douglas-Peucker with an explicit stack). Dense surfaces of a thousand
// vertices lose most of their points this way without any visible change,
// and wide lines are stroked point by point, so this is where the time goes.
QPolygonF EssentialPoints(const QPolygonF& points, double tolerance) {
    const qsizetype count = points.size();
    if (count <= 2) return points;
    std::vector<char> keep(static_cast<std::size_t>(count), 0);
    keep.front() = 1;
    keep.back() = 1;
    std::vector<std::pair<qsizetype, qsizetype>> pending{{0, count - 1}};
    const double limit = tolerance * tolerance;
    while (!pending.empty()) {
        const auto [first, last] = pending.back();
        pending.pop_back();
        if (last - first < 2) continue;
        const QPointF a = points[first];
        const QPointF d = points[last] - a;
        const double length2 = d.x() * d.x() + d.y() * d.y();
        double worst = -1;
        qsizetype worstIndex = first;
        for (qsizetype i = first + 1; i < last; ++i) {
            const QPointF p = points[i] - a;
            double distance2;
            if (length2 > 0) {
                // Distance to the segment, not the line, so that a polyline
                // folding back over itself keeps its turning points.
                const double t = std::clamp((p.x() * d.x() + p.y() * d.y()) / length2, 0.0, 1.0);
                const QPointF off = p - t * d;
                distance2 = off.x() * off.x() + off.y() * off.y();
            } else {
                distance2 = p.x() * p.x() + p.y() * p.y();
            }
            if (distance2 > worst) {
                worst = distance2;
                worstIndex = i;
            }
        }
        if (worst > limit) {
            keep[static_cast<std::size_t>(worstIndex)] = 1;
            pending.emplace_back(first, worstIndex);
            pending.emplace_back(worstIndex, last);
        }
    }
    QPolygonF result;
    result.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        if (keep[static_cast<std::size_t>(i)]) result << points[i];
    return result;
}

// An open polyline of the given pixel width. With anti-aliasing every
// segment is drawn as its own line with round ends, which covers the discs
// of the width on every point. The ordinary way is one polyline. Either way
// joints and ends are rounded from a few pixels up; below that they cannot
// be told apart from the cheaper bevel and square ends.
void DrawThickPolyline(const DrawContext& context, const QPolygonF& points, Colour colour, int width) {
    QPainter& painter = context.Painter;
    const bool smooth = context.Settings.UseGdiPlus;
    SmoothingScope scope(painter, smooth);
    const QPolygonF essential = EssentialPoints(points, PolylineTolerance);
    QPen pen(ToQColor(colour));
    pen.setWidth(width);
    const bool round = width >= RoundJoinWidth;
    pen.setCapStyle(round ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(round ? Qt::RoundJoin : Qt::BevelJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (!smooth || essential.size() < 2) {
        painter.drawPolyline(essential);
        return;
    }
    // Smoothed, every segment is its own line: round ends make the joints
    // round, as discs on every point would, and the smoothing rasteriser is
    // several times faster on short strokes than on one long one.
    for (qsizetype i = 1; i < essential.size(); ++i) painter.drawLine(QLineF(essential[i - 1], essential[i]));
}

void DrawFilledPolygon(const DrawContext& context, const QPolygonF& polygon, Colour colour) {
    SmoothingScope smooth(context.Painter, context.Settings.UseGdiPlus);
    UseSolid(context.Painter, colour);
    context.Painter.drawPolygon(polygon);
}

// Outline and fill of a rectangle between two pixel corners.
void DrawCornerRectangle(const DrawContext& context, double x1, double y1, double x2, double y2,
                         Colour colour, bool smooth) {
    QPainter& painter = context.Painter;
    SmoothingScope scope(painter, smooth);
    UseSolid(painter, colour);
    if (smooth) {
        painter.drawRect(QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)),
                                QPointF(std::max(x1, x2), std::max(y1, y2))));
        return;
    }
    const int left = RoundCorner(std::min(x1, x2));
    const int right = RoundCorner(std::max(x1, x2));
    const int top = RoundCorner(std::min(y1, y2));
    const int bottom = RoundCorner(std::max(y1, y2));
    painter.drawRect(QRect(left, top, right - left, bottom - top));
}

}  // namespace

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

Colour FixedObjectColour(const World& world, int material, bool selected, std::uint8_t marker) {
    const auto& colors = world.Params.Colors[ColorsFixed];
    Colour c = material < 0 ? Black : MaterialColour(world, material);
    if (selected) c = colors[ColorsSelected];
    if (marker == ChangeableMarker) c = colors[ColorsChangeable];
    return c;
}

int PolylineWidthPixels(double halfThickness, const ViewTransform& view) {
    const double width = std::floor(2 * halfThickness * view.FieldScale / view.PointsPerPixel + 0.5);
    if (!(width > 1)) return 1;
    return static_cast<int>(std::min(width, 100000.0));
}

int RodWidthPixels(double width, const ViewTransform& view) {
    double pixels = width * view.FieldScale / view.PointsPerPixel;
    if (!(pixels > 1)) pixels = 1;
    pixels = std::min(1000.0, pixels);
    return static_cast<int>(std::nearbyint(pixels));
}

bool DrawLaval(const DrawContext& context, const Laval& laval, std::uint8_t marker) {
    if (!laval.Exists) return false;
    const Colour colour = FixedObjectColour(context.Scene, -1, laval.Selected, marker);
    const QPointF p = PixelOf(context.View, laval.Position);
    const int x = RoundCorner(p.x());
    const int y = RoundCorner(p.y());
    QPainter& painter = context.Painter;
    SmoothingScope plain(painter, false);
    const QColor qc = ToQColor(colour);
    painter.fillRect(QRect(x - 4, y - 9, 7, 1), qc);   // the beam
    painter.fillRect(QRect(x - 1, y - 9, 1, 10), qc);  // the stem down to 1 pixel below the point
    painter.setPen(QPen(qc, 1));
    painter.drawLine(x - 2, y, x + 2, y);  // the cross bar through the point
    return true;
}

bool DrawHand(const DrawContext& context, const HandWall& hand, std::uint8_t marker) {
    if (!hand.Exists) return false;
    const ViewTransform& view = context.View;
    const Colour colour = FixedObjectColour(context.Scene, hand.Material, hand.Selected, marker);
    const double x1 = view.PixelX(hand.Bound1 * view.FieldScale);
    const double x2 = view.PixelX(hand.Bound2 * view.FieldScale);
    const double y1 = view.PixelY((hand.Coord - hand.HalfThickness) * view.FieldScale);
    const double y2 = view.PixelY((hand.Coord + hand.HalfThickness) * view.FieldScale);
    const bool smooth = context.Settings.UseGdiPlus && std::abs(x1) <= AntialiasedSupportLimit &&
                        std::abs(x2) <= AntialiasedSupportLimit;
    DrawCornerRectangle(context, ClampPixel(x1), ClampPixel(y1), ClampPixel(x2), ClampPixel(y2), colour,
                        smooth);
    return true;
}

bool DrawWall(const DrawContext& context, const HandWall& wall, std::uint8_t marker) {
    if (!wall.Exists) return false;
    const ViewTransform& view = context.View;
    const Colour colour = FixedObjectColour(context.Scene, wall.Material, wall.Selected, marker);
    const double x1 = view.PixelX((wall.Coord - wall.HalfThickness) * view.FieldScale);
    const double x2 = view.PixelX((wall.Coord + wall.HalfThickness) * view.FieldScale);
    const double y1 = view.PixelY(wall.Bound1 * view.FieldScale);
    const double y2 = view.PixelY(wall.Bound2 * view.FieldScale);
    DrawCornerRectangle(context, ClampPixel(x1), ClampPixel(y1), ClampPixel(x2), ClampPixel(y2), colour,
                        context.Settings.UseGdiPlus);
    return true;
}

bool DrawPlane(const DrawContext& context, const Plane& plane, std::uint8_t marker) {
    if (!plane.Exists) return false;
    const Vec2 p1 = plane.P1;
    const Vec2 p2 = plane.P2;
    const double length = std::hypot(p2.X - p1.X, p2.Y - p1.Y);
    if (!(length > 0)) return false;
    if (plane.Triangular != 0 && plane.Triangular != 1) return false;
    const Colour colour = FixedObjectColour(context.Scene, plane.Material, plane.Selected, marker);
    const ViewTransform& view = context.View;
    const double h = plane.HalfThickness;

    if (plane.Triangular == 0) {
        if (context.Settings.UseGdiPlus) {
            // A thick line of width 2h along the plane.
            SmoothingScope smooth(context.Painter, true);
            QPen pen(ToQColor(colour));
            pen.setWidthF(std::max(1.0, 2 * h * view.FieldScale / view.PointsPerPixel));
            pen.setCapStyle(Qt::FlatCap);
            context.Painter.setPen(pen);
            context.Painter.drawLine(PixelOf(view, p1), PixelOf(view, p2));
            return true;
        }
        const Vec2 d{h * (p2.Y - p1.Y) / length, -h * (p2.X - p1.X) / length};
        QPolygonF band;
        band << PixelOf(view, p1 + d) << PixelOf(view, p2 + d) << PixelOf(view, p2 - d) << PixelOf(view, p1 - d);
        DrawFilledPolygon(context, band, colour);
        return true;
    }
    // The right-angle corner lies below the higher end at the lower end's height.
    const Vec2 corner = p1.Y >= p2.Y ? Vec2{p1.X, p2.Y} : Vec2{p2.X, p1.Y};
    QPolygonF wedge;
    wedge << PixelOf(view, p1) << PixelOf(view, p2) << PixelOf(view, corner);
    DrawFilledPolygon(context, wedge, colour);
    return true;
}

bool DrawSurface(const DrawContext& context, const Surface& surface, std::uint8_t marker) {
    if (!surface.Exists) return false;
    const int count = std::min({surface.PointCount, SurfacePointCapacity,
                                static_cast<int>(surface.Points.size())});
    if (count <= 0) return false;
    const Colour colour = FixedObjectColour(context.Scene, surface.Material, surface.Selected, marker);
    QPolygonF points;
    points.reserve(count);
    for (int i = 0; i < count; ++i) points << PixelOf(context.View, surface.Points[static_cast<std::size_t>(i)]);
    if (surface.Closed) {
        DrawFilledPolygon(context, points, colour);
    } else {
        DrawThickPolyline(context, points, colour, PolylineWidthPixels(surface.HalfThickness, context.View));
    }
    return true;
}

bool DrawSurface2(const DrawContext& context, const Surface2& curve, std::uint8_t marker) {
    if (!curve.Exists) return false;
    const Colour colour = FixedObjectColour(context.Scene, curve.Material, curve.Selected, marker);
    constexpr int CurvePoints = 100;
    QPolygonF points;
    points.reserve(CurvePoints);
    for (int i = 0; i < CurvePoints; ++i) {
        const double t = curve.TFrom + (curve.TTo - curve.TFrom) * i / (CurvePoints - 1);
        points << PixelOf(context.View, CurvePoint(curve, t));
    }
    if (curve.Closed) {
        DrawFilledPolygon(context, points, colour);
    } else {
        DrawThickPolyline(context, points, colour, PolylineWidthPixels(curve.HalfThickness, context.View));
    }
    return true;
}

void DrawGrid(QPainter& painter, const ViewTransform& view) {
    if (!(view.FieldScale > 0) || !std::isfinite(view.FieldScale)) return;
    const double g = GridSpacingUnits(view.FieldScale) * view.FieldScale;
    if (!(g > 0) || !std::isfinite(g)) return;
    SmoothingScope plain(painter, false);
    painter.setPen(QPen(QColor(192, 192, 192), 1));
    const double width = FieldWidthPoints / view.PointsPerPixel;
    const double height = FieldHeightPoints / view.PointsPerPixel;
    // Lines k * g from the origin, only those inside the field.
    const long long firstColumn = static_cast<long long>(std::ceil(view.LeftEdge() / g));
    const long long lastColumn = static_cast<long long>(std::floor(view.RightEdge() / g));
    for (long long k = firstColumn; k <= lastColumn; ++k) {
        const double x = std::floor(view.PixelX(static_cast<double>(k) * g) + 0.5);
        painter.drawLine(QPointF(x, 0), QPointF(x, height));
    }
    const long long firstRow = static_cast<long long>(std::ceil(view.BottomEdge() / g));
    const long long lastRow = static_cast<long long>(std::floor(view.TopEdge() / g));
    for (long long k = firstRow; k <= lastRow; ++k) {
        const double y = std::floor(view.PixelY(static_cast<double>(k) * g) + 0.5);
        painter.drawLine(QPointF(0, y), QPointF(width, y));
    }
}

int BallSteps(Colour c, Colour s, double gradientDensity, double radius, double fieldScale) {
    double k = std::abs(Brightness(c) - Brightness(s)) * gradientDensity * radius * fieldScale;
    if (!(k > MinBallSteps)) k = MinBallSteps;  // also a NaN
    k = std::min<double>(MaxBallSteps, k);
    return static_cast<int>(k);
}

std::vector<BallDisc> BallPictureDiscs(int k, Colour s, Colour c) {
    k = std::clamp(k, MinBallSteps, MaxBallSteps);
    std::vector<BallDisc> discs;
    discs.reserve(static_cast<std::size_t>(k));
    discs.push_back({BallPictureRadius, MixColour(s, c, std::sqrt(1.0 / k))});
    for (int i = 2; i <= k; ++i) {
        // Each disc has 1/k less area than the one before it.
        const int radius = static_cast<int>(BallPictureRadius * std::sqrt(1.0 - static_cast<double>(i - 1) / k));
        discs.push_back({radius, MixColour(s, c, std::sqrt(static_cast<double>(i) / k))});
    }
    return discs;
}

bool CreateBallPicture(int k, Colour s, Colour c, QPicture& picture) {
    picture = QPicture();
    QPainter painter;
    if (!painter.begin(&picture)) return false;
    const std::vector<BallDisc> discs = BallPictureDiscs(k, s, c);
    bool first = true;
    for (const BallDisc& disc : discs) {
        if (first) {
            painter.setPen(QPen(ToQColor(s), 0));
            first = false;
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.setBrush(ToQColor(disc.Fill));
        painter.drawEllipse(QPoint(0, 0), disc.Radius, disc.Radius);
    }
    return painter.end();
}

QImage FitBackground(const QImage& picture, QSize scene) {
    QImage fitted(scene, QImage::Format_RGB32);
    fitted.fill(Qt::white);
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0 || scene.isEmpty()) return fitted;
    const double widthAtSceneHeight = static_cast<double>(picture.width()) * scene.height() / picture.height();
    QSize size;
    if (widthAtSceneHeight > scene.width()) {
        size = QSize(scene.width(), static_cast<int>(std::lround(
                                        static_cast<double>(picture.height()) * scene.width() / picture.width())));
    } else {
        size = QSize(static_cast<int>(std::lround(widthAtSceneHeight)), scene.height());
    }
    QPainter painter(&fitted);
    painter.drawImage(QPoint(0, 0), picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return fitted;
}

double EstimateAmbientLight(const QImage& fitted, const ViewTransform& view,
                            const std::function<double()>& random) {
    constexpr int Samples = 200;
    if (fitted.isNull()) return 1;  // an empty scene is white
    double sum = 0;
    for (int i = 0; i < Samples; ++i) {
        const double r1 = random();
        const double r2 = random();
        const double x = (r1 * FieldWidthPoints - view.FieldOriginX) * 0.9;
        const double y = (r2 * -FieldHeightPoints + view.FieldOriginY) * 0.9;
        // The samples shrink toward the model origin, which may lie outside
        // the field; such samples read the nearest pixel of the picture.
        const int column = std::clamp(static_cast<int>(std::floor(ClampPixel(view.PixelX(x)))), 0, fitted.width() - 1);
        const int row = std::clamp(static_cast<int>(std::floor(ClampPixel(view.PixelY(y)))), 0, fitted.height() - 1);
        const QRgb pixel = fitted.pixel(column, row);
        sum += (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 765.0;
    }
    return sum / Samples;
}

// Rasterised ball pictures shared by all balls, by picture inputs and size.
struct WorldRenderer::RasterKey {
    int Steps;
    Colour PictureColour;
    Colour ShadowColour;
    int Diameter;
    bool operator==(const RasterKey&) const = default;
};

struct WorldRenderer::RasterCache {
    struct Hash {
        std::size_t operator()(const RasterKey& key) const {
            std::uint64_t h = static_cast<std::uint32_t>(key.PictureColour);
            h = h * 1000003u ^ static_cast<std::uint32_t>(key.ShadowColour);
            h = h * 1000003u ^ static_cast<std::uint32_t>(key.Steps);
            h = h * 1000003u ^ static_cast<std::uint32_t>(key.Diameter);
            return static_cast<std::size_t>(h);
        }
    };
    std::unordered_map<RasterKey, QImage, Hash> Images;
};

WorldRenderer::WorldRenderer()
    : balls_(BallCapacity + 1), pegs_(PegCapacity + 1), threads_(ThreadCapacity + 1),
      rasters_(std::make_shared<RasterCache>()) {}

void WorldRenderer::ReleaseAll() {
    lowerValid_ = false;
    for (BallElement& ball : balls_) ball = BallElement();
    for (PegElement& peg : pegs_) peg = PegElement{};
    for (ThreadElement& thread : threads_) thread = ThreadElement{};
    rasters_->Images.clear();
}

void WorldRenderer::PaintLowerLayer(const World& world) {
    const QSize size = lower_.size();
    if (lower_.isNull()) return;
    // Celestial bodies are seen against a black sky, grey while a new body
    // waits for the click that places it.
    const QColor sky = settings_.AwaitingBody ? QColor(128, 128, 128) : QColor(Qt::black);
    lower_.fill(world.ProjectKind == ProjectCelestial ? sky : QColor(Qt::white));
    QPainter painter(&lower_);
    if (world.ProjectKind == ProjectCelestial) return;
    if (!background_.isNull()) painter.drawImage(QPoint(0, 0), background_);
    // Without a project there is nothing to measure: no grid.
    if (settings_.GridOn && world.ProjectKind == ProjectMechanical) DrawGrid(painter, view_);
    const DrawContext context{painter, world, view_, settings_};
    // A record that a property window previews carries the marker of the
    // working copy.
    auto draw = [&context](auto routine, const auto& table, int first, int count, int capacity) {
        for (int n = first; n <= std::min(count, capacity); ++n) {
            const auto& record = table[static_cast<std::size_t>(n)];
            routine(context, record, record.Marker);
        }
    };
    draw(DrawLaval, world.Lavals, 1, world.LavalCount, LavalCapacity);
    // Supports are drawn from number 1: the ZeroSupport is the floor of the
    // zero level, not a drawn object.
    draw(DrawHand, world.Hands, 1, world.HandCount, HandCapacity);
    draw(DrawWall, world.Walls, 1, world.WallCount, WallCapacity);
    draw(DrawPlane, world.Planes, 1, world.PlaneCount, PlaneCapacity);
    draw(DrawSurface, world.Surfaces, 1, world.SurfaceCount, SurfaceCapacity);
    draw(DrawSurface2, world.Surfaces2, 1, world.Surface2Count, Surface2Capacity);
    (void)size;
}

void WorldRenderer::MWRefresh(const World& world, QSize sceneSize) {
    lowerValid_ = false;
    MovableRefresh(world, sceneSize);
}

void WorldRenderer::MovableRefresh(const World& world, QSize sceneSize) {
    view_ = ViewTransform::FromParameters(world.Params, sceneSize.width());
    if (lower_.size() != sceneSize) {
        lower_ = QImage(sceneSize, QImage::Format_RGB32);
        lowerValid_ = false;
    }
    const bool sameView = view_.FieldScale == lowerView_.FieldScale && view_.FieldOriginX == lowerView_.FieldOriginX &&
                          view_.FieldOriginY == lowerView_.FieldOriginY && view_.PointsPerPixel == lowerView_.PointsPerPixel;
    if (!lowerValid_ || !sameView || world.ProjectKind != ProjectMechanical) {
        PaintLowerLayer(world);
        lowerValid_ = true;
        lowerView_ = view_;
    }
    if (world.ProjectKind == ProjectCelestial) return;

    // From 0: a property window's working copy is drawn in place of its
    // original while the window is open.
    for (int n = 0; n <= std::min(world.BallCount, BallCapacity); ++n) BallRefresh(world, n);
    const auto& movable = world.Params.Colors[ColorsMovable];
    for (int n = 1; n <= std::min(world.ThreadCount, ThreadCapacity); ++n) {
        const Thread& thread = world.Threads[static_cast<std::size_t>(n)];
        ThreadElement& element = threads_[static_cast<std::size_t>(n)];
        element.Visible = thread.Exists;
        if (thread.Exists) element.LineColour = thread.Selected ? movable[ColorsSelected] : movable[ColorsNormal];
    }
    for (int n = 0; n <= std::min(world.PegCount, PegCapacity); ++n) PegRefresh(world, n);
}

void WorldRenderer::BallRefresh(const World& world, int number) {
    if (number < 0 || number > BallCapacity) return;
    const Ball& ball = world.Balls[static_cast<std::size_t>(number)];
    BallElement& element = balls_[static_cast<std::size_t>(number)];
    const Parameters& params = world.Params;
    const Colour c = MovableColour(world, number, ball.Selected, ball.Material, ball.Z);
    bool pictureInUse = false;
    if (ball.Shape == ShapeBall) {
        const Colour s = MixColour(Black, c, params.AmbientLight);
        const int k = BallSteps(c, s, settings_.GradientDensity, ball.Radius, params.FieldScale);
        if (k != element.Steps || c != element.PictureColour || s != element.ShadowColour) {
            // A ball whose picture cannot be made is drawn flat.
            element.PictureFailed = !CreateBallPicture(k, s, c, element.Picture);
            element.Steps = k;
            element.PictureColour = c;
            element.ShadowColour = s;
        }
        pictureInUse = ball.Allow3D && !element.PictureFailed && settings_.ShadedBalls;
        element.FlatColour = pictureInUse ? c : MixColour(c, s, 0.25);
    } else {
        element.FlatColour = c;
    }
    element.FlatVisible = ball.Exists && !pictureInUse;
    element.PictureVisible = ball.Exists && pictureInUse;
    element.MarkColour = params.MarkColor;
    element.MarkVisible = ball.Exists && ball.Marked;
}

void WorldRenderer::PegRefresh(const World& world, int number) {
    if (number < 0 || number > PegCapacity) return;
    const Peg& peg = world.Pegs[static_cast<std::size_t>(number)];
    PegElement& element = pegs_[static_cast<std::size_t>(number)];
    element.Visible = peg.Exists;
    element.LineColour = MovableColour(world, number, peg.Selected, peg.Material, peg.Z);
    element.WidthPixels = RodWidthPixels(peg.Width, view_);
}

void WorldRenderer::ThreadHalfRefresh(const World& world, int number) {
    if (number < 0 || number > ThreadCapacity) return;
    const Thread& thread = world.Threads[static_cast<std::size_t>(number)];
    ThreadElement& element = threads_[static_cast<std::size_t>(number)];
    element.LineColour = MovableColour(world, number, thread.Selected, thread.Material, thread.Z);
    element.Visible = thread.Exists;
}

const QImage& WorldRenderer::RasterOf(const BallElement& element, int diameter) {
    const RasterKey key{element.Steps, element.PictureColour, element.ShadowColour, diameter};
    auto found = rasters_->Images.find(key);
    if (found != rasters_->Images.end()) return found->second;
    // Many sizes come and go while zooming; the cache is simply emptied
    // when it grows large.
    if (rasters_->Images.size() > 4096) rasters_->Images.clear();
    QImage image(diameter, diameter, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(diameter / 2.0, diameter / 2.0);
        const double scale = diameter / (2.0 * BallPictureRadius);
        painter.scale(scale, scale);
        painter.drawPicture(0, 0, element.Picture);
    }
    return rasters_->Images.emplace(key, std::move(image)).first->second;
}

const QImage& WorldRenderer::FlatRasterOf(Colour colour, int diameter) {
    // Flat circles share the cache under a key no picture can have.
    const RasterKey key{0, colour, -2, diameter};
    auto found = rasters_->Images.find(key);
    if (found != rasters_->Images.end()) return found->second;
    if (rasters_->Images.size() > 4096) rasters_->Images.clear();
    QImage image(diameter, diameter, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(colour));
        // The whole square holds the disc: smooth, and as wide on the right
        // as on the left.
        painter.drawEllipse(QRectF(0, 0, diameter, diameter));
    }
    return rasters_->Images.emplace(key, std::move(image)).first->second;
}

void WorldRenderer::PaintBall(QPainter& painter, const World& world, int number) {
    const BallElement& element = balls_[static_cast<std::size_t>(number)];
    if (!element.FlatVisible && !element.PictureVisible && !element.MarkVisible) return;
    const Ball& ball = world.Balls[static_cast<std::size_t>(number)];
    const double fieldScale = view_.FieldScale;
    const double r = ball.Radius;
    const double bigR = r * fieldScale;
    const double left = ClampPixel(view_.PixelX(ModelToFieldCoord(ball.Position.X - r, fieldScale)));
    const double top = ClampPixel(view_.PixelY(ModelToFieldCoord(ball.Position.Y + r, fieldScale)));
    const double diameter = ClampPixel(2 * bigR / view_.PointsPerPixel);

    // A ball hung on a suspension point shows its radius to the point as a
    // thin line, under the ball.
    if (ball.BindKind == BindLaval && ball.BindNumber >= 1 && ball.BindNumber <= std::min(world.LavalCount, LavalCapacity)) {
        const Laval& point = world.Lavals[static_cast<std::size_t>(ball.BindNumber)];
        if (point.Exists) {
            const auto& movable = world.Params.Colors[ColorsMovable];
            painter.setPen(QPen(ToQColor(ball.Selected ? movable[ColorsSelected] : movable[ColorsNormal]), 1));
            painter.drawLine(QPointF(ClampPixel(view_.PixelX(ModelToFieldCoord(point.Position.X, fieldScale))),
                                     ClampPixel(view_.PixelY(ModelToFieldCoord(point.Position.Y, fieldScale)))),
                             QPointF(ClampPixel(view_.PixelX(ModelToFieldCoord(ball.Position.X, fieldScale))),
                                     ClampPixel(view_.PixelY(ModelToFieldCoord(ball.Position.Y, fieldScale)))));
        }
    }

    if (element.PictureVisible) {
        const int d = std::max(1, static_cast<int>(std::lround(diameter)));
        const QPoint corner(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
        if (d <= MaxRasterDiameter) {
            painter.drawImage(corner, RasterOf(element, d));
        } else {
            painter.save();
            painter.translate(corner.x() + d / 2.0, corner.y() + d / 2.0);
            const double scale = d / (2.0 * BallPictureRadius);
            painter.scale(scale, scale);
            painter.drawPicture(0, 0, element.Picture);
            painter.restore();
        }
    } else if (element.FlatVisible) {
        const int d = std::max(1, static_cast<int>(std::lround(diameter)));
        if (d <= MaxRasterDiameter) {
            const QPoint corner(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
            painter.drawImage(corner, FlatRasterOf(element.FlatColour, d));
        } else {
            const QColor colour = ToQColor(element.FlatColour);
            painter.setPen(QPen(colour, 1));
            painter.setBrush(colour);
            painter.drawEllipse(QRectF(left, top, diameter, diameter));
        }
    }
    if (element.MarkVisible) {
        const double centreX = ModelToFieldCoord(ball.Position.X, fieldScale);
        const double centreY = ModelToFieldCoord(ball.Position.Y, fieldScale);
        const double dx = bigR * std::cos(ball.Phi);
        const double dy = bigR * std::sin(ball.Phi);
        const double inner = 1 - world.Params.MarkSize;
        // The mark ends half a pixel inside the rim, so its line never
        // shows beyond the ball.
        const double radiusPixels = bigR / view_.PointsPerPixel;
        const double outer = radiusPixels > 1 ? 1 - 0.5 / radiusPixels : 0;
        painter.save();
        painter.setPen(QPen(ToQColor(element.MarkColour), 1, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(ClampPixel(view_.PixelX(centreX + inner * dx)), ClampPixel(view_.PixelY(centreY + inner * dy))),
                         QPointF(ClampPixel(view_.PixelX(centreX + outer * dx)), ClampPixel(view_.PixelY(centreY + outer * dy))));
        painter.restore();
    }
}

void WorldRenderer::PaintPeg(QPainter& painter, const World& world, int number) {
    const PegElement& element = pegs_[static_cast<std::size_t>(number)];
    if (!element.Visible) return;
    const Peg& peg = world.Pegs[static_cast<std::size_t>(number)];
    QPen pen(ToQColor(element.LineColour));
    pen.setWidth(element.WidthPixels);
    pen.setCapStyle(element.WidthPixels > 1 ? Qt::RoundCap : Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLine(PixelOf(view_, peg.End1), PixelOf(view_, peg.End2));
}

namespace {

// A body's own colour, the selected colour of movable objects when it is
// selected, and the changeable colour for the edit copy.
Colour BodyColour(const World& world, int number) {
    const auto& movable = world.Params.Colors[ColorsMovable];
    if (number == 0) return movable[ColorsChangeable];
    const HBody& body = world.HBodies[static_cast<std::size_t>(number)];
    return body.Selected ? movable[ColorsSelected] : body.Colour;
}

}  // namespace

void WorldRenderer::PaintBodies(QPainter& painter, const World& world) {
    SmoothingScope plain(painter, false);
    const double distance = world.Celestial.ObserverDistance;
    // The property window's working copy (slot 0) is drawn over the others,
    // its own original included, so that the edited body is always seen.
    std::vector<int> order = BodyStackOrder(world);
    std::stable_partition(order.begin(), order.end(), [](int n) { return n != 0; });
    for (const int n : order) {
        const HBody& body = world.HBodies[static_cast<std::size_t>(n)];
        const BodyCircle circle = ProjectBody(body, distance);
        if (!circle.Visible) continue;
        const double left = ClampPixel(view_.PixelX(circle.Left));
        const double top = ClampPixel(view_.PixelY(circle.Top));
        const double right = ClampPixel(view_.PixelX(circle.Left + circle.Diameter));
        const double bottom = ClampPixel(view_.PixelY(circle.Top - circle.Diameter));
        const QColor colour = ToQColor(BodyColour(world, n));
        painter.setPen(QPen(colour, 1));
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(QPointF(left, top), QPointF(right, bottom)));
    }
}

void WorldRenderer::PaintUpperLayer(QPainter& painter, const World& world) {
    if (world.ProjectKind == ProjectCelestial) {
        PaintBodies(painter, world);
        return;
    }
    SmoothingScope plain(painter, false);

    std::vector<QLineF> segments;
    for (int n = 0; n <= std::min(world.ThreadCount, ThreadCapacity); ++n) {
        const ThreadElement& element = threads_[static_cast<std::size_t>(n)];
        if (!element.Visible) continue;
        const Thread& thread = world.Threads[static_cast<std::size_t>(n)];
        const int count = std::clamp(thread.SegmentCount, 0, ThreadSegmentCapacity);
        segments.clear();
        segments.reserve(static_cast<std::size_t>(count));
        QPointF previous = PixelOf(view_, thread.Points[0]);
        for (int k = 1; k <= count; ++k) {
            const QPointF next = PixelOf(view_, thread.Points[static_cast<std::size_t>(k)]);
            segments.emplace_back(previous, next);
            previous = next;
        }
        painter.setPen(QPen(ToQColor(element.LineColour), 1));
        painter.drawLines(segments.data(), static_cast<int>(segments.size()));
    }

    // ZOrders: layer by layer, the balls of a layer in number order, then
    // its rods, so that higher layers cover lower ones and rods cover balls.
    const int ballLast = std::min(world.BallCount, BallCapacity);
    const int pegLast = std::min(world.PegCount, PegCapacity);
    std::array<int, 257> ballStart{};
    std::array<int, 257> pegStart{};
    for (int n = 0; n <= ballLast; ++n) ++ballStart[world.Balls[static_cast<std::size_t>(n)].Z + 1u];
    for (int n = 0; n <= pegLast; ++n) ++pegStart[world.Pegs[static_cast<std::size_t>(n)].Z + 1u];
    for (int z = 0; z < 256; ++z) {
        ballStart[static_cast<std::size_t>(z) + 1] += ballStart[static_cast<std::size_t>(z)];
        pegStart[static_cast<std::size_t>(z) + 1] += pegStart[static_cast<std::size_t>(z)];
    }
    std::vector<int> ballOrder(static_cast<std::size_t>(ballLast + 1));
    std::vector<int> pegOrder(static_cast<std::size_t>(pegLast + 1));
    {
        std::array<int, 257> fill = ballStart;
        // The working copy of the ball window (slot 0) comes last in its
        // layer, in front of the balls it is edited among.
        for (int n = 1; n <= ballLast; ++n) ballOrder[static_cast<std::size_t>(fill[world.Balls[static_cast<std::size_t>(n)].Z]++)] = n;
        ballOrder[static_cast<std::size_t>(fill[world.Balls[0].Z]++)] = 0;
        fill = pegStart;
        for (int n = 0; n <= pegLast; ++n) pegOrder[static_cast<std::size_t>(fill[world.Pegs[static_cast<std::size_t>(n)].Z]++)] = n;
    }
    for (int z = 0; z < 256; ++z) {
        for (int i = ballStart[static_cast<std::size_t>(z)]; i < ballStart[static_cast<std::size_t>(z) + 1]; ++i)
            PaintBall(painter, world, ballOrder[static_cast<std::size_t>(i)]);
        for (int i = pegStart[static_cast<std::size_t>(z)]; i < pegStart[static_cast<std::size_t>(z) + 1]; ++i)
            PaintPeg(painter, world, pegOrder[static_cast<std::size_t>(i)]);
    }
}

// The axes, in front of the moving objects.
void WorldRenderer::PaintAxes(QPainter& painter, const World& world) {
    if (!settings_.GridOn || world.ProjectKind != ProjectMechanical) return;
    SmoothingScope plain(painter, false);
    painter.setPen(QPen(Qt::black, 1));
    const double x = std::floor(ClampPixel(view_.PixelX(0)) + 0.5);
    const double y = std::floor(ClampPixel(view_.PixelY(0)) + 0.5);
    const double width = FieldWidthPoints / view_.PointsPerPixel;
    const double height = FieldHeightPoints / view_.PointsPerPixel;
    painter.drawLine(QPointF(0, y), QPointF(width, y));
    painter.drawLine(QPointF(x, 0), QPointF(x, height));
}

void WorldRenderer::PaintScene(QPainter& painter, const World& world) {
    if (!lower_.isNull()) painter.drawImage(QPoint(0, 0), lower_);
    PaintUpperLayer(painter, world);
    PaintAxes(painter, world);
}

}  // namespace velo
