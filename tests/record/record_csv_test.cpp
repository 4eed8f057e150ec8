#include "record/record_csv.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>

#include "engine/step_scenes.h"

namespace velo {
namespace {

using testing::PlaceBall;
using testing::StillScene;

// A locale that writes "1 234,5": what a Russian system gives a stream.
struct CommaNumbers : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(RecordCsv, HeaderNamesQuantitiesWithTheProjectUnitsAndNumbersUseAPoint) {
    auto world = StillScene(9.8);
    world->Units.LengthUnitName = "фут";
    world->Units.TimeUnitName = "мин, ср";  // a comma inside: the cell is quoted
    world->Units.AngleUnitName = "рад";
    world->Units.AngleUnit = 1;
    const int ball = PlaceBall(*world, {1234.5, 0.25});
    world->Balls[ball].Shape = ShapeCylinder;
    world->Balls[ball].Phi = 0.5;
    Recorder recorder;
    recorder.Enable(true);
    recorder.Add({KindBall, ball, Quantity::X});
    recorder.Add({KindBall, ball, Quantity::Phi});
    recorder.Add({KindPeg, 4, Quantity::Omega});  // missing: empty cells
    recorder.Add({KindNone, 0, Quantity::KineticEnergy});
    recorder.SampleNow(*world);
    world->T = 0.125;
    recorder.SampleNow(*world);

    std::ostringstream out;
    out.imbue(std::locale(std::locale::classic(), new CommaNumbers));
    WriteRecordingCsv(out, recorder, *world);
    const std::vector<std::string> lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "\"T (мин, ср)\",Цилиндр №1: x (фут),Цилиндр №1: phi (рад),\"Стержень №4: omega (рад / мин, ср)\","
              "\"Сцена: ke (кг*(фут/мин, ср)^2)\"");
    EXPECT_EQ(lines[1], "0,1234.5,0.5,,0");
    EXPECT_EQ(lines[2], "0.125,1234.5,0.5,,0");
}

TEST(RecordCsv, AnglesAreShownInTheAngleUnit) {
    auto world = StillScene(9.8);  // degrees
    const int ball = PlaceBall(*world, {0, 0});
    world->Balls[ball].Omega = std::numbers::pi;
    Recorder recorder;
    recorder.Enable(true);
    recorder.Add({KindBall, ball, Quantity::Omega});
    recorder.SampleNow(*world);
    std::ostringstream out;
    WriteRecordingCsv(out, recorder, *world);
    EXPECT_EQ(Lines(out.str()).at(0), "T (с),Шар №1: omega (градус / с)");
    EXPECT_EQ(Lines(out.str()).at(1), "0,180");
}

TEST(RecordCsv, CollisionRowsNameBothObjects) {
    auto world = StillScene(9.8);
    PlaceBall(*world, {0, 0});
    CollisionLog log;
    log.OnImpulse(ImpulseEvent{1234567, 0.5, KindBall, 1, KindWall, 2, 2.5, -0.25, {-1, 0}, {0.5, 0}, {}, {}});
    std::ostringstream out;
    out.imbue(std::locale(std::locale::classic(), new CommaNumbers));
    WriteCollisionCsv(out, log, *world);
    const std::vector<std::string> lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Шаг,T (с),Объект 1,№ 1,Объект 2,№ 2,Нормальный импульс (кг*м/с),"
                        "Касательный импульс (кг*м/с),v1x до (м / с),v1y до (м / с),v1x после (м / с),"
                        "v1y после (м / с),v2x до (м / с),v2y до (м / с),v2x после (м / с),v2y после (м / с)");
    EXPECT_EQ(lines[1], "1234567,0.5,Шар,1,Стена,2,2.5,-0.25,-1,0,0.5,0,0,0,0,0");
}

TEST(Quantities, NamesUnitsAndAliases) {
    struct Case {
        const char* Name;
        std::optional<Quantity> Id;
    } cases[] = {
        {"x", Quantity::X},  {"VY", Quantity::VelocityY}, {"energy", Quantity::TotalEnergy},
        {"e", Quantity::TotalEnergy}, {"L", Quantity::AngularMomentum}, {"speed", Quantity::Speed},
        {"", std::nullopt}, {"mass", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(QuantityByName(c.Name), c.Id) << c.Name;
    for (const QuantityInfo& info : AllQuantities()) {
        EXPECT_EQ(&InfoOf(info.Id), &info);
        EXPECT_EQ(QuantityByName(info.Name), info.Id);
        EXPECT_FALSE(UnitPattern(info.Unit).empty());
    }
    UnitSystem units;
    EXPECT_EQ(UnitLabel(UnitKind::Force, units), "кг*м/с^2");
    EXPECT_EQ(UnitLabel(UnitKind::AngularVelocity, units), "градус / с");
}

}  // namespace
}  // namespace velo
