// The windows of the fixed objects opened from "Свойства" on a small scene:
// typing previews the working copy, "ОК" is one step of the history,
// "Отмена" and another window taking the focus change nothing, and no text
// thrown at a field reaches the World.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest/QtTest>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

#include "editing/creation.h"
#include "editing/world_change.h"
#include "editor/editor_harness.h"
#include "editor/scene_editor.h"
#include "windows/bar_window.h"
#include "windows/curve_window.h"
#include "windows/laval_window.h"
#include "windows/plane_window.h"
#include "windows/surface_window.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

// What a record holds must stay finite and within what the fields take.
bool Sound(double value) { return std::isfinite(value) && std::fabs(value) <= 2 * LargestCoordinate; }
bool Sound(Vec2 p) { return Sound(p.X) && Sound(p.Y); }

bool RecordsSound(const World& w) {
    bool sound = Sound(w.Lavals[1].Position) && Sound(w.Planes[1].P1) && Sound(w.Planes[1].P2) &&
                 Sound(w.Planes[1].HalfThickness) && Sound(w.Surfaces2[1].Centre) && Sound(w.Surfaces2[1].ParamA) &&
                 Sound(w.Surfaces2[1].ParamB) && Sound(w.Surfaces2[1].TFrom) && Sound(w.Surfaces2[1].TTo) &&
                 Sound(w.Surfaces[1].HalfThickness) && Sound(w.Surfaces2[1].HalfThickness);
    for (const HandWall* bar : {&w.Hands[0], &w.Hands[1], &w.Walls[1]}) {
        sound = sound && Sound(bar->Coord) && Sound(bar->Bound1) && Sound(bar->Bound2) && bar->HalfThickness > 0 &&
                Sound(bar->HalfThickness);
    }
    for (const Vec2& p : w.Surfaces[1].Points) sound = sound && Sound(p);
    return sound && w.Surfaces[1].PointCount >= 2 && w.Surfaces[1].PointCount <= SurfacePointCapacity;
}

// A support, a wall, a plane, a polyline and a parabola, a suspension point
// with a rod hung on it, and the ZeroSupport on.
struct Scene {
    WindowHarness harness;
    frmMain& window;
    SceneEditor& editor;
    Scene() : window(*harness.window), editor(harness.window->editor()) {
        window.NewMechanical();
        World& w = window.world();
        w.Hands[0].Exists = true;
        CreateLaval(w, {0, 2});
        CreateRod(w, {-0.5, 2}, {1.5, 2}, 0);
        CreateBar(w, KindHand, 0.5, -1, 1);
        CreateBar(w, KindWall, 3, 0, 2);
        CreatePlane(w, {0, 0}, {1, 1});
        CreateSurface(w, {{0, 0}, {1, 0}, {2, 1}}, false);
        CreateCurve(w, CurveAt(Parabola, {1, 1}, 0, 1));
        w.Changed = false;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.MWRefresh(true);
    }
    World& w() { return window.world(); }

    // Opens the window of object (kind, number) as "Свойства" does.
    template <typename W>
    W* Open(int kind, int number) {
        ClearSelection(w());
        w().CurrentKind = static_cast<std::uint8_t>(kind);
        w().CurrentNumber = number;
        editor.PropertiesCommand();
        W* open = nullptr;
        for (W* found : window.findChildren<W*>()) {
            if (found->isVisible()) open = found;
        }
        if (open) QApplication::setActiveWindow(open);
        return open;
    }
};

// The same World but for what is selected: closing a window selects.
bool SameButSelection(const World& a, const World& b) {
    auto left = std::make_unique<World>(a);
    auto right = std::make_unique<World>(b);
    ClearSelection(*left);
    ClearSelection(*right);
    return DiffWorlds(*left, *right).Empty();
}

// What closing leaves: the edited kind current, and the record selected but
// for a plane or a curve.
bool SelectedOnClosing(const World& w, int kind, int number) {
    const auto n = static_cast<std::size_t>(number);
    bool selected = true;
    switch (kind) {
    case KindLaval: selected = w.Lavals[n].Selected; break;
    case KindHand: selected = w.Hands[n].Selected; break;
    case KindWall: selected = w.Walls[n].Selected; break;
    case KindSurface: selected = w.Surfaces[n].Selected; break;
    default: selected = !w.Planes[n].Selected && !w.Surfaces2[n].Selected; break;
    }
    return selected && w.CurrentKind == kind && w.CurrentNumber == number;
}

