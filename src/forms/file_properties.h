// The file properties window ("Cвойства имитации"): what it tells of the
// project (file size, gravity direction, the live objects of each kind) and
// how it reads the author text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/world.h"

namespace velo {

// The live objects of one kind.
struct KindCount {
    std::string Caption;  // "Шары"
    int Count = 0;
};

// Every kind of the mechanical scene, in the order of the "Добавить" menu,
// also those with no object; balls and cylinders apart. The zero support is
// an object of its own while it is on.
std::vector<KindCount> CountObjectsByKind(const World& world);

// The sum of the counts.
int TotalObjects(const std::vector<KindCount>& counts);

// "Гравитация: Вниз", "Гравитация: Нет" or "Гравитация: Вверх" by the sign
// of the free-fall acceleration (the field is (0, -g)).
std::string GravityDirectionText(double gravity);

// "Размер: " + bytes + " байт"; "Размер: неизвестен" when the file could
// not be measured.
std::string FileSizeText(std::optional<std::uintmax_t> bytes);

// The author text as the field shows it: without the blanks that pad it to
// its 80 characters in the file.
std::string AuthorFieldText(const std::string& stored);

// The typed author text says the same as the stored one: trailing blanks
// do not count, so opening and closing the window changes nothing.
bool SameAuthorText(const std::string& stored, const std::string& typed);

}  // namespace velo
