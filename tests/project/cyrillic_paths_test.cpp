// Folders and files whose names have Cyrillic letters and blanks, as the
// documents of most of the program's users do ("Мои имитации"): a project
// opens, saves, autosaves and keeps its start point there, named on the
// command line too, the command-line tool reads and writes there, and
// every message names the path in its own letters.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "cli/cli_tool.h"
#include "model/path_text.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"
#include "project/lifecycle_test_support.h"

namespace velo {
namespace {

namespace fs = std::filesystem;
using testing::RecordingWindow;
using testing::ScratchFolder;
using testing::ScriptedChooser;
using testing::ScriptedMessenger;

class CyrillicPaths : public ::testing::Test {
protected:
    CyrillicPaths() {
        fs::create_directories(documents);
        FolderEnvironment environment;
        environment.Temp = PathText(scratch.Path() / PathOf("Временные файлы"));
        environment.AppData = PathText(scratch.Path() / PathOf("Данные программ"));
        environment.ProcessId = 7;
        folders = TempFoldersFor(environment);
        LifecycleSettings settings;
        settings.ProgramFolder = scratch.Path();
        life = std::make_unique<Lifecycle>(*world, project, folders, messenger, chooser, window, settings);
    }

    // A project file with one ball at height `y`.
    fs::path WriteScene(const std::string& name, double y) {
        auto scene = std::make_unique<World>();
        DefaultWorld(*scene);
        scene->ProjectKind = ProjectMechanical;
        scene->Balls[NewObject(*scene, KindBall).Number].Position = {0, y};
        const fs::path path = documents / PathOf(name);
        EXPECT_TRUE(SaveQvs(*scene, path, {}).Ok) << name;
        return path;
    }

    ScratchFolder scratch{"Мои имитации"};
    const fs::path documents = scratch.Path() / PathOf("Мои имитации");
    std::unique_ptr<World> world = std::make_unique<World>();
    Project project;
    TempFolders folders;
    ScriptedMessenger messenger;
    ScriptedChooser chooser;
    RecordingWindow window;
    std::unique_ptr<Lifecycle> life;
};

TEST_F(CyrillicPaths, AProjectOpensSavesAutosavesAndRestoresThere) {
    const fs::path scene = WriteScene("Маятник Фуко.qvs", 2);
    // Named on the command line, in quotes as the system passes it.
    std::string commandLine = "\"";
    commandLine += PathText(scene) + "\"";
    ASSERT_TRUE(life->ProgramStart(commandLine));
    ASSERT_EQ(project.CurrentPath, scene);
    EXPECT_EQ(world->Balls[1].Position.Y, 2);
    EXPECT_NE(window.Caption.find("Маятник Фуко"), std::string::npos) << window.Caption;
    EXPECT_TRUE(fs::is_directory(folders.ImitationFolder));
    EXPECT_TRUE(project.RestoreEnabled);

    world->Balls[1].Position.Y = 3;
    life->MarkChanged();
    ASSERT_TRUE(life->Save());
    const fs::path copy = documents / PathOf("Копия для отчёта.qvs");
    chooser.Saves.push_back(copy);
    ASSERT_TRUE(life->SaveAs());
    const std::optional<fs::path> autosaved = life->Autosave(std::chrono::system_clock::now());
    ASSERT_TRUE(autosaved);
    EXPECT_EQ(autosaved->parent_path().parent_path(), scratch.Path() / PathOf("Данные программ"));

    life->Restore();
    EXPECT_EQ(world->Balls[1].Position.Y, 2);
    for (const fs::path& saved : {scene, copy, *autosaved}) {
        auto read = std::make_unique<World>();
        ASSERT_TRUE(OpenQvs(*read, saved, messenger).Read()) << PathText(saved);
        EXPECT_EQ(read->Balls[1].Position.Y, 3) << PathText(saved);
    }
    EXPECT_EQ(messenger.Shown, std::vector<std::string>{});
    life->ProgramEnd();
    EXPECT_FALSE(fs::exists(folders.TempFolder));
}

TEST_F(CyrillicPaths, MessagesNameThePathInItsOwnLetters) {
    const fs::path missing = documents / PathOf("Нет такого файла.qvs");
    EXPECT_FALSE(life->OpenPath(missing, false));
    const fs::path nowhere = documents / PathOf("Нет такой папки") / PathOf("сцена.qvs");
    const SaveResult saved = SaveQvs(*world, nowhere, {});
    EXPECT_FALSE(saved.Ok);
    EXPECT_NE(saved.Message.find(PathText(nowhere)), std::string::npos) << saved.Message;
    EXPECT_TRUE(messenger.WasShown("Файл не найден")) << ::testing::PrintToString(messenger.Shown);
}

TEST_F(CyrillicPaths, TheCommandLineToolReadsAndWritesThere) {
    const std::string scene = PathText(WriteScene("Наклонная плоскость.qvs", 1));
    const std::string out = PathText(documents / PathOf("После расчёта.qvs"));
    const std::string csv = PathText(documents / PathOf("Траектория шара.csv"));
    struct Case {
        std::vector<std::string> Args;
        int Status;
        std::string Says;  // in the error stream; empty: nothing to check
    };
    const Case cases[] = {
        {{"run", scene, "--time", "0.01", "--dt", "0.001", "--out", out, "--csv", csv}, CliOk, ""},
        {{"dump", out}, CliOk, ""},
        {{"dump", PathText(documents / PathOf("Пропавший файл.qvs"))}, CliFile, "Пропавший файл.qvs"},
        {{"new", PathText(documents / PathOf("Нет такой папки") / PathOf("новая.qvs"))}, CliFile,
         "Нет такой папки"},
    };
    for (const Case& c : cases) {
        std::ostringstream output;
        std::ostringstream errors;
        EXPECT_EQ(RunCli(c.Args, output, errors, false), c.Status) << c.Args[1] << ": " << errors.str();
        EXPECT_NE(errors.str().find(c.Says), std::string::npos) << errors.str();
    }
    auto read = std::make_unique<World>();
    ASSERT_TRUE(OpenQvs(*read, PathOf(out), messenger).Read());
    EXPECT_LT(read->Balls[1].Position.Y, 1);  // it fell
    EXPECT_TRUE(fs::is_regular_file(PathOf(csv)));
}

}  // namespace
}  // namespace velo
