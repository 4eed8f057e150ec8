// Every example scene opens in the main window and draws something.
#include <QDir>
#include <QImage>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <set>

#include "editor_harness.h"
#include "view/view_transform.h"

using namespace velo;

class ScreenshotTest : public QObject {
    Q_OBJECT

private slots:
    void examplesDraw_data();
    void examplesDraw();
};

void ScreenshotTest::examplesDraw_data() {
    QTest::addColumn<QString>("file");
    const QDir examples(QStringLiteral(VELO_SOURCE_DIR "/examples"));
    const QStringList files = examples.entryList({QStringLiteral("*.qvs")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) QSKIP("no example scenes in examples/");
    for (const QString& name : files) QTest::newRow(qPrintable(name)) << examples.filePath(name);
}

void ScreenshotTest::examplesDraw() {
    QFETCH(QString, file);
    WindowHarness harness;
    frmMain& window = *harness.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Startup(QLatin1Char('"') + file + QLatin1Char('"'));
    QCOMPARE(window.world().ProjectKind, ProjectMechanical);
    QCOMPARE(window.project().CurrentPath.string(), file.toStdString());

    const QImage scene = window.Scene()->Snapshot();
    QVERIFY(!scene.isNull());
    // The scene keeps the 10 : 7 shape of the field.
    QVERIFY(std::abs(scene.width() * 0.7 - scene.height()) <= 1.0);
    // Not blank: a good share of pixels differ from the background, and
    // there is more than one colour besides it.
    const QRgb background = scene.pixel(0, 0);
    int differing = 0;
    std::set<QRgb> colours;
    for (int y = 0; y < scene.height(); y += 2) {
        for (int x = 0; x < scene.width(); x += 2) {
            const QRgb pixel = scene.pixel(x, y);
            if (pixel != background) ++differing;
            if (colours.size() < 64) colours.insert(pixel);
        }
    }
    QVERIFY2(differing > 50, qPrintable(QStringLiteral("%1 differing pixels").arg(differing)));
    QVERIFY(colours.size() >= 3);

    // Supports and walls show their colour at the pixel the field mapping
    // gives for their centre.
    const World& world = window.world();
    const ViewTransform view = ViewTransform::FromParameters(world.Params, scene.width());
    int checked = 0;
    auto expectDrawnAt = [&](Vec2 model, const char* what, int number) {
        const Vec2 pixel = view.ModelToPixel(model);
        const int x = static_cast<int>(std::floor(pixel.X));
        const int y = static_cast<int>(std::floor(pixel.Y));
        if (x < 0 || y < 0 || x >= scene.width() || y >= scene.height()) return;
        ++checked;
        // A symbol one pixel thin may fall on the next pixel row or column.
        bool drawn = false;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int px = std::clamp(x + dx, 0, scene.width() - 1);
                const int py = std::clamp(y + dy, 0, scene.height() - 1);
                drawn = drawn || scene.pixel(px, py) != background;
            }
        }
        QVERIFY2(drawn,
                 qPrintable(QStringLiteral("%1 %2 not drawn at (%3, %4)").arg(what).arg(number).arg(x).arg(y)));
    };
    for (int n = 0; n <= world.HandCount; ++n) {
        const HandWall& hand = world.Hands[n];
        if (hand.Exists) expectDrawnAt(Vec2{(hand.Bound1 + hand.Bound2) / 2, hand.Coord}, "support", n);
    }
    for (int n = 1; n <= world.WallCount; ++n) {
        const HandWall& wall = world.Walls[n];
        if (wall.Exists) expectDrawnAt(Vec2{wall.Coord, (wall.Bound1 + wall.Bound2) / 2}, "wall", n);
    }
    for (int n = 1; n <= world.LavalCount; ++n) {
        if (world.Lavals[n].Exists) expectDrawnAt(world.Lavals[n].Position, "suspension point", n);
    }
    qInfo("%d fixed objects checked", checked);

    const QString shots = qEnvironmentVariable("VELO_SHOT_FOLDER");
    if (!shots.isEmpty()) window.grab().save(QDir(shots).filePath(QFileInfo(file).baseName() + ".png"));
}

QTEST_MAIN(ScreenshotTest)
#include "editor_screenshot_test.moc"
