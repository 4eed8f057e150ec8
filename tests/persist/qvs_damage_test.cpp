// Damaged simulation files are refused without touching memory outside the
// tables, and a failed save keeps the previous file.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <functional>
#include <random>
#include <csignal>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "persist/qvs_file.h"
#include "qvs_test_support.h"

namespace velo {
namespace {

using test::I32At;
using test::MapFile;
using test::PutI32At;
using test::RecordingMessenger;

using Bytes = std::vector<std::uint8_t>;

std::size_t CountAt(const test::FileMap& m, int kind) { return m.Section3 + 1 + 4 * static_cast<std::size_t>(kind - 1); }
std::size_t SizeAt(const test::FileMap& m, int kind) {
    return m.Section3 + 1 + 4 * static_cast<std::size_t>(m.K + kind - 1);
}

void ExpectRefusedAsDamaged(const Bytes& file, const std::string& name) {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    world->BallCount = 3;
    const Parameters params = world->Params;
    RecordingMessenger messenger;
    const QvsOpenResult result = DecodeQvs(*world, file, messenger);
    EXPECT_EQ(result.Class, QvsFileClass::Damaged) << name;
    ASSERT_EQ(messenger.shown.size(), 1u) << name;
    EXPECT_EQ(messenger.shown[0].first, MessageIcon::Error) << name;
    EXPECT_EQ(messenger.shown[0].second, DamagedFileMessage) << name;
    // Empty, as after an unreadable file, with the tables it had before.
    EXPECT_EQ(world->ProjectKind, ProjectNone) << name;
    for (int kind = KindLaval; kind <= KindSurface2; ++kind) EXPECT_EQ(CountOf(*world, kind), 0) << name;
    EXPECT_FALSE(world->Hands[0].Exists) << name;
    EXPECT_EQ(world->Materials.MaterialCount, 1) << name;
    EXPECT_EQ(world->Params.MaxStep, params.MaxStep) << name;
    EXPECT_TRUE(result.Embedded.Background.empty()) << name;
}

TEST(QvsDamage, ImpossibleCountsSizesAndLengthsAreRefused) {
    auto source = test::SmallWorld();
    QvsSaveOptions options;
    options.Embedded.Background = {1, 2, 3};
    const Bytes good = EncodeQvs(*source, options);
    const auto m = MapFile(good);
    const std::size_t ball = m.KindStart[KindBall];
    const std::size_t rod = m.KindStart[KindPeg];
    const std::size_t polyline = m.KindStart[KindSurface];
    const std::size_t embedded = m.KindStart[m.K + 1];

    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
    };
    const std::vector<Case> cases = {
        {"suspension points above capacity", [&](Bytes& b) { PutI32At(b, CountAt(m, KindLaval), 201); }},
        {"supports above capacity", [&](Bytes& b) { PutI32At(b, CountAt(m, KindHand), 201); }},
        {"balls above capacity", [&](Bytes& b) { PutI32At(b, CountAt(m, KindBall), 401); }},
        {"threads above capacity", [&](Bytes& b) { PutI32At(b, CountAt(m, KindThread), 21); }},
        {"polylines above capacity", [&](Bytes& b) { PutI32At(b, CountAt(m, KindSurface), 101); }},
        {"second-order surfaces at INT_MAX", [&](Bytes& b) { PutI32At(b, CountAt(m, KindSurface2), INT_MAX); }},
        {"materials above capacity", [&](Bytes& b) { b[132 + 58] = 101; }},
        {"material table beyond its section", [&](Bytes& b) { PutI32At(b, 132 + 59, 1 << 20); }},
        {"polyline of 1025 vertices", [&](Bytes& b) { PutI32At(b, polyline + 3, 1025); }},
        {"polyline of -1 vertices", [&](Bytes& b) { PutI32At(b, polyline + 3, -1); }},
        {"polyline of 1024 vertices past the end", [&](Bytes& b) { PutI32At(b, polyline + 3, 1024); }},
        {"negative ball record size", [&](Bytes& b) { PutI32At(b, SizeAt(m, KindBall), -1); }},
        {"ball record past the end", [&](Bytes& b) { PutI32At(b, SizeAt(m, KindBall), 100000); }},
        {"negative thread record size", [&](Bytes& b) { PutI32At(b, SizeAt(m, KindThread), -8); }},
        {"thread records past the end", [&](Bytes& b) { PutI32At(b, SizeAt(m, KindThread), 1 << 30); }},
        {"negative L1", [&](Bytes& b) { PutI32At(b, 128, -1); }},
        {"L1 past the end", [&](Bytes& b) { PutI32At(b, 128, INT_MAX); }},
        {"negative L2", [&](Bytes& b) { PutI32At(b, m.Section2, -160); }},
        {"L2 past the end", [&](Bytes& b) { PutI32At(b, m.Section2, 1 << 24); }},
        {"unknown kind past the end",
         [&](Bytes& b) {
             // K = 10 with a huge tenth kind: the counts and sizes grow by
             // one each and the records of the tenth kind cannot be there.
             Bytes out(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(m.Section3));
             out.push_back(10);
             for (int k = 1; k <= 9; ++k) for (int i = 0; i < 4; ++i) out.push_back(b[CountAt(m, k) + i]);
             for (std::uint8_t v : {0xE8, 0x03, 0x00, 0x00}) out.push_back(v);  // 1000 records
             for (int k = 1; k <= 9; ++k) for (int i = 0; i < 4; ++i) out.push_back(b[SizeAt(m, k) + i]);
             for (std::uint8_t v : {0xE8, 0x03, 0x00, 0x00}) out.push_back(v);  // of 1000 bytes
             out.insert(out.end(), b.begin() + static_cast<std::ptrdiff_t>(m.KindStart[1]), b.end());
             b = out;
         }},
        {"negative background length", [&](Bytes& b) { PutI32At(b, embedded, -1); }},
        {"background past the end", [&](Bytes& b) { PutI32At(b, embedded, 1 << 20); }},
        {"negative description length", [&](Bytes& b) { PutI32At(b, embedded + 7, INT_MIN); }},
        {"ball hung on a point beyond the table",
         [&](Bytes& b) {
             b[ball + 173] = BindLaval;
             PutI32At(b, ball + 174, 5000);
         }},
        {"rod hung on a negative point", [&](Bytes& b) { PutI32At(b, rod + 164, -3); }},
        {"rod end fastened to a ball beyond the table",
         [&](Bytes& b) {
             b[rod + 192] = KindBall;
             PutI32At(b, rod + 193, 401);
         }},
    };
    for (const Case& c : cases) {
        Bytes file = good;
        c.damage(file);
        ExpectRefusedAsDamaged(file, c.name);
    }
}

TEST(QvsDamage, TruncatedFilesAreRefusedUnlessOnlyTheTrailerIsShort) {
    auto source = test::SmallWorld();
    QvsSaveOptions options;
    options.Embedded.Background = {1, 2, 3};
    options.Embedded.Description = {4, 5};
    const Bytes good = EncodeQvs(*source, options);
    const std::size_t objectsEnd = MapFile(good).KindStart[10];
    auto world = std::make_unique<World>();
    for (std::size_t length = 0; length < good.size(); ++length) {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        RecordingMessenger messenger;
        const QvsOpenResult result = DecodeQvs(*world, cut, messenger);
        const bool trailerOnly = length == objectsEnd || (length >= objectsEnd + 1 && length < objectsEnd + 4) ||
                                 (length >= objectsEnd + 7 && length < objectsEnd + 11);
        if (length < 25) {  // shorter than "Mechanical imitation file"
            EXPECT_EQ(result.Class, QvsFileClass::NotSimulation) << length;
        } else if (trailerOnly) {
            EXPECT_EQ(result.Class, QvsFileClass::Mechanical) << length;
            EXPECT_EQ(world->BallCount, 1) << length;
        } else {
            EXPECT_EQ(result.Class, QvsFileClass::Damaged) << length;
            EXPECT_EQ(world->BallCount, 0) << length;
        }
    }
}

TEST(QvsDamage, ObjectsOfMissingMaterialsGetTheIdealOneWithOneWarning) {
    auto source = test::SmallWorld();
    Bytes file = EncodeQvs(*source, {});
    const auto m = MapFile(file);
    file[m.KindStart[KindBall] + 2] = 7;     // materials are 0..2
    file[m.KindStart[KindPeg] + 2] = 255;
    file[m.KindStart[KindHand] + 2] = 3;     // the ZeroSupport
    file[m.Section2 + 4 + 113] = 90;         // DefaultMaterial
    auto world = std::make_unique<World>();
    RecordingMessenger messenger;
    const QvsOpenResult result = DecodeQvs(*world, file, messenger);
    ASSERT_TRUE(result.Read());
    EXPECT_EQ(world->Balls[1].Material, 0);
    EXPECT_EQ(world->Pegs[1].Material, 0);
    EXPECT_EQ(world->Hands[0].Material, 0);
    EXPECT_EQ(world->Params.DefaultMaterial, 0);
    EXPECT_EQ(world->Walls[1].Material, 2);  // a valid material stays
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].first, MessageIcon::Warning);
    EXPECT_EQ(messenger.shown[0].second, UnknownMaterialWarning);
    EXPECT_EQ(result.Warnings, std::vector<std::string>{UnknownMaterialWarning});
}

