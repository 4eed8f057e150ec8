#include "cli/cli_tool.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

#include "celestial/celestial_step.h"
#include "engine/imitator.h"
#include "model/path_text.h"
#include "model/world_ops.h"
#include "persist/atomic_file.h"
#include "persist/celestial_json.h"
#include "persist/native_file.h"
#include "persist/qvs_file.h"
#include "persist/world_json.h"
#include "record/record_csv.h"
#include "record/recorder.h"

namespace velo {

namespace fs = std::filesystem;

namespace {

// Messages go to stderr. The only question the reader asks is whether to
// open a file meant for a newer program; the answer comes from --yes.
class StderrMessenger final : public Messenger {
public:
    StderrMessenger(std::ostream& err, bool answer) : err_(err), answer_(answer) {}
    void Show(MessageIcon icon, const std::string& text) override {
        err_ << Prefix(icon) << subject_ << Flatten(text) << '\n';
    }
    bool AskYesNo(MessageIcon icon, const std::string& text) override {
        err_ << Prefix(icon) << subject_ << Flatten(text) << (answer_ ? " -> да (--yes)" : " -> нет (см. --yes)")
             << '\n';
        return answer_;
    }
    // The file the messages that follow are about: a window shows them
    // over the file it opens, a terminal needs its name. Empty for none.
    void About(const fs::path& file) { subject_ = file.empty() ? std::string() : PathText(file) + ": "; }

private:
    static const char* Prefix(MessageIcon icon) {
        switch (icon) {
        case MessageIcon::Error: return "ошибка: ";
        case MessageIcon::Warning: return "предупреждение: ";
        default: return "";
        }
    }
    // Message boxes break lines with a carriage return; a terminal wants one line.
    static std::string Flatten(std::string text) {
        for (char& c : text) {
            if (c == '\r' || c == '\n') c = ' ';
        }
        return text;
    }
    std::ostream& err_;
    bool answer_;
    std::string subject_;
};

struct UsageError {
    std::string Text;
    // A mistake inside one option's value: the message and a pointer to the
    // help instead of the whole usage, which would bury the message.
    bool Brief = false;
};

constexpr const char* HelpHint = "все ключи и величины --record: velocitronimatics-cli --help";

// A finite real written whole: no blanks, no trailing characters, no
// value beyond the range of a double (which would come back as an
// infinity or as 0). Read the same in every locale.
std::optional<double> ParseReal(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    // The reader takes no plus sign; one is allowed before the number.
    if (first != last && *first == '+') ++first;
    if (first == last || (*first == '-' && first != text.data())) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<long long> ParseCount(const std::string& text) {
    long long value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    if (first == last || *first == '-') return std::nullopt;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

std::string Real(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The version records and the signature straight from the header bytes.
JsonHeaderInfo HeaderOf(const fs::path& path, const std::string& authorText) {
    JsonHeaderInfo info;
    info.AuthorText = authorText;
    // Opened as the reader opens it: should the path have become a pipe
    // since the file was read, nothing blocks.
    native::InputFile in;
    unsigned char b[41] = {};
    if (in.Open(path) != native::InputFile::Status::Ok || in.Read(b, sizeof b) != sizeof b) return info;
    std::string signature(reinterpret_cast<const char*>(b), 32);
    while (!signature.empty() && (signature.back() == ' ' || signature.back() == '\0')) signature.pop_back();
    info.Signature = signature;
    auto build = [&b](int at) { return static_cast<int>(static_cast<std::int16_t>(b[at] | (b[at + 1] << 8))); };
    info.RequiredVersion = b[32];
    info.RequiredBuild = build(33);
    info.RecommendedVersion = b[35];
    info.RecommendedBuild = build(36);
    info.WriterVersion = b[38];
    info.WriterBuild = build(39);
    return info;
}

// Opens a mechanical file; on any other outcome says why and returns nothing.
std::optional<QvsOpenResult> OpenMechanical(World& world, const fs::path& path, StderrMessenger& messenger,
                                            std::ostream& err) {
    messenger.About(path);
    QvsOpenResult result = OpenQvs(world, path, messenger);
    messenger.About({});
    if (result.Read()) return result;
    switch (result.Class) {
    case QvsFileClass::NotFound:
        if (result.Message.empty()) err << "ошибка: " << FileNotFoundMessage << ": " << PathText(path) << '\n';
        break;
    case QvsFileClass::Celestial:
        err << "ошибка: " << PathText(path)
            << ": файл системы небесной механики не содержит данных, которые можно прочитать\n";
        break;
    default:
        err << "ошибка: " << PathText(path) << ": файл не открыт\n";
        break;
    }
    return std::nullopt;
}

struct RunOptions {
    fs::path File;
    double Time = 0;
    std::optional<double> Dt;
    std::optional<fs::path> Out, Json, Csv, Events;
    std::optional<long long> Every;
    // --record: the series the CSV holds instead of the state table.
    std::vector<SeriesKey> Record;
    std::string RecordText;
    // --bom: the CSV files begin with the UTF-8 byte order mark.
    bool Bom = false;
};

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(Trimmed(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from)));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

constexpr const char* RecordExample = "например --record 'ball 3: x,vy; scene: energy'";

// Lower case of Latin and Russian letters in UTF-8 ("ШАР" and "Шар" are
// "шар"); other bytes stay as they are.
std::string FoldedCase(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            folded += static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xD0 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            ++i;
            if (next >= 0x90 && next <= 0x9F) {  // А..П -> а..п
                folded += '\xD0';
                folded += static_cast<char>(next + 0x20);
            } else if (next >= 0xA0 && next <= 0xAF) {  // Р..Я -> р..я
                folded += '\xD1';
                folded += static_cast<char>(next - 0x20);
            } else if (next == 0x81) {  // Ё -> ё
                folded += "\xD1\x91";
            } else {
                folded += static_cast<char>(c);
                folded += static_cast<char>(next);
            }
        } else {
            folded += static_cast<char>(c);
        }
    }
    return folded;
}

// The object of a --record group: "ball 3", "cylinder 3", "rod 2" (or in
// Russian: "шар 3", "цилиндр 3", "стержень 2"), "scene" / "сцена".
std::pair<std::uint8_t, std::int32_t> RecordedObject(const std::string& text) {
    const std::size_t blank = text.find_first_of(" \t");
    const std::string word = FoldedCase(text.substr(0, blank));
    const std::string rest = blank == std::string::npos ? std::string() : Trimmed(text.substr(blank));
    std::uint8_t kind = KindNone;
    int capacity = 0;
    if (word == "scene" || word == "сцена") {
        if (!rest.empty()) throw UsageError{"--record: у сцены нет номера («" + text + "»), пишите просто scene"};
        return {KindNone, 0};
    } else if (word == "ball" || word == "шар") {
        kind = KindBall;
        capacity = BallCapacity;
    } else if (word == "cylinder" || word == "цилиндр") {
        kind = KindCylinder;
        capacity = BallCapacity;
    } else if (word == "rod" || word == "peg" || word == "стержень") {
        kind = KindPeg;
        capacity = PegCapacity;
    } else {
        throw UsageError{"--record: неизвестный объект «" + text +
                         "»; записывать можно ball N, cylinder N, rod N и scene (" + RecordExample + ")"};
    }
    const std::optional<long long> number = ParseCount(rest);
    if (!number || *number < 1 || *number > capacity) {
        throw UsageError{"--record: «" + text + "»: после " + word + " нужен номер объекта от 1 до " +
                         std::to_string(capacity)};
    }
    return {kind, static_cast<std::int32_t>(*number)};
}

std::string SceneQuantityNames() {
    std::string names;
    for (const QuantityInfo& info : AllQuantities()) {
        if (!info.OfScene) continue;
        if (!names.empty()) names += ", ";
        names += info.Name;
    }
    return names;
}

// "ball 3: x,vy; scene: energy": groups of an object and its quantities.
std::vector<SeriesKey> ParseRecord(const std::string& text) {
    std::vector<SeriesKey> keys;
    for (const std::string& group : Split(text, ';')) {
        if (group.empty()) continue;
        const std::size_t colon = group.find(':');
        if (colon == std::string::npos) {
            throw UsageError{"--record: в «" + group + "» нет двоеточия между объектом и величинами (" +
                             RecordExample + ")"};
        }
        const auto [kind, number] = RecordedObject(Trimmed(group.substr(0, colon)));
        const std::vector<std::string> names = Split(group.substr(colon + 1), ',');
        for (const std::string& name : names) {
            if (name.empty()) {
                throw UsageError{"--record: в «" + group + "» пропущена величина; величины разделяются запятыми"};
            }
            const std::optional<Quantity> quantity = QuantityByName(name);
            if (!quantity) {
                throw UsageError{"--record: неизвестная величина «" + name + "»; известны: " + QuantityNamesText()};
            }
            if (kind == KindNone && !IsSceneQuantity(*quantity)) {
                throw UsageError{"--record: у сцены нет величины " + name + "; для сцены есть: " +
                                 SceneQuantityNames()};
            }
            const SeriesKey key{kind, number, *quantity};
            if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
        }
    }
    if (keys.empty()) throw UsageError{std::string("--record не называет ни одной величины (") + RecordExample + ")"};
    return keys;
}

// The CSV output: rows gather in memory and go to the temporary file in
// blocks; the file takes its place only when the run is over.
class CsvOutput {
public:
    explicit CsvOutput(const fs::path& path) : file_(path) {}
    const AtomicFile& File() const { return file_; }
    std::ostream& Rows() { return rows_; }
    void Spill(bool always = false) {
        if (!always && rows_.view().size() < BlockSize) return;
        file_.Write(rows_.view());
        rows_.str({});
    }
    SaveResult Commit() {
        Spill(true);
        return file_.Commit();
    }

private:
    static constexpr std::size_t BlockSize = std::size_t{1} << 20;
    AtomicFile file_;
    std::ostringstream rows_;
};

// The outputs of a run, begun before the first step: a name that cannot be
// written is told at once rather than after a long run. None replaces its
// file before the run is over and its Commit.
struct Outputs {
    std::optional<AtomicFile> Out, Json;
    std::optional<CsvOutput> Csv, Events;

