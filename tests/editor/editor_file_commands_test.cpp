// The file commands of the main window with scripted dialogs and answers:
// save and reopen, the changed flag, read-only files, the start point.
#include <QAction>
#include <QLabel>
#include <QtTest>

#include <QMenu>
#include <QTextBrowser>

#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include "celestial/bodies.h"
#include "editing/celestial_edits.h"
#include "editor/scene_editor.h"
#include "editor_harness.h"

using namespace velo;

namespace {

const char* const SaveQuestion = "Сохранить изменения перед завершением работы с файлом?";
const char* const CancelQuestion = "Отменить все изменения, сделанные с момента последнего сохранения файла?";

void MakeScene(frmMain& window) {
    window.NewMechanical();
    AddBall(window.world(), Vec2{1.5, 2.0});
    window.world().Changed = true;
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void untitledSaveAsksForNameAndAppendsExtension();
    void saveReopenAndChangedFlag();
    void closeChangedProjectAsks();
    void cancelOnSaveQuestionKeepsProject();
    void celestialProjectIsNeverOfferedForSaving();
    void celestialSceneExportedAndImported();
    void readOnlyOpenSavesAs();
    void recoverRestoresMovedBall();
    void cancelAllReloadsFile();
    void captionNamesTheFile();
    void descriptionMissingOrShown();
    void closingTheWindowAsksAndMayBeCancelled();
    void saveDropsUnusedMaterialsWhenOptimising();
};

void FileCommandsTest::untitledSaveAsksForNameAndAppendsExtension() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    MakeScene(window);
    const auto chosen = harness.Path("scene");
    harness.dialogs.SaveAnswers.push_back(chosen);
    window.Item("mnSave")->trigger();
    QCOMPARE(harness.dialogs.SaveCalls, 1);
    QCOMPARE(harness.dialogs.LastTitle, std::string("Сохранение имитации"));
    QVERIFY(std::filesystem::exists(harness.Path("scene.qvs")));
    QCOMPARE(window.project().CurrentPath, harness.Path("scene.qvs"));
    QVERIFY(!window.world().Changed);
}

void FileCommandsTest::saveReopenAndChangedFlag() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    MakeScene(window);
    harness.dialogs.SaveAnswers.push_back(harness.Path("kept.qvs"));
    QVERIFY(window.SaveAs());
    QVERIFY(!window.world().Changed);

    // A second save goes to the same file without a dialog.
    window.world().Balls[1].Position = Vec2{0.25, 0.5};
    window.world().Changed = true;
    window.Item("mnSave")->trigger();
    QCOMPARE(harness.dialogs.SaveCalls, 1);
    QVERIFY(!window.world().Changed);

    // Reopen in a fresh project: the ball is back where it was saved.
    window.NewMechanical();
    QCOMPARE(window.world().BallCount, 0);
    harness.dialogs.OpenAnswers.push_back(FileOpenChoice{harness.Path("kept.qvs"), false});
    window.Item("mnOpen")->trigger();
    QCOMPARE(harness.dialogs.LastTitle, std::string("Открытие имитации"));
    QCOMPARE(window.world().BallCount, 1);
    QCOMPARE(window.world().Balls[1].Position.X, 0.25);
    QCOMPARE(window.world().Balls[1].Position.Y, 0.5);
    QVERIFY(!window.world().Changed);
    QCOMPARE(window.TimeLabel()->text(), QStringLiteral("T = 0"));
}

void FileCommandsTest::closeChangedProjectAsks() {
    WindowHarness harness(ThreeWayAnswer::No);
    frmMain& window = *harness.window;
    MakeScene(window);
    harness.messenger.ClearRecords();
    window.Item("mnClose")->trigger();
    QVERIFY(harness.Asked(SaveQuestion));
    QCOMPARE(window.world().ProjectKind, ProjectNone);
    QVERIFY(!window.Item("mnAdd")->isVisible());
}

void FileCommandsTest::cancelOnSaveQuestionKeepsProject() {
    WindowHarness harness(ThreeWayAnswer::Cancel);
    frmMain& window = *harness.window;
    MakeScene(window);
    window.Item("mnClose")->trigger();
    QCOMPARE(window.world().ProjectKind, ProjectMechanical);
    QCOMPARE(window.world().BallCount, 1);

    // Yes with a cancelled Save As dialog also keeps the project.
    harness.messenger.QueueAnswer(ThreeWayAnswer::Yes);
    window.Item("mnClose")->trigger();
    QCOMPARE(harness.dialogs.SaveCalls, 1);
    QCOMPARE(window.world().ProjectKind, ProjectMechanical);
}

void FileCommandsTest::celestialProjectIsNeverOfferedForSaving() {
    WindowHarness harness(ThreeWayAnswer::Cancel);
    frmMain& window = *harness.window;
    window.NewCelestial();
    window.world().Changed = true;
    harness.messenger.ClearRecords();
    window.Item("mnClose")->trigger();
    QVERIFY(!harness.Asked(SaveQuestion));
    QCOMPARE(window.world().ProjectKind, ProjectNone);
}

