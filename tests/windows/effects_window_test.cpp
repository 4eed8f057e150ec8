// frmEffects, "Настройка видеоэффектов": the frame counts and the frame
// rate brought into 10 to 100; nothing written to the store.
#include <QTest>

#include "windows/effects_window.h"
#include "windows/settings_test_support.h"
#include "windows/window_test_support.h"

using namespace velo;

class EffectsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void frameRateKeptWithinItsRange_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rate");
        QTest::newRow("within") << "60" << 60;
        QTest::newRow("too low") << "5" << 10;
        QTest::newRow("too high") << "250" << 100;
        QTest::newRow("no number") << "abc" << 10;
    }
    void frameRateKeptWithinItsRange() {
        QFETCH(QString, typed);
        RecordingSettings recording;
        auto& window = *new frmEffects(*recording.Settings);
        QCOMPARE(Find<QSlider>(window, "sldShow")->value(), 7);
        QCOMPARE(Find<QSlider>(window, "sldHide")->value(), 5);
        QCOMPARE(Find<QSlider>(window, "sldTransparency")->value(), 4);
        auto* fps = Find<NumberField>(window, "txtFps");
        QCOMPARE(fps->Value(), 50.0);
        fps->selectAll();
        QTest::keyClick(fps, Qt::Key_Delete);
        TypeText(fps, typed);
        Find<QSlider>(window, "sldHide")->setValue(12);
        if (typed == QLatin1String("60")) SaveShot(window, QStringLiteral("settings_effects"));
        window.accept();
        QTEST(recording.Settings->Number("MaxFrameRate"), "rate");
        QCOMPARE(recording.Settings->Number("FramesOnHide"), 12);
        QVERIFY(recording.Store->WriteOrder.empty());
    }
};

QTEST_MAIN(EffectsWindowTest)
#include "effects_window_test.moc"