    // False, after saying why, when one of them cannot be written.
    bool Open(const RunOptions& options, std::ostream& err) {
        if (options.Out) Out.emplace(*options.Out);
        if (options.Json) Json.emplace(*options.Json);
        if (options.Csv) Csv.emplace(*options.Csv);
        if (options.Events) Events.emplace(*options.Events);
        const AtomicFile* files[] = {Out ? &*Out : nullptr, Json ? &*Json : nullptr,
                                     Csv ? &Csv->File() : nullptr, Events ? &Events->File() : nullptr};
        bool ok = true;
        for (const AtomicFile* file : files) {
            if (file && !file->Ok()) {
                err << "ошибка: " << file->Problem() << '\n';
                ok = false;
            }
        }
        return ok;
    }
};

// Two outputs that name one file, however spelled ("./x", "d/../x", a link
// or another name of it), would leave only the one written last.
bool SameFile(const fs::path& a, const fs::path& b) {
    auto plain = [](const fs::path& path) -> std::optional<fs::path> {
        const std::optional<fs::path> target = FollowLinks(path);
        if (!target) return std::nullopt;
        std::error_code error;
        fs::path result = fs::weakly_canonical(fs::absolute(*target, error), error);
        if (error) return std::nullopt;
        return result;
    };
    const std::optional<fs::path> first = plain(a);
    const std::optional<fs::path> second = plain(b);
    if (first && second && *first == *second) return true;
    std::error_code error;
    return fs::equivalent(a, b, error);
}

int Dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool yes) {
    if (args.size() != 2) throw UsageError{"команда dump читает ровно один файл: dump FILE"};
    auto world = std::make_unique<World>();
    StderrMessenger messenger(err, yes);
    const fs::path path = PathOf(args[1]);
    const std::optional<QvsOpenResult> opened = OpenMechanical(*world, path, messenger, err);
    if (!opened) return CliFile;
    out << WorldToJson(*world, HeaderOf(path, opened->AuthorText)).dump(2) << '\n';
    return CliOk;
}

int New(const std::vector<std::string>& args, std::ostream& err) {
    if (args.size() != 2) throw UsageError{"команда new пишет ровно один файл: new OUT.qvs"};
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    const SaveResult saved = SaveQvs(*world, PathOf(args[1]), QvsSaveOptions{});
    if (!saved.Ok) {
        err << "ошибка: " << saved.Message << '\n';
        return CliFile;
    }
    return CliOk;
}

// The options of run and celestial. Each may be given once: a second
// value would silently replace the first, which the user meant for
// something.
RunOptions ParseRun(const std::vector<std::string>& args) {
    const std::string& command = args[0];
    RunOptions options;
    bool haveTime = false;
    std::set<std::string> given;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{a + " ждёт значение, а после него ничего нет"};
            if (!given.insert(a).second) {
                throw UsageError{a + " указан дважды (" + a + " " + args[i + 1] +
                                 "); оставьте одно значение"};
            }
            return args[++i];
        };
        if (a == "--time") {
            const std::optional<double> t = ParseReal(value());
            // The time the scene already has is a run of no steps, which
            // still writes the outputs; an earlier one is refused once the
            // scene's time is known.
            if (!t) throw UsageError{"--time ждёт время, которого нужно достичь: конечное число, например 2.5"};
            options.Time = *t;
            haveTime = true;
        } else if (a == "--dt") {
            const std::optional<double> dt = ParseReal(value());
            if (!dt || *dt <= 0) {
                throw UsageError{"--dt ждёт длину шага: конечное число больше 0, например 0.001"};
            }
            options.Dt = dt;
        } else if (a == "--out") {
            options.Out = PathOf(value());
        } else if (a == "--json") {
            options.Json = PathOf(value());
        } else if (a == "--csv") {
            options.Csv = PathOf(value());
        } else if (a == "--record") {
            options.RecordText = value();
            try {
                options.Record = ParseRecord(options.RecordText);
            } catch (UsageError& error) {
                error.Brief = true;
                throw;
            }
        } else if (a == "--events") {
            options.Events = PathOf(value());
        } else if (a == "--bom") {
            options.Bom = true;
        } else if (a == "--every") {
            const std::optional<long long> n = ParseCount(value());
            if (!n || *n < 1) throw UsageError{"--every ждёт целое число шагов не меньше 1, например 100"};
            options.Every = n;
        } else if (a == "--yes") {
            throw UsageError{"--yes ставится перед командой: velocitronimatics-cli --yes " + command + " ..."};
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError{"неизвестный ключ " + a};
        } else if (options.File.empty()) {
            options.File = PathOf(a);
        } else {
            throw UsageError{"команда " + command + " читает один файл, а лишний аргумент " + a + " не ключ"};
        }
    }
    if (options.File.empty()) throw UsageError{"команде " + command + " не указан файл, который нужно прочитать"};
    if (!haveTime) throw UsageError{"команде " + command + " нужен ключ --time: время, которого нужно достичь"};
    // Many tools read "-" as their standard output; this one writes files
    // only, and a file named "-" is rarely what was meant.
    for (const auto& [name, output] : {std::pair{"--out", &options.Out}, std::pair{"--json", &options.Json},
                                       std::pair{"--csv", &options.Csv}, std::pair{"--events", &options.Events}}) {
        if (*output && **output == "-") {
            throw UsageError{std::string(name) + " -: вывод в стандартный поток не поддерживается; укажите имя "
                                                 "файла (файл с именем «-» задайте как ./-)"};
        }
    }
    if (options.Every && !options.Csv) throw UsageError{"--every задаёт, как часто писать строки --csv, и без --csv не нужен"};
    if (options.Bom && !options.Csv && !options.Events) {
        throw UsageError{"--bom начинает файлы --csv и --events меткой UTF-8 и без них не нужен"};
    }
    if (!options.Record.empty() && !options.Csv) {
        throw UsageError{"--record задаёт столбцы --csv и без --csv не нужен: добавьте --csv ФАЙЛ", true};
    }
    if (command == "celestial" && (!options.Record.empty() || options.Events)) {
        throw UsageError{"--record и --events относятся к механическим шагам и работают только с командой run"};
    }
    // --out over the file read is an update of the scene in its own format;
    // a table or a JSON there would destroy the scene. For celestial, --json
    // is the scene's own format and may replace it.
    const bool jsonIsScene = command == "celestial";
    const std::pair<const char*, const std::optional<fs::path>*> foreign[] = {
        {"--json", jsonIsScene ? nullptr : &options.Json}, {"--csv", &options.Csv}, {"--events", &options.Events}};
    for (const auto& [name, output] : foreign) {
        if (output && *output && SameFile(**output, options.File)) {
            throw UsageError{std::string(name) + " и читаемый файл " + PathText(options.File) +
                             " называют один и тот же файл, и вывод заменил бы сцену; дайте выводу другое имя"};
        }
    }
    const std::pair<const char*, const std::optional<fs::path>*> outputs[] = {
        {"--out", &options.Out}, {"--json", &options.Json}, {"--csv", &options.Csv}, {"--events", &options.Events}};
    for (std::size_t i = 0; i < std::size(outputs); ++i) {
        for (std::size_t j = i + 1; j < std::size(outputs); ++j) {
            const std::optional<fs::path>& first = *outputs[i].second;
            const std::optional<fs::path>& second = *outputs[j].second;
            if (first && second && SameFile(*first, *second)) {
                throw UsageError{std::string(outputs[i].first) + " и " + outputs[j].first +
                                 " называют один и тот же файл, и он сохранил бы только одно из двух; "
                                 "дайте им разные имена"};
            }
        }
    }
    return options;
}

