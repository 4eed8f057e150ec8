// Offscreen drawing: fixed objects land where the mapping puts them, the
// objects that must not be drawn are not, the upper layer stacks by layer,
// and the scene widget keeps its field and hands out field coordinates.
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#include "model/world.h"
#include "model/world_ops.h"
#include "view/scene_widget.h"
#include "view/world_renderer.h"

using namespace velo;

namespace {

const QColor White(255, 255, 255);
constexpr Colour Steel = Rgb(40, 80, 160);

std::unique_ptr<World> EmptyScene() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    world->Materials.Items[1].Colour = Steel;
    return world;
}

RenderSettings NoGrid(bool smooth = false) {
    RenderSettings settings;
    settings.GridOn = false;
    settings.UseGdiPlus = smooth;
    return settings;
}

// A 1000 x 700 scene: 10 field points per pixel; model (0, 0) at pixel (100, 680).
QImage Render(World& world, const RenderSettings& settings) {
    WorldRenderer renderer;
    renderer.SetSettings(settings);
    renderer.MWRefresh(world, QSize(1000, 700));
    QImage image(1000, 700, QImage::Format_RGB32);
    QPainter painter(&image);
    renderer.PaintScene(painter, world);
    return image;
}

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

bool IsBlank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != White) return false;
    return true;
}

}  // namespace

class ViewRenderTest : public QObject {
    Q_OBJECT
private slots:
    void fixedObjectsWhereTheMappingPutsThem_data();
    void fixedObjectsWhereTheMappingPutsThem();
    void suspensionPointSymbol();
    void planesThatAreNotDrawn_data();
    void planesThatAreNotDrawn();
    void wedgeCorner();
    void surfacesAndCurves();
    void workingCopyAndSelectionColours();
    void gridLinesAndAxes();
    void ballsRodsAndStacking();
    void markTurnsWithPhi();
    void clearSelectionLeavesNothingSelected();
    void backgroundAndAmbientLight();
    void sceneWidgetMapsMouseAndSize();
    void celestialBodiesOnABlackSky();
};

void ViewRenderTest::fixedObjectsWhereTheMappingPutsThem_data() {
    QTest::addColumn<bool>("smooth");
    QTest::newRow("ordinary") << false;
    QTest::newRow("anti-aliased") << true;
}

void ViewRenderTest::fixedObjectsWhereTheMappingPutsThem() {
    QFETCH(bool, smooth);
    auto world = EmptyScene();
    // Support at Y = 1 from X = -0.05 to 0.5, half thickness 0.05:
    // pixels 95..150 across, rows 575..585.
    HandWall& hand = world->Hands[static_cast<std::size_t>(NewObject(*world, KindHand).Number)];
    hand = {1, 1.0, -0.05, 0.5, 0.05, false, true};
    // Wall at X = 3 from Y = 2 to 4: columns 395..405, rows 280..480.
    HandWall& wall = world->Walls[static_cast<std::size_t>(NewObject(*world, KindWall).Number)];
    wall = {1, 3.0, 2.0, 4.0, 0.05, false, true};
    // A plate from (5, 1) to (7, 1): columns 600..800, rows 575..585.
    Plane& plate = world->Planes[static_cast<std::size_t>(NewObject(*world, KindPlane).Number)];
    plate.P1 = {5, 1};
    plate.P2 = {7, 1};
    plate.HalfThickness = 0.05;
    plate.Material = 1;
    plate.Selected = false;
    plate.Triangular = 0;
    const QImage image = Render(*world, NoGrid(smooth));
    const QColor steel = ToQColor(Steel);
    QCOMPARE(At(image, 120, 580), steel);
    QCOMPARE(At(image, 97, 580), steel);
    QCOMPARE(At(image, 148, 577), steel);
    QCOMPARE(At(image, 120, 570), White);
    QCOMPARE(At(image, 160, 580), White);
    QCOMPARE(At(image, 400, 380), steel);
    QCOMPARE(At(image, 400, 285), steel);
    QCOMPARE(At(image, 410, 380), White);
    QCOMPARE(At(image, 400, 270), White);
    QCOMPARE(At(image, 700, 580), steel);
    QCOMPARE(At(image, 700, 590), White);
    QCOMPARE(At(image, 820, 580), White);
}

