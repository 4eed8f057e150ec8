#include "project/lifecycle.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "project/lifecycle_test_support.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"
#include "non_regular_paths.h"

namespace velo {
namespace {

namespace fs = std::filesystem;
using testing::RecordingWindow;
using testing::ScratchFolder;
using testing::ScriptedChooser;
using testing::ScriptedMessenger;

// One program instance: World, project state, folders under a scratch
// folder, scripted dialogs, and the program folder with or without template.
class LifecycleTest : public ::testing::Test {
protected:
    explicit LifecycleTest(const std::string& name = "lifecycle")
        : scratch(name + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
        FolderEnvironment environment;
        environment.Temp = (scratch.Path() / "temp").string();
        environment.AppData = (scratch.Path() / "appdata").string();
        environment.ProcessId = 1234;
        folders = TempFoldersFor(environment);
        programFolder = scratch.Path() / "program";
        fs::create_directories(programFolder);
        documents = scratch.Path() / "documents";
        fs::create_directories(documents);
        LifecycleSettings settings;
        settings.ProgramFolder = programFolder;
        life = std::make_unique<Lifecycle>(*world, project, folders, messenger, chooser, window, settings);
    }

    // A saved mechanical project with one ball at (x, 1).
    fs::path WriteProjectFile(const std::string& name, double x) {
        auto other = std::make_unique<World>();
        DefaultWorld(*other);
        other->ProjectKind = ProjectMechanical;
        const int b = NewObject(*other, KindBall).Number;
        other->Balls[b].Position = {x, 1};
        other->Balls[b].Radius = 0.1;
        const fs::path path = documents / name;
        EXPECT_TRUE(SaveQvs(*other, path, {}).Ok);
        return path;
    }

    void StartMechanical() {
        ASSERT_TRUE(life->ProgramStart(""));
        messenger.Shown.clear();
    }

    ScratchFolder scratch;
    std::unique_ptr<World> world = std::make_unique<World>();
    Project project;
    TempFolders folders;
    fs::path programFolder, documents;
    ScriptedMessenger messenger;
    ScriptedChooser chooser;
    RecordingWindow window;
    std::unique_ptr<Lifecycle> life;
};

TEST(LifecycleText, DefaultExtensionOnlyWithoutAnyDot) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"/home/u/scene", "/home/u/scene.qvs"},
        {"/home/u/scene.qvs", "/home/u/scene.qvs"},
        {"/home/u/scene.txt", "/home/u/scene.txt"},
        {"/home/u.v/scene", "/home/u.v/scene"},  // a dot in a folder name counts
    };
    for (const Case& c : cases) EXPECT_EQ(WithDefaultExtension(c.in), fs::path(c.out)) << c.in;
}

TEST(LifecycleText, CommandLineLosesOnePairOfQuotes) {
    EXPECT_EQ(StripQuotes("\"/a b/c.qvs\""), "/a b/c.qvs");
    EXPECT_EQ(StripQuotes("/a/c.qvs"), "/a/c.qvs");
    EXPECT_EQ(StripQuotes("\"\"x\"\""), "\"x\"");
    EXPECT_EQ(StripQuotes("\""), "\"");
}

TEST(LifecycleText, AuthorTextIsEightyCharacters) {
    const std::string padded = AuthorTextOfLength80("Автор");
    EXPECT_EQ(padded.substr(0, 10), "Автор");
    EXPECT_EQ(padded.size(), 10u + 75u);
    std::string longText;
    for (int i = 0; i < 100; ++i) longText += "ж";
    EXPECT_EQ(AuthorTextOfLength80(longText).size(), 160u);  // 80 two-byte characters
}

TEST_F(LifecycleTest, StartWithoutTemplateReportsItAndKeepsTheDefaults) {
    ASSERT_TRUE(life->ProgramStart(""));
    EXPECT_TRUE(messenger.WasShown("Файл не найден"));
    EXPECT_EQ(world->ProjectKind, ProjectMechanical);
    EXPECT_EQ(world->Params.Gravity, 9.81);
    EXPECT_EQ(world->Materials.Items[1].Name, "Сталь");
    EXPECT_EQ(project.CurrentPath, folders.UntitledPath());
    EXPECT_TRUE(fs::exists(folders.StartPointPath()));
    EXPECT_TRUE(project.RestoreEnabled);
    EXPECT_EQ(window.Time, "T = 0");
    EXPECT_EQ(window.Caption, "Моделирование механических систем");
}

