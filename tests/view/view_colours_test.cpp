// Colour helpers, object colours by state, widths and the shaded ball picture.
#include <QtTest>

#include <memory>

#include "model/world.h"
#include "model/world_ops.h"
#include "view/colours.h"
#include "view/world_renderer.h"

using namespace velo;

class ViewColoursTest : public QObject {
    Q_OBJECT
private slots:
    void mixColourTiesToEven_data();
    void mixColourTiesToEven();
    void mixColourStaysInRange();
    void shadeByLayer_data();
    void shadeByLayer();
    void brightnessAndArgb();
    void fixedObjectColour();
    void rodWidth_data();
    void rodWidth();
    void polylineWidth_data();
    void polylineWidth();
    void ballStepsAtFullAmbientLight();
    void ballSteps_data();
    void ballSteps();
    void ballPictureDiscs();
    void ballRefreshRemembersItsPicture();
    void movableColoursByState();
    void threadColours();
};

void ViewColoursTest::mixColourTiesToEven_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<double>("t");
    QTest::addColumn<int>("expected");
    // Halfway values round to the even neighbour: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
    QTest::newRow("halves") << Rgb(0, 0, 0) << Rgb(1, 3, 5) << 0.5 << Rgb(0, 2, 2);
    QTest::newRow("halves upward") << Rgb(0, 0, 0) << Rgb(7, 9, 255) << 0.5 << Rgb(4, 4, 128);
    QTest::newRow("from a towards b") << Rgb(10, 20, 30) << Rgb(20, 40, 60) << 0.25 << Rgb(12, 25, 38);
    QTest::newRow("t = 0 gives a") << Rgb(1, 2, 3) << Rgb(200, 100, 50) << 0.0 << Rgb(1, 2, 3);
    QTest::newRow("t = 1 gives b") << Rgb(1, 2, 3) << Rgb(200, 100, 50) << 1.0 << Rgb(200, 100, 50);
    QTest::newRow("downwards") << Rgb(255, 255, 255) << Rgb(0, 0, 0) << 0.5 << Rgb(128, 128, 128);
}

void ViewColoursTest::mixColourTiesToEven() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(double, t);
    QFETCH(int, expected);
    QCOMPARE(MixColour(a, b, t), expected);
}

void ViewColoursTest::mixColourStaysInRange() {
    // A factor beyond 1 saturates a channel instead of spilling into the next.
    QCOMPARE(MixColour(Black, Rgb(200, 100, 0), 3.0), Rgb(255, 255, 0));
    QCOMPARE(MixColour(Rgb(100, 100, 100), Black, 2.0), Rgb(0, 0, 0));
    QCOMPARE(MixColour(Black, Rgb(200, 100, 0), std::nan("")), Rgb(0, 0, 0));
}

void ViewColoursTest::shadeByLayer_data() {
    QTest::addColumn<int>("z");
    QTest::addColumn<double>("observerZ");
    QTest::addColumn<double>("ambient");
    QTest::addColumn<int>("expected");
    const int c = Rgb(200, 100, 37);
    // Layer 255 at observer 500: f = (244/245)^2, t = 0.99593.
    QTest::newRow("layer 255") << 255 << 500.0 << 0.5 << Rgb(199, 100, 37);
    // Layer 0: f = (244/500)^2 lifted by the ambient term, t = 0.61907.
    QTest::newRow("layer 0") << 0 << 500.0 << 0.5 << Rgb(124, 62, 23);
    QTest::newRow("layer 0, no ambient") << 0 << 500.0 << 0.0 << Rgb(48, 24, 9);
    QTest::newRow("full ambient keeps colour") << 0 << 500.0 << 1.0 << c;
    QTest::newRow("observer at 256 with no ambient is black") << 10 << 256.0 << 0.0 << Rgb(0, 0, 0);
    QTest::newRow("observer on the layer keeps colour") << 100 << 100.0 << 0.5 << c;
    QTest::newRow("observer behind the layers saturates") << 50 << 100.0 << 0.0 << Rgb(255, 255, 255);
}

