#include "persist/celestial_json.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "celestial/bodies.h"
#include "celestial/density_formula.h"
#include "model/path_text.h"
#include "model/world_ops.h"
#include "persist/atomic_file.h"
#include "persist/native_file.h"

namespace velo {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t NameLength = std::tuple_size_v<decltype(HBody::Name)>;

// --- Names: 16 UTF-16 units in the record, UTF-8 in the file.

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // a lone half of a pair
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The JSON reader has already refused malformed UTF-8.
std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        std::uint32_t c = extra == 0 ? lead : extra == 1 ? lead & 0x1Fu : extra == 2 ? lead & 0x0Fu : lead & 0x07u;
        for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3Fu);
        i += static_cast<std::size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::u16string TrimmedName(const HBody& body) {
    std::u16string name(body.Name.begin(), body.Name.end());
    const auto first = name.find_first_not_of(u' ');
    if (first == std::u16string::npos) return {};
    return name.substr(first, name.find_last_not_of(u' ') - first + 1);
}

std::string ColourText(std::int32_t colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu);
    return text;
}

// --- Reading. Every check throws a SceneError with the reason; the reader
// turns it into the message.

struct SceneError {
    std::string Reason;
};

[[noreturn]] void Fail(const std::string& reason) { throw SceneError{reason}; }

std::string BodyPlace(std::size_t index) { return "тело №" + std::to_string(index + 1) + ": "; }

void CheckKeys(const Json& object, std::initializer_list<const char*> allowed, const std::string& place) {
    for (const auto& item : object.items()) {
        if (std::none_of(allowed.begin(), allowed.end(), [&](const char* key) { return item.key() == key; }))
            Fail(place + "неизвестное поле \"" + item.key() + "\"");
    }
}

const Json& Member(const Json& object, const char* key, const std::string& place) {
    const auto it = object.find(key);
    if (it == object.end()) Fail(place + "нет поля \"" + std::string(key) + "\"");
    return *it;
}

double Real(const Json& value, const std::string& what) {
    if (!value.is_number()) Fail(what + " должно быть числом");
    const double x = value.get<double>();
    if (!std::isfinite(x)) Fail(what + " должно быть конечным числом");
    return x;
}

double RealMember(const Json& object, const char* key, const std::string& place) {
    return Real(Member(object, key, place), place + "поле " + key);
}

Vec3 Triple(const Json& object, const char* key, const std::string& place) {
    const Json& value = Member(object, key, place);
    const std::string what = place + "поле " + key;
    if (!value.is_array() || value.size() != 3) Fail(what + " должно быть списком из трёх чисел [x, y, z]");
    return {Real(value[0], what + " (x)"), Real(value[1], what + " (y)"), Real(value[2], what + " (z)")};
}

std::string Text(const Json& object, const char* key, const std::string& place) {
    const Json& value = Member(object, key, place);
    if (!value.is_string()) Fail(place + "поле " + key + " должно быть текстом");
    return value.get<std::string>();
}