void FileCommandsTest::celestialSceneExportedAndImported() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    window.NewCelestial();
    World& w = window.world();
    std::vector<double> uniforms{0.1, 0.9, 0.5, 0.2, 0.3, 0.4};
    std::size_t next = 0;
    const UniformSource uniform = [&] { return uniforms[next++ % uniforms.size()]; };
    QCOMPARE(CreateCelestialBody(w, {100, 50}, 10, uniform), 1);
    QCOMPARE(CreateCelestialBody(w, {-300, 0}, 10, uniform), 2);
    w.HBodies[1].Radius = 7e6;
    UpdateBodyMass(w.HBodies[1]);
    w.Celestial.CelestialTimeScale = 60;
    w.T = 86400;
    const std::array<HBody, HBodyCapacity + 1> exported = w.HBodies;

    // A name without a dot gets ".json".
    harness.dialogs.SaveAnswers.push_back(harness.Path("sky"));
    window.Item("mnExport")->trigger();
    QCOMPARE(harness.dialogs.LastTitle, std::string("Экспорт системы небесной механики"));
    QVERIFY(std::filesystem::exists(harness.Path("sky.json")));

    // A scene that cannot be read is reported and changes nothing.
    std::ofstream(harness.Path("broken.json")) << "{\"format\": \"velocitronimatics-celestial\", \"version\": 1,";
    window.NewCelestial();
    QCOMPARE(CreateCelestialBody(w, {0, 0}, 10, uniform), 1);
    const HBody kept = w.HBodies[1];
    harness.messenger.ClearRecords();
    harness.dialogs.OpenAnswers.push_back(FileOpenChoice{harness.Path("broken.json"), false});
    window.Item("mnImport")->trigger();
    QCOMPARE(harness.messenger.Records().size(), std::size_t{1});
    QVERIFY(harness.messenger.Records()[0].Text.find("не прочитана") != std::string::npos);
    QCOMPARE(w.HBodies[1], kept);
    QCOMPARE(w.HBodyCount, 1);

    // The exported scene comes back whole, as one step of the history.
    harness.dialogs.OpenAnswers.push_back(FileOpenChoice{harness.Path("sky.json"), false});
    window.Item("mnImport")->trigger();
    QCOMPARE(w.HBodyCount, 2);
    QCOMPARE(w.Celestial.CelestialTimeScale, 60.0);
    for (int n = 1; n <= 2; ++n) {
        QCOMPARE(w.HBodies[n].Radius, exported[n].Radius);
        QCOMPARE(w.HBodies[n].Position, exported[n].Position);
        QCOMPARE(w.HBodies[n].Velocity, exported[n].Velocity);
        QCOMPARE(w.HBodies[n].Colour, exported[n].Colour);
        QCOMPARE(w.HBodies[n].Mass, exported[n].Mass);
    }
    const auto* timeLabel = window.findChild<QLabel*>(QStringLiteral("lblT2"));
    QVERIFY(timeLabel);
    QCOMPARE(w.T, 86400.0);
    QCOMPARE(timeLabel->text(), QStringLiteral("T = 86400"));
    window.Item("mnUndo")->trigger();
    QCOMPARE(w.HBodyCount, 1);
    QCOMPARE(w.HBodies[1], kept);
    QCOMPARE(w.Celestial.CelestialTimeScale, 3600.0);
    QCOMPARE(w.T, 0.0);
    QCOMPARE(timeLabel->text(), QStringLiteral("T = 0"));
    window.Item("mnRedo")->trigger();
    QCOMPARE(w.T, 86400.0);
    QCOMPARE(timeLabel->text(), QStringLiteral("T = 86400"));
}