void ViewRenderTest::suspensionPointSymbol() {
    auto world = EmptyScene();
    Laval& laval = world->Lavals[static_cast<std::size_t>(NewObject(*world, KindLaval).Number)];
    laval.Position = {2, 3};  // pixel (300, 380)
    laval.Selected = false;
    const QImage image = Render(*world, NoGrid());
    const QColor black(0, 0, 0);
    QCOMPARE(At(image, 296, 371), black);  // beam: 4 left, 9 above
    QCOMPARE(At(image, 302, 371), black);  // beam is 7 pixels wide
    QCOMPARE(At(image, 303, 371), White);
    QCOMPARE(At(image, 299, 375), black);  // stem 1 left of the point
    QCOMPARE(At(image, 299, 380), black);
    QCOMPARE(At(image, 298, 380), black);  // cross bar through the point
    QCOMPARE(At(image, 302, 380), black);
    QCOMPARE(At(image, 310, 380), White);
}

void ViewRenderTest::planesThatAreNotDrawn_data() {
    QTest::addColumn<double>("x2");
    QTest::addColumn<int>("triangular");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("zero length plate") << 5.0 << 0 << false;
    QTest::newRow("zero length wedge") << 5.0 << 1 << false;
    QTest::newRow("triangular 2") << 7.0 << 2 << false;
    QTest::newRow("triangular 255") << 7.0 << 255 << false;
    QTest::newRow("plate") << 7.0 << 0 << true;
    QTest::newRow("wedge") << 7.0 << 1 << true;
}

