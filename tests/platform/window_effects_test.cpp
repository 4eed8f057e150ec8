// The transparency of the property windows and the fading of dialogs in
// and out, through the window opacity.
#include <QApplication>
#include <QDialog>
#include <QTest>

#include "platform/settings.h"
#include "platform/window_effects.h"

using namespace velo;

class WindowEffectsTest : public QObject {
    Q_OBJECT
private slots:
    void restingOpacityFollowsTheSettings_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("cleared");  // a setting turned off first
        QTest::addColumn<bool>("supported");
        QTest::addColumn<double>("opacity");
        QTest::addColumn<double>("shown");  // once shown and active
        const double semi = SemiTransparentOpacity;
        QTest::newRow("suspension point") << "prpLaval" << "" << true << semi << semi;
        // The rod's extra windows turn opaque while active.
        QTest::newRow("rod's extras") << "prpPeg3" << "" << true << semi << 1.0;
        QTest::newRow("rod's extras, fixed") << "prpPeg2" << "AutoTransparency" << true << semi << semi;
        QTest::newRow("ball: never") << "prpBall" << "" << true << 1.0 << 1.0;
        QTest::newRow("plane turned off") << "prpPlane" << "TransparentPlane" << true << 1.0 << 1.0;
        QTest::newRow("all turned off") << "prpHandWall" << "TransparentWindows" << true << 1.0 << 1.0;
        QTest::newRow("system without it") << "prpLaval" << "" << false << 1.0 << 1.0;
    }
    void restingOpacityFollowsTheSettings() {
        QFETCH(QString, window);
        QFETCH(QString, cleared);
        QFETCH(bool, supported);
        QFETCH(double, opacity);
        QFETCH(double, shown);
        MemorySettings settings;
        if (!cleared.isEmpty()) settings.SetBool(cleared.toStdString(), false);
        WindowEffects effects(settings, supported);
        QDialog dialog;
        dialog.setObjectName(window);
        QCOMPARE(effects.RestingOpacity(dialog), opacity);

        // Shown, the dialog fades in.
        qApp->installEventFilter(&effects);
        dialog.show();
        QTRY_COMPARE_WITH_TIMEOUT(qRound(dialog.windowOpacity() * 100), qRound(shown * 100), 3000);
        qApp->removeEventFilter(&effects);
    }

    void noFramesMeansAtOnce() {
        MemorySettings settings;
        settings.SetInt("FramesOnShow", 0);
        WindowEffects effects(settings, true);
        qApp->installEventFilter(&effects);
        QDialog dialog;
        dialog.setObjectName(QStringLiteral("prpLaval"));
        dialog.show();
        QCOMPARE(dialog.windowOpacity(), SemiTransparentOpacity);
        qApp->removeEventFilter(&effects);
    }

    // Hidden, a dialog leaves a picture of itself that fades and goes; with
    // no frames it simply goes.
    void hiddenDialogFadesOut() {
        for (const int frames : {5, 0}) {
            MemorySettings settings;
            settings.SetInt("FramesOnHide", frames);
            WindowEffects effects(settings, true);
            qApp->installEventFilter(&effects);
            QDialog dialog;
            dialog.resize(200, 100);
            dialog.show();
            dialog.accept();
            QCOMPARE(FadingPictures(), frames > 0 ? 1 : 0);
            QTRY_COMPARE_WITH_TIMEOUT(FadingPictures(), 0, 3000);
            qApp->removeEventFilter(&effects);
        }
    }

    // An open property window takes the transparency of changed settings.
    void openWindowsTakeChangedTransparency() {
        MemorySettings settings;
        settings.SetInt("FramesOnShow", 0);
        settings.SetInt("FramesOnTransparency", 0);
        WindowEffects effects(settings, true);
        qApp->installEventFilter(&effects);
        QDialog dialog;
        dialog.setObjectName(QStringLiteral("prpLaval"));
        dialog.show();
        QCOMPARE(dialog.windowOpacity(), SemiTransparentOpacity);
        settings.SetBool("TransparentWindows", false);
        effects.Restyle();
        QCOMPARE(dialog.windowOpacity(), 1.0);
        qApp->removeEventFilter(&effects);
    }

private:
    static int FadingPictures() {
        int count = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("fadeOut") && window->isVisible()) ++count;
        }
        return count;
    }
};

QTEST_MAIN(WindowEffectsTest)
#include "window_effects_test.moc"
