// frmControl, "Настройки управления": the two box-and-list settings, the
// zero-support box that keeps "Выбрать всё" off support 0, and the order
// "ОК" writes in.
#include <QAction>
#include <QTest>

#include "editor/editor_harness.h"
#include "windows/control_window.h"
#include "windows/settings_test_support.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

const QStringList MiddleCaptions = {QStringLiteral("Параметры имитации"), QStringLiteral("Масштаб во времени")};

}  // namespace

class ControlWindowTest : public QObject {
    Q_OBJECT
private slots:
    void listsFollowTheirSettings_data() {
        QTest::addColumn<QString>("middle");
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("middleChecked");
        QTest::addColumn<int>("middleEntry");
        QTest::addColumn<bool>("sizeChecked");
        QTest::addColumn<int>("sizeEntry");
        QTest::newRow("defaults") << "1" << "2" << true << 0 << true << 1;
        QTest::newRow("nothing") << "0" << "0" << false << 0 << false << 1;  // unchecked shows "среднего"
        QTest::newRow("time scale, large") << "2" << "3" << true << 1 << true << 2;
        QTest::newRow("beyond the lists") << "200" << "9" << false << 0 << false << 1;  // none, kept by OK
    }
    void listsFollowTheirSettings() {
        QFETCH(QString, middle);
        QFETCH(QString, size);
        RecordingSettings recording(StoredTexts{{"MiddleMouseKey", middle.toStdString()}, {"BallSize", size.toStdString()}});
        auto& window = *new frmControl(*recording.Settings, MiddleCaptions);
        QTEST(Find(window, "chkMiddle")->isChecked(), "middleChecked");
        QTEST(Find<QComboBox>(window, "cmbMiddle")->currentIndex(), "middleEntry");
        QTEST(Find<QComboBox>(window, "cmbMiddle")->isEnabled(), "middleChecked");
        QTEST(Find(window, "chkBallSize")->isChecked(), "sizeChecked");
        QTEST(Find<QComboBox>(window, "cmbBallSize")->currentIndex(), "sizeEntry");
        QCOMPARE(Find<QComboBox>(window, "cmbBallSize")->itemText(1), QStringLiteral("среднего"));
        // OK on untouched lists writes back what was stored.
        auto& untouched = *new frmControl(*recording.Settings, MiddleCaptions);
        untouched.accept();
        QCOMPARE(QString::fromStdString(recording.Text("MiddleMouseKey")), middle);
        QCOMPARE(QString::fromStdString(recording.Text("BallSize")), size);
        // The list follows its box.
        Find(window, "chkMiddle")->click();
        QCOMPARE(Find<QComboBox>(window, "cmbMiddle")->isEnabled(), Find(window, "chkMiddle")->isChecked());
    }

    // The checked box keeps "Выбрать всё" off the zero-level support, and
    // the box shows what the stored value does.
    void zeroSupportBoxDecidesWhatSelectAllTakes() {
        for (const bool keepZero : {false, true}) {
            RecordingSettings recording(StoredTexts{{"SelectNullHand", keepZero ? "True" : "False"}});
            auto& shown = *new frmControl(*recording.Settings, MiddleCaptions);
            QCOMPARE(Find(shown, "chkZeroSupport")->isChecked(), keepZero);
            shown.accept();
            QCOMPARE(recording.Text("SelectNullHand"), std::string(keepZero ? "True" : "False"));

            WindowHarness harness;
            harness.window->NewMechanical();
            harness.window->world().Hands[0].Exists = true;
            auto& window = *new frmControl(harness.settings, MiddleCaptions);
            if (Find(window, "chkZeroSupport")->isChecked() != keepZero) Find(window, "chkZeroSupport")->click();
            window.accept();
            harness.window->Item(QStringLiteral("mnSelAll"))->trigger();
            QCOMPARE(harness.window->world().Hands[0].Selected, !keepZero);
        }
    }

    void okWritesInItsOrderCancelWritesNothing() {
        RecordingSettings recording;
        (new frmControl(*recording.Settings, MiddleCaptions))->reject();
        QVERIFY(recording.Store->WriteOrder.empty());

        auto& window = *new frmControl(*recording.Settings, MiddleCaptions);
        Find<QComboBox>(window, "cmbMiddle")->setCurrentIndex(1);
        Find(window, "chkBallSize")->click();
        Find(window, "chkInvert")->click();
        Find(window, "chkAllowMoving")->click();
        SaveShot(window, QStringLiteral("settings_control"));
        window.accept();
        const std::vector<std::string> order = {"InvertNavigation", "NoCreateMarkedObjects", "SelectNullHand",
                                                "AllowMoving", "MiddleMouseKey", "BallSize"};
        QCOMPARE(recording.Store->WriteOrder, order);
        QCOMPARE(recording.Text("MiddleMouseKey"), std::string("2"));
        QCOMPARE(recording.Text("BallSize"), std::string("0"));
        QCOMPARE(recording.Text("InvertNavigation"), std::string("True"));
        QCOMPARE(recording.Text("AllowMoving"), std::string("False"));
        QVERIFY(!recording.Settings->Flag("AllowMoving"));
    }
};

QTEST_MAIN(ControlWindowTest)
#include "control_window_test.moc"
