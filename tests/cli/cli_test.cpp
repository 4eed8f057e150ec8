#include "cli/cli_tool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>

#include <nlohmann/json.hpp>

#include "project/lifecycle_test_support.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"
#include "persist/world_json.h"

namespace velo {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

struct CliOutcome {
    int Status;
    std::string Out;
    std::string Err;
};

CliOutcome Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err, false);
    return {status, out.str(), err.str()};
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class CliTest : public ::testing::Test {
protected:
    CliTest() : scratch(std::string("cli_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    // Two balls (the first deleted) and a rod, saved to scene.qvs.
    fs::path WriteScene(double maxStep = 0.001) {
        auto w = std::make_unique<World>();
        DefaultWorld(*w);
        w->ProjectKind = ProjectMechanical;
        w->Params.MaxStep = maxStep;
        for (int i = 0; i < 2; ++i) {
            const int b = NewObject(*w, KindBall).Number;
            w->Balls[b].Radius = 0.1;
            w->Balls[b].Position = {0.1 * b, 1.0 / 3.0};
        }
        DeleteObject(*w, KindBall, 1);
        // Every column of a row differs from the others: sideways speeds and
        // spins as well as the fall.
        w->Balls[2].Velocity = {0.7, 0.2};
        w->Balls[2].Omega = 3;
        const int r = NewObject(*w, KindPeg).Number;
        w->Pegs[r].Length = 1;
        w->Pegs[r].Width = w->Pegs[r].Depth = 0.02;
        w->Pegs[r].Position = {-1, 2};
        w->Pegs[r].Velocity = {-0.4, 0.1};
        w->Pegs[r].Omega = -2;
        const fs::path path = scratch.Path() / "scene.qvs";
        EXPECT_TRUE(SaveQvs(*w, path, {}).Ok);
        return path;
    }

    ScratchFolder scratch;
};

TEST(CliUsage, UsageTextDocumentsEveryCommandAndOption) {
    const std::string usage = CliUsageText();
    for (const char* word : {"dump", "run", "new", "--time", "--dt", "--out", "--json", "--csv", "--every",
                             "--yes", "Код завершения", "NaN"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}

// Every usage error is one line in Russian that names what is wrong, then
// the usage text, and exit status 1. An option given twice is refused: its
// second value would silently replace the first.
TEST(CliUsage, WrongUsageIsExplainedAndExitsWithOne) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{}, "не указана команда"},
        {{"frobnicate"}, "неизвестная команда frobnicate"},
        {{"dump"}, "dump FILE"},
        {{"dump", "a.qvs", "b.qvs"}, "dump FILE"},
        {{"new"}, "new OUT.qvs"},
        {{"run"}, "не указан файл"},
        {{"run", "a.qvs"}, "--time"},
        {{"run", "a.qvs", "--time"}, "--time ждёт значение"},
        {{"run", "a.qvs", "--time", "soon"}, "--time ждёт время"},
        {{"run", "a.qvs", "--time", "inf"}, "--time ждёт время"},
        {{"run", "a.qvs", "--time", "1", "--dt", "0"}, "--dt ждёт"},
        {{"run", "a.qvs", "--time", "1", "--dt", "-0.1"}, "--dt ждёт"},
        {{"run", "a.qvs", "--time", "1", "--every", "2"}, "без --csv"},
        {{"run", "a.qvs", "--time", "1", "--csv", "x.csv", "--every", "0"}, "--every ждёт"},
        {{"run", "a.qvs", "--time", "1", "--speed", "2"}, "неизвестный ключ --speed"},
        {{"run", "a.qvs", "--time", "1", "--json", "-"}, "--json -: вывод в стандартный поток"},
        {{"run", "a.qvs", "b.qvs", "--time", "1"}, "лишний аргумент b.qvs"},
        {{"run", "a.qvs", "--time", "1", "--time", "2"}, "--time указан дважды"},
        {{"run", "a.qvs", "--time", "1", "--csv", "x.csv", "--csv", "y.csv"}, "--csv указан дважды"},
        {{"run", "a.qvs", "--time", "1", "--dt", "0.1", "--dt", "0.1"}, "--dt указан дважды"},
        {{"run", "a.qvs", "--yes", "--time", "1"}, "--yes ставится перед командой"},
        {{"--yes", "--yes", "dump", "a.qvs"}, "--yes указан дважды"},
        {{"celestial", "a.json", "--time", "1"}, "--dt"},
        {{"celestial", "a.json", "--time", "1", "--dt", "1", "--out", "b.qvs"}, "--json"},
        {{"celestial", "a.json", "--time", "1", "--dt", "1", "--every", "2", "--every", "3"}, "--every указан дважды"},
    };
    for (const auto& c : cases) {
        const CliOutcome r = Cli(c.args);
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        EXPECT_EQ(r.Status, CliUsage) << joined;
        const std::string first = r.Err.substr(0, r.Err.find('\n'));
        EXPECT_EQ(first.rfind("velocitronimatics-cli: ", 0), 0u) << first;
        EXPECT_NE(first.find(c.says), std::string::npos) << joined << ": " << first;
        // Russian, as every other message of the tool.
        EXPECT_NE(first.find_first_of("\xD0\xD1"), std::string::npos) << first;
        EXPECT_NE(r.Err.find("использование:"), std::string::npos) << joined;
    }
}

TEST_F(CliTest, MissingOrForeignFilesExitWithTwo) {
    const CliOutcome missing = Cli({"dump", (scratch.Path() / "absent.qvs").string()});
    EXPECT_EQ(missing.Status, CliFile);
    EXPECT_NE(missing.Err.find("absent.qvs: Файл не найден"), std::string::npos) << missing.Err;
    EXPECT_TRUE(missing.Out.empty());

    const fs::path junk = scratch.Path() / "junk.qvs";
    std::ofstream(junk, std::ios::binary) << std::string(200, 'z');
    const CliOutcome foreign = Cli({"run", junk.string(), "--time", "1"});
    EXPECT_EQ(foreign.Status, CliFile);
    EXPECT_NE(foreign.Err.find("junk.qvs: Этот файл не является имитацией Velocitronimatics"), std::string::npos)
        << foreign.Err;

    const CliOutcome unwritable = Cli({"new", (scratch.Path() / "no folder" / "x.qvs").string()});
    EXPECT_EQ(unwritable.Status, CliFile);
    EXPECT_FALSE(unwritable.Err.empty());
}

TEST_F(CliTest, NewWritesTheDefaultProjectAndDumpShowsIt) {
    const fs::path path = scratch.Path() / "default.qvs";
    ASSERT_EQ(Cli({"new", path.string()}).Status, CliOk);
    const CliOutcome dump = Cli({"dump", path.string()});
    ASSERT_EQ(dump.Status, CliOk) << dump.Err;
    const nlohmann::json j = nlohmann::json::parse(dump.Out);
    for (const char* key : {"Header", "Units", "Parameters", "Materials", "T", "Laval", "Hand", "Wall", "Plane",
                            "Ball", "Thread", "Peg", "Surface", "Surface2"}) {
        EXPECT_TRUE(j.contains(key)) << key;
    }
    EXPECT_EQ(j["Header"]["Signature"], "Mechanical imitation file");
    EXPECT_EQ(j["Header"]["RequiredVersion"], 8);
    EXPECT_EQ(j["Header"]["RequiredBuild"], 314);
    EXPECT_EQ(j["Units"]["LengthUnitName"], "м");
    EXPECT_EQ(j["Parameters"]["Gravity"], 9.81);
    EXPECT_EQ(j["Materials"]["MaterialCount"], 1);
    EXPECT_EQ(j["Materials"]["Items"][1]["Name"], "Сталь");
    ASSERT_EQ(j["Materials"]["Restitution"].size(), 2u);
    EXPECT_EQ(j["Materials"]["Restitution"][1][1], 0.5);
    // The ZeroSupport is always there, as support 0.
    ASSERT_EQ(j["Hand"].size(), 1u);
    EXPECT_EQ(j["Hand"][0]["number"], 0);
    EXPECT_EQ(j["Hand"][0]["Bound1"], -10000.0);
    EXPECT_EQ(j["Hand"][0]["Exists"], false);
    EXPECT_TRUE(j["Ball"].empty());
}

TEST_F(CliTest, DumpListsDeletedRecordsAndRoundTripsReals) {
    const CliOutcome dump = Cli({"dump", WriteScene().string()});
    ASSERT_EQ(dump.Status, CliOk) << dump.Err;
    const nlohmann::json j = nlohmann::json::parse(dump.Out);
    ASSERT_EQ(j["Ball"].size(), 2u);
    EXPECT_EQ(j["Ball"][0]["number"], 1);
    EXPECT_EQ(j["Ball"][0]["Exists"], false);
    EXPECT_EQ(j["Ball"][1]["Exists"], true);
    EXPECT_EQ(j["Ball"][1]["Position"][1].get<double>(), 1.0 / 3.0);  // exact, not rounded
    EXPECT_EQ(j["Ball"][1]["Position"][0].get<double>(), 0.1 * 2);
    EXPECT_TRUE(j["Ball"][1]["Movable"].is_boolean());
    EXPECT_EQ(j["Peg"][0]["Length"], 1.0);
}

TEST(CliJson, NonFiniteRealsBecomeStrings) {
    EXPECT_EQ(RealToJson(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(RealToJson(std::numeric_limits<double>::infinity()), "Infinity");
    EXPECT_EQ(RealToJson(-std::numeric_limits<double>::infinity()), "-Infinity");
    EXPECT_EQ(RealToJson(5e-324).get<double>(), 5e-324);
    auto w = std::make_unique<World>();
    DefaultWorld(*w);
    const int b = NewObject(*w, KindBall).Number;
    w->Balls[b].Velocity.X = std::numeric_limits<double>::quiet_NaN();
    const auto j = nlohmann::json::parse(WorldToJson(*w, {}).dump());
    EXPECT_EQ(j["Ball"][0]["Velocity"][0], "NaN");
}

TEST_F(CliTest, RunTakesWholeStepsAndWritesEveryOutput) {
    const fs::path scene = WriteScene();
    const fs::path out = scratch.Path() / "after.qvs";
    const fs::path json = scratch.Path() / "after.json";
    const fs::path csv = scratch.Path() / "track.csv";
    const CliOutcome r = Cli({"run", scene.string(), "--time", "0.01", "--out", out.string(), "--json",
                              json.string(), "--csv", csv.string(), "--every", "4"});
    ASSERT_EQ(r.Status, CliOk) << r.Err;
    EXPECT_NE(r.Err.find("шагов: 10,"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("шагов в секунду"), std::string::npos);

    double t = 0;
    for (int i = 0; i < 10; ++i) t += 0.001;
    const nlohmann::json j = nlohmann::json::parse(ReadText(json));
    EXPECT_EQ(j["T"].get<double>(), t);

    auto after = std::make_unique<World>();
    testing::ScriptedMessenger quiet;
    ASSERT_TRUE(OpenQvs(*after, out, quiet).Read());
    EXPECT_EQ(after->BallCount, 2);

    // Header, then step 0, 4, 8 and the last step 10; the deleted ball never appears.
    std::istringstream lines(ReadText(csv));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "step,T,kind,number,X,Y,VX,VY,Phi,Omega,KineticEnergy,PotentialEnergy");
    std::vector<std::string> keys;
    std::map<std::string, std::vector<double>> lastRows;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string step, time, kind, number, value;
        std::getline(fields, step, ',');
        std::getline(fields, time, ',');
        std::getline(fields, kind, ',');
        std::getline(fields, number, ',');
        keys.push_back(step + ":" + kind + number);
        std::vector<double> values;
        while (std::getline(fields, value, ',')) values.push_back(std::stod(value));
        if (step == "10") {
            lastRows[kind + number] = values;
            EXPECT_EQ(std::stod(time), t);
        }
    }
    const std::vector<std::string> expected = {"0:Ball2", "0:Peg1", "4:Ball2", "4:Peg1",
                                               "8:Ball2", "8:Peg1", "10:Ball2", "10:Peg1"};
    EXPECT_EQ(keys, expected);

    // The last rows hold the state the JSON of the same run holds, column by
    // column.
    auto record = [&](const char* table, int number) {
        for (const auto& r : j[table]) {
            if (r["number"] == number) return r;
        }
        return nlohmann::json{};
    };
    const auto columns = [](const nlohmann::json& r) {
        return std::vector<double>{r["Position"][0], r["Position"][1], r["Velocity"][0], r["Velocity"][1],
                                   r["Phi"],         r["Omega"],       r["KineticEnergy"], r["PotentialEnergy"]};
    };
    EXPECT_EQ(lastRows["Ball2"], columns(record("Ball", 2)));
    EXPECT_EQ(lastRows["Peg1"], columns(record("Peg", 1)));
}

TEST_F(CliTest, StepCountFollowsTheFileStepAndRoundsUp) {
    struct Case {
        std::vector<std::string> extra;
        const char* steps;
        int status = CliOk;
    } cases[] = {
        {{"--time", "1"}, "шагов: 1000,"},           // the file's MaxStep, no 1001st step
        {{"--time", "0.0105"}, "шагов: 11,"},         // the last step goes past T
        {{"--time", "0.01", "--dt", "0.004"}, "шагов: 3,"},
        {{"--time", "0"}, "шагов: 0,"},
        {{"--time", "-1"}, "меньше времени T = 0", CliUsage},  // a run does not go back
    };
    const fs::path scene = WriteScene(0.001);
    for (const Case& c : cases) {
        std::vector<std::string> args = {"run", scene.string()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const CliOutcome r = Cli(args);
        EXPECT_EQ(r.Status, c.status) << r.Err;
        EXPECT_NE(r.Err.find(c.steps), std::string::npos) << c.extra[1] << ": " << r.Err;
    }
}

TEST_F(CliTest, NumbersAreStrictAndStepCountsMustFit) {
    const fs::path scene = WriteScene();
    const fs::path csv = scratch.Path() / "rows.csv";
    const std::vector<std::vector<std::string>> refused = {
        {"--time", "nan"}, {"--time", "inf"}, {"--time", "-inf"}, {"--time", "1e400"},
        {"--time", "1x"}, {"--time", " 1"}, {"--time", "1 "}, {"--time", ""}, {"--time", "0x10"},
        {"--time", "+-1"}, {"--time", "1,5"},
        {"--dt", "NaN"}, {"--dt", "0"}, {"--dt", "-0"}, {"--dt", "-1"}, {"--dt", "1e-400"},
        {"--dt", "0.001s"}, {"--dt", "infinity"},
        {"--every", "0"}, {"--every", "-3"}, {"--every", "1.5"}, {"--every", "1e3"},
        {"--every", "99999999999999999999"}, {"--every", " 2"},
        // Step counts beyond any integer, or beyond what one run makes.
        {"--dt", "1e-300"}, {"--time", "1e19", "--dt", "1"}, {"--time", "1e308", "--dt", "1e-308"},
        {"--time", "2000000001", "--dt", "1"},
    };
    // The run's arguments: `extra`, and --time `time` unless `extra` has one.
    auto run = [&](const std::vector<std::string>& extra, const char* time) {
        std::vector<std::string> args = {"run", scene.string(), "--csv", csv.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        if (std::find(extra.begin(), extra.end(), "--time") == extra.end()) args.insert(args.end(), {"--time", time});
        return args;
    };
    for (const auto& extra : refused) {
        const CliOutcome r = Cli(run(extra, "1"));
        EXPECT_EQ(r.Status, CliUsage) << extra[0] << " " << extra[1];
        // The message blames the option at fault.
        const std::string first = r.Err.substr(0, r.Err.find('\n'));
        EXPECT_NE(first.find(extra[0]), std::string::npos) << extra[0] << " " << extra[1] << ": " << first;
        EXPECT_EQ(r.Err.find("шагов:"), std::string::npos) << extra[0] << " " << extra[1];
        EXPECT_FALSE(fs::exists(csv)) << extra[0] << " " << extra[1];
    }
    const std::vector<std::vector<std::string>> accepted = {
        {"--time", "+0.002"}, {"--time", ".002"}, {"--dt", "1e-3", "--time", "0.002"}, {"--every", "+2"}};
    for (const auto& extra : accepted) {
        EXPECT_EQ(Cli(run(extra, "0.002")).Status, CliOk) << extra[0] << " " << extra[1];
    }
}

TEST_F(CliTest, OutputsThatNameOneFileAreRefused) {
    const fs::path scene = WriteScene();
    const fs::path dir = scratch.Path();
    fs::create_directory(dir / "d");
    std::ofstream(dir / "a.txt") << "kept";
    fs::create_hard_link(dir / "a.txt", dir / "b.txt");
    const std::string out = (dir / "out.qvs").string();
    std::vector<std::vector<std::string>> cases = {
        {"--out", out, "--csv", out},
        {"--out", out, "--json", (dir / "." / "out.qvs").string()},
        {"--json", (dir / "d" / ".." / "out.qvs").string(), "--csv", out},
        {"--json", (dir / "a.txt").string(), "--csv", (dir / "b.txt").string()},
        // An output over the file read would replace the scene with a table.
        {"--out", out, "--csv", scene.string()},
        {"--out", out, "--json", (dir / "." / "scene.qvs").string()},
    };
#ifndef _WIN32
    // The standard library of MinGW makes no symbolic links.
    fs::create_symlink("out.qvs", dir / "link.qvs");
    cases.push_back({"--out", (dir / "link.qvs").string(), "--csv", out});
#endif
    const std::string sceneBytes = ReadText(scene);
    for (const auto& extra : cases) {
        std::vector<std::string> args = {"run", scene.string(), "--time", "0.01"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliOutcome r = Cli(args);
        EXPECT_EQ(r.Status, CliUsage) << extra[1] << " " << extra[3];
        EXPECT_NE(r.Err.find("один и тот же файл"), std::string::npos) << r.Err;
        EXPECT_FALSE(fs::exists(dir / "out.qvs"));
        EXPECT_EQ(ReadText(dir / "a.txt"), "kept");
        EXPECT_EQ(ReadText(scene), sceneBytes);
    }
    // An output that cannot be written is reported before the run, and the
    // others are not written either.
    const std::string celestial = std::string(VELO_SOURCE_DIR) + "/examples/sun_earth_moon.json";
    const std::string folder = (dir / "d").string();
    const std::string json = (dir / "after.json").string();
    const std::vector<std::vector<std::string>> unwritable = {
        {"run", scene.string(), "--time", "1", "--csv", folder},
        {"run", scene.string(), "--time", "1", "--out", folder, "--json", json},
        {"run", scene.string(), "--time", "1", "--json", folder},
        {"celestial", celestial, "--time", "60", "--dt", "60", "--json", folder},
        {"celestial", celestial, "--time", "60", "--dt", "60", "--csv", folder, "--json", json},
    };
    for (const auto& args : unwritable) {
        const CliOutcome r = Cli(args);
        EXPECT_EQ(r.Status, CliFile) << args[0] << " " << args[5];
        EXPECT_NE(r.Err.find("это имя носит папка"), std::string::npos) << r.Err;
        EXPECT_EQ(r.Err.find("шагов:"), std::string::npos) << r.Err;
        EXPECT_FALSE(fs::exists(json));
    }
}

TEST_F(CliTest, FrozenObjectStopsTheRunWithStatusThree) {
    auto w = std::make_unique<World>();
    DefaultWorld(*w);
    w->ProjectKind = ProjectMechanical;
    const int b = NewObject(*w, KindBall).Number;
    w->Balls[b].Radius = 0.1;
    w->Balls[b].Omega = 1e17;  // spins faster than anything the step can follow
    const fs::path scene = scratch.Path() / "spinning.qvs";
    ASSERT_TRUE(SaveQvs(*w, scene, {}).Ok);
    const fs::path out = scratch.Path() / "frozen.qvs";
    const CliOutcome r = Cli({"run", scene.string(), "--time", "1", "--out", out.string()});
    EXPECT_EQ(r.Status, CliFrozen);
    EXPECT_NE(r.Err.find("ошибка: "), std::string::npos);
    EXPECT_NE(r.Err.find("шагов: 0,"), std::string::npos) << r.Err;  // the failed step did not complete
    // The state at the freeze is still written: the ball is no longer movable.
    auto after = std::make_unique<World>();
    testing::ScriptedMessenger quiet;
    ASSERT_TRUE(OpenQvs(*after, out, quiet).Read());
    EXPECT_FALSE(after->Balls[b].Movable);
}

TEST_F(CliTest, RecordWritesTheChosenQuantitiesAndEventsTheImpulses) {
    const fs::path scene = WriteScene();
    const fs::path csv = scratch.Path() / "record.csv";
    const fs::path events = scratch.Path() / "events.csv";
    const fs::path json = scratch.Path() / "after.json";
    const CliOutcome r = Cli({"run", scene.string(), "--time", "0.01", "--csv", csv.string(), "--every", "4",
                              "--record", "ball 2: x, vy; Стержень 1: phi; scene: energy", "--events",
                              events.string(), "--json", json.string()});
    ASSERT_EQ(r.Status, CliOk) << r.Err;
    const nlohmann::json j = nlohmann::json::parse(ReadText(json));
    std::istringstream lines(ReadText(csv));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "T (с),Шар №2: x (м),Шар №2: vy (м / с),Стержень №1: phi (градус),"
                    "Сцена: energy (кг*(м/с)^2)");
    std::vector<std::string> rows;
    while (std::getline(lines, line)) rows.push_back(line);
    // Step 0, 4, 8 and the last step 10.
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].substr(0, 2), "0,");
    double x = 0;
    for (const auto& ball : j["Ball"]) {
        if (ball["number"] == 2) x = ball["Position"][0].get<double>();
    }
    EXPECT_EQ(std::stod(rows[3].substr(rows[3].find(',') + 1)), x);
    EXPECT_EQ(ReadText(events).rfind("Шаг,T (с),Объект 1,", 0), 0u);
}

// The recording and the log are written as the run goes: every row of a
// run far longer than any buffer, Russian object names in any case, and the
// byte order mark only when asked for.
TEST_F(CliTest, RecordStreamsEveryRowAndFoldsRussianCase) {
    const fs::path scene = WriteScene();
    const fs::path csv = scratch.Path() / "record.csv";
    const fs::path events = scratch.Path() / "events.csv";
    for (bool bom : {false, true}) {
        std::vector<std::string> args = {"run", scene.string(), "--time", "30", "--dt", "0.0001", "--csv",
                                         csv.string(), "--record", "ШАР 2: y; СЦЕНА: energy", "--events",
                                         events.string()};
        if (bom) args.push_back("--bom");
        const CliOutcome r = Cli(args);
        ASSERT_EQ(r.Status, CliOk) << r.Err;
        const std::string text = ReadText(csv);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 300002) << "a header and a row for steps 0 .. 300000";
        const std::string mark = "\xEF\xBB\xBF";
        EXPECT_EQ(text.rfind(mark + "T (с),Шар №2: y", 0) == 0, bom);
        EXPECT_EQ(text.rfind("T (с),Шар №2: y", 0) == 0, !bom);
        EXPECT_EQ(ReadText(events).rfind(mark, 0) == 0, bom);
    }
}

TEST_F(CliTest, RecordRefusesWhatTheSceneDoesNotHave) {
    const fs::path scene = WriteScene();
    const std::string csv = (scratch.Path() / "record.csv").string();
    struct Case {
        std::vector<std::string> Extra;
        const char* Says;
    } cases[] = {
        {{"--csv", csv, "--record", "ball 1: x"}, "№1"},  // deleted
        {{"--csv", csv, "--record", "rod 5: x"}, "идут до 1"},
        {{"--csv", csv, "--record", "planet 2: x"}, "неизвестный объект «planet 2»"},
        {{"--csv", csv, "--record", "ball 2: mass"}, "неизвестная величина «mass»"},
        {{"--csv", csv, "--record", "scene: vx"}, "у сцены нет величины vx"},
        {{"--csv", csv, "--record", "ball 2 x"}, "нет двоеточия"},
        {{"--csv", csv, "--record", "cylinder 2: x"}, "шар, а не цилиндр"},
        {{"--bom"}, "без них не нужен"},
        {{"--record", "ball 2: x"}, "без --csv"},
        {{"--csv", csv, "--events", csv}, "--csv и --events"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"run", scene.string(), "--time", "0.01"};
        args.insert(args.end(), c.Extra.begin(), c.Extra.end());
        const CliOutcome r = Cli(args);
        EXPECT_EQ(r.Status, CliUsage) << c.Says;
        EXPECT_NE(r.Err.find(c.Says), std::string::npos) << r.Err;
        EXPECT_FALSE(fs::exists(csv)) << c.Says;
    }
    // A mistake in --record is shown with a pointer to the help, not buried
    // under the whole usage; a kind the scene has none of is named so.
    const CliOutcome typo = Cli({"run", scene.string(), "--time", "0.01", "--csv", csv, "--record", "ball 2: mass"});
    EXPECT_EQ(typo.Err.find(CliUsageText()), std::string::npos);
    EXPECT_EQ(std::count(typo.Err.begin(), typo.Err.end(), '\n'), 2) << typo.Err;
    EXPECT_NE(typo.Err.find("--help"), std::string::npos) << typo.Err;
    const std::string bounce = std::string(VELO_SOURCE_DIR) + "/examples/ball_bounce.qvs";
    const CliOutcome noRods = Cli({"run", bounce, "--time", "0.01", "--csv", csv, "--record", "rod 1: x"});
    EXPECT_EQ(noRods.Status, CliUsage);
    EXPECT_NE(noRods.Err.find("в файле нет ни одного стержня"), std::string::npos) << noRods.Err;
    EXPECT_FALSE(fs::exists(csv));
}

// A run asked to stop by SIGINT or SIGTERM ends with 128 + the signal's
// number, writes no output and leaves no temporary file; a file an output
// names keeps its content.
TEST_F(CliTest, InterruptedRunsWriteNothing) {
    const fs::path scene = WriteScene();
    const std::string celestial = std::string(VELO_SOURCE_DIR) + "/examples/sun_earth_moon.json";
    const fs::path out = scratch.Path() / "out.qvs";
    const fs::path csv = scratch.Path() / "rows.csv";
    std::ofstream(csv) << "kept";
    const struct {
        std::vector<std::string> args;
        std::sig_atomic_t signal;
    } cases[] = {
        {{"run", scene.string(), "--time", "1", "--out", out.string(), "--csv", csv.string()}, SIGINT},
        {{"celestial", celestial, "--time", "600", "--dt", "60", "--json", out.string(), "--csv", csv.string()},
         SIGTERM},
    };
    for (const auto& c : cases) {
        std::ostringstream output, err;
        const volatile std::sig_atomic_t interrupted = c.signal;
        EXPECT_EQ(RunCli(c.args, output, err, false, &interrupted), 128 + c.signal) << c.args[0];
        EXPECT_NE(err.str().find("расчёт прерван"), std::string::npos) << err.str();
        EXPECT_FALSE(fs::exists(out)) << c.args[0];
        EXPECT_EQ(ReadText(csv), "kept") << c.args[0];
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(scratch.Path())) names.push_back(entry.path().filename());
        EXPECT_EQ(names.size(), 2u) << c.args[0];  // the scene and rows.csv
    }
}