void CsvRows(std::ostream& csv, const World& w, long long step) {
    const std::string prefix = std::to_string(step) + "," + Real(w.T) + ",";
    for (int n = 1; n <= w.BallCount; ++n) {
        const Ball& b = w.Balls[n];
        if (!b.Exists) continue;
        csv << prefix << (b.Shape == ShapeCylinder ? "Cylinder" : "Ball") << ',' << n << ','
            << Real(b.Position.X) << ',' << Real(b.Position.Y) << ',' << Real(b.Velocity.X) << ','
            << Real(b.Velocity.Y) << ',' << Real(b.Phi) << ',' << Real(b.Omega) << ','
            << Real(b.KineticEnergy) << ',' << Real(b.PotentialEnergy) << '\n';
    }
    for (int n = 1; n <= w.PegCount; ++n) {
        const Peg& r = w.Pegs[n];
        if (!r.Exists) continue;
        csv << prefix << "Peg," << n << ',' << Real(r.Position.X) << ',' << Real(r.Position.Y) << ','
            << Real(r.Velocity.X) << ',' << Real(r.Velocity.Y) << ',' << Real(r.Phi) << ','
            << Real(r.Omega) << ',' << Real(r.KineticEnergy) << ',' << Real(r.PotentialEnergy) << '\n';
    }
}