void ViewColoursTest::shadeByLayer() {
    QFETCH(int, z);
    QFETCH(double, observerZ);
    QFETCH(double, ambient);
    QFETCH(int, expected);
    QCOMPARE(ShadeByLayer(Rgb(200, 100, 37), z, observerZ, ambient), expected);
}

void ViewColoursTest::brightnessAndArgb() {
    QCOMPARE(Brightness(Rgb(255, 255, 255)), 1.0);
    QCOMPARE(Brightness(Rgb(255, 0, 0)), 1.0 / 3);
    QCOMPARE(ToArgb(Rgb(0x12, 0x34, 0x56)), 0xFF123456u);
    QCOMPARE(ToQColor(Rgb(0x12, 0x34, 0x56)), QColor(0x12, 0x34, 0x56));
}

void ViewColoursTest::fixedObjectColour() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->Materials.Items[1].Colour = Rgb(10, 20, 30);
    const auto& fixed = world->Params.Colors[ColorsFixed];
    QCOMPARE(FixedObjectColour(*world, 1, false, 0), Rgb(10, 20, 30));
    QCOMPARE(FixedObjectColour(*world, 1, true, 0), fixed[ColorsSelected]);
    QCOMPARE(FixedObjectColour(*world, 1, false, ChangeableMarker), fixed[ColorsChangeable]);
    // The working copy wins over the selection.
    QCOMPARE(FixedObjectColour(*world, 1, true, ChangeableMarker), fixed[ColorsChangeable]);
    QCOMPARE(FixedObjectColour(*world, 1, true, 17), fixed[ColorsSelected]);
    // A suspension point has no material: black.
    QCOMPARE(FixedObjectColour(*world, -1, false, 0), Black);
    QCOMPARE(fixed[ColorsSelected], 0xDD0000);
    QCOMPARE(fixed[ColorsChangeable], 0xCC);
}

void ViewColoursTest::rodWidth_data() {
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("pixels");
    QTest::newRow("one pixel") << 0.01 << 1;
    QTest::newRow("thinner than a pixel") << 0.0001 << 1;
    QTest::newRow("zero") << 0.0 << 1;
    QTest::newRow("half rounds to even") << 0.025 << 2;
    QTest::newRow("three and a half") << 0.035 << 4;
    QTest::newRow("capped at 1000") << 100.0 << 1000;
}

void ViewColoursTest::rodWidth() {
    QFETCH(double, width);
    QFETCH(int, pixels);
    ViewTransform view;  // scale 1000, 10 points per pixel
    QCOMPARE(RodWidthPixels(width, view), pixels);
}

void ViewColoursTest::polylineWidth_data() {
    QTest::addColumn<double>("halfThickness");
    QTest::addColumn<int>("pixels");
    QTest::newRow("no thickness is 1 pixel") << 0.0 << 1;
    QTest::newRow("thin") << 0.001 << 1;
    QTest::newRow("half rounds up") << 0.0125 << 3;
    QTest::newRow("default 0.05") << 0.05 << 10;
}

void ViewColoursTest::polylineWidth() {
    QFETCH(double, halfThickness);
    QFETCH(int, pixels);
    ViewTransform view;
    QCOMPARE(PolylineWidthPixels(halfThickness, view), pixels);
}

void ViewColoursTest::ballStepsAtFullAmbientLight() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    world->Params.AmbientLight = 1;
    world->Materials.Items[1].Colour = Rgb(250, 10, 10);
    const int n = NewObject(*world, KindBall).Number;
    QVERIFY(n > 0);
    Ball& ball = world->Balls[static_cast<std::size_t>(n)];
    ball.Shape = ShapeBall;
    ball.Radius = 5;  // large enough that any brightness difference would matter
    ball.Allow3D = true;
    ball.Selected = false;
    ball.Material = 1;
    ball.Z = 0;
    WorldRenderer renderer;
    renderer.BallRefresh(*world, n);
    const BallElement& element = renderer.BallElementOf(n);
    // The shadow equals the colour, the brightness difference is 0: 3 steps.
    QCOMPARE(element.ShadowColour, element.PictureColour);
    QCOMPARE(element.PictureColour, Rgb(250, 10, 10));
    QCOMPARE(element.Steps, 3);
    QVERIFY(element.PictureVisible);
    QVERIFY(!element.FlatVisible);
    QVERIFY(world->Balls[static_cast<std::size_t>(n)].Allow3D);
}