void FileCommandsTest::readOnlyOpenSavesAs() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    MakeScene(window);
    harness.dialogs.SaveAnswers.push_back(harness.Path("original.qvs"));
    QVERIFY(window.SaveAs());

    // The dialog's read-only box.
    harness.dialogs.OpenAnswers.push_back(FileOpenChoice{harness.Path("original.qvs"), true});
    window.OpenFile();
    QVERIFY(window.project().ReadOnly);
    QVERIFY(window.windowTitle().contains(QStringLiteral("(только чтение)")));
    const int dialogsBefore = harness.dialogs.SaveCalls;
    harness.dialogs.SaveAnswers.push_back(harness.Path("copy.qvs"));
    window.world().Changed = true;
    QVERIFY(!window.Item("mnSave")->isEnabled());
    QVERIFY(window.SceneKey(Qt::Key_S, Qt::ControlModifier));
    QCOMPARE(harness.dialogs.SaveCalls, dialogsBefore + 1);
    QVERIFY(std::filesystem::exists(harness.Path("copy.qvs")));
    QVERIFY(!window.project().ReadOnly);
    QCOMPARE(window.project().CurrentPath, harness.Path("copy.qvs"));

    // A file with the read-only attribute opens read-only without the box.
    std::filesystem::permissions(harness.Path("original.qvs"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    harness.dialogs.OpenAnswers.push_back(FileOpenChoice{harness.Path("original.qvs"), false});
    window.OpenFile();
    QVERIFY(window.project().ReadOnly);
    std::filesystem::permissions(harness.Path("original.qvs"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

void FileCommandsTest::recoverRestoresMovedBall() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    MakeScene(window);
    window.Item("mnPoint")->trigger();
    QVERIFY(window.Item("mnRecover")->isEnabled());
    window.world().Balls[1].Position = Vec2{3.0, 4.0};
    window.world().T = 2.5;
    window.Item("mnRecover")->trigger();
    QCOMPARE(window.world().Balls[1].Position.X, 1.5);
    QCOMPARE(window.world().Balls[1].Position.Y, 2.0);
    QCOMPARE(window.world().T, 0.0);
    QCOMPARE(window.TimeLabel()->text(), QStringLiteral("T = 0"));
    QVERIFY(window.world().Changed);
}

void FileCommandsTest::cancelAllReloadsFile() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    MakeScene(window);
    harness.dialogs.SaveAnswers.push_back(harness.Path("saved.qvs"));
    QVERIFY(window.SaveAs());
    window.world().Balls[1].Position = Vec2{-1.0, -1.0};
    window.world().Changed = true;

    harness.messenger.QueueAnswer(ThreeWayAnswer::No);
    window.Item("mnCancel")->trigger();
    QVERIFY(harness.Asked(CancelQuestion));
    QCOMPARE(window.world().Balls[1].Position.X, -1.0);

    harness.messenger.QueueAnswer(ThreeWayAnswer::Yes);
    window.Item("mnCancel")->trigger();
    QCOMPARE(window.world().Balls[1].Position.X, 1.5);
    QVERIFY(!window.Item("mnRecover")->isEnabled());
}

void FileCommandsTest::captionNamesTheFile() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    MakeScene(window);
    QCOMPARE(window.windowTitle(), QStringLiteral("Моделирование механических систем"));
    harness.dialogs.SaveAnswers.push_back(harness.Path("pendulum.qvs"));
    QVERIFY(window.SaveAs());
    QVERIFY(window.windowTitle().contains(QStringLiteral("pendulum")));
    QVERIFY(window.windowTitle().contains(QStringLiteral("Моделирование механических систем")));
}

void FileCommandsTest::descriptionMissingOrShown() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    MakeScene(window);
    QVERIFY(window.SceneKey(Qt::Key_D, Qt::ControlModifier));
    QVERIFY(harness.Asked("Описание имитации отсутствует"));

    window.world().Params.DescriptionExt = "txt";
    {
        std::ofstream document(harness.folders.DescriptionPath("txt"));
        document << "Пять шаров на нитях.";
    }
    window.Menu("mnFile")->aboutToShow();
    QVERIFY(window.Item("mnText")->isEnabled());
    window.Item("mnText")->trigger();
    auto* viewer = window.findChild<QTextBrowser*>(QStringLiteral("frmText"));
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->toPlainText(), QStringLiteral("Пять шаров на нитях."));
}

void FileCommandsTest::closingTheWindowAsksAndMayBeCancelled() {
    WindowHarness harness(ThreeWayAnswer::Cancel);
    frmMain& window = *harness.window;
    window.show();
    MakeScene(window);
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QVERIFY(harness.Asked(SaveQuestion));
    harness.messenger.QueueAnswer(ThreeWayAnswer::No);
    QVERIFY(window.close());
}

// "Optimize" on: the save leaves out the materials no object uses, as a
// step the history can undo; off, the table stays as it is.
void FileCommandsTest::saveDropsUnusedMaterialsWhenOptimising() {
    for (const bool optimise : {true, false}) {
        WindowHarness harness;
        frmMain& window = *harness.window;
        harness.settings.SetBool("Optimize", optimise);
        MakeScene(window);
        World& w = window.world();
        w.Balls[1].Material = 1;
        w.Materials.MaterialCount = 2;
        w.Materials.Items[1].Name = "сталь";
        w.Materials.Items[2].Name = "лишний";
        harness.dialogs.SaveAnswers.push_back(harness.Path("optimised.qvs"));
        window.Item("mnSave")->trigger();
        QVERIFY(!w.Changed);
        QCOMPARE(int(w.Materials.MaterialCount), optimise ? 1 : 2);
        window.NewMechanical();
        harness.dialogs.OpenAnswers.push_back(FileOpenChoice{harness.Path("optimised.qvs"), false});
        window.Item("mnOpen")->trigger();
        QCOMPARE(int(w.Materials.MaterialCount), optimise ? 1 : 2);
    }
    WindowHarness harness;
    MakeScene(*harness.window);
    World& w = harness.window->world();
    w.Balls[1].Material = 1;
    w.Materials.MaterialCount = 2;
    w.Materials.Items[2].Name = "лишний";
    harness.dialogs.SaveAnswers.push_back(harness.Path("undone.qvs"));
    harness.window->Item("mnSave")->trigger();
    harness.window->editor().History().undo();
    QCOMPARE(w.Materials.Items[2].Name, std::string("лишний"));
}

QTEST_MAIN(FileCommandsTest)
#include "editor_file_commands_test.moc"
