// frmTransparencies, "Настройка прозрачности": the automatic change follows
// the rod option; "ОК" keeps the values for this run only.
#include <QTest>

#include "windows/settings_test_support.h"
#include "windows/transparencies_window.h"
#include "windows/window_test_support.h"

using namespace velo;

class TransparenciesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void okKeepsTheBoxesInMemoryOnly() {
        RecordingSettings recording;
        auto& window = *new frmTransparencies(*recording.Settings);
        for (const char* name : {"chkLaval", "chkWallHand", "chkPlane", "chkRodExtras", "chkAuto"}) {
            QVERIFY2(Find(window, name)->isChecked(), name);
        }
        QVERIFY(Find(window, "chkAuto")->isEnabled());
        Find(window, "chkRodExtras")->click();
        QVERIFY(!Find(window, "chkAuto")->isEnabled());
        Find(window, "chkPlane")->click();
        SaveShot(window, QStringLiteral("settings_transparencies"));
        window.accept();
        QVERIFY(!recording.Settings->Flag("TransparentRodExtras"));
        QVERIFY(!recording.Settings->Flag("TransparentPlane"));
        QVERIFY(recording.Settings->Flag("TransparentLaval"));
        QVERIFY(recording.Store->WriteOrder.empty());
    }
};

QTEST_MAIN(TransparenciesWindowTest)
#include "transparencies_window_test.moc"
