// frmSettings, "Общие настройки": the start project's box and list, the
// note about the next start, and what "ОК" and "Отмена" write.
#include <QTest>

#include "windows/settings_test_support.h"
#include "windows/settings_window.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

const QStringList StartCaptions = {QStringLiteral("Механическая система"), QStringLiteral("Система небесной механики")};

}  // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheStoredStartProject_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("entry");
        QTest::newRow("none") << "0" << false << 0;
        QTest::newRow("mechanical") << "1" << true << 0;
        QTest::newRow("celestial") << "2" << true << 1;
        QTest::newRow("beyond the list") << "9" << false << 0;  // none, kept by OK
    }
    void opensWithTheStoredStartProject() {
        QFETCH(QString, stored);
        QFETCH(bool, checked);
        QFETCH(int, entry);
        RecordingSettings recording(StoredTexts{{"StartImitType", stored.toStdString()}, {"NoChangeI", "True"}});
        auto& window = *new frmSettings(*recording.Settings, StartCaptions, true);
        QCOMPARE(Find(window, "chkStart")->isChecked(), checked);
        QCOMPARE(Find<QComboBox>(window, "cmbStart")->currentIndex(), entry);
        QCOMPARE(Find<QComboBox>(window, "cmbStart")->isEnabled(), checked);
        QVERIFY(Find(window, "chkNoChangeI")->isChecked());
        QVERIFY(!Find(window, "chkNoChangeB")->isChecked());
        QVERIFY(Find<QLabel>(window, "lblNote")->isHidden());
        window.accept();
        QCOMPARE(QString::fromStdString(recording.Text("StartImitType")), stored);
    }

    void startProjectAndEncryptionShowTheNote_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("start box") << "chkStart";
        QTest::newRow("encryption") << "chkEncrypt";
        QTest::newRow("start list") << "cmbStart";
    }
    void startProjectAndEncryptionShowTheNote() {
        QFETCH(QString, control);
        RecordingSettings recording;
        auto& window = *new frmSettings(*recording.Settings, StartCaptions, true);
        if (control == QLatin1String("cmbStart")) {
            Find<QComboBox>(window, "cmbStart")->setCurrentIndex(1);
        } else {
            Find(window, control.toUtf8().constData())->click();
        }
        QVERIFY(!Find<QLabel>(window, "lblNote")->isHidden());
    }

    // Where the system has no folder encryption the box shows the stored
    // value, cannot be changed and says why; OK writes the value back.
    void encryptionUnsupportedKeepsItsValue() {
        RecordingSettings recording(StoredTexts{{"EncryptTempFiles", "True"}});
        auto& window = *new frmSettings(*recording.Settings, StartCaptions, false);
        QCheckBox* box = Find(window, "chkEncrypt");
        QVERIFY(box->isChecked() && !box->isEnabled() && !box->toolTip().isEmpty());
        box->click();
        window.accept();
        QCOMPARE(recording.Text("EncryptTempFiles"), std::string("True"));
    }

    void okWritesCancelKeepsEverything() {
        RecordingSettings recording(StoredTexts{{"NoChangeM", "True"}});
        {
            auto* window = new frmSettings(*recording.Settings, StartCaptions, true);
            Find(*window, "chkEncrypt")->click();
            window->reject();
        }
        QVERIFY(recording.Store->WriteOrder.empty());

        auto& window = *new frmSettings(*recording.Settings, StartCaptions, true);
        Find<QComboBox>(window, "cmbStart")->setCurrentIndex(1);
        Find(window, "chkNoChangeB")->click();
        Find(window, "chkEncrypt")->click();
        SaveShot(window, QStringLiteral("settings_general"));
        window.accept();
        QCOMPARE(recording.Text("StartImitType"), std::string("2"));
        QCOMPARE(recording.Text("NoChangeB"), std::string("True"));
        QCOMPARE(recording.Text("NoChangeI"), std::string("False"));
        QCOMPARE(recording.Text("NoChangeM"), std::string("True"));
        QCOMPARE(recording.Text("EncryptTempFiles"), std::string("True"));

        // Unchecking the box stores "no project", whatever the list shows.
        auto& again = *new frmSettings(*recording.Settings, StartCaptions, true);
        Find(again, "chkStart")->click();
        again.accept();
        QCOMPARE(recording.Settings->Number("StartImitType"), 0);
        QCOMPARE(recording.Text("StartImitType"), std::string("0"));
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "settings_window_test.moc"
