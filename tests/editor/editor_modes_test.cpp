// Building a scene with the mouse: the editing modes driven by synthetic
// events in model coordinates, the common rules, and undo and redo.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QUndoStack>
#include <QtTest/QtTest>

#include <random>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/cli_tool.h"
#include "editing/creation.h"
#include "editing/selection.h"
#include "editor/scene_editor.h"
#include "windows/group_window.h"
#include "windows/movable_window.h"
#include "windows/optimize_window.h"
#include "engine/imitator.h"
#include "editor_harness.h"
#include "persist/qvs_file.h"
#include "persist/world_json.h"

using namespace velo;

namespace {

FieldMouseEvent At(const World& w, Vec2 model, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    FieldMouseEvent e;
    e.Model = model;
    e.FieldX = model.X * w.Params.FieldScale;
    e.FieldY = model.Y * w.Params.FieldScale;
    e.Button = button;
    e.Buttons = button;
    e.Modifiers = modifiers;
    return e;
}

std::string Json(const World& w) { return WorldToJson(w, {}).dump(); }

std::string WithoutSelection(const World& w) {
    nlohmann::ordered_json j = WorldToJson(w, {});
    for (auto& [table, records] : j.items()) {
        if (!records.is_array()) continue;
        for (auto& record : records) {
            if (record.is_object()) record.erase("Selected");
        }
    }
    return j.dump();
}

}  // namespace

class EditorModesTest : public QObject {
    Q_OBJECT

    struct Scene {
        WindowHarness harness;
        frmMain& window;
        SceneEditor& editor;
        Scene() : window(*harness.window), editor(harness.window->editor()) {
            window.NewMechanical();
            window.world().Params.FieldScale = 1000;
            // A scene 1000 pixels wide: 10 field points, 1 cm, a pixel.
            window.show();
            QCoreApplication::processEvents();
            window.Scene()->setGeometry(0, 0, 1000, 700);
            QCoreApplication::processEvents();
            window.MWRefresh(true);
        }
        World& w() { return window.world(); }
        void Click(Vec2 p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
            editor.Press(At(w(), p, b, m));
            editor.Release(At(w(), p, b, m));
        }
        void Drag(Vec2 from, Vec2 to, Qt::MouseButton b = Qt::LeftButton) {
            editor.Press(At(w(), from, b));
            FieldMouseEvent move = At(w(), to, b);
            move.Button = Qt::NoButton;
            editor.Move(move);
            editor.Release(At(w(), to, b));
        }
        void Hover(Vec2 p) {
            FieldMouseEvent move = At(w(), p, Qt::NoButton);
            move.Buttons = Qt::NoButton;
            editor.Move(move);
        }
    };

