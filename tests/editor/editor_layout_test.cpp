// The layout of the main window: the scene keeps the 10 : 7 field, the side
// panels follow its right edge, the bottom panels lie under it.
#include <QLabel>
#include <QToolBar>
#include <QtTest>

#include "editor_harness.h"

using namespace velo;

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void sceneKeepsTenBySeven_data();
    void sceneKeepsTenBySeven();
    void progtimerCatchesUpALayoutChange();
    void withZero_data();
    void withZero();
};

void LayoutTest::sceneKeepsTenBySeven_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("heightLimits");
    QTest::newRow("wide window") << 1800 << 700 << true;
    QTest::newRow("tall window") << 800 << 1100 << false;
    QTest::newRow("screen-sized") << 1600 << 1200 << false;
}

void LayoutTest::sceneKeepsTenBySeven() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, heightLimits);
    WindowHarness harness;
    frmMain& window = *harness.window;
    window.NewMechanical();
    window.resize(width, height);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* area = window.centralWidget();
    QTRY_VERIFY(area->width() > 0);
    const QWidget* scene = window.Scene();
    QVERIFY(std::abs(scene->width() * 0.7 - scene->height()) <= 1.0);
    const int margin = SceneLeftMarginTwips / 15;
    const int side = SidePanelWidthTwips / 15;
    const int bottom = BottomPanelHeightTwips / 15;
    const int availableWidth = area->width() - 2 * margin - side;
    const int availableHeight = area->height() - 2 * margin - bottom - 10;
    if (heightLimits) {
        QCOMPARE(scene->height(), availableHeight);
        QVERIFY(scene->width() < availableWidth);
    } else {
        QCOMPARE(scene->width(), availableWidth);
        QVERIFY(scene->height() <= availableHeight);
    }
    QCOMPARE(window.world().PointsPerPixel, 10000.0 / scene->width());
    auto* make = window.findChild<QWidget*>(QStringLiteral("frmMake"));
    auto* print = window.findChild<QWidget*>(QStringLiteral("frmPrint"));
    QCOMPARE(make->x(), scene->x() + scene->width());
    QCOMPARE(print->y(), 2 * scene->y() + scene->height());
}

// Hiding the toolbars gives the central area more room without a resize of
// the main window; the periodic re-layout while stopped catches that up.
void LayoutTest::progtimerCatchesUpALayoutChange() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    window.NewMechanical();
    window.resize(1800, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QWidget* scene = window.Scene();
    QTRY_VERIFY(scene->height() > 0);
    const int before = scene->height();
    QVERIFY(window.Progtimer()->isActive());
    for (QToolBar* bar : window.findChildren<QToolBar*>()) bar->hide();
    QTRY_VERIFY_WITH_TIMEOUT(scene->height() > before, 3000);
    QVERIFY(std::abs(scene->width() * 0.7 - scene->height()) <= 1.0);
}

void LayoutTest::withZero_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("point") << ".5" << "0.5";
    QTest::newRow("minus point") << "-.25" << "-0.25";
    QTest::newRow("blanks") << "  3.5 " << "3.5";
    QTest::newRow("whole") << "-2" << "-2";
}

void LayoutTest::withZero() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(WithZero(text), shown);
}

QTEST_MAIN(LayoutTest)
#include "editor_layout_test.moc"