// The most steps one run makes: StepCounter counts modulo 2,000,000,000.
constexpr double MaxRunSteps = 2'000'000'000;

// Number of whole steps of dt from t0 to reach t. A quotient within a
// millionth of a step of a whole number counts as that number, so that
// 1 / 0.001 gives 1000 steps rather than 1001. The count stays a real
// until it is known to fit: a quotient of 1e300 has no integer.
double StepsToReach(double t0, double t, double dt) {
    if (!(t > t0)) return 0;
    const double quotient = (t - t0) / dt;
    const double nearest = std::round(quotient);
    if (std::fabs(quotient - nearest) <= 1e-6) return nearest;
    return std::ceil(quotient);
}

// The steps of a run from t0 to t, or nothing (after saying why) when t
// lies before t0, which a run cannot reach, or they are more than one run
// can make.
std::optional<long long> RunSteps(double t0, double t, double dt, std::ostream& err) {
    if (t < t0) {
        err << "ошибка: --time " << Real(t) << " меньше времени T = " << Real(t0)
            << ", с которого начинается расчёт, а назад он не идёт; укажите --time не меньше " << Real(t0) << '\n';
        return std::nullopt;
    }
    const double stepCount = StepsToReach(t0, t, dt);
    if (!(stepCount <= MaxRunSteps)) {
        err << "ошибка: слишком много шагов (" << Real(stepCount)
            << "), за один запуск их можно сделать не больше 2000000000; увеличьте --dt или уменьшите "
               "--time\n";
        return std::nullopt;
    }
    // T itself must stay a number: a scene whose T lies near the largest
    // double would otherwise run on to an infinite time.
    if (!std::isfinite(t0 + stepCount * dt)) {
        err << "ошибка: время T после последнего шага вышло бы за пределы чисел двойной точности (T = "
            << Real(t0) << ", шагов " << Real(stepCount) << " по " << Real(dt)
            << "); уменьшите --time или --dt\n";
        return std::nullopt;
    }
    return static_cast<long long>(stepCount);
}

