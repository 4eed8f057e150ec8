// The celestial time-scale window: "ОК" stores the typed scale as one edit,
// "Отмена" changes nothing.
#include <QtTest>

#include <cmath>
#include <memory>

#include "celestial/celestial_scenes.h"
#include "windows/celestial_time_window.h"
#include "windows/window_test_support.h"

using namespace velo;

class CelestialTimeWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void okStoresAndCancelKeeps() {
        auto world = testing::CelestialScene();
        int edits = 0;
        WorldEdit edit = [&](const QString& name, const std::function<void(World&)>& change) {
            QCOMPARE(name, QStringLiteral("Масштаб во времени"));
            ++edits;
            change(*world);
        };
        {
            frmHTime window(*world, edit);
            QCOMPARE(window.windowTitle(), QStringLiteral("Масштаб во времени"));
            SaveShot(window, QStringLiteral("frmHTime"));
            QCOMPARE(window.TimeField()->text(), QStringLiteral("3600"));
            QTest::keyClicks(window.TimeField(), QStringLiteral("0"));
            window.reject();
            QCOMPARE(edits, 0);
            QCOMPARE(world->Celestial.CelestialTimeScale, 3600.0);
        }
        frmHTime window(*world, edit);
        window.TimeField()->selectAll();
        QTest::keyClicks(window.TimeField(), QStringLiteral("86400,5"));
        window.accept();
        QCOMPARE(edits, 1);
        QCOMPARE(world->Celestial.CelestialTimeScale, 86400.5);
        QVERIFY(world->Changed);
    }

    void badTextsKeepTheScaleUsable() {
        auto world = testing::CelestialScene();
        frmHTime window(*world, [&](const QString&, const std::function<void(World&)>& change) { change(*world); });
        ThrowBadTexts(window, [](NumberField*, const char*) {});
        window.accept();
        QVERIFY(std::isfinite(world->Celestial.CelestialTimeScale));
    }
};

QTEST_MAIN(CelestialTimeWindowTest)
#include "celestial_time_window_test.moc"