void ViewColoursTest::ballSteps_data() {
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("s");
    QTest::addColumn<double>("radius");
    QTest::addColumn<int>("steps");
    // White against the half shadow (128, 128, 128): difference 381/765.
    QTest::newRow("white ball") << Rgb(255, 255, 255) << Rgb(128, 128, 128) << 0.1 << 9;
    QTest::newRow("small ball keeps 3") << Rgb(255, 255, 255) << Rgb(128, 128, 128) << 0.01 << 3;
    QTest::newRow("huge ball capped at 250") << Rgb(255, 255, 255) << Rgb(0, 0, 0) << 10.0 << 250;
    QTest::newRow("same colours") << Rgb(9, 9, 9) << Rgb(9, 9, 9) << 10.0 << 3;
}

void ViewColoursTest::ballSteps() {
    QFETCH(int, c);
    QFETCH(int, s);
    QFETCH(double, radius);
    QFETCH(int, steps);
    QCOMPARE(BallSteps(c, s, 0.2, radius, 1000), steps);
}

void ViewColoursTest::ballPictureDiscs() {
    const int c = Rgb(200, 0, 0);
    const int s = Rgb(100, 0, 0);
    const std::vector<BallDisc> three = BallPictureDiscs(3, s, c);
    QCOMPARE(three.size(), std::size_t{3});
    QCOMPARE(three[0].Radius, 3000);
    QCOMPARE(three[1].Radius, 2449);  // 3000 sqrt(2/3)
    QCOMPARE(three[2].Radius, 1732);  // 3000 sqrt(1/3)
    QCOMPARE(three[0].Fill, MixColour(s, c, std::sqrt(1.0 / 3)));
    QCOMPARE(three[1].Fill, MixColour(s, c, std::sqrt(2.0 / 3)));
    QCOMPARE(three[2].Fill, c);  // the centre has the full colour
    QCOMPARE(three[0].Fill, Rgb(158, 0, 0));
    // Steps are clamped to 3..250.
    QCOMPARE(BallPictureDiscs(1, s, c).size(), std::size_t{3});
    QCOMPARE(BallPictureDiscs(1000, s, c).size(), std::size_t{250});
    const std::vector<BallDisc> many = BallPictureDiscs(250, s, c);
    for (std::size_t i = 1; i < many.size(); ++i) QVERIFY(many[i].Radius <= many[i - 1].Radius);
    QPicture picture;
    QVERIFY(CreateBallPicture(3, s, c, picture));
    QVERIFY(picture.size() > 0);
    QCOMPARE(picture.boundingRect(), QRect(-3000, -3000, 6000, 6000));
}

void ViewColoursTest::ballRefreshRemembersItsPicture() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    const int n = NewObject(*world, KindBall).Number;
    Ball& ball = world->Balls[static_cast<std::size_t>(n)];
    ball.Shape = ShapeBall;
    ball.Radius = 0.2;
    ball.Allow3D = true;
    ball.Selected = false;
    WorldRenderer renderer;
    renderer.BallRefresh(*world, n);
    const char* first = renderer.BallElementOf(n).Picture.data();
    renderer.BallRefresh(*world, n);
    QCOMPARE(renderer.BallElementOf(n).Picture.data(), first);  // same inputs: not rebuilt
    ball.Selected = true;
    renderer.BallRefresh(*world, n);
    QCOMPARE(renderer.BallElementOf(n).PictureColour,
             ShadeByLayer(world->Params.Colors[ColorsMovable][ColorsSelected], ball.Z, 500, 0.5));
    // Flat balls take the colour a quarter of the way towards the shadow.
    RenderSettings flat;
    flat.ShadedBalls = false;
    renderer.SetSettings(flat);
    renderer.BallRefresh(*world, n);
    const BallElement& element = renderer.BallElementOf(n);
    QVERIFY(element.FlatVisible && !element.PictureVisible);
    QCOMPARE(element.FlatColour, MixColour(element.PictureColour, element.ShadowColour, 0.25));
}

