#include "project/temp_folders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace velo {
namespace {

namespace fs = std::filesystem;

// A scratch folder of its own for every test, removed afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(fs::temp_directory_path() / ("velo_lifecycle_" + name + "_" +
                                             std::to_string(CurrentFolderEnvironment().ProcessId))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

FolderEnvironment EnvironmentIn(const fs::path& scratch) {
    FolderEnvironment environment;
    environment.Temp = (scratch / "temp").string();
    environment.AppData = (scratch / "appdata").string();
    environment.SystemTemp = scratch / "system";
    environment.Home = (scratch / "home").string();
    environment.ProcessId = 4321;
    return environment;
}

TEST(TempFolderLayout, FollowsTheEnvironmentAndTheProcessNumber) {
    FolderEnvironment environment;
    environment.Temp = "/t";
    environment.AppData = "/a";
    environment.SystemTemp = "/sys";
    environment.Home = "/home/u";
    environment.ProcessId = 77;
    TempFolders f = TempFoldersFor(environment);
    EXPECT_EQ(f.TempRoot, fs::path("/t/Quorvantel"));
    EXPECT_EQ(f.TempFolder, fs::path("/t/Quorvantel/77"));
    EXPECT_EQ(f.ImitationFolder, fs::path("/t/Quorvantel/77/Imitation"));
    EXPECT_EQ(f.UntitledPath(), fs::path("/t/Quorvantel/77/New.qvs"));
    EXPECT_EQ(f.StartPointPath(), fs::path("/t/Quorvantel/77/Point"));
    EXPECT_EQ(f.BackgroundPath(), fs::path("/t/Quorvantel/77/Imitation/Background.bmp"));
    EXPECT_EQ(f.DescriptionPath("htm     "), fs::path("/t/Quorvantel/77/Imitation/Description.htm"));
    EXPECT_EQ(f.AutosaveFolder, fs::path("/a/Quorvantel"));
}

TEST(TempFolderLayout, FallsBackWhenVariablesAreUnset) {
    FolderEnvironment environment;
    environment.SystemTemp = "/sys";
    environment.Home = "/home/u";
    environment.ProcessId = 5;
    TempFolders f = TempFoldersFor(environment);
    EXPECT_EQ(f.TempFolder, fs::path("/sys/Quorvantel/5"));
    EXPECT_EQ(f.AutosaveFolder, fs::path("/home/u/.local/share/Quorvantel"));
    environment.XdgDataHome = "/data";
    EXPECT_EQ(TempFoldersFor(environment).AutosaveFolder, fs::path("/data/Quorvantel"));
}

TEST(TempFolderSession, CreatesAndRemovesOnlyItsOwnFolders) {
    ScratchFolder scratch("session");
    TempFolders folders = TempFoldersFor(EnvironmentIn(scratch.Path()));
    fs::create_directories(folders.TempRoot / "999");  // another instance
    {
        TempFoldersSession session(folders);
        ASSERT_EQ(session.Problem(), "");
        ASSERT_TRUE(fs::is_directory(folders.ImitationFolder));
        std::ofstream(folders.StartPointPath()) << "x";
        std::ofstream(folders.BackgroundPath()) << "x";
        std::ofstream(folders.UntitledPath()) << "x";
        fs::permissions(folders.UntitledPath(), fs::perms::owner_write, fs::perm_options::remove);
    }
    EXPECT_FALSE(fs::exists(folders.TempFolder));
    EXPECT_TRUE(fs::is_directory(folders.TempRoot / "999"));
}

TEST(TempFolderSession, CleanUpIsNotRecursive) {
    ScratchFolder scratch("nonrecursive");
    TempFolders folders = TempFoldersFor(EnvironmentIn(scratch.Path()));
    ASSERT_EQ(CreateTempFolders(folders), "");
    fs::create_directories(folders.TempFolder / "Kept");
    std::ofstream(folders.TempFolder / "Kept" / "file") << "x";
    std::ofstream(folders.StartPointPath()) << "x";
    RemoveTempFolders(folders);
    EXPECT_FALSE(fs::exists(folders.ImitationFolder));
    EXPECT_FALSE(fs::exists(folders.StartPointPath()));
    EXPECT_TRUE(fs::exists(folders.TempFolder / "Kept" / "file"));
}

TEST(TempFolderSession, UnwritableRootGivesAMessageAndTouchesNothing) {
    ScratchFolder scratch("unwritable");
    FolderEnvironment environment = EnvironmentIn(scratch.Path());
    // A file where the root folder should be: no permission trick needed, so
    // the test also holds when run as root.
    fs::create_directories(environment.Temp);
    std::ofstream(fs::path(environment.Temp) / "Quorvantel") << "precious";
    TempFolders folders = TempFoldersFor(environment);
    std::string problem = CreateTempFolders(folders);
    EXPECT_NE(problem.find("Не удалось создать временную папку"), std::string::npos);
    EXPECT_NE(problem.find(folders.TempRoot.string()), std::string::npos);
    std::ifstream kept(folders.TempRoot);
    std::string content;
    kept >> content;
    EXPECT_EQ(content, "precious");
}

TEST(GeneratedPictures, NamesAreFreshDecimalNumbersBelowTenMillion) {
    ScratchFolder scratch("pictures");
    TempFolders folders = TempFoldersFor(EnvironmentIn(scratch.Path()));
    std::mt19937 random(1);
    std::set<fs::path> seen;
    for (int i = 0; i < 20; ++i) {
        fs::path p = GeneratedPicturePath(folders, ".bmp", random);
        EXPECT_EQ(p.parent_path(), folders.TempRoot / "Different");
        EXPECT_EQ(p.extension(), ".bmp");
        const std::string stem = p.stem().string();
        EXPECT_LT(std::stol(stem), 10'000'000);
        EXPECT_FALSE(fs::exists(p));
        std::ofstream(p) << "x";
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 20u);
}

}  // namespace
}  // namespace velo
