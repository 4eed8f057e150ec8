// What is at the path: saves through links, over folders, pipes, devices
// and hard-linked files, with the target's permissions and owner, without
// debris of earlier saves; opens of folders, pipes, devices and files too
// long for the format.
#include <gtest/gtest.h>

#include "../scratch_names.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>
#include <functional>
#include <set>
#include <string_view>
#include <vector>

#include "persist/atomic_file.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"
#include "qvs_test_support.h"
#include "non_regular_paths.h"

namespace velo {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::RecordingMessenger;

class FilePaths : public ::testing::Test {
protected:
    FilePaths()
        : folder_(fs::temp_directory_path() /
                  testing::ProcessScratchName(std::string("velo_paths_") + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        RemoveFolder();
        fs::create_directories(folder_);
    }
    ~FilePaths() override { RemoveFolder(); }

    // Write-protected files too: Windows removes none of them as they are.
    void RemoveFolder() const {
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(folder_, ignored); it != fs::recursive_directory_iterator();
             it.increment(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        }
        fs::remove_all(folder_, ignored);
    }

    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename().string());
        return names;
    }
    // Temporary files of saves anywhere under `folder`.
    static std::vector<std::string> Temporaries(const fs::path& folder) {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.find(".saving") != std::string::npos) found.push_back(name);
        }
        return found;
    }

    fs::path folder_;
};

TEST_F(FilePaths, SaveFollowsLinksAndRefusesWhatIsNoPlainFile) {
    struct Case {
        const char* name;
        // Makes what lies at "target" and returns false when this system
        // cannot make it.
        std::function<bool(const fs::path& folder)> make;
        bool saved;
        // Holds afterwards, whatever the save did.
        std::function<void(const fs::path& folder)> check;
    };
    const std::string text = "new content";
#ifndef _WIN32
    int pipeEnds[2] = {-1, -1};
#endif
    const Case cases[] = {
    // Links and pipes of folders are POSIX's; the standard library of
    // MinGW makes no links, and Windows keeps its pipes elsewhere.
#ifndef _WIN32
        {"link to a file",
         [](const fs::path& f) {
             Write(f / "real", "old");
             fs::create_symlink("real", f / "target");
             return true;
         },
         true,
         [&](const fs::path& f) {
             EXPECT_TRUE(fs::is_symlink(fs::symlink_status(f / "target")));
             EXPECT_EQ(Read(f / "real"), text);
         }},
        {"chain of links into another folder",
         [](const fs::path& f) {
             fs::create_directory(f / "sub");
             Write(f / "sub" / "real", "old");
             fs::create_symlink("sub/real", f / "middle");
             fs::create_symlink("middle", f / "target");
             return true;
         },
         true,
         [&](const fs::path& f) {
             EXPECT_TRUE(fs::is_symlink(fs::symlink_status(f / "middle")));
             EXPECT_EQ(Read(f / "sub" / "real"), text);
         }},
        {"link to nothing yet",
         [](const fs::path& f) {
             fs::create_symlink("later", f / "target");
             return true;
         },
         true, [&](const fs::path& f) { EXPECT_EQ(Read(f / "later"), text); }},
        {"loop of links",
         [](const fs::path& f) {
             fs::create_symlink("target", f / "other");
             fs::create_symlink("other", f / "target");
             return true;
         },
         false, [](const fs::path& f) { EXPECT_TRUE(fs::is_symlink(fs::symlink_status(f / "target"))); }},
#endif
        {"folder",
         [](const fs::path& f) { return fs::create_directory(f / "target"); },
         false, [](const fs::path& f) { EXPECT_TRUE(fs::is_directory(f / "target")); }},
#ifndef _WIN32
        {"pipe",
         [](const fs::path& f) { return mkfifo((f / "target").c_str(), 0644) == 0; },
         false, [](const fs::path& f) { EXPECT_TRUE(fs::is_fifo(f / "target")); }},
        {"link to a device",
         [](const fs::path& f) {
             fs::create_symlink("/dev/null", f / "target");
             return true;
         },
         false, [](const fs::path&) { EXPECT_TRUE(fs::is_character_file("/dev/null")); }},
        // As /dev/stdout leads to a pipe: through /proc, to no name at all.
        {"link to a pipe held open",
         [&pipeEnds](const fs::path& f) {
             if (pipe(pipeEnds) != 0) return false;
             fs::create_symlink("/proc/self/fd/" + std::to_string(pipeEnds[1]), f / "target");
             return fs::exists(f / "target");
         },
         false,
         [&pipeEnds](const fs::path&) {
             close(pipeEnds[0]);
             close(pipeEnds[1]);
         }},
#endif
        {"file with a second name",
         [](const fs::path& f) {
             Write(f / "target", "old");
             fs::create_hard_link(f / "target", f / "second");
             return true;
         },
         false,
         [](const fs::path& f) {
             EXPECT_EQ(Read(f / "target"), "old");
             // Asked of the system itself: the standard library of MinGW
             // counts one name for every file.
             EXPECT_EQ(native::Inspect(f / "second").Links, 2u);
         }},
    };
    for (const Case& c : cases) {
        const fs::path f = folder_ / c.name;
        fs::create_directory(f);
        if (!c.make(f)) {
            ADD_FAILURE() << c.name << ": could not be made here";
            continue;
        }
        const SaveResult result = WriteFileAtomically(f / "target", text);
        EXPECT_EQ(result.Ok, c.saved) << c.name << ": " << result.Message;
        if (!c.saved) {
            EXPECT_NE(result.Message.find((f / "target").string()), std::string::npos) << c.name;
        }
        c.check(f);
        EXPECT_EQ(Temporaries(f), std::vector<std::string>{}) << c.name;
    }
}