    // Builds a scene of every kind from nothing.
    static void BuildEverything(Scene& s, Vec2 o = {}) {
        s.editor.ArmCommand(ModeHand);
        s.Drag({-3 + o.X, -2 + o.Y}, {3 + o.X, -2 + o.Y});
        s.editor.ArmCommand(ModeWall);
        s.Drag({3.5 + o.X, -2 + o.Y}, {3.5 + o.X, 2 + o.Y});
        s.editor.ArmCommand(ModePlane);
        s.Drag({-3 + o.X, 0 + o.Y}, {-1 + o.X, -1 + o.Y});
        s.editor.ArmCommand(ModeBall);
        s.Click({0 + o.X, 1 + o.Y});
        s.Click({0.5 + o.X, 1 + o.Y});
        s.editor.ArmCommand(ModeLaval);
        s.Click({1 + o.X, 2 + o.Y});
        s.editor.ArmCommand(ModePeg);
        s.Drag({0.5 + o.X, 2 + o.Y}, {1.5 + o.X, 2 + o.Y});
        s.editor.ArmCommand(ModeThread);
        s.Click({1 + o.X, 2 + o.Y});
        s.Hover({1.3 + o.X, 1.2 + o.Y});
        s.Click({1.3 + o.X, 1.2 + o.Y});
        s.editor.ArmCommand(ModeSurface);
        s.Click({-3 + o.X, 2 + o.Y});
        s.Click({-2.5 + o.X, 1.5 + o.Y});
        s.Click({-2 + o.X, 2 + o.Y});
        s.Click({-2 + o.X, 2 + o.Y}, Qt::RightButton);
        s.editor.ArmCommand(ModeParabola);
        s.editor.Press(At(s.w(), {2 + o.X, 0 + o.Y}));
        s.editor.Move(At(s.w(), {2.5 + o.X, 0 + o.Y}, Qt::NoButton));
        s.editor.Release(At(s.w(), {2.5 + o.X, 0 + o.Y}));
        s.Hover({2.6 + o.X, 0.5 + o.Y});
        s.Click({2.6 + o.X, 0.5 + o.Y});
    }

private slots:
    // The pictures of the README: a scene being built and the scene built.
    // Written only when VELO_DOCS_DIR names a folder.
    void documentationPictures() {
        const QString folder = qEnvironmentVariable("VELO_DOCS_DIR");
        if (folder.isEmpty()) QSKIP("VELO_DOCS_DIR not set");
        Scene s;
        s.window.resize(1280, 860);
        QCoreApplication::processEvents();
        s.window.MWRefresh(true);
        BuildEverything(s, {4, 3});
        s.editor.ArmCommand(ModeBall);
        for (double x : {3.4, 3.7, 4.0}) s.Click({x, 3.5});
        s.editor.ArmCommand(ModePeg);
        s.editor.Press(At(s.w(), {1.5, 3.8}));
        s.editor.Move(At(s.w(), {2.8, 4.4}, Qt::NoButton));
        QVERIFY(s.window.grab().save(folder + QStringLiteral("/editing_rod_being_drawn.png")));
        s.editor.Release(At(s.w(), {2.8, 4.4}));
        s.editor.ArmCommand(ModeSelect);
        s.window.MWRefresh(true);
        QVERIFY(s.window.grab().save(folder + QStringLiteral("/editing_scene_built.png")));
    }

    void sceneBuiltWithTheMouseSavesAndReadsBack() {
        Scene s;
        BuildEverything(s);
        const World& w = s.w();
        QCOMPARE(w.HandCount, 1);
        QCOMPARE(w.WallCount, 1);
        QCOMPARE(w.PlaneCount, 1);
        QCOMPARE(w.BallCount, 2);
        QCOMPARE(w.LavalCount, 1);
        QCOMPARE(w.PegCount, 1);
        QCOMPARE(w.Pegs[1].HangLaval, 1);  // drawn across the point
        QCOMPARE(w.ThreadCount, 1);
        QCOMPARE(w.SurfaceCount, 1);
        QCOMPARE(w.Surfaces[1].PointCount, 3);
        QCOMPARE(w.Surface2Count, 1);
        QCOMPARE(s.editor.ArmedMode(), 0);  // the curve returns to selection
        QVERIFY(w.Hands[1].Bound2 - w.Hands[1].Bound1 > 5.9);

        const std::filesystem::path file = s.harness.Path("built.qvs");
        QVERIFY(SaveQvs(w, file, {}).Ok);
        std::ostringstream out, err;
        QCOMPARE(RunCli({"dump", file.string()}, out, err, false), 0);
        const nlohmann::json dump = nlohmann::json::parse(out.str());
        for (const char* table : {"Hand", "Wall", "Plane", "Laval", "Peg", "Surface", "Surface2"}) {
            QVERIFY2(dump[table].back()["Exists"] == true, table);
        }
        QCOMPARE(dump["Ball"].size(), std::size_t{2});
        QCOMPARE(dump["Surface2"][0]["SurfaceKind"].get<int>(), 1);
    }

