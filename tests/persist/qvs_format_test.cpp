// Byte layout of the simulation file, the version checks, older and newer
// record sizes, the code page of the fixed texts and the round trip.
#include <gtest/gtest.h>

#include "../scratch_names.h"

#include <filesystem>
#include <fstream>

#include "persist/byte_io.h"
#include "persist/cp1251.h"
#include "persist/qvs_file.h"
#include "persist/qvs_writer.h"
#include "qvs_test_support.h"

namespace velo {
namespace {

using test::F64At;
using test::I16At;
using test::I32At;
using test::MapFile;
using test::RecordingMessenger;
using test::SmallWorld;

TEST(QvsLayout, HeaderAndSectionOffsets) {
    auto world = SmallWorld();
    QvsSaveOptions options;
    options.AuthorText = "Иванов";
    options.Embedded.Background = {'B', 'M', 1, 2};
    options.Embedded.Description = {'<', 'p', '>'};
    const std::vector<std::uint8_t> b = EncodeQvs(*world, options);

    EXPECT_EQ(std::string(b.begin(), b.begin() + 32), "Mechanical imitation file       ");
    EXPECT_EQ(b[32], 8);
    EXPECT_EQ(I16At(b, 33), 314);
    EXPECT_EQ(b[35], 8);
    EXPECT_EQ(I16At(b, 36), 314);
    EXPECT_EQ(b[38], 8);
    EXPECT_EQ(I16At(b, 39), 344);
    EXPECT_EQ(Cp1251ToUtf8(std::string(b.begin() + 41, b.begin() + 47)), "Иванов");
    EXPECT_EQ(b[47], ' ');
    EXPECT_EQ(b[120], ' ');
    for (int k = 0; k < 7; ++k) EXPECT_EQ(b[121 + k], k + 1);

    // Section 1: L1 = (96 + 36) * 3 + 70, three zero bytes at its end.
    EXPECT_EQ(I32At(b, 128), 466);
    EXPECT_EQ(b[132 + 48], 0xFF);  // LengthUnitMasculine true
    EXPECT_EQ(b[132 + 58], 2);     // MaterialCount
    EXPECT_EQ(I32At(b, 132 + 59), 36);
    EXPECT_EQ(I32At(b, 132 + 63), 48);
    const std::size_t material2 = 132 + 67 + 2 * (36 + 2 * 48);
    EXPECT_EQ(Cp1251ToUtf8(std::string(b.begin() + material2, b.begin() + material2 + 6)), "Резина");
    EXPECT_EQ(F64At(b, material2 + 16), 1200);
    EXPECT_EQ(I32At(b, material2 + 32), Rgb(10, 20, 30));
    for (std::size_t k = 595; k < 598; ++k) EXPECT_EQ(b[k], 0) << k;

    // Section 2 at 598, L2 = 160; section 3 at 762.
    EXPECT_EQ(I32At(b, 598), 160);
    EXPECT_EQ(F64At(b, 602), 9.81);
    EXPECT_EQ(F64At(b, 602 + 142), 0.001);  // MaxStep
    const auto map = MapFile(b);
    ASSERT_EQ(map.Section3, 762u);
    EXPECT_EQ(map.K, 9);
    EXPECT_EQ(map.Counts, (std::vector<std::int32_t>{0, 1, 1, 1, 1, 1, 2, 1, 1, 1}));
    EXPECT_EQ(map.Sizes, (std::vector<std::int32_t>{0, 26, 35, 35, 44, 192, 0, 212, 19, 70}));

    // Records, supports from number 0, threads as a count only, a
    // polyline of 3 vertices in 67 bytes.
    const std::vector<std::size_t> expected = {0, 835, 861, 931, 966, 1010, 1202, 1202, 1414, 1481, 1551};
    EXPECT_EQ(map.KindStart, expected);
    EXPECT_EQ(I32At(b, 1551), 4);
    EXPECT_EQ(b[1555], 'B');
    EXPECT_EQ(I32At(b, 1559), 3);
    EXPECT_EQ(b.size(), 1566u);
}

TEST(QvsLayout, FieldsAtTheirRecordOffsets) {
    auto world = SmallWorld();
    world->Balls[1].Marked = true;
    world->Balls[1].BindNumber = 77;
    world->Balls[1].Movable = false;
    world->Pegs[1].End2Number = 55;
    const auto b = EncodeQvs(*world, {});
    const auto map = MapFile(b);

    const std::size_t laval = map.KindStart[KindLaval];
    EXPECT_EQ(I16At(b, laval), -1);
    EXPECT_EQ(F64At(b, laval + 10), 2);

    const std::size_t support1 = map.KindStart[KindHand] + 35;
    EXPECT_EQ(b[support1 + 2], 1);
    EXPECT_EQ(F64At(b, support1 + 3), -3);    // Bound1
    EXPECT_EQ(F64At(b, support1 + 19), -0.5); // Coord
    EXPECT_EQ(I16At(b, map.KindStart[KindHand]), 0);  // ZeroSupport off

    const std::size_t plane = map.KindStart[KindPlane];
    EXPECT_EQ(F64At(b, plane + 19), 3);  // P2 X
    EXPECT_EQ(b[plane + 35], 0);         // Triangular

    const std::size_t ball = map.KindStart[KindBall];
    EXPECT_EQ(b[ball + 2], 2);
    EXPECT_EQ(F64At(b, ball + 19), 0.1);   // Radius
    EXPECT_EQ(F64At(b, ball + 59), 0.5);   // Position X
    EXPECT_EQ(b[ball + 76], ShapeBall);
    EXPECT_EQ(F64At(b, ball + 125), 0.4);  // InertiaFactor
    EXPECT_EQ(I32At(b, ball + 174), 77);
    EXPECT_EQ(I16At(b, ball + 178), -1);   // Marked
    EXPECT_EQ(I16At(b, ball + 180), -1);   // Allow3D
    EXPECT_EQ(I16At(b, ball + 182), 0);    // Movable
    EXPECT_EQ(F64At(b, ball + 184), 0.25); // BindAngle

    const std::size_t rod = map.KindStart[KindPeg];
    EXPECT_EQ(F64At(b, rod + 35), 0.02);  // Width
    EXPECT_EQ(F64At(b, rod + 67), 2);     // Position X
    EXPECT_EQ(F64At(b, rod + 156), 1);    // Length
    EXPECT_EQ(I32At(b, rod + 198), 55);   // End2Number
    EXPECT_EQ(F64At(b, rod + 202), 0.03); // Depth
    EXPECT_EQ(I16At(b, rod + 210), -1);   // Movable

    const std::size_t surface = map.KindStart[KindSurface];
    EXPECT_EQ(I32At(b, surface + 3), 3);
    EXPECT_EQ(F64At(b, surface + 7 + 16 + 8), -1);  // vertex 1 Y
    EXPECT_EQ(F64At(b, surface + 7 + 48), 0.05);    // HalfThickness

    const std::size_t curve = map.KindStart[KindSurface2];
    EXPECT_EQ(F64At(b, curve + 29), 1);   // ParamA
    EXPECT_EQ(b[curve + 61], Parabola);
    EXPECT_EQ(F64At(b, curve + 62), 0.05);
}

TEST(QvsLayout, TemplateHoldsSuspensionPointsAndSupportsOnly) {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->Hands[0].Exists = true;
    world->LavalCount = 3;  // the template never stores objects
    const auto b = EncodeQvsTemplate(*world);
    const auto map = MapFile(b);
    EXPECT_EQ(I32At(b, 128), (48 + 36) * 2 + 70);  // materials 0..1
    EXPECT_EQ(map.K, 2);
    EXPECT_EQ(map.Counts, (std::vector<std::int32_t>{0, 0, 0}));
    EXPECT_EQ(map.Sizes, (std::vector<std::int32_t>{0, 26, 35}));
    const std::size_t zero = map.KindStart[KindHand];
    EXPECT_EQ(I16At(b, zero), -1);
    EXPECT_EQ(F64At(b, zero + 3), -10000);
    EXPECT_EQ(F64At(b, zero + 11), 10000);
    ASSERT_EQ(b.size(), zero + 35 + 8);
    EXPECT_EQ(I32At(b, zero + 35), 0);
    EXPECT_EQ(I32At(b, zero + 39), 0);

    auto loaded = std::make_unique<World>();
    RecordingMessenger messenger;
    ASSERT_TRUE(DecodeQvs(*loaded, b, messenger).Read());
    EXPECT_TRUE(loaded->Hands[0].Exists);
    EXPECT_EQ(loaded->LavalCount, 0);
    EXPECT_EQ(loaded->Materials.Items[1].Name, "Сталь");
}

TEST(QvsCodePage, TextsAreWindows1251WithQuestionMarks) {
    struct Case {
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"Сталь", "\xD1\xF2\xE0\xEB\xFC"},
        {"Ёё№", "\xA8\xB8\xB9"},
        {"€—«»", "\x88\x97\xAB\xBB"},
        {"日本", "??"},
        {"a\xFF" "b", "a?b"},        // malformed UTF-8
        {"Ω≈", "??"},
        {"😀x", "?x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCp1251(c.utf8), c.bytes) << c.utf8;
    }
    // Every byte decodes, and encodes back to itself.
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);

