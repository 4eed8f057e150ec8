// Field mapping, clamp, grid spacing, 10 : 7 fitting and keyboard navigation.
#include <QKeyEvent>
#include <QtTest>

#include "view/scene_widget.h"
#include "view/view_transform.h"

using namespace velo;

class ViewTransformTest : public QObject {
    Q_OBJECT
private slots:
    void modelToField_data();
    void modelToField();
    void fieldToModelIsNotClamped();
    void pixelMappingRoundTrip();
    void defaultOriginPixel();
    void gridSpacing_data();
    void gridSpacing();
    void fitField_data();
    void fitField();
    void navigation_data();
    void navigation();
    void stepToggleReturns_data();
    void stepToggleReturns();
    void nothingWhileRunningOrDisabled();
    void lockedViewStillRedrawsOnPlusMinus();
    void keypadKeysFromEvents();
};

void ViewTransformTest::modelToField_data() {
    QTest::addColumn<double>("model");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("field");
    QTest::newRow("inside") << 1.5 << 1000.0 << 1500.0;
    QTest::newRow("negative inside") << -2.25 << 100.0 << -225.0;
    QTest::newRow("exactly at limit") << 1000.0 << 1000.0 << 1000000.0;
    QTest::newRow("2000 units at 1000 clamps") << 2000.0 << 1000.0 << 1000000.0;
    QTest::newRow("negative clamps with sign") << -2000.0 << 1000.0 << -1000000.0;
    QTest::newRow("infinity clamps") << std::numeric_limits<double>::infinity() << 1000.0 << 1000000.0;
}

void ViewTransformTest::modelToField() {
    QFETCH(double, model);
    QFETCH(double, scale);
    QFETCH(double, field);
    QCOMPARE(ModelToFieldCoord(model, scale), field);
    const Vec2 both = ModelToField({model, -model}, scale);
    QCOMPARE(both.X, field);
    QCOMPARE(both.Y, -field);
}

void ViewTransformTest::fieldToModelIsNotClamped() {
    const Vec2 model = FieldToModel({5e6, -7e6}, 1000);
    QCOMPARE(model.X, 5000.0);
    QCOMPARE(model.Y, -7000.0);
}

void ViewTransformTest::pixelMappingRoundTrip() {
    Parameters params;
    params.FieldOriginX = 2500;
    params.FieldOriginY = 4000;
    params.FieldScale = 250;
    const ViewTransform view = ViewTransform::FromParameters(params, 1600);
    QCOMPARE(view.PointsPerPixel, 6.25);
    // Field (X, Y) lies at ((X + OX) / ppp, (OY - Y) / ppp).
    QCOMPARE(view.PixelX(0), 400.0);
    QCOMPARE(view.PixelY(0), 640.0);
    QCOMPARE(view.PixelX(-2500), 0.0);
    QCOMPARE(view.PixelY(4000), 0.0);
    const Vec2 model = view.PixelToModel(123.5, 456.25);
    const Vec2 back = view.ModelToPixel(model);
    QCOMPARE(back.X, 123.5);
    QCOMPARE(back.Y, 456.25);
    QCOMPARE(view.RightEdge(), 7500.0);
    QCOMPARE(view.BottomEdge(), -3000.0);
}

void ViewTransformTest::defaultOriginPixel() {
    const ViewTransform view = ViewTransform::FromParameters(Parameters{}, 1000);
    QCOMPARE(view.PointsPerPixel, 10.0);
    const Vec2 origin = view.ModelToPixel({0, 0});
    QCOMPARE(origin.X, 100.0);
    QCOMPARE(origin.Y, 680.0);
    // A clamped point is drawn far outside the field.
    const Vec2 far = view.ModelToPixel({2000, 0});
    QCOMPARE(far.X, (1000000.0 + 1000) / 10);
}

void ViewTransformTest::gridSpacing_data() {
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("units");
    QTest::newRow("1000") << 1000.0 << 1.0;
    QTest::newRow("100") << 100.0 << 10.0;
    QTest::newRow("2000") << 2000.0 << 0.1;
    QTest::newRow("1600 boundary") << 1600.0 << 1.0;
    QTest::newRow("1601 just over") << 1601.0 << 0.1;
}

void ViewTransformTest::gridSpacing() {
    QFETCH(double, scale);
    QFETCH(double, units);
    QCOMPARE(GridSpacingUnits(scale), units);
    const double points = GridSpacingUnits(scale) * scale;
    QVERIFY(points >= 160 - 1e-9 && points <= 1600 + 1e-9);
}