    void celestialBodyMadeByAClick() {
        Scene s;
        s.window.NewCelestial();
        World& w = s.w();
        const auto sky = [&] { return s.window.Scene()->grab().toImage().pixelColor(5, 5); };
        QCOMPARE(sky(), QColor(Qt::black));
        s.window.Item("mnHBody")->trigger();
        QCOMPARE(s.editor.ArmedMode(), int{ModeHBody});
        QCOMPARE(sky(), QColor(128, 128, 128));
        // The random velocity and colour come from the editor's seedable
        // source.
        s.editor.SeedRandom(15);
        std::mt19937_64 same(15);
        const double u = static_cast<double>(same() >> 11) * 0x1.0p-53;
        FieldMouseEvent centre;
        centre.Button = Qt::LeftButton;
        centre.Buttons = Qt::LeftButton;
        s.editor.Press(centre);
        s.editor.Release(centre);
        QCOMPARE(w.HBodyCount, 1);
        QCOMPARE(w.HBodies[1].Position.Z, -1e9);
        QCOMPARE(w.HBodies[1].Velocity.X, (2 * u - 1) * 10000);
        QCOMPARE(w.CurrentNumber, 1);
        QCOMPARE(s.editor.ArmedMode(), 0);
        QCOMPARE(sky(), QColor(Qt::black));
        s.editor.History().undo();
        QCOMPARE(w.HBodyCount, 0);
        QVERIFY(!w.HBodies[1].Exists);
        s.editor.History().redo();
        QVERIFY(w.HBodies[1].Exists);
        // The panel and the list name bodies by their display names;
        // choosing one in the list makes it current.
        const auto* current = s.window.findChild<QLabel*>(QStringLiteral("lblCurrent"));
        auto* list = s.window.findChild<QComboBox*>(QStringLiteral("HCombo"));
        QCOMPARE(current->text(), QStringLiteral("Текущий объект: Небесное тело 1"));
        s.window.Item("mnHBody")->trigger();
        centre.FieldX = 500;
        s.editor.Press(centre);
        s.editor.Release(centre);
        std::copy_n(u"  Солнце", 8, w.HBodies[1].Name.begin());
        s.window.MWRefresh(true);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("Солнце"));
        QCOMPARE(list->itemText(1), QStringLiteral("Небесное тело 2"));
        emit list->activated(0);
        QCOMPARE(w.CurrentNumber, 1);
        QVERIFY(w.HBodies[1].Selected && !w.HBodies[2].Selected);
        QCOMPARE(current->text(), QStringLiteral("Текущий объект: Солнце"));
        QCOMPARE(list->currentIndex(), 0);
        FieldMouseEvent hover;
        s.editor.Move(hover);
        QCOMPARE(s.window.Scene()->toolTip(), QStringLiteral("Солнце"));
        hover.FieldX = -2000;
        s.editor.Move(hover);
        QVERIFY(s.window.Scene()->toolTip().isEmpty());
        // The 201st is refused, and no mode waits for its click.
        w.HBodyCount = HBodyCapacity;
        s.harness.messenger.ClearRecords();
        s.window.Item("mnHBody")->trigger();
        QCOMPARE(s.harness.messenger.Records().size(), std::size_t{1});
        QVERIFY(s.harness.messenger.Records()[0].Text.rfind("Небесное тело не может быть создано", 0) == 0);
        QCOMPARE(s.editor.ArmedMode(), 0);
        QCOMPARE(sky(), QColor(Qt::black));
    }

    void everyStepUndoesAndRedoes() {
        Scene s;
        const std::string empty = Json(s.w());
        BuildEverything(s);
        const std::string built = WithoutSelection(s.w());
        QUndoStack& history = s.editor.History();
        QCOMPARE(history.count(), 10);  // one step per object made
        while (history.canUndo()) history.undo();
        QCOMPARE(Json(s.w()), empty);
        while (history.canRedo()) history.redo();
        // The selection is no edit: it stays as the history left it.
        QCOMPARE(WithoutSelection(s.w()), built);
        // Opening another project forgets the history.
        s.window.NewMechanical();
        QCOMPARE(history.count(), 0);
    }

    void selectionRulesOfThePress() {
        Scene s;
        s.editor.ArmCommand(ModeBall);
        s.Click({0, 0});
        s.w().Balls[1].Z = 10;
        s.Click({0.05, 0});
        s.w().Balls[2].Z = 200;
        s.editor.ArmCommand(ModeSelect);
        s.Click({3, 3});
        QCOMPARE(CountSelect(s.w()).Total(), 0);  // empty space: nothing selected
        s.Click({0.03, 0});
        QVERIFY(s.w().Balls[2].Selected && !s.w().Balls[1].Selected);  // layer 200 first
        s.Click({0.03, 0}, Qt::LeftButton, Qt::ControlModifier);
        QVERIFY(!s.w().Balls[2].Selected);  // Ctrl+click takes it back
        QCOMPARE(s.editor.History().count(), 2);  // selecting is no edit
    }

    void ballSizeLayerAndDefaults() {
        Scene s;
        s.harness.settings.SetInt("BallSize", 3);
        s.window.findChild<QComboBox*>("ZCoord")->setCurrentIndex(42);
        s.editor.ArmCommand(ModeCylinder);
        s.Click({0, 0});
        const Ball& b = s.w().Balls[1];
        QCOMPARE(b.Radius, 0.27);
        QCOMPARE(int(b.Z), 42);
        QCOMPARE(b.Shape, ShapeCylinder);
        QCOMPARE(b.DragLinear, 8.0);
    }

    void rubberRectangleIgnoresWalls() {
        Scene s;
        s.editor.ArmCommand(ModeWall);
        s.Drag({0, -1}, {0, 1});
        s.editor.ArmCommand(ModeBall);
        s.Click({0.5, 0});
        s.editor.ArmCommand(ModeGroup);
        s.Drag({-1, -2}, {1, 2});
        QVERIFY(s.w().Balls[1].Selected);
        QVERIFY(!s.w().Walls[1].Selected);
        QCOMPARE(s.editor.ArmedMode(), 0);
    }

    void protractorReadsTheAngleInTheUnit() {
        Scene s;
        for (const auto& [to, text] : {std::pair{Vec2{0, 1}, "a = 90"}, std::pair{Vec2{0, -1}, "a = 270"}}) {
            s.editor.ArmCommand(ModeProtractor);
            s.editor.Press(At(s.w(), {0, 0}));
            s.editor.Move(At(s.w(), to, Qt::NoButton));
            QCOMPARE(s.window.HintLabel()->text(), QString::fromUtf8(text));
            s.editor.Release(At(s.w(), to));
            QCOMPARE(s.editor.ArmedMode(), 0);
        }
    }

    void curveRightPressAtStageZeroCreatesNothing() {
        Scene s;
        s.editor.ArmCommand(ModeEllipse);
        s.Click({0, 0}, Qt::RightButton);
        QCOMPARE(s.w().Surface2Count, 0);
        QCOMPARE(s.editor.ArmedMode(), 0);
    }

    void refusalsOfTheCreationCommands() {
        Scene s;
        s.editor.ArmCommand(ModeThread);
        QVERIFY(s.harness.Asked("Нет ни одного подвеса"));
        QCOMPARE(s.editor.ArmedMode(), 0);
        s.w().LavalCount = LavalCapacity;
        s.editor.ArmCommand(ModeLaval);
        QCOMPARE(s.editor.ArmedMode(), 0);
        QVERIFY(s.harness.Asked(CreationRefusal(s.w(), ModeLaval)));
    }

    void moveAndDeleteWithUndo() {
        Scene s;
        s.w().Hands[0].Exists = true;
        s.editor.ArmCommand(ModeBall);
        s.Click({0, 1});
        const std::string before = WithoutSelection(s.w());
        s.editor.ArmCommand(ModeMove);
        s.Drag({0.02, 1}, {1.02, 2});
        QCOMPARE(s.w().Balls[1].Position, (Vec2{1, 2}));
        s.Drag({0.5, s.w().Params.ZeroLevel}, {0.5, -1});
        QCOMPARE(s.w().Params.ZeroLevel, -1.0);  // the ZeroSupport carries the zero level
        s.w().Balls[1].Selected = true;
        s.editor.DeleteCommand();
        QVERIFY(!s.w().Balls[1].Exists);
        s.editor.UndoDeleteCommand();
        QVERIFY(s.w().Balls[1].Exists);
        s.editor.History().undo();
        s.editor.History().undo();
        QCOMPARE(WithoutSelection(s.w()), before);
    }

    void wheelZoomsAboutThePointer() {
        Scene s;
        const Vec2 under{1.5, 2};
        const ViewTransform view = ViewTransform::FromParameters(s.w().Params, s.window.Scene()->width());
        const double pixelX = view.PixelX(under.X * view.FieldScale);
        s.editor.Wheel(At(s.w(), under, Qt::NoButton), 1);
        QCOMPARE(s.w().Params.FieldScale, 1250.0);
        const ViewTransform after = ViewTransform::FromParameters(s.w().Params, s.window.Scene()->width());
        QVERIFY(std::fabs(after.PixelX(under.X * after.FieldScale) - pixelX) < 1);
        s.w().Params.ViewUnlocked = false;
        s.editor.Wheel(At(s.w(), under, Qt::NoButton), 1);
        QCOMPARE(s.w().Params.FieldScale, 1250.0);
    }

    void languageMenuStaysEnabledAndTypingOverTheSceneKeepsTheLayer() {
        Scene s;
        s.window.NewMechanical();
        s.window.CancelAll();
        // The window was disabled and enabled again around the revert.
        QVERIFY(s.window.Menu("mnLang")->isEnabled());
        QComboBox* layers = s.window.findChild<QComboBox*>("ZCoord");
        layers->setCurrentIndex(3);
        QCursor::setPos(s.window.Scene()->mapToGlobal(QPoint(100, 100)));
        QTest::keyClick(layers, Qt::Key_Down);
        if (s.window.Scene()->underMouse()) QCOMPARE(layers->currentIndex(), 3);
    }

    void anEditOfAFixedObjectReachesTheStep() {
        Scene s;
        s.editor.ArmCommand(ModeSurface);
        for (Vec2 p : {Vec2{0, 0}, Vec2{1, 0}, Vec2{2, 0}}) s.Click(p);
        s.Click({2, 0}, Qt::RightButton);
        StepContext& context = s.window.driver().Context();
        context.VerifyFixedScene = true;
        SilentMessenger quiet;
        QVERIFY(MechanicalStep(s.w(), 0.001, quiet, context));
        // A vertex moved in place by an edit that says nothing of it.
        s.editor.Edit(QStringLiteral("Вершина"), [](World& w) { w.Surfaces[1].Points[1] = {1, 0.5}; });
        bool stale = false;
        try {
            MechanicalStep(s.w(), 0.001, quiet, context);
        } catch (const std::logic_error&) {
            stale = true;
        }
        QVERIFY(!stale);
    }

    void optimisationAndGroupWindows() {
        Scene s;
        s.editor.ArmCommand(ModeWall);
        for (double x : {1.0, 2.0, 3.0}) s.Drag({x, 0}, {x, 1});
        ClearSelection(s.w());
        s.w().Walls[2].Selected = true;
        s.editor.DeleteCommand();
        s.editor.OptimizeCommand();
        auto* optimize = s.window.findChild<frmOptimize*>("frmOptimize");
        QVERIFY(optimize);
        optimize->Renumber()->setChecked(true);
        QCOMPARE(optimize->Progress()->value(), 0);
        optimize->Run()->click();
        QCOMPARE(s.w().WallCount, 2);
        QCOMPARE(optimize->Progress()->value(), 300);
        QVERIFY(!optimize->Run()->isEnabled() && !optimize->Renumber()->isChecked());
        s.editor.History().undo();
        QCOMPARE(s.w().WallCount, 3);
        optimize->close();

        // A ball and a wall selected: "Свойства" opens the group's window.
        s.w().Materials.MaterialCount = 2;
        s.w().Materials.Items[1].Density = 1000;
        s.w().Materials.Items[2].Name = "тяжёлый";
        s.w().Materials.Items[2].Density = 2000;
        s.editor.ArmCommand(ModeBall);
        s.Click({5, 5});
        const double density = s.w().Balls[1].Density;
        s.w().Walls[1].Selected = true;
        s.editor.PropertiesCommand();
        auto* group = s.window.findChild<prpGroup*>("prpGroup");
        QVERIFY(group);
        QCOMPARE(group->List()->count(), 2);
        group->MaterialBox()->setCurrentIndex(2);
        group->accept();
        QCOMPARE(s.w().Balls[1].Density, 2 * density);
        QCOMPARE(int(s.w().Walls[1].Material), 2);
    }

    void movableAndThreadWindows() {
        Scene s;
        s.w().Materials.MaterialCount = 2;
        s.w().Materials.Items[1].Density = 1000;
        s.w().Materials.Items[2].Name = "лёгкий";
        s.w().Materials.Items[2].Density = 500;
        s.editor.ArmCommand(ModeBall);
        s.Click({1, 1});
        s.Click({2, 1}, Qt::LeftButton, Qt::ControlModifier);
        const double density = s.w().Balls[1].Density;
        s.editor.PropertiesCommand();  // two balls: the movable objects' window
        auto* movable = s.window.findChild<prpMovable*>("prpMovable");
        QVERIFY(movable);
        movable->MaterialBox()->setChecked(true);
        QCOMPARE(movable->MaterialBox()->text(), QStringLiteral("Материал:"));
        movable->Material()->setCurrentIndex(2);
        movable->accept();
        QCOMPARE(s.w().Balls[1].Density, density / 2);
        QCOMPARE(s.w().Balls[2].Material, std::uint8_t{2});
    }

    void propertiesDispatchByKind() {
        Scene s;
        int opened = -1;
        s.editor.RegisterPropertyWindow(KindBall, [&](int number) { opened = number; });
        s.editor.ArmCommand(ModeCylinder);
        s.Click({0, 0});
        s.editor.ArmCommand(ModeSelect);
        s.editor.Release(At(s.w(), {0, 0}, Qt::MiddleButton));
        QCOMPARE(opened, 1);
        QCOMPARE(s.editor.LastPropertiesRequest(), (std::pair<int, int>{KindCylinder, 1}));

        // A double click on the scene: press, release, double click, release.
        s.editor.ArmCommand(ModeBall);
        s.Click({0.3, 0.2});
        s.editor.ArmCommand(ModeSelect);
        Metaworld* scene = s.window.Scene();
        const ViewTransform& view = scene->Renderer().View();
        auto pixel = [&](Vec2 model) {
            return QPoint(qRound(view.PixelX(model.X * s.w().Params.FieldScale)),
                          qRound(view.PixelY(model.Y * s.w().Params.FieldScale)));
        };
        auto doubleClick = [&](Vec2 model) {
            QTest::mouseClick(scene, Qt::LeftButton, Qt::NoModifier, pixel(model));
            QTest::mouseDClick(scene, Qt::LeftButton, Qt::NoModifier, pixel(model));
            QTest::mouseRelease(scene, Qt::LeftButton, Qt::NoModifier, pixel(model));
        };
        opened = -1;
        doubleClick({0.3, 0.2});
        QCOMPARE(opened, 2);
        QCOMPARE(s.editor.LastPropertiesRequest(), (std::pair<int, int>{KindBall, 2}));
        QVERIFY(s.w().Balls[2].Selected);
        opened = -1;
        doubleClick({-0.4, 0.25});  // nothing there
        QCOMPARE(opened, -1);
        s.editor.ArmCommand(ModeBall);  // other modes keep both clicks for themselves
        doubleClick({0.3, 0.2});
        QCOMPARE(opened, -1);
    }
};

QTEST_MAIN(EditorModesTest)
#include "editor_modes_test.moc"