    // A fixed text is cut to its width in characters and blank-padded.
    ByteWriter out;
    out.Text("градусыминуты", 8);
    out.Text("日", 3);
    EXPECT_EQ(Cp1251ToUtf8(std::string(out.Data().begin(), out.Data().end())), "градусым?  ");
}

TEST(QvsVersion, RecordsAreComparedByBuild) {
    struct Case {
        const char* name;
        std::uint8_t requiredVersion;
        std::int16_t requiredBuild;
        std::uint8_t recommendedVersion;
        std::int16_t recommendedBuild;
        bool answer;
        QvsFileClass expected;
        bool error;
        bool asked;
    };
    const Case cases[] = {
        {"both 400 refuse", 8, 400, 8, 400, true, QvsFileClass::Refused, true, false},
        {"recommended 400, yes", 8, 314, 8, 400, true, QvsFileClass::Mechanical, false, true},
        {"recommended 400, no", 8, 314, 8, 400, false, QvsFileClass::Refused, false, true},
        {"own build is enough", 8, 344, 8, 344, false, QvsFileClass::Mechanical, false, false},
        {"version byte 0 imposes nothing", 0, 30000, 0, 30000, false, QvsFileClass::Mechanical, false, false},
        {"higher version byte, lower build", 0x21, 100, 0x21, 100, false, QvsFileClass::Mechanical, false, false},
    };
    auto world = SmallWorld();
    const auto original = EncodeQvs(*world, {});
    for (const Case& c : cases) {
        auto b = original;
        b[32] = c.requiredVersion;
        b[33] = static_cast<std::uint8_t>(c.requiredBuild & 0xFF);
        b[34] = static_cast<std::uint8_t>((c.requiredBuild >> 8) & 0xFF);
        b[35] = c.recommendedVersion;
        b[36] = static_cast<std::uint8_t>(c.recommendedBuild & 0xFF);
        b[37] = static_cast<std::uint8_t>((c.recommendedBuild >> 8) & 0xFF);
        auto loaded = std::make_unique<World>();
        loaded->ProjectKind = ProjectCelestial;
        RecordingMessenger messenger(c.answer);
        const auto result = test::DecodeAsking(*loaded, b, messenger);
        EXPECT_EQ(result.Class, c.expected) << c.name;
        EXPECT_EQ(messenger.shown.size(), c.error ? 1u : 0u) << c.name;
        EXPECT_EQ(messenger.asked.size(), c.asked ? 1u : 0u) << c.name;
        if (result.Class == QvsFileClass::Refused) {
            EXPECT_EQ(loaded->BallCount, 0) << c.name;
            EXPECT_EQ(loaded->ProjectKind, ProjectCelestial) << c.name;  // kind unchanged
        }
    }
}

TEST(QvsVersion, MessageNamesVersionAndBuild) {
    EXPECT_EQ(VersionMessage(8, 400),
              "Для корректного открытия этого файла необходим\rVelocitronimatics 0.8 Build 400 или выше.");
    EXPECT_EQ(VersionMessage(0x1A, 1200),
              "Для корректного открытия этого файла необходим\rVelocitronimatics 1.10 Build 1200 или выше.");

    auto world = SmallWorld();
    auto b = EncodeQvs(*world, {});
    b[37] = 0x01;  // recommended build 0x013A + 0x100... = 314 + 0 -> set 400 below
    b[36] = 400 & 0xFF;
    b[37] = 400 >> 8;
    RecordingMessenger messenger(true);
    auto loaded = std::make_unique<World>();
    test::DecodeAsking(*loaded, b, messenger);
    ASSERT_EQ(messenger.asked.size(), 1u);
    EXPECT_EQ(messenger.asked[0].first, MessageIcon::Warning);
    EXPECT_EQ(messenger.asked[0].second, VersionMessage(8, 400) + "\rВсё равно открыть этот файл?");
}

TEST(QvsVersion, TheDecoderLeavesTheQuestionToItsCaller) {
    auto world = SmallWorld();
    auto b = EncodeQvs(*world, {});
    b[36] = 400 & 0xFF;
    b[37] = 400 >> 8;
    const std::string question = VersionMessage(8, 400) + "\rВсё равно открыть этот файл?";
    auto loaded = std::make_unique<World>();
    RecordingMessenger messenger(true);
    const QvsOpenResult pending = DecodeQvs(*loaded, b, messenger);
    EXPECT_EQ(pending.Class, QvsFileClass::ConfirmationNeeded);
    EXPECT_EQ(pending.Question, question);
    EXPECT_TRUE(messenger.asked.empty());
    EXPECT_EQ(loaded->BallCount, 0);

    // OpenQvs asks once, before the body is read, and reads with the answer.
    const auto path = std::filesystem::temp_directory_path() / (testing::ProcessScratchName("velo_version_question") + ".qvs");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                                 static_cast<std::streamsize>(b.size()));
    for (const bool answer : {true, false}) {
        RecordingMessenger asked(answer);
        const QvsOpenResult opened = OpenQvs(*loaded, path, asked);
        EXPECT_EQ(opened.Class, answer ? QvsFileClass::Mechanical : QvsFileClass::Refused);
        ASSERT_EQ(asked.asked.size(), 1u);
        EXPECT_EQ(asked.asked[0].second, question);
        EXPECT_TRUE(asked.shown.empty());
        EXPECT_EQ(loaded->BallCount, answer ? 1 : 0);
    }
    std::filesystem::remove(path);
}