void ViewTransformTest::fitField_data() {
    QTest::addColumn<int>("availableWidth");
    QTest::addColumn<int>("availableHeight");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("wide area: full height, narrower") << 1600 << 700 << 1000 << 700;
    QTest::newRow("tall area: full width, lower") << 1000 << 900 << 1000 << 700;
    QTest::newRow("exact 10:7") << 1000 << 700 << 1000 << 700;
    QTest::newRow("rounding") << 1001 << 2000 << 1001 << 701;
}

void ViewTransformTest::fitField() {
    QFETCH(int, availableWidth);
    QFETCH(int, availableHeight);
    QFETCH(int, width);
    QFETCH(int, height);
    const SceneSize size = FitField(availableWidth, availableHeight);
    QCOMPARE(size.Width, width);
    QCOMPARE(size.Height, height);
}

void ViewTransformTest::navigation_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("control");
    QTest::addColumn<bool>("invert");
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<int>("originX");
    QTest::addColumn<int>("originY");
    QTest::addColumn<double>("scale");
    // Start: origin (1000, 6800), scale 1000, step 200.
    const auto k = [](NavigationKey key) { return static_cast<int>(key); };
    QTest::newRow("8 up") << k(NavigationKey::Pad8) << true << false << true << 1000 << 7000 << 1000.0;
    QTest::newRow("2 down") << k(NavigationKey::Pad2) << true << false << true << 1000 << 6600 << 1000.0;
    QTest::newRow("4 left") << k(NavigationKey::Pad4) << true << false << true << 1200 << 6800 << 1000.0;
    QTest::newRow("6 right") << k(NavigationKey::Pad6) << true << false << true << 800 << 6800 << 1000.0;
    QTest::newRow("7") << k(NavigationKey::Pad7) << true << false << true << 1200 << 7000 << 1000.0;
    QTest::newRow("9") << k(NavigationKey::Pad9) << true << false << true << 800 << 7000 << 1000.0;
    QTest::newRow("1") << k(NavigationKey::Pad1) << true << false << true << 1200 << 6600 << 1000.0;
    QTest::newRow("3") << k(NavigationKey::Pad3) << true << false << true << 800 << 6600 << 1000.0;
    QTest::newRow("0 centre") << k(NavigationKey::Pad0) << true << false << true << 5000 << 3500 << 1000.0;
    QTest::newRow("plus zooms in") << k(NavigationKey::PadPlus) << true << false << true << 1000 << 6800 << 1100.0;
    QTest::newRow("minus zooms out") << k(NavigationKey::PadMinus) << true << false << true << 1000 << 6800 << 1000.0 / 1.1;
    QTest::newRow("inverted 8") << k(NavigationKey::Pad8) << true << true << true << 1000 << 6600 << 1000.0;
    QTest::newRow("inverted 4") << k(NavigationKey::Pad4) << true << true << true << 800 << 6800 << 1000.0;
    QTest::newRow("inverted 7") << k(NavigationKey::Pad7) << true << true << true << 800 << 6600 << 1000.0;
    QTest::newRow("inverted 3") << k(NavigationKey::Pad3) << true << true << true << 1200 << 7000 << 1000.0;
    QTest::newRow("inverted 0 still centres") << k(NavigationKey::Pad0) << true << true << true << 5000 << 3500 << 1000.0;
    QTest::newRow("inverted plus still zooms in") << k(NavigationKey::PadPlus) << true << true << true << 1000 << 6800 << 1100.0;
    QTest::newRow("no Ctrl: no pan") << k(NavigationKey::Pad8) << false << false << true << 1000 << 6800 << 1000.0;
    QTest::newRow("no Ctrl: no zoom") << k(NavigationKey::PadPlus) << false << false << true << 1000 << 6800 << 1000.0;
    QTest::newRow("locked: no pan") << k(NavigationKey::Pad6) << true << false << false << 1000 << 6800 << 1000.0;
    QTest::newRow("locked: no zoom") << k(NavigationKey::PadMinus) << true << false << false << 1000 << 6800 << 1000.0;
    QTest::newRow("locked: no centre") << k(NavigationKey::Pad0) << true << false << false << 1000 << 6800 << 1000.0;
}

