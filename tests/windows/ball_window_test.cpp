// The ball and cylinder window on a main window: opened by "Свойства",
// edits previewed in slot 0, "ОК" one step of the history, "Отмена" and a
// click on the main window discarding everything.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest/QtTest>

#include "editor/editor_harness.h"
#include "editor/scene_editor.h"
#include "persist/world_json.h"
#include "windows/air_window.h"
#include "windows/ball_window.h"
#include "windows/up_down.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

std::string Json(const World& w) { return WorldToJson(w, {}).dump(); }

void Type(NumberField* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

bool Normalised(const World& w, int n) {
    auto again = std::make_unique<World>(w);
    RecomputeBall(*again, n);
    const Ball& a = w.Balls[static_cast<std::size_t>(n)];
    const Ball& b = again->Balls[static_cast<std::size_t>(n)];
    return a.Mass == b.Mass && a.Volume == b.Volume && a.Inertia == b.Inertia && a.KineticEnergy == b.KineticEnergy &&
           std::isfinite(a.KineticEnergy) && std::isfinite(a.PotentialEnergy);
}

}  // namespace

class BallWindowTest : public QObject {
    Q_OBJECT

    struct Scene {
        WindowHarness harness;
        frmMain& window;
        SceneEditor& editor;
        int ball = 0;
        Scene() : window(*harness.window), editor(harness.window->editor()) {
            QLocale::setDefault(QLocale::c());
            window.NewMechanical();
            World& w = window.world();
            w.Params.FieldScale = 1000;
            w.Materials.MaterialCount = 2;
            w.Materials.Items[1].Density = 1000;
            w.Materials.Items[2].Density = 4000;
            w.Materials.Items[2].Name = "латунь";
            AddBall(w, {1, 1}, 0.2);
            ball = AddBall(w, {2, 1}, 0.5);
            w.Balls[static_cast<std::size_t>(ball)].Density = 1000;
            w.Balls[static_cast<std::size_t>(ball)].Material = 1;
            RecomputeBall(w, ball);
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            window.MWRefresh(true);
            w.CurrentKind = KindBall;
            w.CurrentNumber = ball;
        }
        World& w() { return window.world(); }
        prpBall* Open() {
            editor.PropertiesCommand();
            prpBall* opened = nullptr;
            for (prpBall* found : window.findChildren<prpBall*>()) {
                if (found->isVisible()) opened = found;
            }
            if (opened && !QTest::qWaitFor([opened] { return QApplication::activeWindow() == opened; })) return nullptr;
            return opened;
        }
    };

private slots:
    void opensOnTheBallAndPreviewsTheCopy() {
        Scene s;
        const std::string before = Json(s.w());
        prpBall* window = s.Open();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Свойства шара № 2"));
        QVERIFY(!s.w().Balls[2].Exists);
        QVERIFY(s.w().Balls[0].Exists);
        QVERIFY(!window->ValueField(ValueLength)->isVisibleTo(window));
        QCOMPARE(QApplication::focusWidget(), window->XField(1));
        QCOMPARE(window->XField(1)->selectedText(), window->XField(1)->text());
        QCOMPARE(window->ValueField(ValueDensity)->Value(), 1000.0);

        // A mass sets the density; the copy shows it at once, the ball not.
        const double volume = s.w().Balls[2].Volume;
        Type(window->ValueField(ValueMass), QStringLiteral("2"));
        QCOMPARE(window->ValueField(ValueDensity)->Value(), 2 / volume);
        QCOMPARE(s.w().Balls[0].Mass, 2.0);
        QCOMPARE(s.w().Balls[2].Density, 1000.0);
        // A radius beyond the field is struck through and changes nothing:
        // the copy keeps the 1 typed on the way.
        Type(window->ValueField(ValueRadius), QStringLiteral("11"));
        QVERIFY(window->ValueField(ValueRadius)->font().strikeOut());
        QCOMPARE(s.w().Balls[0].Radius, 1.0);
        Type(window->ValueField(ValueRadius), QStringLiteral("0.5"));
        // The acceleration is shown only: a typed text gives way at once.
        const QString acceleration = window->XField(2)->text();
        QTest::keyClicks(window->XField(2), QStringLiteral("5"));
        QCOMPARE(window->XField(2)->text(), acceleration);

        // A cylinder: its caption, its length, K 0.5.
        window->ShapeList()->setCurrentIndex(1);
        emit window->ShapeList()->activated(1);
        QCOMPARE(window->windowTitle(), QStringLiteral("Свойства цилиндра № 2"));
        QVERIFY(window->ValueField(ValueLength)->isVisibleTo(window));
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblLength"))->text(), QStringLiteral("Длина"));
        QCOMPARE(window->ValueField(ValueInertiaFactor)->Value(), 0.5);
        QVERIFY(!window->ValueField(ValueInertiaFactor)->isEnabled());
        window->MaterialList()->setCurrentIndex(2);
        emit window->MaterialList()->activated(2);
        QCOMPARE(window->ValueField(ValueDensity)->Value(), 4000.0);

        // The layer spinner, the mark and the menu's toggles.
        QTest::mouseClick(window->LayerSpinner()->UpButton(), Qt::LeftButton);
        QCOMPARE(window->LayerField()->text(), QStringLiteral("1"));
        QCOMPARE(QApplication::focusWidget(), window->LayerField());
        // 3 and 30 are layers, 300 is not: the field shows 30 again.
        Type(window->LayerField(), QStringLiteral("300"));
        QCOMPARE(window->LayerField()->text(), QStringLiteral("30"));
        QCOMPARE(int(s.w().Balls[0].Z), 30);
        window->MarkBox()->click();
        window->FreezeItem()->trigger();
        QVERIFY(!s.w().Balls[0].Movable);

        // "Ещё": the values with their units, a copy on the clipboard; the
        // menu does not count as leaving the window.
        QTest::mouseClick(window->MoreButton(), Qt::LeftButton);
        QVERIFY(window->MoreMenu()->isVisible());
        QCOMPARE(window->ValueItem(2)->text(), QStringLiteral("Диаметр: 1 м"));
        QStringList items;
        for (QAction* item : window->MoreMenu()->actions()) items << item->text();
        QVERIFY(items.contains(QStringLiteral("Отображать ВХ (кроме координат) в ПСК")));
        QVERIFY(items.contains(QStringLiteral("Отображать векторные характеристики в ДСК")));
        window->ValueItem(2)->trigger();
        window->MoreMenu()->close();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1"));
        QTest::qWait(20);
        QVERIFY(window->isVisible());
        QCOMPARE(std::string(Json(s.w())) == before, false);

        // "ОК": one step of the history.
        const int steps = s.editor.History().count();
        window->accept();
        QCOMPARE(s.editor.History().count(), steps + 1);
        const Ball& b = s.w().Balls[2];
        QVERIFY(b.Exists && b.Selected && !b.Movable && b.Marked);
        QCOMPARE(int(b.Shape), int(ShapeCylinder));
        QCOMPARE(int(b.Z), 30);
        QCOMPARE(b.Density, 4000.0);
        QVERIFY(!s.w().Balls[0].Exists);
        QCOMPARE(int(s.w().Params.DefaultMaterial), 2);
        QCOMPARE(s.editor.LastRadius(KindCylinder), 0.5);
        QVERIFY(Normalised(s.w(), 2));
        s.editor.History().undo();
        QCOMPARE(s.w().Balls[2].Density, 1000.0);
        QCOMPARE(int(s.w().Balls[2].Shape), int(ShapeBall));
        QVERIFY(s.w().Balls[2].Exists);
    }