TEST(QvsSignature, ClassesOfTheFirst32Bytes) {
    auto world = SmallWorld();
    const auto original = EncodeQvs(*world, {});
    struct Case {
        std::string signature;
        QvsFileClass expected;
    };
    const Case cases[] = {
        {"Mechanical imitation file", QvsFileClass::Mechanical},
        {"Heavenly velocitronimatics", QvsFileClass::Celestial},
        {"Mechanical imitation fil", QvsFileClass::NotSimulation},
        {"mechanical imitation file", QvsFileClass::NotSimulation},
        {"", QvsFileClass::NotSimulation},
    };
    for (const Case& c : cases) {
        auto b = original;
        std::string padded = c.signature;
        padded.resize(32, ' ');
        std::copy(padded.begin(), padded.end(), b.begin());
        auto loaded = std::make_unique<World>();
        loaded->ProjectKind = ProjectMechanical;
        RecordingMessenger messenger;
        const auto result = DecodeQvs(*loaded, b, messenger);
        EXPECT_EQ(result.Class, c.expected) << c.signature;
        if (c.expected == QvsFileClass::NotSimulation) {
            ASSERT_EQ(messenger.shown.size(), 1u);
            EXPECT_EQ(messenger.shown[0].second, "Этот файл не является имитацией Velocitronimatics");
            EXPECT_EQ(loaded->ProjectKind, ProjectNone);
        }
        if (c.expected == QvsFileClass::Celestial) {
            EXPECT_EQ(loaded->BallCount, 0);
        }
    }
    RecordingMessenger messenger;
    auto loaded = std::make_unique<World>();
    loaded->BallCount = 5;
    const auto missing = OpenQvs(*loaded, "/nonexistent/folder/none.qvs", messenger);
    EXPECT_FALSE(missing.Found());
    EXPECT_EQ(loaded->BallCount, 5);  // World unchanged
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].second, "Файл не найден");
}