TEST_F(FilePaths, SaveLeavesADeviceNodeAlone) {
#ifdef _WIN32
    // Windows keeps its devices out of folders, under names of their own.
    for (const fs::path& device : {test::NullDevice(), test::MakePipe(folder_ / "pipe")}) {
        const SaveResult result = WriteFileAtomically(device, std::string("new"));
        EXPECT_FALSE(result.Ok) << device;
        EXPECT_NE(result.Message.find("устройство"), std::string::npos) << result.Message;
    }
    EXPECT_TRUE(Names().empty());
#else
    if (geteuid() != 0) GTEST_SKIP() << "only the superuser may make a device node";
    const fs::path path = folder_ / "null";
    // Containers may deny it to the superuser too.
    if (mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no device node can be made here";
    const SaveResult result = WriteFileAtomically(path, std::string("new"));
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("устройство"), std::string::npos) << result.Message;
    EXPECT_TRUE(fs::is_character_file(path));
    EXPECT_EQ(Names(), std::set<std::string>{"null"});
#endif
}

// Two windows, or a long run of the command-line tool beside a save from
// the window program: each save renames its own file, whatever the other
// one does meanwhile.
TEST_F(FilePaths, TwoSavesOfOneTargetAtOnceEachPutTheirOwnFileInPlace) {
    const fs::path path = folder_ / "scene.qvs";
    const std::string first(100000, 'a');
    const std::string second(100000, 'b');
    const std::string_view a(first);
    const std::string_view b(second);
    AtomicFile one(path);
    ASSERT_TRUE(one.Write(a.substr(0, 50000)));
    AtomicFile two(path);  // sweeps the folder while the first is half-written
    ASSERT_TRUE(two.Ok()) << two.Problem();
    EXPECT_NE(one.Temporary(), two.Temporary());
    EXPECT_TRUE(fs::exists(one.Temporary()));
    ASSERT_TRUE(two.Write(b.substr(0, 50000)));
    ASSERT_TRUE(one.Write(a.substr(50000)));
    ASSERT_TRUE(one.Commit().Ok);
    EXPECT_EQ(Read(path), first);
    ASSERT_TRUE(two.Write(b.substr(50000)));
    ASSERT_TRUE(two.Commit().Ok);
    EXPECT_EQ(Read(path), second);
    EXPECT_EQ(Names(), std::set<std::string>{"scene.qvs"});
}