TEST_F(CliTest, UnusableFileStepAsksForDt) {
    const CliOutcome r = Cli({"run", WriteScene(0).string(), "--time", "1"});
    EXPECT_EQ(r.Status, CliFile);
    EXPECT_NE(r.Err.find("--dt"), std::string::npos);
}

TEST_F(CliTest, CelestialScenesRunThroughJson) {
    const std::string scene = std::string(VELO_SOURCE_DIR) + "/examples/sun_earth_moon.json";
    const fs::path out = scratch.Path() / "after.json";
    const fs::path bad = scratch.Path() / "bad.json";
    std::ofstream(bad) << "{\"Bodies\": [";
    // A scene whose T lies so near the largest double that one more step
    // would make it infinite.
    const fs::path late = scratch.Path() / "late.json";
    nlohmann::ordered_json lateScene = nlohmann::ordered_json::parse(ReadText(scene));
    lateScene["T"] = 1.7e308;
    std::ofstream(late) << lateScene.dump();
    struct Case {
        std::vector<std::string> Args;
        int Status;
    } cases[] = {
        {{"celestial", scene, "--time", "86400", "--dt", "60", "--json", out.string()}, CliOk},
        {{"celestial", scene, "--time", "86400"}, CliUsage},
        {{"celestial", scene, "--time", "-60", "--dt", "60", "--json", out.string()}, CliUsage},
        {{"celestial", scene, "--time", "1", "--dt", "1", "--out", out.string()}, CliUsage},
        {{"celestial", bad.string(), "--time", "1", "--dt", "1"}, CliFile},
        {{"celestial", late.string(), "--time", "1.79e308", "--dt", "1e307", "--json", out.string()}, CliUsage},
    };
    for (const Case& c : cases) EXPECT_EQ(Cli(c.Args).Status, c.Status) << c.Args.size();
    const nlohmann::json after = nlohmann::json::parse(ReadText(out));
    EXPECT_NE(after.dump().find("86400"), std::string::npos);  // T after a day
}

}  // namespace
}  // namespace velo