// Section 3 built by hand from the records of a World this program wrote:
// kinds with other record sizes, unknown kinds, other trailers.
struct KindPart {
    std::int32_t Count = 0;
    std::int32_t Size = 0;
    std::vector<std::uint8_t> Records;
};

std::vector<std::uint8_t> RecordsOf(const std::vector<std::uint8_t>& b, int kind) {
    const auto map = MapFile(b);
    return {b.begin() + static_cast<std::ptrdiff_t>(map.KindStart[kind]),
            b.begin() + static_cast<std::ptrdiff_t>(map.KindStart[kind + 1])};
}

// Cuts every record of the byte run from `size` to `newSize` bytes.
std::vector<std::uint8_t> Shrink(const std::vector<std::uint8_t>& records, std::size_t size, std::size_t newSize) {
    std::vector<std::uint8_t> out;
    for (std::size_t at = 0; at + size <= records.size(); at += size) {
        out.insert(out.end(), records.begin() + static_cast<std::ptrdiff_t>(at),
                   records.begin() + static_cast<std::ptrdiff_t>(at + newSize));
    }
    return out;
}

std::vector<std::uint8_t> FileWith(const std::vector<std::uint8_t>& written, const std::vector<KindPart>& kinds,
                                   const std::vector<std::uint8_t>& trailer) {
    const auto map = MapFile(written);
    std::vector<std::uint8_t> out(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(map.Section3));
    ByteWriter section;
    section.U8(static_cast<std::uint8_t>(kinds.size()));
    for (const KindPart& k : kinds) section.I32(k.Count);
    for (const KindPart& k : kinds) section.I32(k.Size);
    for (const KindPart& k : kinds) section.Bytes(k.Records);
    section.Bytes(trailer);
    out.insert(out.end(), section.Data().begin(), section.Data().end());
    return out;
}