TEST_F(FilePaths, FailedTemporaryFilesGiveTheTrueReasonAndFoldersStay) {
    // A folder with a temporary file's name is the user's: not in the way,
    // not removed.
    for (const char* name : {"scene.qvs.saving", "scene.qvs.saving1"}) {
        fs::create_directory(folder_ / name);
        Write(folder_ / name / "inside", "kept");
    }
    const SaveResult saved = WriteFileAtomically(folder_ / "scene.qvs", std::string("new"));
    EXPECT_TRUE(saved.Ok) << saved.Message;
    EXPECT_EQ(Read(folder_ / "scene.qvs.saving" / "inside"), "kept");
    EXPECT_EQ(Read(folder_ / "scene.qvs.saving1" / "inside"), "kept");

    const SaveResult nowhere = WriteFileAtomically(folder_ / "absent" / "scene.qvs", std::string("new"));
    EXPECT_FALSE(nowhere.Ok);
    EXPECT_NE(nowhere.Message.find("папки, в которой он должен лежать, нет"), std::string::npos)
        << nowhere.Message;
    // There was no file to keep.
    EXPECT_EQ(nowhere.Message.find("Прежний файл"), std::string::npos) << nowhere.Message;

    // A file that was there is kept, and the message says so.
    Write(folder_ / "linked.qvs", "old");
    fs::create_hard_link(folder_ / "linked.qvs", folder_ / "other name.qvs");
    const SaveResult linked = WriteFileAtomically(folder_ / "linked.qvs", std::string("new"));
    EXPECT_NE(linked.Message.find("Прежний файл не изменён"), std::string::npos) << linked.Message;

    // The rename fails for the reason the system gives: a folder took the
    // name while the file was written, which no free disk space would mend.
    const fs::path late = folder_ / "late.qvs";
    AtomicFile save(late);
    ASSERT_TRUE(save.Write(std::string("new")));
    fs::create_directory(late);
    const SaveResult renamed = save.Commit();
    EXPECT_FALSE(renamed.Ok);
    EXPECT_NE(renamed.Message.find("это имя носит папка"), std::string::npos) << renamed.Message;
    EXPECT_EQ(renamed.Message.find("место"), std::string::npos) << renamed.Message;
    EXPECT_TRUE(fs::is_directory(late));
}

TEST_F(FilePaths, SaveKeepsPermissionsAndOwner) {
#ifdef _WIN32
    // Windows has no owner and mode bits on a file; what a replacement
    // keeps there are the attributes (TheReplacementKeepsTheHiddenAttribute).
    GTEST_SKIP() << "no POSIX permissions on Windows";
#else
    const bool superuser = geteuid() == 0;
    for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0444), fs::perms(0755)}) {
        const fs::path path = folder_ / "scene.qvs";
        // A write-protected file is refused, but not to the superuser.
        if (!superuser && mode == fs::perms(0444)) continue;
        Write(path, "old");
        fs::permissions(path, mode);
        // Only the superuser can give a file to someone else.
        if (superuser) {
            ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
        }
        ASSERT_TRUE(WriteFileAtomically(path, std::string("new")).Ok);
        EXPECT_EQ(Read(path), "new");
        EXPECT_EQ(fs::status(path).permissions(), mode) << static_cast<int>(mode);
        struct stat facts {};
        ASSERT_EQ(stat(path.c_str(), &facts), 0);
        EXPECT_EQ(facts.st_uid, superuser ? 65534u : geteuid());
        fs::remove(path);
    }
    // A new file gets the permissions of any new file of this process.
    const mode_t mask = umask(022);
    umask(mask);
    ASSERT_TRUE(WriteFileAtomically(folder_ / "fresh.qvs", std::string("x")).Ok);
    EXPECT_EQ(static_cast<mode_t>(fs::status(folder_ / "fresh.qvs").permissions()), 0666 & ~mask);
#endif
}

