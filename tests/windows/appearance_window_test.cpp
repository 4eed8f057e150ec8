// frmAppearance, "Настройка внешнего вида": the classic captions and their
// note, transparency where the system has none, and what "ОК" writes.
#include <QPushButton>
#include <QTest>

#include "windows/appearance_window.h"
#include "windows/settings_test_support.h"
#include "windows/window_test_support.h"

using namespace velo;

class AppearanceWindowTest : public QObject {
    Q_OBJECT
private slots:
    void classicCaptionsWhereTheSystemHasThem_data() {
        QTest::addColumn<int>("layer");  // -1: no compatibility layer
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<bool>("written");
        QTest::newRow("no layer") << -1 << false << false;
        QTest::newRow("unchanged") << 0 << false << false;
        QTest::newRow("classic on") << 0 << true << true;
        QTest::newRow("classic off") << 1 << true << true;
    }
    void classicCaptionsWhereTheSystemHasThem() {
        QFETCH(int, layer);
        QFETCH(bool, toggle);
        QFETCH(bool, written);
        RecordingSettings recording;
        std::optional<bool> wrote;
        AppearanceWindowServices services;
        if (layer >= 0) services.ClassicCaptions = layer == 1;
        services.WriteClassicCaptions = [&wrote](bool classic) {
            wrote = classic;
            return true;
        };
        auto& window = *new frmAppearance(*recording.Settings, services);
        QCheckBox* classic = Find(window, "chkClassic");
        QCOMPARE(classic->isEnabled(), layer >= 0);
        QCOMPARE(classic->isChecked(), layer == 1);
        if (toggle) classic->click();
        QCOMPARE(!Find<QLabel>(window, "lblClassicNote")->isHidden(), toggle);
        if (toggle) {
            classic->click();  // back to the state of the system: no note
            QVERIFY(Find<QLabel>(window, "lblClassicNote")->isHidden());
            classic->click();
        }
        window.accept();
        QCOMPARE(wrote.has_value(), written);
        if (written) QCOMPARE(*wrote, layer != 1);
    }

    // Unsupported transparency disables its box and button and keeps the
    // user's choice for a system that can show it; the panel box never acts.
    void transparencyUnsupportedDisablesItsBoxAndButton() {
        for (const bool supported : {true, false}) {
            RecordingSettings recording;
            AppearanceWindowServices services;
            services.TransparencySupported = supported;
            auto& window = *new frmAppearance(*recording.Settings, services);
            QCOMPARE(Find(window, "chkTransparent")->isChecked(), supported);
            QCOMPARE(Find(window, "chkTransparent")->isEnabled(), supported);
            QCOMPARE(Find(window, "chkTransparent")->toolTip().isEmpty(), supported);
            QCOMPARE(Find<QPushButton>(window, "cmdTransparencies")->isEnabled(), supported);
            QVERIFY(!Find(window, "chkHidePanel")->isEnabled() && !Find(window, "chkHidePanel")->toolTip().isEmpty());
            if (supported) SaveShot(window, QStringLiteral("settings_appearance"));
            window.accept();
            QCOMPARE(recording.Text("TransparentWindows"), std::string("True"));
        }
    }

    void okWritesTheFiveValuesAndAppliesThem() {
        RecordingSettings recording;
        int applied = 0;
        AppearanceWindowServices services;
        services.Applied = [&applied] { ++applied; };
        auto& window = *new frmAppearance(*recording.Settings, services);
        QVERIFY(!Find(window, "chkExitProg")->isChecked());
        QVERIFY(Find(window, "chkExitFile")->isChecked());
        Find(window, "chkExitProg")->click();
        Find(window, "chkSeparators")->click();
        window.accept();
        QCOMPARE(applied, 1);
        const std::vector<std::string> order = {"ShowExitProg", "ShowExitFile", "ShowSeparators", "TransparentWindows",
                                                "HideSystemPanel"};
        QCOMPARE(recording.Store->WriteOrder, order);
        QCOMPARE(recording.Text("ShowExitProg"), std::string("True"));
        QCOMPARE(recording.Text("ShowSeparators"), std::string("False"));
    }
};

QTEST_MAIN(AppearanceWindowTest)
#include "appearance_window_test.moc"