std::int32_t ColourFrom(const std::string& text, const std::string& place) {
    const bool hex = text.size() == 7 && text[0] == '#' &&
                     std::all_of(text.begin() + 1, text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    if (!hex) Fail(place + "поле Colour должно быть текстом вида \"#RRGGBB\"");
    const auto byte = [&](std::size_t at) { return static_cast<std::int32_t>(std::stoi(text.substr(at, 2), nullptr, 16)); };
    return byte(1) + 256 * byte(3) + 65536 * byte(5);
}

// What a scene file holds, gathered before the World is touched.
struct Scene {
    CelestialParameters Parameters;
    double T = 0;
    std::vector<HBody> Bodies;
};

void ReadParameters(const Json& json, CelestialParameters& p) {
    const std::string place = "parameters: ";
    if (!json.is_object()) Fail("поле parameters должно быть объектом");
    CheckKeys(json,
              {"GravitationalConstant", "LightSpeed", "PlanckConstant", "BoltzmannConstant", "CelestialTimeScale",
               "ViewAngleH"},
              place);
    p.GravitationalConstant = RealMember(json, "GravitationalConstant", place);
    p.LightSpeed = RealMember(json, "LightSpeed", place);
    // With no positive speed of light every moving body would stop the run.
    if (!(p.LightSpeed > 0)) Fail(place + "скорость света LightSpeed должна быть больше нуля");
    p.PlanckConstant = RealMember(json, "PlanckConstant", place);
    p.BoltzmannConstant = RealMember(json, "BoltzmannConstant", place);
    p.CelestialTimeScale = RealMember(json, "CelestialTimeScale", place);
    const double angle = RealMember(json, "ViewAngleH", place);
    if (angle < 0.1 || angle > 3) Fail(place + "угол ViewAngleH должен лежать от 0.1 до 3 радиан");
    SetViewAngleH(p, angle);
}

void ReadBody(const Json& json, std::size_t index, HBody& body) {
    const std::string place = BodyPlace(index);
    if (!json.is_object()) Fail(place + "тело должно быть объектом");
    CheckKeys(json, {"Name", "Radius", "DensityFormula", "Density", "Position", "Velocity", "Colour"}, place);
    body = HBody{};
    if (json.contains("Name")) {
        const std::u16string name = Utf8ToUtf16(Text(json, "Name", place));
        if (name.size() > NameLength) Fail(place + "название длиннее 16 знаков");
        std::copy(name.begin(), name.end(), body.Name.begin());
    }
    body.Radius = RealMember(json, "Radius", place);
    if (body.Radius < 1e-40 || body.Radius > 1e40) Fail(place + "радиус Radius должен лежать от 1e-40 до 1e40 м");
    body.DensityFormula = Text(json, "DensityFormula", place);
    const DensityReading reading = ReadDensity(body.DensityFormula);
    if (!reading.Mean) Fail(place + "формула плотности \"" + body.DensityFormula + "\" не принята: " + reading.Refusal);
    const std::optional<double> mean = reading.Mean;
    if (json.contains("Density")) {
        body.Density = RealMember(json, "Density", place);
        if (!(body.Density > 1e-80 && body.Density < 1e80))
            Fail(place + "плотность Density должна лежать между 1e-80 и 1e80 кг/м^3");
    } else {
        body.Density = *mean;
    }
    body.Position = Triple(json, "Position", place);
    body.Velocity = Triple(json, "Velocity", place);
    body.Colour = ColourFrom(Text(json, "Colour", place), place);
    body.Movable = true;
    body.Exists = true;
    UpdateBodyMass(body);
}

void ReadScene(const std::string& text, Scene& scene) {
    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::parse_error& error) {
        Fail("текст не является правильным JSON (ошибка около знака " + std::to_string(error.byte) + ")");
    } catch (const Json::out_of_range&) {
        // The JSON reader refuses numbers beyond the range of a double.
        Fail("в тексте есть число, которое не является конечным числом двойной точности");
    }
    if (!json.is_object()) Fail("сцена должна быть объектом JSON");
    CheckKeys(json, {"format", "version", "T", "parameters", "bodies"}, "");
    const Json& format = Member(json, "format", "");
    if (!format.is_string() || format.get<std::string>() != CelestialSceneFormat)
        Fail(std::string("поле format должно быть \"") + CelestialSceneFormat + "\"");
    const Json& version = Member(json, "version", "");
    if (!version.is_number_integer() || version.get<std::int64_t>() != CelestialSceneVersion)
        Fail("версия сцены " + version.dump() + " не поддерживается; эта программа читает версию " +
             std::to_string(CelestialSceneVersion));
    ReadParameters(Member(json, "parameters", ""), scene.Parameters);
    if (json.contains("T")) scene.T = Real(json["T"], "поле T");
    const Json& bodies = Member(json, "bodies", "");
    if (!bodies.is_array()) Fail("поле bodies должно быть списком тел");
    if (bodies.size() > static_cast<std::size_t>(HBodyCapacity))
        Fail("в сцене " + std::to_string(bodies.size()) + " тел, а их номер в данной версии программы не может превышать " +
             std::to_string(HBodyCapacity));
    scene.Bodies.resize(bodies.size());
    for (std::size_t i = 0; i < bodies.size(); ++i) ReadBody(bodies[i], i, scene.Bodies[i]);
}

std::string ReadFailure(const std::string& reason) {
    return "Сцена небесной механики не прочитана: " + reason + ". Исправьте файл и прочитайте его ещё раз.";
}

}  // namespace