TEST_F(LifecycleTest, NewProjectTakesUnitsAndParametersFromTheTemplate) {
    auto templ = std::make_unique<World>();
    DefaultWorld(*templ);
    templ->Params.Gravity = 1.62;
    templ->Units.LengthUnitName = "см";
    templ->Hands[0].Exists = true;
    ASSERT_TRUE(SaveQvsTemplate(*templ, programFolder / "New.qvs").Ok);
    StartMechanical();
    EXPECT_FALSE(messenger.WasShown("Файл не найден"));
    EXPECT_EQ(world->Params.Gravity, 1.62);
    EXPECT_EQ(world->Units.LengthUnitName, "см");
    EXPECT_TRUE(world->Hands[0].Exists);
    EXPECT_EQ(world->ProjectKind, ProjectMechanical);
}

TEST_F(LifecycleTest, ConfirmCloseFileAsksOnlyForAChangedMechanicalProject) {
    StartMechanical();
    EXPECT_TRUE(life->ConfirmCloseFile());
    EXPECT_TRUE(messenger.Asked.empty());

    life->MarkChanged();
    messenger.ThreeWay = {ThreeWayAnswer::Cancel};
    EXPECT_FALSE(life->ConfirmCloseFile());
    EXPECT_EQ(messenger.Asked.back(), "Сохранить изменения перед завершением работы с файлом?");

    messenger.ThreeWay = {ThreeWayAnswer::No};
    EXPECT_TRUE(life->ConfirmCloseFile());

    // Yes on an untitled project asks for a name; cancelling it cancels all.
    messenger.ThreeWay = {ThreeWayAnswer::Yes};
    EXPECT_FALSE(life->ConfirmCloseFile());
    EXPECT_EQ(chooser.SaveCalls, 1);

    messenger.ThreeWay = {ThreeWayAnswer::Yes};
    chooser.Saves = {documents / "answer"};
    EXPECT_TRUE(life->ConfirmCloseFile());
    EXPECT_TRUE(fs::exists(documents / "answer.qvs"));
    EXPECT_FALSE(world->Changed);

    // A changed celestial project goes without a question.
    life->SwitchProjectKind(ProjectCelestial);
    life->MarkChanged();
    const std::size_t asked = messenger.Asked.size();
    EXPECT_TRUE(life->ConfirmCloseFile());
    EXPECT_EQ(messenger.Asked.size(), asked);
}

TEST_F(LifecycleTest, SaveOfAnUntitledProjectAsksForANameAndKeepsIt) {
    StartMechanical();
    NewObject(*world, KindBall);
    life->MarkChanged();
    chooser.Saves = {documents / "first"};
    ASSERT_TRUE(life->Save());
    EXPECT_EQ(project.CurrentPath, documents / "first.qvs");
    EXPECT_EQ(project.LastFolder, documents);
    EXPECT_FALSE(world->Changed);
    EXPECT_EQ(window.Caption, "Моделирование механических систем - first.qvs");
    EXPECT_EQ(chooser.Titles.back(), "Сохранение имитации");

    // The next save writes to the same file without asking.
    NewObject(*world, KindBall);
    life->MarkChanged();
    ASSERT_TRUE(life->Save());
    EXPECT_EQ(chooser.SaveCalls, 1);
    auto reread = std::make_unique<World>();
    ASSERT_TRUE(OpenQvs(*reread, documents / "first.qvs", messenger).Read());
    EXPECT_EQ(reread->BallCount, 2);
}

TEST_F(LifecycleTest, FailedSaveReportsItAndChangesNothing) {
    StartMechanical();
    life->MarkChanged();
    chooser.Saves = {scratch.Path() / "no such folder" / "x.qvs"};
    EXPECT_FALSE(life->SaveAs());
    EXPECT_FALSE(messenger.Shown.empty());
    EXPECT_TRUE(world->Changed);
    EXPECT_EQ(project.CurrentPath, folders.UntitledPath());

    // ConfirmCloseFile's Yes with a failing save stops the replacing command.
    messenger.ThreeWay = {ThreeWayAnswer::Yes};
    chooser.Saves = {scratch.Path() / "no such folder" / "x.qvs"};
    life->NewCelestialProject();
    EXPECT_EQ(world->ProjectKind, ProjectMechanical);
}

