// What the file properties window tells of the project.
#include <gtest/gtest.h>

#include <cmath>

#include "forms/file_properties.h"
#include "engine/step_scenes.h"

namespace velo {
namespace {

TEST(FileProperties, CountsLiveObjectsByKind) {
    auto world = testing::StillScene();
    EXPECT_EQ(TotalObjects(CountObjectsByKind(*world)), 0);

    for (int kind : {KindLaval, KindLaval, KindHand, KindWall, KindPlane, KindBall, KindBall, KindBall,
                     KindCylinder, KindPeg, KindThread, KindSurface, KindSurface2}) {
        ASSERT_TRUE(NewObject(*world, kind).Ok()) << kind;
    }
    DeleteObject(*world, KindBall, 2);   // deleted: not counted
    world->Hands[0].Exists = true;       // the zero support is a support of its own
    const std::vector<KindCount> counts = CountObjectsByKind(*world);
    const struct {
        const char* Caption;
        int Count;
    } expected[] = {
        {"Подвесы", 2}, {"Опоры", 2}, {"Стены", 1}, {"Наклонные плоскости", 1},
        {"Поверхности второго порядка", 1}, {"Произвольные поверхности", 1}, {"Шары", 2}, {"Цилиндры", 1},
        {"Стержни", 1}, {"Нити", 1},
    };
    ASSERT_EQ(counts.size(), std::size(expected));
    for (std::size_t i = 0; i < counts.size(); ++i) {
        EXPECT_EQ(counts[i].Caption, expected[i].Caption);
        EXPECT_EQ(counts[i].Count, expected[i].Count) << expected[i].Caption;
    }
    EXPECT_EQ(TotalObjects(counts), 13);
}

TEST(FileProperties, GravityDirectionBySign) {
    const struct {
        double Gravity;
        const char* Text;
    } cases[] = {
        {9.81, "Гравитация: Вниз"}, {1e-300, "Гравитация: Вниз"}, {0, "Гравитация: Нет"},
        {-0.0, "Гравитация: Нет"},  {-9.81, "Гравитация: Вверх"}, {std::nan(""), "Гравитация: Нет"},
    };
    for (const auto& c : cases) EXPECT_EQ(GravityDirectionText(c.Gravity), c.Text) << c.Gravity;
}

TEST(FileProperties, SizeAndAuthorTexts) {
    EXPECT_EQ(FileSizeText(1234567u), "Размер: 1234567 байт");
    EXPECT_EQ(FileSizeText(0u), "Размер: 0 байт");
    EXPECT_EQ(FileSizeText(std::nullopt), "Размер: неизвестен");

    // The file pads the author text with blanks to 80 characters; the
    // field shows it without them, and closing unchanged changes nothing.
    const std::string stored = "Иванов И. И." + std::string(68, ' ');
    EXPECT_EQ(AuthorFieldText(stored), "Иванов И. И.");
    EXPECT_EQ(AuthorFieldText(std::string(80, ' ')), "");
    EXPECT_TRUE(SameAuthorText(stored, "Иванов И. И."));
    EXPECT_TRUE(SameAuthorText("", "   "));
    EXPECT_FALSE(SameAuthorText(stored, "  Иванов И. И."));
    EXPECT_FALSE(SameAuthorText("", "Петров"));
}

}  // namespace
}  // namespace velo
