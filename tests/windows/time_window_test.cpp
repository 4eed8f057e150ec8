// frmTime, "Масштаб во времени": the slider, the two options, the step cap,
// one step of the history on OK.
#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QUndoStack>

#include <cmath>

#include "editing/world_change.h"
#include "editor/scene_editor.h"
#include "editor/editor_harness.h"
#include "windows/time_window.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

frmTime* OpenTimeWindow(frmMain& window) {
    window.Item(QStringLiteral("mnTime"))->trigger();
    return window.findChild<frmTime*>(QStringLiteral("frmTime"));
}

void SaveShot(QWidget& widget, const char* name) {
    const QString folder = qEnvironmentVariable("VELO_WINDOW_SHOTS");
    if (!folder.isEmpty()) widget.grab().save(folder + QLatin1Char('/') + QString::fromUtf8(name));
}

}  // namespace

class TimeWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void SliderOptionsAndOkMakeOneStep() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        window.NewMechanical();
        window.world().Units.TimeUnitName = " мин ";
        frmTime* time = OpenTimeWindow(window);
        QVERIFY(time);
        QCOMPARE(time->windowTitle(), QStringLiteral("Масштаб во времени"));
        QCOMPARE(time->Slider()->value(), 0);
        QVERIFY(!time->SlowerOption()->isChecked() && !time->FasterOption()->isChecked());
        QCOMPARE(time->VisibleFrame(), -1);
        QCOMPARE(time->MaxStepField()->text(), QStringLiteral("0,001"));
        QCOMPARE(time->TimeUnitLabel()->toolTip(), QStringLiteral("мин"));

        time->Slider()->setValue(5);
        QVERIFY(time->FasterOption()->isChecked() && !time->SlowerOption()->isChecked());
        QCOMPARE(time->VisibleFrame(), 0);
        QVERIFY(time->FrameText().contains(QStringLiteral("2,49 раза быстрее")));
        // The other option mirrors the slider; the option of its own side
        // leaves it.
        QTest::mouseClick(time->SlowerOption(), Qt::LeftButton);
        QCOMPARE(time->Slider()->value(), -5);
        QVERIFY(time->SlowerOption()->isChecked() && !time->FasterOption()->isChecked());
        QCOMPARE(time->VisibleFrame(), 1);
        QTest::mouseClick(time->SlowerOption(), Qt::LeftButton);
        QCOMPARE(time->Slider()->value(), -5);
        QVERIFY(time->SlowerOption()->isChecked());

        time->MaxStepField()->selectAll();
        QTest::keyClicks(time->MaxStepField(), QStringLiteral("0,002"));
        time->show();
        SaveShot(*time, "window_time.png");
        QUndoStack& history = window.editor().History();
        const int steps = history.count();
        time->accept();
        QCOMPARE(history.count(), steps + 1);
        QCOMPARE(window.world().Params.TimeScale, std::pow(1.2, 5));
        QCOMPARE(window.world().Params.MaxStep, 0.002);
        QVERIFY(window.world().Changed);
        history.undo();
        QCOMPARE(window.world().Params.TimeScale, 1.0);
        QCOMPARE(window.world().Params.MaxStep, 0.001);
    }

    void CancelAndUntouchedOkChangeNothing() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        window.NewMechanical();
        window.world().Params.TimeScale = 2;  // between two slider positions
        const auto before = std::make_unique<World>(window.world());
        QUndoStack& history = window.editor().History();
        const int steps = history.count();

        frmTime* time = OpenTimeWindow(window);
        QCOMPARE(time->Slider()->value(), -4);
        time->Slider()->setValue(7);
        time->reject();
        QTRY_VERIFY(!window.findChild<frmTime*>());
        time = OpenTimeWindow(window);
        time->accept();
        QCOMPARE(history.count(), steps);
        QVERIFY(DiffWorlds(*before, window.world()).Empty());
        QCOMPARE(window.world().Params.TimeScale, 2.0);
    }

    void BadStepTextsNeverReachTheWorld() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        window.NewMechanical();
        frmTime* time = OpenTimeWindow(window);
        ThrowBadTexts(*time, [&](NumberField* field, const char* text) {
            QVERIFY2(field->Value() > 0, text);
            QCOMPARE(window.world().Params.MaxStep, 0.001);
        });
        // Zero and negative steps are refused as typed.
        for (const char* refused : {"0", "-0,5", "0e5"}) {
            time->MaxStepField()->selectAll();
            QTest::keyClicks(time->MaxStepField(), QString::fromUtf8(refused));
            QVERIFY2(time->MaxStepField()->Refused(), refused);
        }
        const double kept = time->MaxStepField()->Value();
        time->accept();
        QCOMPARE(window.world().Params.MaxStep, kept);
        QVERIFY(kept > 0 && std::isfinite(kept));
    }

    void MiddleButtonOpensItOnlyInAMechanicalProject() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        harness.settings.SetInt("MiddleMouseKey", 2);
        window.NewMechanical();
        FieldMouseEvent click;
        click.FieldX = 9000;
        click.FieldY = 6000;
        click.Button = Qt::MiddleButton;
        window.editor().Release(click);
        frmTime* time = window.findChild<frmTime*>();
        QVERIFY(time);
        time->reject();
        QTRY_VERIFY(!window.findChild<frmTime*>());

        window.NewCelestial();
        window.Item(QStringLiteral("mnTime"))->trigger();
        QVERIFY(!window.findChild<frmTime*>());
    }
};

QTEST_MAIN(TimeWindowTest)
#include "time_window_test.moc"
