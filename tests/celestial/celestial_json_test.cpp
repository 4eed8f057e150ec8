// Celestial scenes as JSON: the round trip, every refusal (leaving the
// world as it was), and the shipped Sun-Earth-Moon scene.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "celestial/bodies.h"
#include "celestial/celestial_step.h"
#include "model/messages.h"
#include "model/world_ops.h"
#include "persist/celestial_json.h"
#include "non_regular_paths.h"

namespace velo {
namespace {

using Json = nlohmann::ordered_json;

void Name(HBody& body, const std::u16string& name) {
    body.Name.fill(u' ');
    std::copy(name.begin(), name.end(), body.Name.begin());
}

std::unique_ptr<World> SampleScene() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectCelestial;
    world->T = 1234.5;
    world->Celestial.GravitationalConstant = 6.674e-11;
    world->Celestial.CelestialTimeScale = -7200;
    SetViewAngleH(world->Celestial, 1.1);
    const struct {
        std::u16string Name;
        double Radius;
        const char* Formula;
        Vec3 Position, Velocity;
        std::int32_t Colour;
    } bodies[] = {
        {u"Звезда 𝔸", 7e8, "1410", {0.1, -2e11, -3e11}, {1e-3, 2, -3}, 0x40D0FF},
        {u"", 1, "1000", {5, 6, 7}, {}, 0},
        {u"Планета-гигант №1", 7e7, "13000-10000*X", {1e11, 0, -3e11}, {0, 13000, 0}, 0xFFFFFF},
    };
    for (const auto& b : bodies) {
        HBody& body = world->HBodies[static_cast<std::size_t>(++world->HBodyCount)];
        Name(body, b.Name.substr(0, 16));
        body.Radius = b.Radius;
        body.DensityFormula = b.Formula;
        body.Position = b.Position;
        body.Velocity = b.Velocity;
        body.Colour = b.Colour;
        body.Exists = body.Movable = true;
    }
    world->HBodies[1].Density = 1410;
    world->HBodies[2].Density = 1000;
    world->HBodies[3].Density = 5500.000000000001;
    for (int n = 1; n <= 3; ++n) UpdateBodyMass(world->HBodies[static_cast<std::size_t>(n)]);
    world->HBodies[2].Exists = false;  // deleted: not written
    return world;
}

TEST(CelestialJson, RoundTripKeepsParametersAndBodies) {
    const auto scene = SampleScene();
    const CelestialJsonText text = CelestialSceneToJson(*scene);
    ASSERT_TRUE(text.Ok) << text.Message;

    const auto dir = std::filesystem::path(VELO_BINARY_DIR) / "celestial_json_test";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(SaveCelestialScene(*scene, dir / "scene.json").Ok);
    auto read = std::make_unique<World>();
    const CelestialReadResult result = LoadCelestialScene(dir / "scene.json", *read);
    ASSERT_TRUE(result.Ok) << result.Message;

    // Written again, the text is the same: every stored field came back.
    EXPECT_EQ(CelestialSceneToJson(*read).Text, text.Text);
    EXPECT_NE(text.Text.find("\"Colour\": \"#FFD040\""), std::string::npos);  // red first
    EXPECT_NE(text.Text.find("Звезда 𝔸"), std::string::npos);
    // The derived values follow, the deleted body is left out and the rest
    // renumbered.
    EXPECT_EQ(read->ProjectKind, ProjectCelestial);
    EXPECT_EQ(read->Celestial.ViewAngleV, scene->Celestial.ViewAngleV);
    EXPECT_EQ(read->Celestial.ObserverDistance, scene->Celestial.ObserverDistance);
    ASSERT_EQ(read->HBodyCount, 2);
    EXPECT_EQ(read->HBodies[2].Name, scene->HBodies[3].Name);
    EXPECT_EQ(read->HBodies[2].Mass, scene->HBodies[3].Mass);
    EXPECT_TRUE(read->HBodies[2].Exists && read->HBodies[2].Movable && !read->HBodies[2].Selected);

    EXPECT_FALSE(LoadCelestialScene(dir / "missing.json", *read).Ok);
    std::filesystem::remove_all(dir);
}

TEST(CelestialJson, WriterRefusesValuesJsonCannotHold) {
    auto scene = SampleScene();
    scene->HBodies[3].Velocity.Y = std::nan("");
    const CelestialJsonText text = CelestialSceneToJson(*scene);
    EXPECT_FALSE(text.Ok);
    EXPECT_NE(text.Message.find("Velocity"), std::string::npos);
}

struct Refusal {
    const char* Name;
    std::function<void(Json&)> Damage;  // on a valid scene; nullptr: the raw text below
    const char* Raw;
    const char* Says;  // part of the message
};

TEST(CelestialJson, RefusalsSayWhyAndLeaveTheWorldAlone) {
    const Json valid = Json::parse(CelestialSceneToJson(*SampleScene()).Text);
    const Refusal refusals[] = {
        {"not JSON", nullptr, "{\"format\": ", "JSON"},
        {"not an object", nullptr, "[1, 2]", "объектом"},
        {"unknown field", [](Json& j) { j["colour"] = 1; }, nullptr, "\"colour\""},
        {"unknown parameter", [](Json& j) { j["parameters"]["Gravity"] = 9.8; }, nullptr, "\"Gravity\""},
        {"unknown body field", [](Json& j) { j["bodies"][1]["Mass"] = 1; }, nullptr, "тело №2: неизвестное поле \"Mass\""},
        {"wrong format", [](Json& j) { j["format"] = "qvs"; }, nullptr, "format"},
        {"wrong version", [](Json& j) { j["version"] = 2; }, nullptr, "версия"},
        {"201 bodies",
         [](Json& j) {
             while (j["bodies"].size() < 201) j["bodies"].push_back(j["bodies"][0]);
         },
         nullptr, "201"},
        {"missing radius", [](Json& j) { j["bodies"][0].erase("Radius"); }, nullptr, "нет поля \"Radius\""},
        {"radius as text", [](Json& j) { j["bodies"][0]["Radius"] = "NaN"; }, nullptr, "числом"},
        {"radius of zero", [](Json& j) { j["bodies"][0]["Radius"] = 0; }, nullptr, "1e-40"},
        {"infinite position", nullptr, nullptr, "конечным"},
        {"two coordinates", [](Json& j) { j["bodies"][0]["Velocity"] = Json::array({1, 2}); }, nullptr, "трёх"},
        {"bad colour", [](Json& j) { j["bodies"][0]["Colour"] = "red"; }, nullptr, "#RRGGBB"},
        {"long name", [](Json& j) { j["bodies"][0]["Name"] = "Семнадцать знаков"; }, nullptr, "16"},
        {"refused formula", [](Json& j) { j["bodies"][0]["DensityFormula"] = "2*"; }, nullptr, "формула"},
        {"density out of range", [](Json& j) { j["bodies"][0]["Density"] = 1e80; }, nullptr, "1e80"},
        {"view angle", [](Json& j) { j["parameters"]["ViewAngleH"] = 5; }, nullptr, "ViewAngleH"},
        {"no light speed", [](Json& j) { j["parameters"]["LightSpeed"] = 0; }, nullptr, "LightSpeed"},
        {"infinite T", nullptr, nullptr, "конечным"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.Name);
        std::string text;
        if (r.Raw) {
            text = r.Raw;
        } else if (r.Damage) {
            Json damaged = valid;
            r.Damage(damaged);
            text = damaged.dump();
        } else {
            // Numbers beyond a double.
            text = valid.dump();
            const std::string from = std::string(r.Name) == "infinite T" ? "\"T\":1234.5" : "-300000000000.0";
            const auto at = text.find(from);
            ASSERT_NE(at, std::string::npos);
            text.replace(at, from.size(), std::string(r.Name) == "infinite T" ? "\"T\":1e400" : "-3e400");
        }
        auto world = SampleScene();
        const CelestialReadResult result = CelestialSceneFromJson(text, *world);
        EXPECT_FALSE(result.Ok);
        EXPECT_NE(result.Message.find(r.Says), std::string::npos) << result.Message;
        EXPECT_EQ(result.Message.rfind("Сцена небесной механики не прочитана: ", 0), 0u) << result.Message;
        EXPECT_EQ(world->HBodyCount, 3);
        EXPECT_EQ(world->T, 1234.5);
        EXPECT_FALSE(world->HBodies[2].Exists);
        EXPECT_EQ(world->Celestial.CelestialTimeScale, -7200);
    }
}

// Only a regular file of a bounded length is read: a pipe without a writer
// would block the reader, a device or a huge file would never end.
TEST(CelestialJson, LoadSaysWhatIsAtThePathAndReadsNoMoreThanTheLimit) {
    const auto dir = std::filesystem::path(VELO_BINARY_DIR) / "celestial_json_paths";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "folder.json");
    const std::filesystem::path pipe = test::MakePipe(dir / "pipe.json");
    ASSERT_FALSE(pipe.empty());
    const std::string text = CelestialSceneToJson(*SampleScene()).Text;
    // The limit itself is read; one byte more is refused unread, also as a
    // sparse file of many gigabytes.
    std::ofstream(dir / "padded.json", std::ios::binary) << text << std::string(MaxCelestialSceneSize - text.size(), ' ');
    std::ofstream(dir / "long.json", std::ios::binary) << text << std::string(MaxCelestialSceneSize - text.size() + 1, ' ');
    std::ofstream(dir / "sparse.json", std::ios::binary) << text;
    std::filesystem::resize_file(dir / "sparse.json", std::uintmax_t{64} << 30);
    const struct {
        std::filesystem::path Path;
        const char* Says;  // nullptr: read
    } cases[] = {
        {dir / "absent.json", "Файл не найден"},
        {dir / "folder.json", "это папка"},
        {pipe, "не обычный файл"},
        {test::EndlessDevice(), "не обычный файл"},
        {dir / "long.json", "длиннее 1024 КБ"},
        {dir / "sparse.json", "длиннее 1024 КБ"},
        {dir / "padded.json", nullptr},
    };
    for (const auto& c : cases) {
        auto world = SampleScene();
        const CelestialReadResult result = LoadCelestialScene(c.Path, *world);
        EXPECT_EQ(result.Ok, c.Says == nullptr) << c.Path << ": " << result.Message;
        if (c.Says) {
            EXPECT_NE(result.Message.find(c.Says), std::string::npos) << result.Message;
            EXPECT_EQ(world->HBodyCount, 3) << c.Path;  // left as it was
        } else {
            EXPECT_EQ(world->HBodyCount, 2);
        }
    }
    std::filesystem::remove_all(dir);
}