std::vector<KindPart> KindsOf(const std::vector<std::uint8_t>& b) {
    const auto map = MapFile(b);
    std::vector<KindPart> kinds;
    for (int k = 1; k <= map.K; ++k) kinds.push_back({map.Counts[k], map.Sizes[k], RecordsOf(b, k)});
    return kinds;
}

TEST(QvsOlderRecords, ShorterBallAndRodRecordsGetDefaults) {
    auto world = SmallWorld();
    world->Pegs[1].Movable = false;
    const auto written = EncodeQvs(*world, {});
    auto kinds = KindsOf(written);
    kinds[KindBall - 1].Records = Shrink(kinds[KindBall - 1].Records, 192, 184);
    kinds[KindBall - 1].Size = 184;
    kinds[KindPeg - 1].Records = Shrink(kinds[KindPeg - 1].Records, 212, 208);
    kinds[KindPeg - 1].Size = 208;
    const auto old = FileWith(written, kinds, {0, 0, 0, 0, 0, 0, 0, 0});

    auto loaded = std::make_unique<World>();
    loaded->Balls[1].BindAngle = 9;  // what the slot held must not survive
    RecordingMessenger messenger;
    ASSERT_TRUE(DecodeQvs(*loaded, old, messenger).Read());
    EXPECT_EQ(loaded->Balls[1].BindAngle, 0);
    EXPECT_EQ(loaded->Pegs[1].Depth, 0.02);  // = Width
    EXPECT_TRUE(loaded->Pegs[1].Movable);
    EXPECT_EQ(loaded->Surfaces[1].PointCount, 3);

    // A 210-byte rod keeps its Depth but not its Movable flag.
    kinds = KindsOf(written);
    kinds[KindPeg - 1].Records = Shrink(kinds[KindPeg - 1].Records, 212, 210);
    kinds[KindPeg - 1].Size = 210;
    ASSERT_TRUE(DecodeQvs(*loaded, FileWith(written, kinds, {}), messenger).Read());
    EXPECT_EQ(loaded->Pegs[1].Depth, 0.03);
    EXPECT_TRUE(loaded->Pegs[1].Movable);

    // After one save the file has today's sizes and reads back to itself.
    const auto saved = EncodeQvs(*loaded, {});
    EXPECT_EQ(MapFile(saved).Sizes[KindBall], 192);
    auto again = std::make_unique<World>();
    ASSERT_TRUE(DecodeQvs(*again, saved, messenger).Read());
    EXPECT_EQ(EncodeQvs(*again, {}), saved);
}