void ViewColoursTest::movableColoursByState() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->Materials.Items[1].Colour = Rgb(0, 200, 0);
    const int cylinder = NewObject(*world, KindCylinder).Number;
    Ball& ball = world->Balls[static_cast<std::size_t>(cylinder)];
    ball.Shape = ShapeCylinder;
    ball.Radius = 0.1;
    ball.Selected = false;
    ball.Marked = true;
    ball.Z = 255;
    const int rod = NewObject(*world, KindPeg).Number;
    world->Pegs[static_cast<std::size_t>(rod)].Selected = false;
    world->Pegs[static_cast<std::size_t>(rod)].Z = 255;
    world->Pegs[static_cast<std::size_t>(rod)].Width = 0.05;
    WorldRenderer renderer;
    renderer.MWRefresh(*world, QSize(1000, 700));
    const Colour shaded = ShadeByLayer(Rgb(0, 200, 0), 255, 500, 0.5);
    // A cylinder is flat in its own (shaded) colour and carries its mark.
    QCOMPARE(renderer.BallElementOf(cylinder).FlatColour, shaded);
    QVERIFY(renderer.BallElementOf(cylinder).FlatVisible);
    QVERIFY(renderer.BallElementOf(cylinder).MarkVisible);
    QCOMPARE(renderer.BallElementOf(cylinder).MarkColour, 0xFFFFFF);
    QCOMPARE(renderer.PegElementOf(rod).LineColour, shaded);
    QCOMPARE(renderer.PegElementOf(rod).WidthPixels, 5);
    // Slot 0 (the edit copy) always takes the changeable colour.
    world->Pegs[0] = world->Pegs[static_cast<std::size_t>(rod)];
    renderer.PegRefresh(*world, 0);
    QCOMPARE(renderer.PegElementOf(0).LineColour,
             ShadeByLayer(world->Params.Colors[ColorsMovable][ColorsChangeable], 255, 500, 0.5));
}

void ViewColoursTest::threadColours() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->Materials.Items[1].Colour = Rgb(0, 0, 250);
    NewObject(*world, KindLaval);
    const int n = NewObject(*world, KindThread).Number;
    QVERIFY(n > 0);
    Thread& thread = world->Threads[static_cast<std::size_t>(n)];
    thread.Material = 1;
    thread.Selected = false;
    thread.Z = 0;
    WorldRenderer renderer;
    renderer.ThreadHalfRefresh(*world, n);
    QCOMPARE(renderer.ThreadElementOf(n).LineColour, ShadeByLayer(Rgb(0, 0, 250), 0, 500, 0.5));
    // A full redraw colours threads with the movable colours, not the material.
    renderer.MWRefresh(*world, QSize(1000, 700));
    QCOMPARE(renderer.ThreadElementOf(n).LineColour, world->Params.Colors[ColorsMovable][ColorsNormal]);
    thread.Selected = true;
    renderer.MWRefresh(*world, QSize(1000, 700));
    QCOMPARE(renderer.ThreadElementOf(n).LineColour, world->Params.Colors[ColorsMovable][ColorsSelected]);
    // Clearing the selection happens before the colours are chosen.
    ClearSelection(*world);
    renderer.MWRefresh(*world, QSize(1000, 700));
    QVERIFY(!thread.Selected);
    QCOMPARE(renderer.ThreadElementOf(n).LineColour, world->Params.Colors[ColorsMovable][ColorsNormal]);
}

QTEST_MAIN(ViewColoursTest)
#include "view_colours_test.moc"