// A file protected against writing (mode 0444) is not replaced by a user
// who may not write to it; the superuser runs this as the user "nobody".
TEST_F(FilePaths, SaveRefusesAWriteProtectedFile) {
    const fs::path path = folder_ / "protected.qvs";
    Write(path, "old");
    fs::permissions(path, fs::perms(0444));
    auto save = [&path] {
        const SaveResult saved = WriteFileAtomically(path, std::string("new"));
        return !saved.Ok && saved.Message.find("файл защищён от записи") != std::string::npos;
    };
#ifdef _WIN32
    // The read-only attribute binds administrators too.
    EXPECT_TRUE(save());
#else
    if (geteuid() != 0) {
        EXPECT_TRUE(save());
    } else {
        fs::permissions(folder_, fs::perms::all);
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 && save() ? 0 : 1);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
#endif
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Names(), std::set<std::string>{"protected.qvs"});
}

TEST_F(FilePaths, SaveRemovesTemporaryFilesOfInterruptedSavesOfTheSameTarget) {
    for (const char* name : {"scene.qvs.saving", "scene.qvs.saving1", "scene.qvs.saving17", "scene.qvs.savings",
                             "other.qvs.saving"}) {
        Write(folder_ / name, std::string(1000, 'x'));
    }
    ASSERT_TRUE(WriteFileAtomically(folder_ / "scene.qvs", std::string("new")).Ok);
    EXPECT_EQ(Names(), (std::set<std::string>{"scene.qvs", "scene.qvs.savings", "other.qvs.saving"}));

#ifdef _WIN32
    // The file of an autosave killed after it was made read-only, which
    // Windows does not let anyone remove as it is.
    const fs::path left = folder_ / "copy.qvs.saving42";
    Write(left, "half");
    fs::permissions(left, fs::perms(0444));
    ASSERT_TRUE(WriteFileAtomically(folder_ / "copy.qvs", std::string("new")).Ok);
    EXPECT_FALSE(fs::exists(left));
#else
    // A save of a target no one may read or write (mode 0000), killed while
    // it writes, leaves a file its owner can still open, and so the next
    // save can remove (the superuser could open it anyway: the mode tells).
    const fs::path locked = folder_ / "locked.qvs";
    Write(locked, "old");
    fs::permissions(locked, fs::perms::none);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFile save(locked);
        save.Write(std::string("half"));
        _exit(save.Ok() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::vector<std::string> left = Temporaries(folder_);
    std::erase_if(left, [](const std::string& name) { return name.rfind("locked.qvs", 0) != 0; });
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(fs::status(folder_ / left[0]).permissions(), fs::perms(0600));
    ASSERT_TRUE(WriteFileAtomically(locked, std::string("new")).Ok);
    EXPECT_FALSE(fs::exists(folder_ / left[0]));
    EXPECT_EQ(fs::status(locked).permissions(), fs::perms::none);
#endif
}

#ifdef _WIN32
// Windows lets no one replace a file another program holds open without
// sharing its removal (a table open in a spreadsheet): the save says the
// file is busy, and the file and its folder stay as they were.
TEST_F(FilePaths, SaveOverAFileAnotherProgramHoldsSaysItIsBusy) {
    const fs::path path = folder_ / "held.csv";
    Write(path, "old");
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const SaveResult result = WriteFileAtomically(path, std::string("new"));
    CloseHandle(held);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("файл занят другой программой"), std::string::npos) << result.Message;
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Names(), std::set<std::string>{"held.csv"});
}