TEST(QvsOlderRecords, LongerRecordsAreSkippedToTheirEnd) {
    auto world = SmallWorld();
    const auto written = EncodeQvs(*world, {});
    auto kinds = KindsOf(written);
    // Every kind's records grow by 5 unknown bytes (a polyline keeps its
    // vertices in the middle, so its tail grows).
    for (KindPart& k : kinds) {
        if (k.Size == 0) continue;
        std::vector<std::uint8_t> grown;
        const int records = (&k - kinds.data()) + 1 == KindHand ? k.Count + 1 : k.Count;
        std::size_t at = 0;
        for (int r = 0; r < records; ++r) {
            std::size_t size = static_cast<std::size_t>(k.Size);
            if ((&k - kinds.data()) + 1 == KindSurface) size += 16 * static_cast<std::size_t>(I32At(k.Records, at + 3));
            grown.insert(grown.end(), k.Records.begin() + static_cast<std::ptrdiff_t>(at),
                         k.Records.begin() + static_cast<std::ptrdiff_t>(at + size));
            grown.insert(grown.end(), {9, 9, 9, 9, 9});
            at += size;
        }
        k.Records = grown;
        k.Size += 5;
    }
    const std::vector<std::uint8_t> trailer = {2, 0, 0, 0, 'B', 'M', 0, 0, 0, 0};
    auto loaded = std::make_unique<World>();
    RecordingMessenger messenger;
    const auto result = DecodeQvs(*loaded, FileWith(written, kinds, trailer), messenger);
    ASSERT_TRUE(result.Read());
    EXPECT_EQ(result.Embedded.Background, (std::vector<std::uint8_t>{'B', 'M'}));
    const QvsSaveOptions options{"", result.Embedded, true};
    EXPECT_EQ(EncodeQvs(*loaded, options), EncodeQvs(*world, options));
}

TEST(QvsObjects, UnknownKindsAreSkippedBeforeTheEmbeddedFiles) {
    auto world = SmallWorld();
    const auto written = EncodeQvs(*world, {});
    auto kinds = KindsOf(written);
    kinds.push_back({3, 7, std::vector<std::uint8_t>(21, 0xEE)});
    kinds.push_back({-4, 9, {}});  // a negative count is no records
    const std::vector<std::uint8_t> trailer = {1, 0, 0, 0, 'X', 2, 0, 0, 0, 'd', 'e'};
    auto loaded = std::make_unique<World>();
    RecordingMessenger messenger;
    const auto result = DecodeQvs(*loaded, FileWith(written, kinds, trailer), messenger);
    ASSERT_TRUE(result.Read());
    EXPECT_EQ(result.Embedded.Background, (std::vector<std::uint8_t>{'X'}));
    EXPECT_EQ(result.Embedded.Description, (std::vector<std::uint8_t>{'d', 'e'}));
    EXPECT_EQ(loaded->Surface2Count, 1);
    EXPECT_TRUE(messenger.shown.empty());
}