NumberField* Field(QWidget* window, const char* name) {
    return window->findChild<NumberField*>(QString::fromLatin1(name));
}

void Type(NumberField* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void PressOk(QWidget* window) {
    auto* box = window->findChild<QDialogButtonBox*>();
    QVERIFY(box->button(QDialogButtonBox::Ok)->isEnabled());
    QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

// One typed edit of each window and what it does to the World.
struct EditCase {
    const char* Name;
    int Kind;
    int Number;
    const char* FieldName;
    const char* Text;
    std::function<bool(const World&)> Done;
};

const EditCase EditCases[] = {
    {"suspension point", KindLaval, 1, "txtX", "0.25",
     [](const World& w) { return w.Lavals[1].Position.X == 0.25 && w.Pegs[1].Position.X == 0.25; }},
    {"support", KindHand, 1, "txt2", "4", [](const World& w) { return w.Hands[1].Bound2 == 4; }},
    {"zero support", KindHand, 0, "txtCoord", "0.5",
     [](const World& w) { return w.Hands[0].Coord == 0.5 && w.Params.ZeroLevel == 0.5; }},
    {"wall", KindWall, 1, "txtStout", "0.3",
     [](const World& w) { return w.Walls[1].HalfThickness == 0.15 && w.Params.DefaultHalfThickness == 0.15; }},
    {"plane", KindPlane, 1, "txtY2", "2",
     [](const World& w) { return w.Planes[1].P2.Y == 2 && w.Planes[1].Length == std::sqrt(5.0); }},
    {"polyline", KindSurface, 1, "txtCount", "4", [](const World& w) { return w.Surfaces[1].PointCount == 4; }},
    {"curve", KindSurface2, 1, "txtA", "3", [](const World& w) { return w.Surfaces2[1].ParamA == 3; }},
};

QWidget* OpenAny(Scene& scene, int kind, int number) {
    switch (kind) {
    case KindLaval: return scene.Open<prpLaval>(kind, number);
    case KindHand:
    case KindWall: return scene.Open<prpHandWall>(kind, number);
    case KindPlane: return scene.Open<prpPlane>(kind, number);
    case KindSurface: return scene.Open<prpSurface>(kind, number);
    default: return scene.Open<prpSurface2>(kind, number);
    }
}

}  // namespace

class FixedWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    // The pictures of the windows in the documentation, written only when
    // VELO_DOCS_DIR names a folder.
    void documentationPictures() {
        const QString folder = qEnvironmentVariable("VELO_DOCS_DIR");
        if (folder.isEmpty()) QSKIP("VELO_DOCS_DIR not set");
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        Scene scene;
        scene.w().Surfaces2[1].SurfaceKind = Ellipse;
        const std::pair<int, const char*> shots[] = {{KindHand, "window_support.png"},
                                                     {KindPlane, "window_plane.png"},
                                                     {KindSurface, "window_surface.png"},
                                                     {KindSurface2, "window_curve.png"}};
        for (const auto& [kind, file] : shots) {
            QWidget* window = OpenAny(scene, kind, 1);
            QVERIFY(window);
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY(window->grab().save(folder + QLatin1Char('/') + QLatin1String(file)));
            window->close();
        }
    }

    void OkIsOneStepOfTheHistory_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < static_cast<int>(std::size(EditCases)); ++row) {
            QTest::newRow(EditCases[row].Name) << row;
        }
    }
    void OkIsOneStepOfTheHistory() {
        QFETCH(int, row);
        const EditCase& c = EditCases[row];
        Scene scene;
        const auto before = std::make_unique<World>(scene.w());
        QPointer<QWidget> window = OpenAny(scene, c.Kind, c.Number);
        QVERIFY(window);
        Type(Field(window, c.FieldName), QString::fromLatin1(c.Text));
        // The preview is in the scene, the history untouched.
        QCOMPARE(scene.editor.History().count(), 0);
        PressOk(window);
        QVERIFY(!window || !window->isVisible());
        QCOMPARE(scene.editor.History().count(), 1);
        QVERIFY(c.Done(scene.w()));
        QVERIFY(scene.w().Changed);
        QVERIFY(SelectedOnClosing(scene.w(), c.Kind, c.Number));
        scene.editor.History().undo();
        QVERIFY(SameButSelection(*before, scene.w()));
        scene.editor.History().redo();
        QVERIFY(c.Done(scene.w()));
    }

    void CancelAndDeactivationChangeNothing_data() { OkIsOneStepOfTheHistory_data(); }
    void CancelAndDeactivationChangeNothing() {
        QFETCH(int, row);
        const EditCase& c = EditCases[row];
        Scene scene;
        const auto before = std::make_unique<World>(scene.w());
        for (const bool cancel : {true, false}) {
            QPointer<QWidget> window = OpenAny(scene, c.Kind, c.Number);
            QVERIFY(window);
            Type(Field(window, c.FieldName), QString::fromLatin1(c.Text));
            QVERIFY(!DiffWorlds(*before, scene.w()).Empty());  // the preview
            if (cancel) {
                auto* box = window->findChild<QDialogButtonBox*>();
                QTest::mouseClick(box->button(QDialogButtonBox::Cancel), Qt::LeftButton);
            } else {
                // A click on the scene: the main window takes the focus.
                QApplication::setActiveWindow(&scene.window);
                QTRY_VERIFY(!window || !window->isVisible());
            }
            QVERIFY(!window || !window->isVisible());
            QVERIFY(SameButSelection(*before, scene.w()));
            QVERIFY(SelectedOnClosing(scene.w(), c.Kind, c.Number));
            QCOMPARE(scene.editor.History().count(), 0);
        }
    }

    // Every bad text in every field: the preview stays sound, and so does
    // the World after "ОК".
    void BadTextsNeverReachTheWorld_data() { OkIsOneStepOfTheHistory_data(); }
    void BadTextsNeverReachTheWorld() {
        QFETCH(int, row);
        const EditCase& c = EditCases[row];
        Scene scene;
        QPointer<QWidget> window = OpenAny(scene, c.Kind, c.Number);
        QVERIFY(window);
        ThrowBadTexts(*window, [&](NumberField* field, const char* text) {
            QVERIFY2(RecordsSound(scene.w()), qPrintable(field->objectName() + QStringLiteral(": ") + text));
        });
        PressOk(window);
        QCOMPARE(scene.editor.History().count(), 1);
        QVERIFY(RecordsSound(scene.w()));
    }

    // A press on the scene comes in the same round of events as the focus
    // change: the gesture must start from the record, not from the preview.
    void PressOnTheSceneStartsFromTheRecord() {
        Scene scene;
        scene.editor.ArmCommand(ModeMove);
        const auto before = std::make_unique<World>(scene.w());
        QPointer<prpPlane> window = scene.Open<prpPlane>(KindPlane, 1);
        QVERIFY(window);
        Type(Field(window, "txtX1"), QStringLiteral("-1"));
        QApplication::setActiveWindow(&scene.window);
        auto at = [&](Vec2 model, Qt::MouseButton button) {
            FieldMouseEvent e;
            e.Model = model;
            e.FieldX = model.X * scene.w().Params.FieldScale;
            e.FieldY = model.Y * scene.w().Params.FieldScale;
            e.Button = button;
            e.Buttons = button;
            return e;
        };
        // Near the end the plane and its preview share.
        scene.editor.Press(at({0.99, 0.99}, Qt::LeftButton));
        QCOMPARE(scene.w().Planes[1].Marker, 0);
        QCoreApplication::processEvents();
        scene.editor.Move(at({0.99, 1.99}, Qt::NoButton));
        scene.editor.Release(at({0.99, 1.99}, Qt::LeftButton));
        QVERIFY(!window || !window->isVisible());
        QCOMPARE(scene.editor.History().count(), 1);
        QCOMPARE(scene.w().Planes[1].Marker, 0);
        QCOMPARE(scene.w().Planes[1].P1, (Vec2{0, 1}));
        QCOMPARE(scene.w().Planes[1].P2, (Vec2{1, 2}));
        while (scene.editor.History().canUndo()) scene.editor.History().undo();
        // The history leaves the selection as it is.
        const auto after = std::make_unique<World>(scene.w());
        ClearSelection(*before);
        ClearSelection(*after);
        QVERIFY(DiffWorlds(*before, *after).Empty());
    }

    void ZeroSupportShowsNoBounds() {
        Scene scene;
        auto* window = scene.Open<prpHandWall>(KindHand, 0);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Свойства опоры № 0"));
        for (const char* name : {"txt1", "txt2"}) {
            QCOMPARE(Field(window, name)->text(), QStringLiteral("Нет"));
            QVERIFY(!Field(window, name)->isEnabled());
        }
        window->reject();
    }

    void PlaneShowsLengthAndAngle() {
        Scene scene;
        scene.w().Units.AngleUnit = std::numbers::pi / 180;
        auto* window = scene.Open<prpPlane>(KindPlane, 1);
        QVERIFY(window);
        NumberField* angle = Field(window, "txtAl");
        QCOMPARE(angle->Value(), 45.0);
        // Typing into the angle puts the computed value back at once.
        QTest::keyClicks(angle, QStringLiteral("10"));
        QCOMPARE(angle->Value(), 45.0);
        QCOMPARE(angle->text(), QStringLiteral("45"));
        Type(Field(window, "txtX2"), QStringLiteral("0"));
        QCOMPARE(angle->text(), QStringLiteral("90"));
        QCOMPARE(Field(window, "txtL")->Value(), 1.0);
        // "Треугольная" hides the thickness.
        QVERIFY(Field(window, "txtStout")->isVisible());
        window->findChild<QCheckBox*>(QStringLiteral("Check2"))->click();
        QVERIFY(!Field(window, "txtStout")->isVisible());
        PressOk(window);
        QCOMPARE(scene.w().Planes[1].Triangular, 1);
        auto* again = scene.Open<prpPlane>(KindPlane, 1);
        QVERIFY(!Field(again, "txtStout")->isVisible());
        again->reject();
    }

    void SurfaceVertexCountAndScrolling() {
        Scene scene;
        auto* window = scene.Open<prpSurface>(KindSurface, 1);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Cвойства поверхности № 1"));
        NumberField* count = Field(window, "txtCount");
        auto* scroll = window->findChild<QScrollBar*>(QStringLiteral("HScroll1"));
        QCOMPARE(scroll->maximum(), 2);
        scroll->setValue(2);
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblN"))->text(), QStringLiteral("3."));
        QCOMPARE(Field(window, "txtX")->Value(), 2.0);
        for (const auto& [typed, shown] : {std::pair{"1", "2"}, std::pair{"5000", "1024"}, std::pair{"-7.9", "7"}}) {
            count->setFocus();
            Type(count, QString::fromLatin1(typed));
            // The field shows the count taken once the focus moves on.
            QCOMPARE(count->text(), QString::fromLatin1(typed));
            QTest::keyClick(count, Qt::Key_Tab);
            QCOMPARE(count->text(), QString::fromLatin1(shown));
            QCOMPARE(scroll->maximum(), QString::fromLatin1(shown).toInt() - 1);
            QCOMPARE(scene.w().Surfaces[1].PointCount, QString::fromLatin1(shown).toInt());
        }
        window->findChild<QToolButton*>(QStringLiteral("UpDown1_up"))->click();
        QCOMPARE(count->text(), QStringLiteral("8"));
        // A closed contour has no thickness.
        window->findChild<QCheckBox*>(QStringLiteral("Check2"))->click();
        QVERIFY(!Field(window, "txtStout")->isEnabled());
        window->reject();
        QCOMPARE(scene.w().Surfaces[1].PointCount, 3);
    }

    void CurveTypeCaptionAndClosing() {
        Scene scene;
        auto* window = scene.Open<prpSurface2>(KindSurface2, 1);
        QVERIFY(window);
        auto* type = window->findChild<QComboBox*>(QStringLiteral("SurfType"));
        auto* close = window->findChild<QPushButton*>(QStringLiteral("Command3"));
        auto* ok = window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        const char* titles[] = {"Свойства параболы № 1", "Свойства гиперболы № 1", "Свойства эллипса № 1"};
        for (int index : {1, 2, 0}) {
            type->setCurrentIndex(index);
            QCOMPARE(window->windowTitle(), QString::fromUtf8(titles[index]));
            QCOMPARE(close->isEnabled(), index == 2);
            QVERIFY(ok->isEnabled());
            QCOMPARE(scene.w().Surfaces2[1].SurfaceKind, index + 1);
        }
        type->setCurrentIndex(2);
        close->click();
        QCOMPARE(Field(window, "txtT0")->Value(), 0.0);
        QCOMPARE(Field(window, "txtT1")->Value(), 6.28318530717958);
        PressOk(window);
        const Surface2& curve = scene.w().Surfaces2[1];
        QCOMPARE(curve.SurfaceKind, Ellipse);
        QCOMPARE(curve.TTo, 6.28318530717958);
        QCOMPARE(curve.Marker, 0);
    }
};

QTEST_MAIN(FixedWindowsTest)
#include "fixed_windows_test.moc"