TEST(QvsDamage, ToleratedOddities) {
    auto source = test::SmallWorld();
    const Bytes good = EncodeQvs(*source, {});
    const auto m = MapFile(good);
    struct Case {
        const char* name;
        std::function<void(Bytes&)> change;
    };
    const std::vector<Case> cases = {
        {"negative count is no objects",
         [&](Bytes& b) {
             PutI32At(b, CountAt(m, KindSurface2), -5);
             b.erase(b.begin() + static_cast<std::ptrdiff_t>(m.KindStart[KindSurface2]),
                     b.begin() + static_cast<std::ptrdiff_t>(m.KindStart[10]));
         }},
        {"no embedded lengths at all", [&](Bytes& b) { b.resize(m.KindStart[10]); }},
        {"junk after the description", [&](Bytes& b) { b.insert(b.end(), 100, 0xAB); }},
    };
    for (const Case& c : cases) {
        Bytes file = good;
        c.change(file);
        auto world = std::make_unique<World>();
        RecordingMessenger messenger;
        EXPECT_TRUE(DecodeQvs(*world, file, messenger).Read()) << c.name;
        EXPECT_TRUE(messenger.shown.empty()) << c.name;
    }

    // A pair record size below 40 leaves the material table as it was; the
    // objects of the materials it lacks get the ideal one.
    Bytes file = good;
    PutI32At(file, 132 + 63, -48);
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    RecordingMessenger messenger;
    ASSERT_TRUE(DecodeQvs(*world, file, messenger).Read());
    EXPECT_EQ(world->Materials.MaterialCount, 1);
    EXPECT_EQ(world->Walls[1].Material, 0);
    EXPECT_EQ(messenger.shown.size(), 1u);
}