void ViewTransformTest::navigation() {
    QFETCH(int, key);
    QFETCH(bool, control);
    QFETCH(bool, invert);
    QFETCH(bool, unlocked);
    QFETCH(int, originX);
    QFETCH(int, originY);
    QFETCH(double, scale);
    Parameters params;
    params.ViewUnlocked = unlocked;
    int step = InitialPanStep;
    NavigationInput input;
    input.Key = static_cast<NavigationKey>(key);
    input.ControlOnly = control;
    input.InvertNavigation = invert;
    const NavigationResult result = ApplyNavigationKey(params, step, input);
    QCOMPARE(params.FieldOriginX, originX);
    QCOMPARE(params.FieldOriginY, originY);
    QCOMPARE(params.FieldScale, scale);
    QCOMPARE(step, InitialPanStep);
    const bool moved = originX != 1000 || originY != 6800;
    QCOMPARE(result.Panned, moved);
    QCOMPARE(result.Zoomed, scale != 1000.0);
    QCOMPARE(result.RepeatPointerMove, unlocked);
    if (moved || scale != 1000.0) QVERIFY(result.Redraw);
}

void ViewTransformTest::stepToggleReturns_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("afterOne");
    QTest::newRow("from 200") << 200 << 10;
    QTest::newRow("from 10") << 10 << 200;
    QTest::newRow("100 counts as small") << 100 << 200;
    QTest::newRow("101 counts as large") << 101 << 10;
}

void ViewTransformTest::stepToggleReturns() {
    QFETCH(int, start);
    QFETCH(int, afterOne);
    Parameters params;
    int step = start;
    NavigationInput input;
    input.Key = NavigationKey::Pad5;
    input.ControlOnly = true;
    input.InvertNavigation = true;  // inversion does not touch the step
    QVERIFY(ApplyNavigationKey(params, step, input).StepToggled);
    QCOMPARE(step, afterOne);
    ApplyNavigationKey(params, step, input);
    if (start == 10 || start == 200) QCOMPARE(step, start);
    // The toggled step is what the next pan uses.
    step = 10;
    input.Key = NavigationKey::Pad6;
    input.InvertNavigation = false;
    ApplyNavigationKey(params, step, input);
    QCOMPARE(params.FieldOriginX, 990);
}

void ViewTransformTest::nothingWhileRunningOrDisabled() {
    for (int variant = 0; variant < 2; ++variant) {
        Parameters params;
        int step = InitialPanStep;
        NavigationInput input;
        input.Key = NavigationKey::PadPlus;
        input.ControlOnly = true;
        input.Running = variant == 0;
        input.WindowEnabled = variant != 1;
        const NavigationResult result = ApplyNavigationKey(params, step, input);
        QCOMPARE(params.FieldScale, 1000.0);
        QVERIFY(!result.Redraw && !result.RepeatPointerMove);
    }
}

void ViewTransformTest::lockedViewStillRedrawsOnPlusMinus() {
    Parameters params;
    params.ViewUnlocked = false;
    int step = InitialPanStep;
    NavigationInput input;
    input.Key = NavigationKey::PadMinus;
    const NavigationResult result = ApplyNavigationKey(params, step, input);
    QVERIFY(result.Redraw);
    QVERIFY(!result.Zoomed);
    QVERIFY(!result.RepeatPointerMove);
}

void ViewTransformTest::keypadKeysFromEvents() {
    const QKeyEvent ctrlPad8(QEvent::KeyPress, Qt::Key_8, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(NavigationKeyOf(ctrlPad8), NavigationKey::Pad8);
    QVERIFY(ControlIsSoleModifier(ctrlPad8));
    const QKeyEvent mainRow8(QEvent::KeyPress, Qt::Key_8, Qt::ControlModifier);
    QCOMPARE(NavigationKeyOf(mainRow8), NavigationKey::None);
    const QKeyEvent ctrlShiftPlus(QEvent::KeyPress, Qt::Key_Plus,
                                  Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    QCOMPARE(NavigationKeyOf(ctrlShiftPlus), NavigationKey::PadPlus);
    QVERIFY(!ControlIsSoleModifier(ctrlShiftPlus));
    // Without NumLock the keypad reports its arrow meanings.
    const QKeyEvent padLeft(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(NavigationKeyOf(padLeft), NavigationKey::Pad4);
}

QTEST_MAIN(ViewTransformTest)
#include "view_transform_test.moc"