TEST_F(LifecycleTest, OpenMakesTheStartPointAndTheCaption) {
    StartMechanical();
    const fs::path file = WriteProjectFile("scene.qvs", 0.25);
    chooser.Opens = {FileOpenChoice{file, false}};
    ASSERT_TRUE(life->Open());
    EXPECT_EQ(chooser.Titles.back(), "Открытие имитации");
    EXPECT_EQ(world->BallCount, 1);
    EXPECT_EQ(world->Balls[1].Position.X, 0.25);
    EXPECT_EQ(project.CurrentPath, file);
    EXPECT_FALSE(project.ReadOnly);
    EXPECT_FALSE(world->Changed);
    EXPECT_TRUE(project.RestoreEnabled);
    EXPECT_EQ(window.Caption, "Моделирование механических систем - scene.qvs");
    EXPECT_EQ(project.LastFolder, documents);
    EXPECT_TRUE(window.Enabled);
}

TEST_F(LifecycleTest, ReadOnlyProjectsSaveUnderANewName) {
    StartMechanical();
    const fs::path file = WriteProjectFile("locked.qvs", 1);
    ASSERT_TRUE(life->OpenPath(file, true));
    EXPECT_TRUE(project.ReadOnly);
    EXPECT_EQ(window.Caption, "Моделирование механических систем - locked.qvs (только чтение)");
    chooser.Saves = {documents / "copy.qvs"};
    ASSERT_TRUE(life->Save());
    EXPECT_EQ(chooser.SaveCalls, 1);
    EXPECT_FALSE(project.ReadOnly);
    EXPECT_EQ(project.CurrentPath, documents / "copy.qvs");

    // A file with the read-only attribute opens read-only without the box.
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ASSERT_TRUE(life->OpenPath(file, false));
    EXPECT_TRUE(project.ReadOnly);
}

TEST_F(LifecycleTest, RefusedFileDoesNotBecomeTheSaveTarget) {
    StartMechanical();
    const fs::path junk = documents / "junk.qvs";
    std::ofstream(junk, std::ios::binary) << std::string(300, 'x');
    EXPECT_FALSE(life->OpenPath(junk, false));
    EXPECT_TRUE(messenger.WasShown("Этот файл не является имитацией Velocitronimatics"));
    EXPECT_EQ(world->ProjectKind, ProjectNone);
    EXPECT_EQ(project.CurrentPath, folders.UntitledPath());
    std::ifstream in(junk, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, std::string(300, 'x'));
}

TEST_F(LifecycleTest, MissingFileChangesNothing) {
    StartMechanical();
    NewObject(*world, KindBall);
    EXPECT_FALSE(life->OpenPath(documents / "gone.qvs", false));
    EXPECT_TRUE(messenger.WasShown("Файл не найден"));
    EXPECT_EQ(world->BallCount, 1);
}

TEST_F(LifecycleTest, FoldersAndPipesAreSaidToBeSoAndChangeNothing) {
    const fs::path opened = WriteProjectFile("scene.qvs", 0.5);
    fs::create_directory(documents / "folder.qvs");
    const fs::path pipe = test::MakePipe(documents / "pipe.qvs");
    ASSERT_FALSE(pipe.empty());
    ASSERT_TRUE(life->ProgramStart(opened.string()));
    for (const auto& [path, message] : {std::pair{documents / "folder.qvs", FolderNotFileMessage},
                                        std::pair{pipe, NotRegularFileMessage}}) {
        messenger.Shown.clear();
        EXPECT_FALSE(life->OpenPath(path, false)) << path;
        EXPECT_EQ(messenger.Shown, std::vector<std::string>{message}) << path;
        EXPECT_EQ(world->BallCount, 1) << path;
        EXPECT_EQ(project.CurrentPath, opened) << path;
    }
    // Named on the command line: the message, then the project kind of
    // the settings, as for a path that names nothing.
    messenger.Shown.clear();
    ASSERT_TRUE(life->ProgramStart(pipe.string()));
    EXPECT_EQ(messenger.Shown.front(), NotRegularFileMessage);
    EXPECT_EQ(world->ProjectKind, ProjectMechanical);
    EXPECT_EQ(world->BallCount, 0);
    EXPECT_EQ(project.CurrentPath, folders.UntitledPath());
}