// What a replacement keeps of the file it replaces on Windows: its hidden
// attribute; a new file is a plain one.
TEST_F(FilePaths, TheReplacementKeepsTheHiddenAttribute) {
    const fs::path path = folder_ / "hidden.qvs";
    Write(path, "old");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    if (!(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN)) GTEST_SKIP() << "no attributes kept here";
    ASSERT_TRUE(WriteFileAtomically(path, std::string("new")).Ok);
    EXPECT_EQ(Read(path), "new");
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(WriteFileAtomically(folder_ / "fresh.qvs", std::string("x")).Ok);
    EXPECT_FALSE(GetFileAttributesW((folder_ / "fresh.qvs").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}
#endif

TEST_F(FilePaths, SaveRefusesEmbeddedFilesTheReaderWouldRefuse) {
    auto world = test::SmallWorld();
    QvsSaveOptions options;
    options.Embedded.Background.assign(static_cast<std::size_t>(EmbeddedFileLimit) + 1, 0);
    const SaveResult result = SaveQvs(*world, folder_ / "scene.qvs", options);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("64 МБ"), std::string::npos);
    EXPECT_TRUE(Names().empty());
}

TEST_F(FilePaths, OpenSaysWhatIsAtThePathAndLeavesTheWorld) {
    fs::create_directory(folder_ / "folder.qvs");
    const fs::path pipe = test::MakePipe(folder_ / "pipe.qvs");
    ASSERT_FALSE(pipe.empty());
    struct Case {
        fs::path path;
        QvsFileClass expected;
        const char* message;
    };
    const Case cases[] = {
        {folder_ / "absent.qvs", QvsFileClass::NotFound, FileNotFoundMessage},
        {folder_ / "folder.qvs", QvsFileClass::NotAFile, FolderNotFileMessage},
        // A pipe without a writer would block a reader that opened it.
        {pipe, QvsFileClass::NotAFile, NotRegularFileMessage},
        {test::NullDevice(), QvsFileClass::NotAFile, NotRegularFileMessage},
    };
    for (const Case& c : cases) {
        auto world = test::SmallWorld();
        RecordingMessenger messenger;
        const QvsOpenResult result = OpenQvs(*world, c.path, messenger);
        EXPECT_EQ(result.Class, c.expected) << c.path;
        ASSERT_EQ(messenger.shown.size(), 1u) << c.path;
        EXPECT_EQ(messenger.shown[0].second, c.message) << c.path;
        EXPECT_EQ(world->BallCount, 1) << c.path;
        const std::optional<QvsOpenResult> refused = PathRefusal(c.path);
        ASSERT_TRUE(refused) << c.path;
        EXPECT_EQ(refused->Message, c.message) << c.path;
    }
}

TEST_F(FilePaths, OpenJudgesTheHeaderThenRefusesFilesTooLongForTheFormat) {
    auto world = test::SmallWorld();
    const Bytes file = EncodeQvs(*world, {});
    const std::string head(file.begin(), file.begin() + HeaderSize);
    struct Case {
        const char* name;
        std::string header;
        std::uintmax_t size;
        QvsFileClass expected;
    };
    const Case cases[] = {
        {"sparse 64 GB", head, std::uintmax_t{64} << 30, QvsFileClass::Damaged},
        {"one byte too long", head, static_cast<std::uintmax_t>(MaxQvsFileSize) + 1, QvsFileClass::Damaged},
        {"foreign header, 64 GB", std::string(HeaderSize, 'z'), std::uintmax_t{64} << 30,
         QvsFileClass::NotSimulation},
    };
    for (const Case& c : cases) {
        const fs::path path = folder_ / "long.qvs";
        Write(path, c.header);
        fs::resize_file(path, c.size);
        auto loaded = test::SmallWorld();
        RecordingMessenger messenger;
        const QvsOpenResult result = OpenQvs(*loaded, path, messenger);
        EXPECT_EQ(result.Class, c.expected) << c.name;
        EXPECT_EQ(loaded->BallCount, 0) << c.name;
        EXPECT_EQ(loaded->ProjectKind, ProjectNone) << c.name;
        ASSERT_EQ(messenger.shown.size(), 1u) << c.name;
        if (c.expected == QvsFileClass::Damaged) {
            EXPECT_EQ(messenger.shown[0].second, DamagedFileMessage) << c.name;
        }
        fs::remove(path);
    }
}

TEST(QvsFileSize, TheLimitIsTheFileOfFullTablesAndLargestEmbeddedFiles) {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->Materials.MaterialCount = MaxMaterialIndex;
    for (int kind = KindLaval; kind <= KindSurface2; ++kind) CountOf(*world, kind) = CapacityOf(kind);
    for (Surface& s : world->Surfaces) s.PointCount = SurfacePointCapacity;
    const Bytes full = EncodeQvs(*world, {});
    EXPECT_EQ(static_cast<std::int64_t>(full.size()), MaxQvsFileSize - 2 * EmbeddedFileLimit);
}

}  // namespace
}  // namespace velo