// What a signal handler left in `interrupted`: the signal's number, or 0.
int SignalOf(const volatile std::sig_atomic_t* interrupted) { return interrupted ? *interrupted : 0; }

// A run stopped by a signal: the outputs are dropped with their temporary
// files, and the files they name stay as they were.
int Interrupted(int signal, long long done, long long steps, double t, std::ostream& err) {
    err << "ошибка: расчёт прерван сигналом " << (signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "")
        << " (" << signal << ") после шага " << done << " из " << steps << ", T = " << Real(t)
        << "; файлы вывода не записаны, прежние файлы не изменены\n";
    return 128 + signal;
}

int Run(const std::vector<std::string>& args, std::ostream& err, bool yes, bool terminal,
        const volatile std::sig_atomic_t* interrupted) {
    const RunOptions options = ParseRun(args);
    auto world = std::make_unique<World>();
    StderrMessenger messenger(err, yes);
    const std::optional<QvsOpenResult> opened = OpenMechanical(*world, options.File, messenger, err);
    if (!opened) return CliFile;
    const double dt = options.Dt ? *options.Dt : world->Params.MaxStep;
    if (!(dt > 0) || !std::isfinite(dt)) {
        err << "ошибка: " << PathText(options.File) << ": шаг MaxStep файла (" << Real(dt)
            << ") не годится для расчёта; задайте шаг ключом --dt\n";
        return CliFile;
    }
    const std::optional<long long> stepCount = RunSteps(world->T, options.Time, dt, err);
    if (!stepCount) return CliUsage;
    const long long steps = *stepCount;
    // Every object named by --record must be in the scene: a column of gaps
    // would hide a typing error.
    for (const SeriesKey& key : options.Record) {
        if (ObjectPresent(*world, key.Kind, key.Number)) continue;
        const bool ball = key.Kind != KindPeg;
        const int count = ball ? world->BallCount : world->PegCount;
        bool any = false;
        for (int n = 1; n <= count && !any; ++n) any = ObjectPresent(*world, ball ? KindBall : KindPeg, n);
        if (!any) {
            err << "ошибка: --record: в файле нет ни одного " << (ball ? "шара или цилиндра" : "стержня") << " ("
                << options.File.string() << "); уберите " << (ball ? "шары и цилиндры" : "стержни")
                << " из --record\n";
            return CliUsage;
        }
        err << "ошибка: --record: " << (ball ? "шара или цилиндра" : "стержня") << " №" << key.Number << " в файле "
            << options.File.string() << " нет ("
            << (key.Number <= count ? "он удалён" : "номера объектов этого вида идут до " + std::to_string(count))
            << "); проверьте номер в --record\n";
        return CliUsage;
    }
    // A ball named as a cylinder (or the other way) is most likely a wrong
    // number: the columns would be headed by the other shape.
    for (const SeriesKey& key : options.Record) {
        if (key.Kind != KindBall && key.Kind != KindCylinder) continue;
        const bool cylinder = world->Balls[static_cast<std::size_t>(key.Number)].Shape == ShapeCylinder;
        if (cylinder == (key.Kind == KindCylinder)) continue;
        err << "ошибка: --record: №" << key.Number << " в файле " << options.File.string() << " — "
            << (cylinder ? "цилиндр, а не шар; пишите cylinder " : "шар, а не цилиндр; пишите ball ") << key.Number
            << " или проверьте номер\n";
        return CliUsage;
    }
    // Taken now: an --out of the same name replaces the file before the
    // JSON is written.
    const JsonHeaderInfo header = HeaderOf(options.File, opened->AuthorText);

    Outputs outputs;
    if (!outputs.Open(options, err)) return CliFile;
    std::optional<CsvOutput>& csv = outputs.Csv;
    const long long every = options.Every.value_or(1);
    // With --record the CSV is the recording, a row per sample written as it
    // is taken: the recorder keeps only the last sample, so a run of any
    // length loses none.
    const bool recording = !options.Record.empty();
    Recorder recorder;
    std::vector<double> values(options.Record.size());
    const auto recordRow = [&] {
        for (std::size_t s = 0; s < values.size(); ++s) values[s] = recorder.Value(s, recorder.Count(s) - 1);
        WriteRecordingRow(csv->Rows(), recorder.SampleTime(recorder.SampleCount() - 1), options.Record, values, *world);
        csv->Spill();
    };
    if (recording) {
        recorder.SetCapacity(1);
        for (const SeriesKey& key : options.Record) recorder.Add(key);
        recorder.SampleEvery(static_cast<int>(std::min<long long>(every, std::numeric_limits<int>::max())));
        recorder.Enable(true);
        WriteRecordingHeader(csv->Rows(), options.Record, *world, options.Bom);
        recorder.SampleNow(*world);
        recordRow();
    } else if (csv) {
        if (options.Bom) WriteByteOrderMark(csv->Rows());
        csv->Rows() << "step,T,kind,number,X,Y,VX,VY,Phi,Omega,KineticEnergy,PotentialEnergy\n";
        CsvRows(csv->Rows(), *world, 0);
    }
    // The collision log, a row per impulse as the step gives it.
    struct EventRows final : ImpulseObserver {
        CsvOutput* Output = nullptr;
        const World* Scene = nullptr;
        void OnImpulse(const ImpulseEvent& event) override { WriteCollisionRow(Output->Rows(), event, *Scene); }
    } eventRows;
    if (outputs.Events) {
        eventRows.Output = &*outputs.Events;
        eventRows.Scene = world.get();
        WriteCollisionHeader(outputs.Events->Rows(), *world, options.Bom);
    }

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    Clock::time_point lastProgress = start;
    bool progressShown = false;
    // Steps completed; a step that freezes an object does not complete (T
    // does not advance) and is not counted.
    long long done = 0;
    long long lastRow = 0;
    StepContext context;
    if (outputs.Events) context.Impulses = &eventRows;
    bool frozen = false;
    while (done < steps && !SignalOf(interrupted)) {
        if (!MechanicalStep(*world, dt, messenger, context)) {
            frozen = true;
            break;
        }
        ++done;
        if (outputs.Events) outputs.Events->Spill();
        if (recording) {
            const std::uint64_t taken = recorder.SamplesTaken();
            recorder.Sample(*world);
            if (recorder.SamplesTaken() != taken) recordRow();
        } else if (csv && (done % every == 0 || done == steps)) {
            CsvRows(csv->Rows(), *world, done);
            csv->Spill();
            lastRow = done;
        }
        if (terminal && (done & 255) == 0) {
            const Clock::time_point now = Clock::now();
            if (now - start > std::chrono::seconds(1) && now - lastProgress > std::chrono::milliseconds(200)) {
                err << "\rшаг " << done << " из " << steps << ", T = " << world->T << "   " << std::flush;
                lastProgress = now;
                progressShown = true;
            }
        }
    }
    // The state at the freeze, with the frozen object no longer movable.
    if (frozen && csv && !recording && lastRow != done) CsvRows(csv->Rows(), *world, done);
    // The last state is always in the recording, as in the table.
    if (recording) {
        const std::uint64_t taken = recorder.SamplesTaken();
        recorder.SampleNow(*world);
        if (recorder.SamplesTaken() != taken) recordRow();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (progressShown) err << '\n';
    if (const int signal = SignalOf(interrupted)) return Interrupted(signal, done, steps, world->T, err);
    err << "шагов: " << done << ", шагов в секунду: "
        << (seconds > 0 ? static_cast<long long>(std::llround(done / seconds)) : done) << '\n';

    int status = frozen ? CliFrozen : CliOk;
    if (outputs.Events) {
        const SaveResult saved = outputs.Events->Commit();
        if (!saved.Ok) {
            err << "ошибка: " << saved.Message << '\n';
            status = frozen ? status : CliFile;
        }
    }
    if (csv) {
        const SaveResult saved = csv->Commit();
        if (!saved.Ok) {
            err << "ошибка: " << saved.Message << '\n';
            status = CliFile;
        }
    }
    if (outputs.Out) {
        QvsSaveOptions save;
        save.AuthorText = opened->AuthorText;
        save.Embedded = opened->Embedded;
        const SaveResult saved = SaveQvs(*world, *outputs.Out, save);
        if (!saved.Ok) {
            err << "ошибка: " << saved.Message << '\n';
            status = frozen ? status : CliFile;
        }
    }
    if (outputs.Json) {
        outputs.Json->Write(WorldToJson(*world, header).dump(2) + "\n");
        const SaveResult saved = outputs.Json->Commit();
        if (!saved.Ok) {
            err << "ошибка: " << saved.Message << '\n';
            status = frozen ? status : CliFile;
        }
    }
    return status;
}

// A celestial scene (JSON) run with a fixed step: the same stops as in the
// window program (a collision, a body beyond the speed limit) end the run
// with their message and status 3; the outputs then hold the state at the
// stop.
int Celestial(const std::vector<std::string>& args, std::ostream& err, bool yes,
              const volatile std::sig_atomic_t* interrupted) {
    const RunOptions options = ParseRun(args);
    if (options.Out) {
        throw UsageError{"команда celestial не пишет файл имитации (--out): сцену небесной механики сохраняет --json"};
    }
    if (!options.Dt) throw UsageError{"команде celestial нужен ключ --dt: у сцены нет своего шага"};
    auto world = std::make_unique<World>();
    const CelestialReadResult read = LoadCelestialScene(options.File, *world);
    if (!read.Ok) {
        err << "ошибка: " << PathText(options.File) << ": " << read.Message << "\n";
        return CliFile;
    }
    const double dt = *options.Dt;
    const std::optional<long long> stepCount = RunSteps(world->T, options.Time, dt, err);
    if (!stepCount) return CliUsage;
    const long long steps = *stepCount;
    Outputs outputs;
    if (!outputs.Open(options, err)) return CliFile;
    std::optional<CsvOutput>& csv = outputs.Csv;
    const long long every = options.Every.value_or(1);
    auto rows = [&](long long step) {
        std::ostream& out = csv->Rows();
        for (int n = 1; n <= std::min(world->HBodyCount, HBodyCapacity); ++n) {
            const HBody& b = world->HBodies[n];
            if (!b.Exists) continue;
            out << step << ',' << Real(world->T) << ',' << n << ',' << Real(b.Position.X) << ','
                << Real(b.Position.Y) << ',' << Real(b.Position.Z) << ',' << Real(b.Velocity.X) << ','
                << Real(b.Velocity.Y) << ',' << Real(b.Velocity.Z) << '\n';
        }
    };
    if (csv) {
        csv->Rows() << "step,T,number,X,Y,Z,VX,VY,VZ\n";
        rows(0);
    }
    StderrMessenger messenger(err, yes);
    long long done = 0;
    bool stopped = false;
    while (done < steps && !SignalOf(interrupted)) {
        if (!CelestialStep(*world, dt, messenger)) {
            stopped = true;
            break;
        }
        ++done;
        if (csv && (done % every == 0 || done == steps)) {
            rows(done);
            csv->Spill();
        }
    }
    if (const int signal = SignalOf(interrupted)) return Interrupted(signal, done, steps, world->T, err);
    err << "шагов: " << done << ", T = " << Real(world->T) << "\n";
    int status = stopped ? CliFrozen : CliOk;
    if (outputs.Json) {
        const SaveResult saved = SaveCelestialScene(*world, *outputs.Json);
        if (!saved.Ok) {
            err << "ошибка: " << saved.Message << "\n";
            status = CliFile;
        }
    }
    if (csv) {
        const SaveResult saved = csv->Commit();
        if (!saved.Ok) {
            err << "ошибка: " << saved.Message << "\n";
            status = CliFile;
        }
    }
    return status;
}

}  // namespace