    void cancelAndLeavingTheWindowDiscardTheEdits() {
        Scene s;
        const std::string before = Json(s.w());
        const int steps = s.editor.History().count();
        for (const bool leave : {false, true}) {
            QPointer<prpBall> window = s.Open();
            QVERIFY(window);
            Type(window->ValueField(ValueRadius), QStringLiteral("0.7"));
            Type(window->XField(1), QStringLiteral("3"));
            QCOMPARE(s.w().Balls[0].Radius, 0.7);
            if (leave) {
                s.window.activateWindow();
                QTRY_VERIFY(!window);
            } else {
                window->reject();
            }
            QCOMPARE(Json(s.w()), before);
            QCOMPARE(s.editor.History().count(), steps);
        }
    }

    void airInformationOpensFromTheAirFrameAndKeepsTheEdits() {
        Scene s;
        QPointer<prpBall> window = s.Open();
        QVERIFY(window);
        Type(window->ValueField(ValueRadius), QStringLiteral("0.7"));
        window->findChild<QPushButton*>(QStringLiteral("cmdAirInfo"))->click();
        auto* air = window->findChild<infAir*>();
        QVERIFY(air);
        QTRY_VERIFY(QApplication::activeWindow() == air);
        QVERIFY(window && window->isVisible());
        QCOMPARE(s.w().Balls[0].Radius, 0.7);
        window->accept();
        QCOMPARE(s.w().Balls[static_cast<std::size_t>(s.ball)].Radius, 0.7);
    }