void ViewRenderTest::planesThatAreNotDrawn() {
    QFETCH(double, x2);
    QFETCH(int, triangular);
    QFETCH(bool, drawn);
    auto world = EmptyScene();
    Plane& plane = world->Planes[static_cast<std::size_t>(NewObject(*world, KindPlane).Number)];
    plane.P1 = {5, 1};
    plane.P2 = {x2, 3};
    if (x2 == 5.0) plane.P2 = plane.P1;
    plane.HalfThickness = 0.3;
    plane.Material = 1;
    plane.Triangular = static_cast<std::uint8_t>(triangular);
    QImage image(1000, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (bool smooth : {false, true}) {
        QPainter painter(&image);
        const DrawContext context{painter, *world, ViewTransform::FromParameters(world->Params, 1000), NoGrid(smooth)};
        QCOMPARE(DrawPlane(context, plane), drawn);
    }
    QCOMPARE(IsBlank(image), !drawn);
    QCOMPARE(IsBlank(Render(*world, NoGrid())), !drawn);
}

void ViewRenderTest::wedgeCorner() {
    auto world = EmptyScene();
    Plane& plane = world->Planes[static_cast<std::size_t>(NewObject(*world, KindPlane).Number)];
    // Higher end P2 = (7, 3): the right angle is at (7, 1), pixel (800, 580).
    plane.P1 = {5, 1};
    plane.P2 = {7, 3};
    plane.Material = 1;
    plane.Selected = false;
    plane.Triangular = 1;
    const QImage image = Render(*world, NoGrid());
    const QColor steel = ToQColor(Steel);
    QCOMPARE(At(image, 790, 575), steel);  // near the right-angle corner
    QCOMPARE(At(image, 620, 440), White);  // above the slope
    QCOMPARE(At(image, 780, 400), steel);  // below the slope near the top
}

void ViewRenderTest::surfacesAndCurves() {
    auto world = EmptyScene();
    Surface& open = world->Surfaces[static_cast<std::size_t>(NewObject(*world, KindSurface).Number)];
    open.Points = {{1, 5}, {4, 5}, {4, 6}};
    open.PointCount = 3;
    open.Closed = false;
    open.HalfThickness = 0;  // drawn 1 pixel wide
    open.Material = 1;
    open.Selected = false;
    Surface& closed = world->Surfaces[static_cast<std::size_t>(NewObject(*world, KindSurface).Number)];
    closed.Points = {{6, 5}, {8, 5}, {8, 6}, {6, 6}};
    closed.PointCount = 4;
    closed.Closed = true;
    closed.Material = 1;
    closed.Selected = false;
    // A closed ellipse of radii 0.5 and 0.3 around (2, 1.5): pixel (300, 530).
    Surface2& curve = world->Surfaces2[static_cast<std::size_t>(NewObject(*world, KindSurface2).Number)];
    curve.SurfaceKind = Ellipse;
    curve.Centre = {2, 1.5};
    curve.ParamA = 0.5;
    curve.ParamB = 0.3;
    curve.TFrom = 0;
    curve.TTo = 2 * M_PI;
    curve.Closed = true;
    curve.Material = 1;
    curve.Selected = false;
    const QImage image = Render(*world, NoGrid());
    const QColor steel = ToQColor(Steel);
    QCOMPARE(At(image, 250, 180), steel);  // open polyline along Y = 5 (row 180)
    QCOMPARE(At(image, 250, 182), White);  // and only 1 pixel wide
    QCOMPARE(At(image, 500, 150), steel);  // its vertical edge at X = 4
    QCOMPARE(At(image, 800, 130), steel);  // inside the closed polygon
    QCOMPARE(At(image, 300, 530), steel);  // inside the ellipse
    QCOMPARE(At(image, 300, 495), White);  // above it (top at row 500)
    QCOMPARE(At(image, 340, 530), steel);
    QCOMPARE(At(image, 360, 530), White);  // right of it (edge at column 350)
}

void ViewRenderTest::workingCopyAndSelectionColours() {
    auto world = EmptyScene();
    HandWall copy{1, 1.0, -0.05, 0.5, 0.05, true, true};
    QImage image(1000, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        const DrawContext context{painter, *world, ViewTransform::FromParameters(world->Params, 1000), NoGrid()};
        QVERIFY(DrawHand(context, copy, ChangeableMarker));
    }
    // Selected and the working copy at once: the changeable colour wins.
    QCOMPARE(At(image, 120, 580), ToQColor(world->Params.Colors[ColorsFixed][ColorsChangeable]));
    {
        QPainter painter(&image);
        const DrawContext context{painter, *world, ViewTransform::FromParameters(world->Params, 1000), NoGrid()};
        QVERIFY(DrawHand(context, copy));
        copy.Exists = false;
        QVERIFY(!DrawHand(context, copy));
    }
    QCOMPARE(At(image, 120, 580), ToQColor(world->Params.Colors[ColorsFixed][ColorsSelected]));
}

void ViewRenderTest::gridLinesAndAxes() {
    auto world = EmptyScene();
    RenderSettings settings;
    settings.GridOn = true;
    // Scale 1000: lines 1000 points = 100 pixels apart from the origin (100, 680).
    QImage image = Render(*world, settings);
    const QColor grey(192, 192, 192);
    const QColor black(0, 0, 0);
    QCOMPARE(At(image, 300, 50), grey);
    QCOMPARE(At(image, 0, 50), grey);      // the line at X = -1 (the left edge)
    QCOMPARE(At(image, 350, 50), White);
    QCOMPARE(At(image, 350, 380), grey);   // row of Y = 3
    QCOMPARE(At(image, 100, 50), black);   // the Y axis
    QCOMPARE(At(image, 500, 680), black);  // the X axis
    // Scale 2000: 0.1 units = 200 points = 20 pixels apart.
    world->Params.FieldScale = 2000;
    image = Render(*world, settings);
    QCOMPARE(At(image, 140, 50), grey);
    QCOMPARE(At(image, 150, 50), White);
    // Scale 100: 10 units = 1000 points apart again.
    world->Params.FieldScale = 100;
    image = Render(*world, settings);
    QCOMPARE(At(image, 200, 50), grey);
    QCOMPARE(At(image, 150, 50), White);
    // No grid: neither lines nor axes.
    QVERIFY(IsBlank(Render(*world, NoGrid())));
}

void ViewRenderTest::ballsRodsAndStacking() {
    auto world = EmptyScene();
    world->Materials.Items[2] = world->Materials.Items[1];
    world->Materials.Items[2].Colour = Rgb(0, 160, 0);
    world->Materials.MaterialCount = 2;
    world->Params.AmbientLight = 1;  // no depth shading: colours stay exact
    // A flat cylinder of radius 0.5 at (3, 3): pixels 350..450, 330..430.
    const int cylinder = NewObject(*world, KindCylinder).Number;
    Ball& disc = world->Balls[static_cast<std::size_t>(cylinder)];
    disc.Shape = ShapeCylinder;
    disc.Radius = 0.5;
    disc.Position = {3, 3};
    disc.Selected = false;
    disc.Z = 10;
    // A rod across it on a lower layer, another on a higher one.
    const int low = NewObject(*world, KindPeg).Number;
    Peg& under = world->Pegs[static_cast<std::size_t>(low)];
    under.End1 = {2, 3};
    under.End2 = {4, 3};
    under.Width = 0.05;
    under.Material = 2;
    under.Selected = false;
    under.Z = 5;
    const int high = NewObject(*world, KindPeg).Number;
    Peg& over = world->Pegs[static_cast<std::size_t>(high)];
    over.End1 = {3, 2};
    over.End2 = {3, 4};
    over.Width = 0.05;
    over.Material = 2;
    over.Selected = false;
    over.Z = 20;
    const QImage image = Render(*world, NoGrid());
    const QColor steel = ToQColor(Steel);
    const QColor green(0, 160, 0);
    QCOMPARE(At(image, 420, 380), steel);  // the cylinder covers the lower rod
    QCOMPARE(At(image, 300, 380), green);  // the lower rod outside the cylinder
    QCOMPARE(At(image, 400, 350), green);  // the higher rod covers the cylinder
    QCOMPARE(At(image, 460, 340), White);
    // A shaded ball picture appears where its field rectangle is.
    const int shaded = NewObject(*world, KindBall).Number;
    Ball& ball = world->Balls[static_cast<std::size_t>(shaded)];
    ball.Shape = ShapeBall;
    ball.Radius = 0.5;
    ball.Position = {7, 3};
    ball.Allow3D = true;
    ball.Selected = false;
    const QImage withBall = Render(*world, NoGrid());
    QCOMPARE(At(withBall, 800, 380), steel);  // the centre has the full colour
    QVERIFY(At(withBall, 800, 333) != White);
    QCOMPARE(At(withBall, 800, 320), White);
    QCOMPARE(At(withBall, 870, 320), White);  // the picture's corner stays clear
}

void ViewRenderTest::markTurnsWithPhi() {
    auto world = EmptyScene();
    world->Params.AmbientLight = 1;
    world->Params.MarkColor = Rgb(255, 0, 255);
    const int n = NewObject(*world, KindCylinder).Number;
    Ball& ball = world->Balls[static_cast<std::size_t>(n)];
    ball.Shape = ShapeCylinder;
    ball.Radius = 0.5;
    ball.Position = {3, 3};  // centre pixel (400, 380), radius 50 pixels
    ball.Marked = true;
    ball.Selected = false;
    const QColor mark(255, 0, 255);
    ball.Phi = 0;
    QImage image = Render(*world, NoGrid());
    QCOMPARE(At(image, 440, 380), mark);    // outer half of the radius to the right
    QCOMPARE(At(image, 415, 380), ToQColor(Steel));
    ball.Phi = M_PI / 2;
    image = Render(*world, NoGrid());
    QCOMPARE(At(image, 400, 340), mark);    // now pointing up
    QCOMPARE(At(image, 440, 380), ToQColor(Steel));
}

void ViewRenderTest::clearSelectionLeavesNothingSelected() {
    auto world = EmptyScene();
    NewObject(*world, KindLaval);
    NewObject(*world, KindHand);
    NewObject(*world, KindBall);
    NewObject(*world, KindPeg);
    NewObject(*world, KindSurface2);
    world->Hands[0].Selected = true;
    QVERIFY(world->CurrentKind != KindNone);
    WorldRenderer renderer;
    ClearSelection(*world);
    renderer.MWRefresh(*world, QSize(1000, 700));
    QVERIFY(!world->Lavals[1].Selected);
    QVERIFY(!world->Hands[0].Selected);
    QVERIFY(!world->Hands[1].Selected);
    QVERIFY(!world->Balls[1].Selected);
    QVERIFY(!world->Pegs[1].Selected);
    QVERIFY(!world->Surfaces2[1].Selected);
    QCOMPARE(world->CurrentKind, KindNone);
}

void ViewRenderTest::backgroundAndAmbientLight() {
    // A wide picture is fitted to the scene width, a tall one to its height.
    QImage wide(400, 100, QImage::Format_RGB32);
    wide.fill(Qt::black);
    QImage fitted = FitBackground(wide, QSize(1000, 700));
    QCOMPARE(fitted.size(), QSize(1000, 700));
    QCOMPARE(fitted.pixelColor(990, 240), QColor(0, 0, 0));
    QCOMPARE(fitted.pixelColor(500, 260), White);
    QImage tall(100, 200, QImage::Format_RGB32);
    tall.fill(Qt::black);
    fitted = FitBackground(tall, QSize(1000, 700));
    QCOMPARE(fitted.pixelColor(340, 690), QColor(0, 0, 0));
    QCOMPARE(fitted.pixelColor(360, 690), White);

    // Brightness of a uniform picture is its own brightness.
    QImage grey(1000, 700, QImage::Format_RGB32);
    grey.fill(QColor(51, 102, 153));
    ViewTransform view;
    double r = 0;
    const auto sequence = [&] { r += 0.37; if (r >= 1) r -= 1; return r; };
    QCOMPARE(EstimateAmbientLight(grey, view, sequence), 306.0 / 765);
    // Half black, half white along X: the samples follow X = (r1 10000 - 1000) 0.9.
    QImage halves(1000, 700, QImage::Format_RGB32);
    halves.fill(Qt::white);
    QPainter(&halves).fillRect(0, 0, 500, 700, Qt::black);
    const auto left = [] { return 0.1; };  // X = 0: column 100, black
    QCOMPARE(EstimateAmbientLight(halves, view, left), 0.0);
    // An origin far right of the field: the samples shrink towards it and
    // fall beyond the right edge, where the edge pixel is read.
    view.FieldOriginX = 100000;
    QCOMPARE(EstimateAmbientLight(halves, view, left), 1.0);
}

void ViewRenderTest::sceneWidgetMapsMouseAndSize() {
    auto world = EmptyScene();
    Metaworld scene;
    scene.SetRenderSettings(NoGrid());
    scene.SetWorld(world.get());
    scene.resize(1000, 700);
    scene.show();
    QVERIFY(QTest::qWaitForWindowExposed(&scene));
    QCOMPARE(PointsPerPixelForWidth(scene.width()), 10.0);
    QCOMPARE(scene.heightForWidth(1000), 700);
    QSignalSpy pressed(&scene, &Metaworld::fieldMousePressed);
    QTest::mousePress(&scene, Qt::LeftButton, Qt::NoModifier, QPoint(300, 380));
    QCOMPARE(pressed.count(), 1);
    const FieldMouseEvent event = scene.LastPointer();
    QCOMPARE(event.FieldX, 2000.0);
    QCOMPARE(event.FieldY, 3000.0);
    QCOMPARE(event.Model.X, 2.0);
    QCOMPARE(event.Model.Y, 3.0);
    QCOMPARE(event.Button, Qt::LeftButton);
    scene.resize(500, 350);
    QCoreApplication::processEvents();
    QCOMPARE(PointsPerPixelForWidth(scene.width()), 20.0);

    // A Ctrl+Numpad 6 pan moves the origin, redraws and reports the change.
    HandWall& hand = world->Hands[static_cast<std::size_t>(NewObject(*world, KindHand).Number)];
    hand = {1, 1.0, -0.05, 0.5, 0.05, false, true};
    scene.resize(1000, 700);
    QCoreApplication::processEvents();
    QSignalSpy changed(&scene, &Metaworld::viewChanged);
    const QKeyEvent key(QEvent::KeyPress, Qt::Key_6, Qt::ControlModifier | Qt::KeypadModifier);
    NavigationInput input;
    input.Key = NavigationKeyOf(key);
    input.ControlOnly = ControlIsSoleModifier(key);
    input.WindowEnabled = true;
    int panStep = scene.PanStep();
    const NavigationResult result = ApplyNavigationKey(world->Params, panStep, input);
    scene.FollowNavigation(result);
    QVERIFY(result.Panned);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(world->Params.FieldOriginX, 800);
    const QImage snapshot = scene.Snapshot();
    QCOMPARE(snapshot.pixelColor(100, 580), ToQColor(Steel));  // moved 20 pixels left
    QCOMPARE(snapshot.pixelColor(140, 580), White);
    // The pointer display follows the moved view.
    QCOMPARE(scene.LastPointer().FieldX, 300 * 10.0 - 800);
}

QTEST_MAIN(ViewRenderTest)
// A celestial scene: black sky, field origin at its centre, bodies drawn as
// discs by the perspective projection, the nearest on top, the selected in
// the selected colour, bodies behind the observer not at all.
void ViewRenderTest::celestialBodiesOnABlackSky() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectCelestial;
    world->Params.FieldOriginX = 5000;
    world->Params.FieldOriginY = 3500;
    const double d = world->Celestial.ObserverDistance;
    auto add = [&](Vec3 position, double apparentRadius, Colour colour) {
        HBody& body = world->HBodies[static_cast<std::size_t>(++world->HBodyCount)];
        body.Exists = true;
        body.Movable = true;
        body.Position = position;
        body.Radius = apparentRadius * -position.Z / d;  // near enough for small bodies
        body.Colour = colour;
        return world->HBodyCount;
    };
    const Colour red = Rgb(200, 30, 30);
    const Colour green = Rgb(30, 200, 30);
    const Colour blue = Rgb(30, 30, 200);
    add({0, 0, -1e9}, 300, red);                  // far, large, at the centre
    add({1e8 * 300 / d, 0, -1e8}, 300, green);    // near, overlapping it on the right
    const int behind = add({0, 0, 1e9}, 300, blue);
    const int selected = add({-2e9 * 3000 / d, 2e9 * 2000 / d, -2e9}, 200, blue);
    world->HBodies[static_cast<std::size_t>(selected)].Selected = true;
    (void)behind;

    // 1000 x 700 pixels: ten field units per pixel, the field centre at (500, 350).
    const QImage image = Render(*world, NoGrid());
    QCOMPARE(At(image, 5, 5), QColor(0, 0, 0));
    QCOMPARE(At(image, 500 - 20, 350), ToQColor(red));
    QCOMPARE(At(image, 500 + 20, 350), ToQColor(green));  // the nearer covers the farther
    QCOMPARE(At(image, 500 + 30 + 25, 350), ToQColor(green));
    QCOMPARE(At(image, 500 - 300, 350 - 200), ToQColor(world->Params.Colors[1][1]));
    // Nothing else: the body behind the observer leaves the sky black.
    int blue_pixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) blue_pixels += At(image, x, y) == ToQColor(blue);
    QCOMPARE(blue_pixels, 0);
}

#include "view_render_test.moc"