TEST(QvsObjects, ThreadsKeepTheirCountOnly) {
    auto world = SmallWorld();
    world->Threads[1].Exists = true;
    world->Threads[1].SegmentCount = 10;
    const auto b = EncodeQvs(*world, {});
    EXPECT_EQ(MapFile(b).KindStart[KindThread], MapFile(b).KindStart[KindPeg]);
    auto loaded = std::make_unique<World>();
    loaded->Threads[2].Exists = true;  // left by the project open before
    RecordingMessenger messenger;
    ASSERT_TRUE(DecodeQvs(*loaded, b, messenger).Read());
    EXPECT_EQ(loaded->ThreadCount, 2);
    EXPECT_FALSE(loaded->Threads[1].Exists);
    EXPECT_FALSE(loaded->Threads[2].Exists);
}

TEST(QvsObjects, NormalisationsAfterReading) {
    auto world = SmallWorld();
    world->Planes[1].Selected = true;
    world->Balls[1].Selected = true;
    const auto b = EncodeQvs(*world, {});
    auto loaded = std::make_unique<World>();
    RecordingMessenger messenger;
    ASSERT_TRUE(DecodeQvs(*loaded, b, messenger).Read());
    EXPECT_DOUBLE_EQ(loaded->Planes[1].Length, std::sqrt(10.0));
    EXPECT_DOUBLE_EQ(loaded->Planes[1].Angle, std::atan(1.0 / 3));
    EXPECT_EQ(loaded->Surfaces[1].Points.size(), static_cast<std::size_t>(SurfacePointCapacity));
    EXPECT_FALSE(loaded->Planes[1].Selected);
    EXPECT_FALSE(loaded->Balls[1].Selected);
    EXPECT_EQ(loaded->ProjectKind, ProjectMechanical);
    EXPECT_FALSE(loaded->Changed);

    // A vertical plane has the angle pi/2.
    world->Planes[1].P2 = {0, 5};
    ASSERT_TRUE(DecodeQvs(*loaded, EncodeQvs(*world, {}), messenger).Read());
    EXPECT_DOUBLE_EQ(loaded->Planes[1].Angle, std::numbers::pi / 2);
}

TEST(QvsSections, ShortParameterAndMaterialSections) {
    auto world = SmallWorld();
    world->Params.DescriptionExt = "htm";
    world->Params.MaxStep = 0.004;
    const auto written = EncodeQvs(*world, {});
    const auto map = MapFile(written);

    // A parameter section of 142 bytes: MarkSize is read, MaxStep and the
    // rest are not, and DescriptionExt is blank.
    std::vector<std::uint8_t> b(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(map.Section2) + 4 + 142);
    test::PutI32At(b, map.Section2, 142);
    b.insert(b.end(), written.begin() + static_cast<std::ptrdiff_t>(map.Section3), written.end());
    auto loaded = std::make_unique<World>();
    DefaultWorld(*loaded);
    loaded->Params.MaxStep = 0.002;
    loaded->Params.DescriptionExt = "txt";
    RecordingMessenger messenger;
    ASSERT_TRUE(DecodeQvs(*loaded, b, messenger).Read());
    EXPECT_EQ(loaded->Params.MaxStep, 0.002);
    EXPECT_EQ(loaded->Params.MarkSize, world->Params.MarkSize);
    EXPECT_EQ(loaded->Params.DescriptionExt, "");
    EXPECT_EQ(loaded->BallCount, 1);

    // A material record size below 24 leaves the material table as it was.
    b = written;
    test::PutI32At(b, 132 + 59, 20);
    DefaultWorld(*loaded);
    ASSERT_TRUE(DecodeQvs(*loaded, b, messenger).Read());
    EXPECT_EQ(loaded->Materials.MaterialCount, 1);
    b = written;
    test::PutI32At(b, 132 + 63, 39);
    ASSERT_TRUE(DecodeQvs(*loaded, b, messenger).Read());
    EXPECT_EQ(loaded->Materials.MaterialCount, 1);
}