    void freeMaterialSlotsAreNotOffered() {
        Scene s;
        s.w().Materials.MaterialCount = 3;
        s.w().Materials.Items[2].Name.clear();  // deleted
        s.w().Materials.Items[3].Name = "медь";
        prpBall* window = s.Open();
        QVERIFY(window);
        auto* materials = window->findChild<QComboBox*>(QStringLiteral("ind"));
        QVERIFY(materials);
        QCOMPARE(materials->count(), 4);
        auto* model = qobject_cast<QStandardItemModel*>(materials->model());
        QVERIFY(model && !model->item(2)->isEnabled() && model->item(3)->isEnabled());
        window->reject();
    }

    void badTextsNeverReachTheWorld() {
        Scene s;
        s.w().CurrentKind = KindCylinder;  // the dispatch of a cylinder
        const std::string before = Json(s.w());
        prpBall* window = s.Open();
        QVERIFY(window);
        window->NonUniformBox()->click();
        window->BindBox()->click();
        window->BindBox()->click();
        const Ball original = s.w().Balls[2];
        ThrowBadTexts(*window, [&](NumberField* field, const char* text) {
            const Ball& copy = s.w().Balls[0];
            const std::string what = field->objectName().toStdString() + ": " + text;
            QVERIFY2(std::isfinite(copy.KineticEnergy) && std::isfinite(copy.Mass) && copy.Mass > 0, what.c_str());
            QVERIFY2(s.w().Balls[2].Mass == original.Mass, what.c_str());
        });
        QVERIFY(window->isVisible());
        window->accept();
        QVERIFY(Normalised(s.w(), 2));
        s.editor.History().undo();
        QCOMPARE(Json(s.w()), before);
    }

    // With VELO_SHOT_FOLDER set: the window on a ball of an example scene,
    // "window_ball.png", or "window_ball_200.png" at twice the scale.
    void screenshot() {
        const QString shots = qEnvironmentVariable("VELO_SHOT_FOLDER");
        if (shots.isEmpty()) QSKIP("VELO_SHOT_FOLDER not set");
        // The pictures show the window as a Russian user sees it.
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        WindowHarness harness;
        frmMain& main = *harness.window;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.Startup(QStringLiteral("\"" VELO_SOURCE_DIR "/examples/balls_in_wind.qvs\""));
        World& w = main.world();
        ClearSelection(w);
        w.CurrentKind = KindBall;
        w.CurrentNumber = 0;
        for (int n = w.BallCount; n >= 1; --n) {
            if (w.Balls[static_cast<std::size_t>(n)].Exists) w.CurrentNumber = n;
        }
        QVERIFY(w.CurrentNumber > 0);
        main.editor().PropertiesCommand();
        auto* window = main.findChild<prpBall*>("prpBall");
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::qWait(50);
        const bool doubled = window->devicePixelRatio() > 1.5;
        QVERIFY(window->grab().save(QDir(shots).filePath(doubled ? "window_ball_200.png" : "window_ball.png")));
        QVERIFY(main.grab().save(QDir(shots).filePath(doubled ? "scene_ball_200.png" : "scene_ball.png")));
        window->reject();
    }
};

QTEST_MAIN(BallWindowTest)
#include "ball_window_test.moc"