TEST_F(LifecycleTest, CancelAllReloadsTheFileOrStartsANewProject) {
    StartMechanical();
    const fs::path file = WriteProjectFile("scene.qvs", 0.5);
    ASSERT_TRUE(life->OpenPath(file, false));
    world->Balls[1].Position.X = 3;
    life->MarkChanged();

    messenger.YesNo = {false};
    life->CancelAll();
    EXPECT_EQ(world->Balls[1].Position.X, 3);
    EXPECT_EQ(messenger.Asked.back(),
              "Отменить все изменения, сделанные с момента последнего сохранения файла?");

    // After a run: the file is read again at T = 0, so that the next run
    // records its start point.
    world->T = 5.25;
    window.Time = "T = 5.25";
    messenger.YesNo = {true};
    life->CancelAll();
    EXPECT_EQ(world->Balls[1].Position.X, 0.5);
    EXPECT_EQ(world->T, 0);
    EXPECT_EQ(window.Time, "T = 0");
    EXPECT_FALSE(world->Changed);
    EXPECT_FALSE(project.RestoreEnabled);
    EXPECT_FALSE(window.RestoreAvailable);

    // An untitled project is replaced by a new one, with no save question.
    life->NewMechanicalProject();
    NewObject(*world, KindBall);
    life->MarkChanged();
    const std::size_t asked = messenger.Asked.size();
    messenger.YesNo = {true};
    life->CancelAll();
    EXPECT_EQ(messenger.Asked.size(), asked + 1);
    EXPECT_EQ(world->BallCount, 0);
    EXPECT_EQ(project.CurrentPath, folders.UntitledPath());
}

TEST_F(LifecycleTest, CloseCelestialAndDiffraction) {
    StartMechanical();
    // A new celestial project starts from the default parameters, whatever
    // the last one was set to.
    world->Celestial.GravitationalConstant = 1;
    world->Celestial.ViewAngleH = 1;
    world->Celestial.ViewAngleV = 0.5;
    world->Celestial.ObserverDistance = 10;
    life->NewCelestialProject();
    EXPECT_EQ(world->Celestial.GravitationalConstant, 6.672e-11);
    EXPECT_EQ(world->Celestial.ViewAngleV, 1.570796326794895);
    EXPECT_NEAR(world->Celestial.ViewAngleH, 1.920140724811376, 1e-14);
    EXPECT_NEAR(world->Celestial.ObserverDistance, 3500, 1e-9);
    EXPECT_EQ(world->ProjectKind, ProjectCelestial);
    EXPECT_EQ(world->Params.FieldOriginX, 5000);
    EXPECT_EQ(world->Params.FieldOriginY, 3500);
    EXPECT_EQ(window.Kind, ProjectCelestial);

    NewObject(*world, KindBall);
    life->DiffractionDemonstration();
    EXPECT_EQ(world->ProjectKind, ProjectDiffraction);
    EXPECT_EQ(world->BallCount, 1);  // the diffraction item does not clear the World

    life->Close();
    EXPECT_EQ(world->ProjectKind, ProjectNone);
    EXPECT_EQ(world->BallCount, 0);

    life->SwitchProjectKind(7);  // ignored
    EXPECT_EQ(world->ProjectKind, ProjectNone);
}

TEST_F(LifecycleTest, ProgramStartOpensAQuotedCommandLinePath) {
    const fs::path file = WriteProjectFile("start scene.qvs", 0.75);
    ASSERT_TRUE(life->ProgramStart("\"" + file.string() + "\""));
    EXPECT_EQ(world->BallCount, 1);
    EXPECT_EQ(project.CurrentPath, file);
    EXPECT_TRUE(fs::exists(folders.StartPointPath()));
    EXPECT_EQ(window.Caption, "Моделирование механических систем - start scene.qvs");
}

TEST_F(LifecycleTest, ProgramStartWithoutAFileStartsTheKindOfTheSettings) {
    LifecycleSettings settings;
    settings.ProgramFolder = programFolder;
    settings.StartKind = ProjectCelestial;
    Lifecycle celestial(*world, project, folders, messenger, chooser, window, settings);
    ASSERT_TRUE(celestial.ProgramStart("\"" + (documents / "absent.qvs").string() + "\""));
    EXPECT_EQ(world->ProjectKind, ProjectCelestial);

    settings.StartKind = ProjectNone;
    Lifecycle none(*world, project, folders, messenger, chooser, window, settings);
    ASSERT_TRUE(none.ProgramStart(""));
    EXPECT_EQ(world->ProjectKind, ProjectNone);
}

