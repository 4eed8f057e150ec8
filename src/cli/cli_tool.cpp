#include "cli/cli_tool.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <iterator>
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
};

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
    std::optional<fs::path> Out, Json, Csv;
    std::optional<long long> Every;
};

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
    std::optional<CsvOutput> Csv;

    // False, after saying why, when one of them cannot be written.
    bool Open(const RunOptions& options, std::ostream& err) {
        if (options.Out) Out.emplace(*options.Out);
        if (options.Json) Json.emplace(*options.Json);
        if (options.Csv) Csv.emplace(*options.Csv);
        const AtomicFile* files[] = {Out ? &*Out : nullptr, Json ? &*Json : nullptr,
                                     Csv ? &Csv->File() : nullptr};
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
                                       std::pair{"--csv", &options.Csv}}) {
        if (*output && **output == "-") {
            throw UsageError{std::string(name) + " -: вывод в стандартный поток не поддерживается; укажите имя "
                                                 "файла (файл с именем «-» задайте как ./-)"};
        }
    }
    if (options.Every && !options.Csv) throw UsageError{"--every задаёт, как часто писать строки --csv, и без --csv не нужен"};
    // --out over the file read is an update of the scene in its own format;
    // a table or a JSON there would destroy the scene. For celestial, --json
    // is the scene's own format and may replace it.
    const bool jsonIsScene = command == "celestial";
    const std::pair<const char*, const std::optional<fs::path>*> foreign[] = {
        {"--json", jsonIsScene ? nullptr : &options.Json}, {"--csv", &options.Csv}};
    for (const auto& [name, output] : foreign) {
        if (output && *output && SameFile(**output, options.File)) {
            throw UsageError{std::string(name) + " и читаемый файл " + PathText(options.File) +
                             " называют один и тот же файл, и вывод заменил бы сцену; дайте выводу другое имя"};
        }
    }
    const std::pair<const char*, const std::optional<fs::path>*> outputs[] = {
        {"--out", &options.Out}, {"--json", &options.Json}, {"--csv", &options.Csv}};
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
    // Taken now: an --out of the same name replaces the file before the
    // JSON is written.
    const JsonHeaderInfo header = HeaderOf(options.File, opened->AuthorText);

    Outputs outputs;
    if (!outputs.Open(options, err)) return CliFile;
    std::optional<CsvOutput>& csv = outputs.Csv;
    const long long every = options.Every.value_or(1);
    if (csv) {
        csv->Rows() << "step,T,kind,number,X,Y,VX,VY,Phi,Omega,KineticEnergy,PotentialEnergy\n";
        CsvRows(csv->Rows(), *world, 0);
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
    bool frozen = false;
    while (done < steps && !SignalOf(interrupted)) {
        if (!MechanicalStep(*world, dt, messenger, context)) {
            frozen = true;
            break;
        }
        ++done;
        if (csv && (done % every == 0 || done == steps)) {
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
    if (frozen && csv && lastRow != done) CsvRows(csv->Rows(), *world, done);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (progressShown) err << '\n';
    if (const int signal = SignalOf(interrupted)) return Interrupted(signal, done, steps, world->T, err);
    err << "шагов: " << done << ", шагов в секунду: "
        << (seconds > 0 ? static_cast<long long>(std::llround(done / seconds)) : done) << '\n';

    int status = frozen ? CliFrozen : CliOk;
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
                        [--json OUT.json] [--csv OUT.csv [--every N]]
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
      Числа пишутся целиком, с десятичной точкой: без пробелов, единиц и
      других знаков после числа; NaN и бесконечности не принимаются, как и
      расчёт больше чем в 2000000000 шагов. Каждый ключ указывается один раз.
      --out, --json и --csv должны называть три разных файла, а --json и
      --csv не могут называть читаемый файл. Все выводы проверяются до
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
        err << "velocitronimatics-cli: " << error.Text << "\n\n" << CliUsageText();
        return CliUsage;
    }
}

}  // namespace velo
