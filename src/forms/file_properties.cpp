#include "forms/file_properties.h"

#include <algorithm>

namespace velo {
namespace {

template <typename Table, typename Counted>
int CountLive(const Table& table, int first, int count, Counted counted) {
    const int last = std::clamp(count, 0, static_cast<int>(table.size()) - 1);
    int live = 0;
    for (int n = first; n <= last; ++n) {
        const auto& record = table[static_cast<std::size_t>(n)];
        if (record.Exists && counted(record)) ++live;
    }
    return live;
}

template <typename Table>
int CountLive(const Table& table, int first, int count) {
    return CountLive(table, first, count, [](const auto&) { return true; });
}

std::string WithoutTrailingBlanks(const std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

std::vector<KindCount> CountObjectsByKind(const World& w) {
    auto isCylinder = [](const Ball& b) { return b.Shape == ShapeCylinder; };
    auto isBall = [](const Ball& b) { return b.Shape != ShapeCylinder; };
    return {
        {"Подвесы", CountLive(w.Lavals, 1, w.LavalCount)},
        {"Опоры", CountLive(w.Hands, 0, w.HandCount)},
        {"Стены", CountLive(w.Walls, 1, w.WallCount)},
        {"Наклонные плоскости", CountLive(w.Planes, 1, w.PlaneCount)},
        {"Поверхности второго порядка", CountLive(w.Surfaces2, 1, w.Surface2Count)},
        {"Произвольные поверхности", CountLive(w.Surfaces, 1, w.SurfaceCount)},
        {"Шары", CountLive(w.Balls, 1, w.BallCount, isBall)},
        {"Цилиндры", CountLive(w.Balls, 1, w.BallCount, isCylinder)},
        {"Стержни", CountLive(w.Pegs, 1, w.PegCount)},
        {"Нити", CountLive(w.Threads, 1, w.ThreadCount)},
    };
}

int TotalObjects(const std::vector<KindCount>& counts) {
    int total = 0;
    for (const KindCount& kind : counts) total += kind.Count;
    return total;
}

std::string GravityDirectionText(double gravity) {
    if (gravity > 0) return "Гравитация: Вниз";
    if (gravity < 0) return "Гравитация: Вверх";
    return "Гравитация: Нет";
}

std::string FileSizeText(std::optional<std::uintmax_t> bytes) {
    if (!bytes) return "Размер: неизвестен";
    return "Размер: " + std::to_string(*bytes) + " байт";
}

std::string AuthorFieldText(const std::string& stored) { return WithoutTrailingBlanks(stored); }

bool SameAuthorText(const std::string& stored, const std::string& typed) {
    return WithoutTrailingBlanks(stored) == WithoutTrailingBlanks(typed);
}

}  // namespace velo