TEST_F(LifecycleTest, FoldersStayPutWhenTheSettingSaysSo) {
    LifecycleSettings settings;
    settings.ProgramFolder = programFolder;
    settings.KeepFolder = true;
    Lifecycle keeping(*world, project, folders, messenger, chooser, window, settings);
    ASSERT_TRUE(keeping.ProgramStart(""));
    project.LastFolder = "/fixed";
    ASSERT_TRUE(keeping.OpenPath(WriteProjectFile("a.qvs", 0), false));
    EXPECT_EQ(project.LastFolder, fs::path("/fixed"));
}

TEST_F(LifecycleTest, CaptionHidesTheUntitledProject) {
    StartMechanical();
    project.CurrentPath = documents / "New.qvs";
    EXPECT_EQ(life->Caption(), "Моделирование механических систем");
    project.CurrentPath.clear();
    EXPECT_EQ(life->Caption(), "Моделирование механических систем");
}

TEST_F(LifecycleTest, NewWindowsStartOtherInstances) {
    StartMechanical();
    life->NewWindow();
    chooser.Opens = {FileOpenChoice{documents / "x.qvs", false}};
    life->OpenInNewWindow();
    EXPECT_EQ(chooser.Titles.back(), "Открытие имитации в новом окне");
    ASSERT_EQ(window.Started.size(), 2u);
    EXPECT_EQ(window.Started[0], "<none>");
    EXPECT_EQ(window.Started[1], (documents / "x.qvs").string());
}

TEST_F(LifecycleTest, EmbeddedFilesTravelThroughTheTemporaryFolder) {
    StartMechanical();
    const fs::path doc = documents / "about.htm";
    std::ofstream(doc, std::ios::binary) << "<p>описание</p>";
    ASSERT_TRUE(life->ChooseDescription(doc));
    EXPECT_EQ(world->Params.DescriptionExt, "htm");
    ASSERT_TRUE(fs::exists(folders.DescriptionPath("htm")));
    std::ofstream(folders.BackgroundPath(), std::ios::binary) << "BMpicture";
    chooser.Saves = {documents / "with_files.qvs"};
    ASSERT_TRUE(life->SaveAs());

    fs::remove(folders.BackgroundPath());
    fs::remove(folders.DescriptionPath("htm"));
    ASSERT_TRUE(life->OpenPath(documents / "with_files.qvs", false));
    {
        // Closed again at once: Windows removes no file that is open.
        std::ifstream background(folders.BackgroundPath(), std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(background)), std::istreambuf_iterator<char>());
        EXPECT_EQ(content, "BMpicture");
    }
    EXPECT_TRUE(fs::exists(folders.DescriptionPath("htm")));

    // A file without embedded files removes the old working copies.
    ASSERT_TRUE(life->OpenPath(WriteProjectFile("plain.qvs", 0), false));
    EXPECT_FALSE(fs::exists(folders.BackgroundPath()));
    EXPECT_FALSE(fs::exists(folders.DescriptionPath("htm")));

    // So does a new project, also without a template.
    ASSERT_TRUE(life->OpenPath(documents / "with_files.qvs", false));
    ASSERT_TRUE(fs::exists(folders.BackgroundPath()));
    life->NewMechanicalProject();
    EXPECT_FALSE(fs::exists(folders.BackgroundPath()));
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(LifecycleTest, ARefusedDescriptionKeepsTheOldOneAndTheChoiceCanBeTakenBack) {
    StartMechanical();
    const fs::path first = documents / "first.htm";
    std::ofstream(first, std::ios::binary) << "<p>первое</p>";
    ASSERT_TRUE(life->ChooseDescription(first));
    const FileInformation before = life->CurrentFileInformation();
    ASSERT_TRUE(before.Description.has_value());

    // A document that is not there, a folder, a pipe, one too long for a
    // simulation file, or a name without extension: a message in Russian
    // that names it, and the old description stays.
    fs::create_directories(documents / "folder.txt");
    const fs::path pipe = test::MakePipe(documents / "pipe.txt");
    ASSERT_FALSE(pipe.empty());
    std::ofstream(documents / "huge.txt") << "x";
    fs::resize_file(documents / "huge.txt", static_cast<std::uintmax_t>(EmbeddedFileLimit) + 1);
    for (const fs::path& refused : {documents / "missing.txt", documents / "folder.txt", pipe,
                                    documents / "huge.txt", documents / "README"}) {
        std::ofstream(documents / "README") << "text";
        messenger.Shown.clear();
        EXPECT_FALSE(life->ChooseDescription(refused)) << refused;
        ASSERT_EQ(messenger.Shown.size(), 1u) << refused;
        EXPECT_NE(messenger.Shown[0].find(refused.string()), std::string::npos) << messenger.Shown[0];
        EXPECT_NE(messenger.Shown[0].find_first_of("\xD0\xD1"), std::string::npos) << messenger.Shown[0];
        EXPECT_EQ(world->Params.DescriptionExt, "htm");
        EXPECT_EQ(ReadText(folders.DescriptionPath("htm")), "<p>первое</p>");
    }
    // The working copy itself may be chosen again.
    EXPECT_TRUE(life->ChooseDescription(folders.DescriptionPath("htm")));
    EXPECT_EQ(ReadText(folders.DescriptionPath("htm")), "<p>первое</p>");

    // Another type replaces the copy; putting the information back restores
    // the old copy, its type and the author text, and removes the new copy.
    const fs::path second = documents / "second.txt";
    std::ofstream(second, std::ios::binary) << "второе";
    ASSERT_TRUE(life->ChooseDescription(second));
    EXPECT_FALSE(fs::exists(folders.DescriptionPath("htm")));
    project.AuthorText = "Автор";
    const FileInformation after = life->CurrentFileInformation();
    world->Changed = false;
    life->PutFileInformation(before);
    EXPECT_EQ(life->CurrentFileInformation(), before);
    EXPECT_EQ(ReadText(folders.DescriptionPath("htm")), "<p>первое</p>");
    EXPECT_FALSE(fs::exists(folders.DescriptionPath("txt")));
    EXPECT_TRUE(world->Changed);
    life->PutFileInformation(after);
    EXPECT_EQ(life->CurrentFileInformation(), after);
    EXPECT_EQ(project.AuthorText, "Автор");

    // No description at all.
    FileInformation none;
    life->PutFileInformation(none);
    EXPECT_FALSE(fs::exists(folders.DescriptionPath("txt")));
    EXPECT_EQ(life->CurrentFileInformation(), none);
}