std::string CliUsageText() {
    return R"(использование:
  velocitronimatics-cli [--yes] dump ФАЙЛ
      Печатает весь World файла имитации ФАЙЛ в stdout как JSON.
  velocitronimatics-cli [--yes] run ФАЙЛ --time T [--dt DT] [--out OUT.qvs]
                        [--json OUT.json] [--csv OUT.csv [--every N]
                        [--record ВЕЛИЧИНЫ]] [--events OUT.csv] [--bom]
      Делает механические шаги ровно по DT от времени файла (обычно 0), пока
      модельное время не достигнет T: ceil((T - время файла) / DT) шагов,
      причём частное, отличное от целого не больше чем на 1e-6, считается
      этим целым; укороченного последнего шага нет, так что итоговое время
      может превысить T меньше чем на шаг.
        --time T      модельное время, которого нужно достичь (обязателен),
                      не меньше времени файла
        --dt DT       длина шага, > 0 (по умолчанию MaxStep файла)
        --out ФАЙЛ    пишет World после расчёта как файл имитации
        --json ФАЙЛ   пишет World после расчёта как JSON (как dump)
        --csv ФАЙЛ    пишет для шага 0, каждого N-го и последнего шага по
                      строке на каждый существующий шар, цилиндр и стержень:
                      step,T,kind,number,X,Y,VX,VY,Phi,Omega,
                      KineticEnergy,PotentialEnergy
        --every N     через сколько шагов писать строки CSV, N >= 1
                      (по умолчанию 1)
        --record ВЕЛИЧИНЫ
                      --csv пишет не таблицу состояний, а запись выбранных
                      величин: столбец T и по столбцу на величину, в
                      заголовке имя и единица проекта, например
                      'ball 3: x,vy; rod 1: phi; scene: energy'. Объекты:
                      ball N (шар), cylinder N (цилиндр), rod N (стержень),
                      scene (вся сцена); величины: x, y, vx, vy, v, ax, ay,
                      phi, omega, eps, ke, pe, energy, px, py, p, l, fx, fy,
                      f, torque; у сцены — ke, pe, energy, px, py, p. Углы в
                      единице угла проекта. Строки для шага 0, каждого N-го
                      и последнего, все до одной. Объект, которого в файле
                      нет, или шар, названный цилиндром (и наоборот), —
                      ошибка (код 1).
        --events ФАЙЛ пишет журнал ударов CSV: по строке на каждый импульс
                      шара о шар или о неподвижный объект (шаг, T конца
                      шага, оба объекта, нормальный и касательный импульс,
                      скорости центров до и после), все до одного.
        --bom         начинает файлы --csv и --events меткой порядка байтов
                      UTF-8, по которой табличные программы узнают кодировку.
      Числа пишутся целиком, с десятичной точкой: без пробелов, единиц и
      других знаков после числа; NaN и бесконечности не принимаются, как и
      расчёт больше чем в 2000000000 шагов. Каждый ключ указывается один раз.
      --out, --json, --csv и --events должны называть разные файлы, а
      --json, --csv и --events не могут называть читаемый файл. Все выводы проверяются до
      первого шага; каждый заменяет свой файл, только когда записан целиком.
      Ссылка ведёт к файлу, который она называет; папка, канал, устройство,
      файл с другими именами (жёсткими ссылками) и файл, защищённый от
      записи, не заменяются.
      Печатает в stderr, сколько шагов сделано и сколько шагов в секунду, а
      когда stderr — терминал, для расчётов дольше секунды ещё и строку хода
      расчёта. Когда объект приходится заморозить, расчёт останавливается с
      его сообщением в stderr; выводы всё равно пишутся и хранят состояние
      на момент заморозки.
  velocitronimatics-cli new OUT.qvs
      Пишет механический проект по умолчанию.
  velocitronimatics-cli celestial СЦЕНА.json --time T --dt DT [--json OUT.json]
                        [--csv OUT.csv [--every N]]
      Делает шаги небесной механики ровно по DT над сценой (см. README), пока
      не будет достигнуто T. --json пишет сцену после расчёта (и может
      заменить саму сцену); --csv пишет для шага 0, каждого N-го и последнего
      шага по строке на тело: step,T,number,X,Y,Z,VX,VY,VZ. Столкновение или
      тело быстрее предела скорости останавливают расчёт с сообщением (код
      3); сцена, которая не является правильным JSON, содержит неизвестные
      поля, больше 200 тел или не конечные числа или длиннее 1 МБ,
      отвергается (код 2), и ничего не считается; так же (код 1) — расчёт,
      время T которого вышло бы за наибольшее число двойной точности.
  --yes  отвечает «да», когда файл, записанный для более новой программы,
         просит открыть его (по умолчанию «нет»: файл не открывается).

JSON: вещественные числа печатаются так, что читаются обратно в то же
значение double; не конечные пишутся строками "NaN", "Infinity" и
"-Infinity".

Физическая модель, её известные пределы и сравнение с учебником:
docs/physics.md.

Код завершения: 0 успех, 1 неверный вызов, 2 файл не найден, отвергнут или не
записывается, 3 расчёт остановлен на замороженном объекте, 130 или 143 расчёт
прерван сигналом SIGINT (Ctrl+C) или SIGTERM: выводы не пишутся, файлы, которые
они называют, остаются прежними; второй такой сигнал завершает программу сразу.
)";
}

int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool stderrIsTerminal, const volatile std::sig_atomic_t* interrupted) {
    std::vector<std::string> args = arguments;
    bool yes = false;
    if (!args.empty() && args[0] == "--yes") {
        yes = true;
        args.erase(args.begin());
    }
    try {
        if (args.empty()) throw UsageError{"не указана команда"};
        if (args[0] == "--yes") throw UsageError{"--yes указан дважды"};
        if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
            out << CliUsageText();
            return CliOk;
        }
        if (args[0] == "dump") return Dump(args, out, err, yes);
        if (args[0] == "run") return Run(args, err, yes, stderrIsTerminal, interrupted);
        if (args[0] == "new") return New(args, err);
        if (args[0] == "celestial") return Celestial(args, err, yes, interrupted);
        throw UsageError{"неизвестная команда " + args[0]};
    } catch (const UsageError& error) {
        err << "velocitronimatics-cli: " << error.Text << "\n";
        if (error.Brief) {
            err << HelpHint << "\n";
        } else {
            err << "\n" << CliUsageText();
        }
        return CliUsage;
    }
}

}  // namespace velo