class QvsSave : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        folder_ = std::filesystem::temp_directory_path() / ("velo_qvs_save_" + std::to_string(seed()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(folder_, error);
    }
    static Bytes ReadAll(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::path folder_;
};

TEST_F(QvsSave, ReplacesTheTargetAndLeavesNoTemporaryFile) {
    auto world = test::SmallWorld();
    const auto path = folder_ / "scene.qvs";
    { std::ofstream(path) << "old content"; }
    const SaveResult result = SaveQvs(*world, path, {});
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_TRUE(result.Message.empty());
    EXPECT_EQ(ReadAll(path), EncodeQvs(*world, {}));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_)) ++files;
    EXPECT_EQ(files, 1);

    auto loaded = std::make_unique<World>();
    RecordingMessenger messenger;
    EXPECT_TRUE(OpenQvs(*loaded, path, messenger).Read());
    EXPECT_EQ(loaded->BallCount, 1);
}

TEST_F(QvsSave, FailuresAreReportedAndKeepTheOldFile) {
    auto world = test::SmallWorld();
    const SaveResult missingFolder = SaveQvs(*world, folder_ / "no such folder" / "scene.qvs", {});
    EXPECT_FALSE(missingFolder.Ok);
    EXPECT_NE(missingFolder.Message.find("scene.qvs"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "no such folder"));

    std::filesystem::create_directory(folder_ / "taken.qvs");
    const SaveResult directory = SaveQvs(*world, folder_ / "taken.qvs", {});
    EXPECT_FALSE(directory.Ok);
    EXPECT_TRUE(std::filesystem::is_directory(folder_ / "taken.qvs"));

    // A write that fails half-way (here: the file size limit of the
    // process, which Windows does not have) leaves the old file and no
    // temporary file.
#ifndef _WIN32
    {
        const auto path = folder_ / "limited.qvs";
        { std::ofstream(path) << "old content"; }
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit small = before;
        small.rlim_cur = 1000;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const SaveResult result = SaveQvs(*world, path, {});
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);
        EXPECT_FALSE(result.Ok);
        EXPECT_FALSE(result.Message.empty());
        const Bytes old = ReadAll(path);
        EXPECT_EQ(std::string(old.begin(), old.end()), "old content");
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            EXPECT_EQ(entry.path().filename().string().find("limited.qvs.saving"), std::string::npos);
        }
    }
#endif
}

TEST_F(QvsSave, ReadOnlyFolderKeepsTheOldFile) {
    auto world = test::SmallWorld();
#ifdef _WIN32
    GTEST_SKIP() << "Windows lets a program write into a folder marked read-only";
#else
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
#endif
    const auto locked = folder_ / "locked";
    std::filesystem::create_directory(locked);
    const auto path = locked / "scene.qvs";
    { std::ofstream(path) << "old content"; }
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const SaveResult result = SaveQvs(*world, path, {});
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Message.empty());
    const Bytes old = ReadAll(path);
    EXPECT_EQ(std::string(old.begin(), old.end()), "old content");
}

}  // namespace
}  // namespace velo