TEST_F(LifecycleTest, FilePropertiesSaveAnUntitledProjectFirst) {
    StartMechanical();
    NewObject(*world, KindBall);
    life->MarkChanged();
    const std::optional<std::uintmax_t> size = life->PrepareFileProperties();
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, fs::file_size(folders.UntitledPath()));
    EXPECT_TRUE(world->Changed);  // the untitled copy is not the user's file
}

TEST_F(LifecycleTest, TemplateOfTheParametersWindow) {
    StartMechanical();
    world->Params.Gravity = 3.7;
    world->Hands[0].Exists = true;
    ASSERT_TRUE(life->WriteTemplate());
    life->NewMechanicalProject();
    EXPECT_EQ(world->Params.Gravity, 3.7);
    EXPECT_TRUE(world->Hands[0].Exists);

    // A template that cannot be written is reported; the old one stays.
    const auto before = fs::file_size(programFolder / "New.qvs");
    fs::rename(programFolder, scratch.Path() / "moved");
    fs::create_directories(programFolder / "New.qvs");
    world->Params.Gravity = 1;
    EXPECT_FALSE(life->WriteTemplate());
    EXPECT_TRUE(messenger.WasShown("Параметры не записаны как шаблон новых проектов. Не удалось сохранить файл"));
    EXPECT_EQ(fs::file_size(scratch.Path() / "moved" / "New.qvs"), before);
}

TEST_F(LifecycleTest, BackgroundPictureOfTheParametersWindow) {
    StartMechanical();
    const fs::path picture = documents / "sky.bmp";
    std::ofstream(picture, std::ios::binary) << "BMsky";
    ASSERT_TRUE(life->StoreBackground(picture));
    EXPECT_EQ(ReadText(folders.BackgroundPath()), "BMsky");

    // A picture that cannot be read leaves the old one.
    EXPECT_FALSE(life->StoreBackground(documents / "missing.bmp"));
    EXPECT_TRUE(messenger.WasShown("Не удалось прочитать рисунок"));
    EXPECT_TRUE(fs::exists(folders.BackgroundPath()));

    ASSERT_TRUE(life->StoreBackground({}));
    EXPECT_FALSE(fs::exists(folders.BackgroundPath()));
}

}  // namespace
}  // namespace velo