TEST(CelestialJson, SunEarthMoonExampleHasRealMassesAndKeepsItsMoon) {
    auto world = std::make_unique<World>();
    const CelestialReadResult result =
        LoadCelestialScene(std::filesystem::path(VELO_SOURCE_DIR) / "examples/sun_earth_moon.json", *world);
    ASSERT_TRUE(result.Ok) << result.Message;
    ASSERT_EQ(world->HBodyCount, 3);
    const HBody& sun = world->HBodies[1];
    const HBody& earth = world->HBodies[2];
    const HBody& moon = world->HBodies[3];
    EXPECT_NEAR(sun.Mass, 1.989e30, 1e-12 * 1.989e30);
    EXPECT_NEAR(earth.Mass, 5.972e24, 1e-12 * 5.972e24);
    EXPECT_NEAR(moon.Mass, 7.342e22, 1e-12 * 7.342e22);
    const auto distance = [](const HBody& a, const HBody& b) {
        return std::hypot(a.Position.X - b.Position.X, a.Position.Y - b.Position.Y, a.Position.Z - b.Position.Z);
    };
    // A sidereal year in steps of ten minutes: the Moon stays with the
    // Earth, and the Earth comes back to where it started.
    const Vec3 start = earth.Position;
    SilentMessenger messenger;
    const int steps = static_cast<int>(365.256 * 86400 / 600);
    for (int k = 0; k < steps; ++k) {
        ASSERT_TRUE(CelestialStep(*world, 600, messenger));
        const double apart = distance(earth, moon);
        ASSERT_TRUE(apart > 3.4e8 && apart < 4.3e8) << "step " << k << ": " << apart;
    }
    const double miss = std::hypot(earth.Position.X - start.X, earth.Position.Y - start.Y, earth.Position.Z - start.Z);
    EXPECT_LT(miss, 0.01 * 1.496e11);
}

}  // namespace
}  // namespace velo