CelestialJsonText CelestialSceneToJson(const World& world) {
    CelestialJsonText result;
    std::string bad;
    auto real = [&](double value, const std::string& what) {
        if (!std::isfinite(value) && bad.empty()) bad = what;
        return value;
    };
    auto triple = [&](const Vec3& v, const std::string& what) {
        return Json::array({real(v.X, what), real(v.Y, what), real(v.Z, what)});
    };
    const CelestialParameters& p = world.Celestial;
    Json json;
    json["format"] = CelestialSceneFormat;
    json["version"] = CelestialSceneVersion;
    json["T"] = real(world.T, "T");
    json["parameters"] = Json{{"GravitationalConstant", real(p.GravitationalConstant, "GravitationalConstant")},
                              {"LightSpeed", real(p.LightSpeed, "LightSpeed")},
                              {"PlanckConstant", real(p.PlanckConstant, "PlanckConstant")},
                              {"BoltzmannConstant", real(p.BoltzmannConstant, "BoltzmannConstant")},
                              {"CelestialTimeScale", real(p.CelestialTimeScale, "CelestialTimeScale")},
                              {"ViewAngleH", real(p.ViewAngleH, "ViewAngleH")}};
    Json bodies = Json::array();
    const int last = std::clamp(world.HBodyCount, 0, HBodyCapacity);
    int written = 0;
    for (int n = 1; n <= last; ++n) {
        const HBody& b = world.HBodies[static_cast<std::size_t>(n)];
        if (!b.Exists) continue;
        const std::string place = BodyPlace(static_cast<std::size_t>(written++));
        bodies.push_back(Json{{"Name", Utf16ToUtf8(TrimmedName(b))},
                              {"Radius", real(b.Radius, place + "Radius")},
                              {"DensityFormula", b.DensityFormula},
                              {"Density", real(b.Density, place + "Density")},
                              {"Position", triple(b.Position, place + "Position")},
                              {"Velocity", triple(b.Velocity, place + "Velocity")},
                              {"Colour", ColourText(b.Colour)}});
    }
    json["bodies"] = std::move(bodies);
    if (!bad.empty()) {
        result.Message = "Сцену небесной механики нельзя записать: значение " + bad +
                         " не является конечным числом. Исправьте его и запишите сцену ещё раз.";
        return result;
    }
    result.Text = json.dump(2) + "\n";
    result.Ok = true;
    return result;
}

CelestialReadResult CelestialSceneFromJson(const std::string& text, World& world) {
    CelestialReadResult result;
    // Read aside, so that a refusal halfway leaves the caller's world as it
    // was, and a refusal costs no World of its own (which is large).
    Scene scene;
    try {
        ReadScene(text, scene);
    } catch (const SceneError& error) {
        result.Message = ReadFailure(error.Reason);
        return result;
    } catch (const nlohmann::json::exception& error) {
        result.Message = ReadFailure(std::string("JSON не прочитан (") + error.what() + ")");
        return result;
    }
    DefaultWorld(world);
    world.ProjectKind = ProjectCelestial;
    world.Celestial = scene.Parameters;
    world.T = scene.T;
    std::copy(scene.Bodies.begin(), scene.Bodies.end(), world.HBodies.begin() + 1);
    world.HBodyCount = static_cast<std::int32_t>(scene.Bodies.size());
    result.Ok = true;
    return result;
}

SaveResult SaveCelestialScene(const World& world, const std::filesystem::path& path) {
    const CelestialJsonText json = CelestialSceneToJson(world);
    if (!json.Ok) return SaveResult{false, json.Message};
    return WriteFileAtomically(path, std::string_view(json.Text));
}

SaveResult SaveCelestialScene(const World& world, AtomicFile& file) {
    const CelestialJsonText json = CelestialSceneToJson(world);
    if (!json.Ok) return SaveResult{false, json.Message};
    file.Write(std::string_view(json.Text));
    return file.Commit();
}

CelestialReadResult LoadCelestialScene(const std::filesystem::path& path, World& world) {
    std::string text;
    auto refusal = [](const std::string& reason, const std::string& advice) {
        return CelestialReadResult{false, "Сцена небесной механики не прочитана: " + reason + ". " + advice + "."};
    };
    switch (native::ReadWhole(path, MaxCelestialSceneSize, text)) {
    case native::ReadOutcome::Ok:
        return CelestialSceneFromJson(text, world);
    case native::ReadOutcome::Missing:
        return CelestialReadResult{false, std::string(FileNotFoundMessage) + ": " + PathText(path)};
    case native::ReadOutcome::Folder:
        return refusal("это папка, а не файл", "Укажите файл сцены, например один из тех, что лежат в этой папке");
    case native::ReadOutcome::Special:
        return refusal("это не обычный файл, а канал, устройство или сокет", "Укажите файл сцены");
    case native::ReadOutcome::Unreadable:
        return refusal("файл не удаётся прочитать", "Проверьте, что он доступен для чтения, и попробуйте ещё раз");
    case native::ReadOutcome::TooLarge:
        return refusal("файл длиннее " + std::to_string(MaxCelestialSceneSize / 1024) +
                           " КБ, а сцена из 200 тел занимает намного меньше",
                       "Укажите файл сцены");
    }
    return refusal("файл не удаётся прочитать", "Проверьте, что он доступен для чтения, и попробуйте ещё раз");
}

}  // namespace velo
