#include "project/start_point.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include <csignal>
#include <ctime>
#include <fstream>
#include <memory>

#include "project/lifecycle_test_support.h"
#include "project/lifecycle.h"
#include "model/world_ops.h"
#include "project/autosave.h"
#include "persist/qvs_file.h"

namespace velo {
namespace {

namespace fs = std::filesystem;
using testing::RecordingWindow;
using testing::ScratchFolder;
using testing::ScriptedChooser;
using testing::ScriptedMessenger;

class StartPointTest : public ::testing::Test {
protected:
    StartPointTest() : scratch(std::string("startpoint_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
        FolderEnvironment environment;
        environment.Temp = (scratch.Path() / "temp").string();
        environment.AppData = (scratch.Path() / "appdata").string();
        environment.ProcessId = 99;
        folders = TempFoldersFor(environment);
        LifecycleSettings settings;
        settings.ProgramFolder = scratch.Path();
        life = std::make_unique<Lifecycle>(*world, project, folders, messenger, chooser, window, settings);
        life->ProgramStart("");
    }

    ScratchFolder scratch;
    std::unique_ptr<World> world = std::make_unique<World>();
    Project project;
    TempFolders folders;
    ScriptedMessenger messenger;
    ScriptedChooser chooser;
    RecordingWindow window;
    std::unique_ptr<Lifecycle> life;
};

std::chrono::system_clock::time_point LocalTimePoint(int year, int month, int day, int h, int m, int s) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = h;
    t.tm_min = m;
    t.tm_sec = s;
    t.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&t));
}

TEST_F(StartPointTest, RestoreBringsBackObjectsMaterialsAndParameters) {
    const int b = NewObject(*world, KindBall).Number;
    world->Balls[b].Position = {1, 2};
    world->Balls[b].Radius = 0.1;
    world->Params.Wind = {3, 0};
    life->SetStartPoint();
    ASSERT_TRUE(project.RestoreEnabled);
    std::ofstream(folders.BackgroundPath(), std::ios::binary) << "picture";

    world->Balls[b].Position = {5, 5};
    world->Params.Wind = {0, 0};
    world->Materials.Items[1].Name = "Другой";
    NewObject(*world, KindPlane);
    world->T = 2.5;
    window.Time = "T = 2.5";
    world->Changed = false;

    life->Restore();
    EXPECT_EQ(world->Balls[b].Position, (Vec2{1, 2}));
    EXPECT_EQ(world->Params.Wind, (Vec2{3, 0}));
    EXPECT_EQ(world->Materials.Items[1].Name, "Сталь");
    EXPECT_EQ(world->PlaneCount, 0);
    EXPECT_EQ(world->T, 0);
    EXPECT_EQ(window.Time, "T = 0");
    EXPECT_TRUE(world->Changed);
    // The background working copy stays as it was.
    std::ifstream in(folders.BackgroundPath(), std::ios::binary);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "picture");
}

TEST_F(StartPointTest, StartPointFileHasNoEmbeddedFiles) {
    std::ofstream(folders.BackgroundPath(), std::ios::binary) << "picture";
    life->SetStartPoint();
    auto world2 = std::make_unique<World>();
    ScriptedMessenger quiet;
    QvsOpenResult r = OpenQvs(*world2, folders.StartPointPath(), quiet);
    ASSERT_TRUE(r.Read());
    EXPECT_TRUE(r.Embedded.Background.empty());
    EXPECT_TRUE(r.Embedded.Description.empty());
}

TEST_F(StartPointTest, RestoreWithoutAFileDoesNothing) {
    fs::remove(folders.StartPointPath());
    NewObject(*world, KindBall);
    world->Changed = false;
    life->Restore();
    EXPECT_EQ(world->BallCount, 1);
    EXPECT_FALSE(world->Changed);
    EXPECT_FALSE(RestoreStartPoint(*world, folders.StartPointPath(), messenger));
}

TEST_F(StartPointTest, OnlyMechanicalProjectsWriteAStartPoint) {
    life->NewCelestialProject();
    fs::remove(folders.StartPointPath());
    world->T = 4;
    life->SetStartPoint();
    EXPECT_EQ(world->T, 0);
    EXPECT_FALSE(fs::exists(folders.StartPointPath()));
}

TEST_F(StartPointTest, UnwritableStartPointKeepsRestoreDisabled) {
    // A folder where the start point file should be: it can be neither
    // deleted as a file nor replaced.
    fs::remove(folders.StartPointPath());
    fs::create_directories(folders.StartPointPath() / "blocker");
    life->SetStartPoint();
    EXPECT_FALSE(project.RestoreEnabled);
    EXPECT_TRUE(messenger.WasShown("Не удалось записать стартовые условия"));
}

// Runs `action` while the start point file `point` cannot be replaced:
// every file write beyond 100 bytes fails, as on a full disk; on Windows,
// which has no such limit, another program holds the file unshared.
template <typename Action>
void WithStartPointUnwritable([[maybe_unused]] const fs::path& point, Action action) {
#ifdef _WIN32
    const HANDLE held = CreateFileW(point.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    action();
    CloseHandle(held);
#else
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 100;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    action();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);
#endif
}

