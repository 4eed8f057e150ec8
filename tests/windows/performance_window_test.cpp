// frmPerformance, "Настройка производительности": the step limit and the
// interval fields with their refusals, the last run's rate, the halftone
// box and slider, and what "ОК" writes.
#include <QTest>

#include "windows/performance_window.h"
#include "windows/settings_test_support.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

void Retype(NumberField* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    TypeText(field, text);
}

}  // namespace

class PerformanceWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void lastRunShownOnlyAfterARun_data() {
        QTest::addColumn<double>("tps");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no run yet") << 0.0 << QString();
        QTest::newRow("measured") << 1234.9 << QStringLiteral("Последняя имитация: 1234 tps");
    }
    void lastRunShownOnlyAfterARun() {
        QFETCH(double, tps);
        QFETCH(QString, shown);
        RecordingSettings recording;
        PerformanceWindowServices services;
        services.LastTps = tps;
        auto& window = *new frmPerformance(*recording.Settings, services);
        QLabel* label = Find<QLabel>(window, "lblLastRun");
        QCOMPARE(label->isHidden(), shown.isEmpty());
        if (!shown.isEmpty()) QCOMPARE(label->text(), shown);
    }

    void fieldsRefuseWhatIsNoStepLimitOrInterval_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("stored");
        QTest::newRow("interval") << "Text2" << "20" << false << "Latency" << "20";
        QTest::newRow("interval, fraction") << "Text2" << "12,7" << false << "Latency" << "12";
        // Typed key by key, a refused text leaves the last value the field took.
        QTest::newRow("interval too long") << "Text2" << "300" << true << "Latency" << "30";
        QTest::newRow("interval negative") << "Text2" << "-7" << true << "Latency" << "0";
        QTest::newRow("steps") << "Text1" << "250,4" << false << "Pipeline" << "250";
        QTest::newRow("steps zero") << "Text1" << "0" << true << "Pipeline" << "100";
        QTest::newRow("steps no number") << "Text1" << "-" << true << "Pipeline" << "100";
    }
    void fieldsRefuseWhatIsNoStepLimitOrInterval() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, setting);
        QFETCH(QString, stored);
        RecordingSettings recording;
        int redraws = 0;
        PerformanceWindowServices services;
        services.Redraw = [&redraws] { ++redraws; };
        auto& window = *new frmPerformance(*recording.Settings, services);
        auto* entry = Find<NumberField>(window, field.toUtf8().constData());
        Retype(entry, typed);
        QTEST(entry->Refused(), "refused");
        window.accept();
        QCOMPARE(recording.Text(setting.toStdString()), stored.toStdString());
        QCOMPARE(redraws, 1);
    }

    void badTextsNeverReachTheSettings() {
        RecordingSettings recording;
        auto& window = *new frmPerformance(*recording.Settings, {});
        ThrowBadTexts(window, [](NumberField*, const char*) {});
        window.accept();
        const int pipeline = recording.Settings->Number("Pipeline");
        const int latency = recording.Settings->Number("Latency");
        QVERIFY(pipeline >= 1);
        QVERIFY(latency >= 0 && latency <= 255);
    }

    void halftoneAndAntiAliasingFromTheirControls() {
        RecordingSettings recording;
        auto& window = *new frmPerformance(*recording.Settings, {});
        QSlider* slider = Find<QSlider>(window, "sldHalftone");
        QCOMPARE(slider->value(), 8);  // the default band width 0.2
        QVERIFY(Find(window, "chkHalftone")->isChecked() && slider->isEnabled());
        QVERIFY(Find(window, "chkGdi")->isChecked());
        slider->setValue(4);
        Find(window, "chkHalftone")->click();
        QVERIFY(!slider->isEnabled());
        Find(window, "chkGdi")->click();
        SaveShot(window, QStringLiteral("settings_performance"));
        window.accept();
        QVERIFY(!recording.Settings->Flag("ShadedBalls"));
        QCOMPARE(recording.Settings->Real("GradientDensity"), 0.1);
        QCOMPARE(recording.Text("UseGDI+"), std::string("False"));
        // The halftone values live for this run only.
        QCOMPARE(recording.Text("ShadedBalls"), std::string("—"));
        const std::vector<std::string> order = {"Pipeline", "Latency", "UseGDI+"};
        QCOMPARE(recording.Store->WriteOrder, order);
    }
};

QTEST_MAIN(PerformanceWindowTest)
#include "performance_window_test.moc"