TEST(QvsSections, UnitFieldsPresentForEveryTableSize) {
    // A table of the ideal material alone declares L1 = 106; both unit
    // fields are in the file and must come back.
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->Materials.MaterialCount = 0;
    world->Params.DefaultMaterial = 0;
    world->Units.LengthUnitMasculine = false;
    world->Units.AngleUnit = 1;
    const auto b = EncodeQvs(*world, {});
    EXPECT_EQ(I32At(b, 128), 106);
    auto loaded = std::make_unique<World>();
    DefaultWorld(*loaded);
    RecordingMessenger messenger;
    ASSERT_TRUE(DecodeQvs(*loaded, b, messenger).Read());
    EXPECT_FALSE(loaded->Units.LengthUnitMasculine);
    EXPECT_EQ(loaded->Units.AngleUnit, 1);
    EXPECT_EQ(loaded->Materials.MaterialCount, 0);
}

long FirstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    for (std::size_t k = 0; k < std::min(a.size(), b.size()); ++k) {
        if (a[k] != b[k]) return static_cast<long>(k);
    }
    return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
}

TEST(QvsRoundTrip, RandomWorldsGiveIdenticalBytes) {
    RecordingMessenger messenger;
    auto loaded = std::make_unique<World>();
    auto again = std::make_unique<World>();
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        // A hung ball takes its radius from its position at every load, which
        // moves it by rounding; those Worlds are checked separately below.
        auto world = test::RandomWorld(seed, false);
        QvsSaveOptions options{"Автор " + std::to_string(seed), {}, true};
        if (seed % 3 == 0) options.Embedded.Background.assign(seed * 7, static_cast<std::uint8_t>(seed));
        if (seed % 4 == 0) options.Embedded.Description.assign(seed, 'd');
        const auto first = EncodeQvs(*world, options);
        const auto result = DecodeQvs(*loaded, first, messenger);
        ASSERT_TRUE(result.Read()) << seed;
        QvsSaveOptions back{result.AuthorText, result.Embedded, true};
        const auto second = EncodeQvs(*loaded, back);
        // The normalisation may settle derived values on the first load;
        // from then on the bytes are fixed.
        ASSERT_TRUE(DecodeQvs(*again, second, messenger).Read()) << seed;
        const auto third = EncodeQvs(*again, back);
        const long difference = FirstDifference(third, second);
        EXPECT_EQ(difference, -1) << seed << " at "
                                  << (difference < 0 ? "" : test::DescribeOffset(second, static_cast<std::size_t>(difference)));
        if (first != second) {
            // Only derived or normalised values may differ: every count,
            // size and the whole of sections 1 and 2 are the same.
            const auto a = MapFile(first);
            const auto c = MapFile(second);
            EXPECT_EQ(a.Counts, c.Counts) << seed;
            EXPECT_EQ(std::vector<std::uint8_t>(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(a.Section3)),
                      std::vector<std::uint8_t>(second.begin(), second.begin() + static_cast<std::ptrdiff_t>(c.Section3)))
                << seed;
        }
        EXPECT_TRUE(messenger.shown.empty()) << seed << (messenger.shown.empty() ? "" : messenger.shown[0].second);
        messenger.shown.clear();
    }
}

}  // namespace
}  // namespace velo

namespace velo {
namespace {

TEST(QvsRoundTrip, HungBallsStayWhereTheyWere) {
    RecordingMessenger messenger;
    auto loaded = std::make_unique<World>();
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        auto world = test::RandomWorld(seed, true);
        const auto first = EncodeQvs(*world, {});
        ASSERT_TRUE(DecodeQvs(*world, first, messenger).Read());
        ASSERT_TRUE(DecodeQvs(*loaded, EncodeQvs(*world, {}), messenger).Read());
        for (int k = 1; k <= world->BallCount; ++k) {
            EXPECT_NEAR(loaded->Balls[k].Position.X, world->Balls[k].Position.X, 1e-12) << seed;
            EXPECT_NEAR(loaded->Balls[k].Position.Y, world->Balls[k].Position.Y, 1e-12) << seed;
        }
    }
}

}  // namespace
}  // namespace velo