TEST_F(StartPointTest, AStartPointThatCannotBeWrittenKeepsTheOneInUse) {
    const int b = NewObject(*world, KindBall).Number;
    world->Balls[b].Position = {1, 2};
    life->SetStartPoint();
    ASSERT_TRUE(project.RestoreEnabled);
    world->Balls[b].Position = {5, 5};

    WithStartPointUnwritable(folders.StartPointPath(), [&] { life->SetStartPoint(); });
    EXPECT_TRUE(messenger.WasShown("вернёт к прежним стартовым условиям"));
    EXPECT_TRUE(project.RestoreEnabled);
    life->Restore();
    EXPECT_EQ(world->Balls[b].Position, (Vec2{1, 2}));

    // Another project: the start point of this one is not its own.
    const fs::path other = scratch.Path() / "other.qvs";
    ASSERT_TRUE(SaveQvs(*world, other, {}).Ok);
    WithStartPointUnwritable(folders.StartPointPath(), [&] { life->OpenPath(other, false); });
    EXPECT_FALSE(project.RestoreEnabled);
}

TEST(AutosaveName, DateTimeAndADistinctNameWithinOneSecond) {
    ScratchFolder scratch("autosave_names");
    const auto when = LocalTimePoint(2024, 3, 7, 9, 5, 4);
    const fs::path first = AutosavePath(scratch.Path(), when);
    EXPECT_EQ(first.filename(), "autosave_20240307_090504.qvs");
    std::ofstream(first) << "x";
    EXPECT_EQ(AutosavePath(scratch.Path(), when).filename(), "autosave_20240307_090504_2.qvs");
    std::ofstream(scratch.Path() / "autosave_20240307_090504_2.qvs") << "x";
    EXPECT_EQ(AutosavePath(scratch.Path(), when).filename(), "autosave_20240307_090504_3.qvs");
}

TEST_F(StartPointTest, AutosaveWritesReadOnlyCopiesAndLeavesTheChangedFlag) {
    NewObject(*world, KindBall);
    world->Balls[1].Radius = 0.1;
    life->MarkChanged();
    std::ofstream(folders.BackgroundPath(), std::ios::binary) << "picture";
    const auto when = LocalTimePoint(2025, 12, 31, 23, 59, 58);
    const std::optional<fs::path> first = life->Autosave(when);
    const std::optional<fs::path> second = life->Autosave(when);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(first->parent_path(), folders.AutosaveFolder);
    EXPECT_TRUE(world->Changed);
    // Protected against everyone's writing, still readable by its owner.
    const fs::perms rights = fs::status(*first).permissions();
    EXPECT_EQ(rights & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write), fs::perms::none);
    EXPECT_NE(rights & fs::perms::owner_read, fs::perms::none);
    auto copy = std::make_unique<World>();
    QvsOpenResult r = OpenQvs(*copy, *first, messenger);
    ASSERT_TRUE(r.Read());
    EXPECT_EQ(copy->BallCount, 1);
    EXPECT_EQ(std::string(r.Embedded.Background.begin(), r.Embedded.Background.end()), "picture");
}

TEST_F(StartPointTest, AutosaveRemovesTemporaryFilesOfInterruptedCopiesOnlyWhenOld) {
    fs::create_directories(folders.AutosaveFolder);
    const fs::path old = folders.AutosaveFolder / "autosave_20240101_100000.qvs.saving";
    const fs::path recent = folders.AutosaveFolder / "autosave_20240101_100001.qvs.saving";
    std::ofstream(old) << "partial";
    std::ofstream(recent) << "being written by another instance";
    fs::last_write_time(old, fs::file_time_type::clock::now() - std::chrono::hours(2));
    ASSERT_TRUE(life->Autosave(std::chrono::system_clock::now()));
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(recent));
}

TEST_F(StartPointTest, CelestialProjectsAreNotAutosaved) {
    life->NewCelestialProject();
    EXPECT_FALSE(life->Autosave(std::chrono::system_clock::now()).has_value());
    EXPECT_FALSE(fs::exists(folders.AutosaveFolder));
}

TEST_F(StartPointTest, ProgramEndRemovesTheInstanceFolders) {
    ASSERT_TRUE(fs::exists(folders.StartPointPath()));
    life->ProgramEnd();
    EXPECT_FALSE(fs::exists(folders.TempFolder));
    EXPECT_TRUE(fs::exists(folders.TempRoot));
}

TEST_F(StartPointTest, AutosaveFolderThatCannotBeMadeWarnsAndWritesNothing) {
    fs::create_directories(folders.AutosaveFolder.parent_path());
    std::ofstream(folders.AutosaveFolder) << "a file in the way";
    EXPECT_FALSE(life->Autosave(std::chrono::system_clock::now()).has_value());
    EXPECT_TRUE(messenger.WasShown("Can't autosave"));
}

}  // namespace
}  // namespace velo
