// The simulation file ".qvs": reading and writing a mechanical project.
//
// The file holds a 128-byte header, the units-and-materials section, the
// parameter section, the object section and the embedded background picture
// and description document. The same format serves the user's files, the
// autosave copies, the start point (no embedded files) and the template
// "New.qvs" (only suspension points and supports).
//
// The core shows nothing itself: every message of the reader goes through
// the Messenger it is given, and the writer returns its failure text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/messages.h"
#include "model/world.h"

namespace velo {

// This program's identity in the version records: version 0.8, build 344.
inline constexpr std::uint8_t ProgramVersionByte = 8;
inline constexpr int ProgramBuild = 344;

// The layout of the file: record sizes of the object kinds 1..9 as this
// program writes them, and the fixed sizes of the header and sections.
inline constexpr std::int32_t LavalRecordSize = 26;
inline constexpr std::int32_t HandWallRecordSize = 35;
inline constexpr std::int32_t PlaneRecordSize = 44;
inline constexpr std::int32_t BallRecordSize = 192;
inline constexpr std::int32_t ThreadRecordSize = 0;
inline constexpr std::int32_t PegRecordSize = 212;
inline constexpr std::int32_t SurfaceRecordSize = 19;  // plus 16 per vertex
inline constexpr std::int32_t Surface2RecordSize = 70;
inline constexpr std::int32_t MaterialRecordSize = 36;
inline constexpr std::int32_t PairRecordSize = 48;
inline constexpr std::int32_t ParameterSectionLength = 160;
inline constexpr int HeaderSize = 128;
inline constexpr int AuthorTextWidth = 80;

// The declared length of section 1 for a table of materials 0..n: three
// bytes more than the content, which ends in three zero bytes.
constexpr std::int32_t UnitsSectionLength(int n) { return (48 * n + 36) * (n + 1) + 70; }

// The largest embedded background picture and description document (64
// MB each, a picture of some 4,700 x 4,700 points). The writer refuses
// larger ones and the reader takes them for damage, so every file this
// program writes opens again.
inline constexpr std::int64_t EmbeddedFileLimit = std::int64_t{64} << 20;

// The largest file the format holds: every table at its capacity with this
// program's record sizes, the largest material table, and both embedded
// files at their limit (about 130 MB). A longer file is refused as damaged
// before its body is read.
inline constexpr std::int64_t MaxQvsFileSize =
    HeaderSize + 4 + UnitsSectionLength(MaxMaterialIndex) + 4 + ParameterSectionLength + 1 + 8 * 9 +
    std::int64_t{LavalCapacity} * LavalRecordSize + (std::int64_t{HandCapacity} + 1) * HandWallRecordSize +
    std::int64_t{WallCapacity} * HandWallRecordSize + std::int64_t{PlaneCapacity} * PlaneRecordSize +
    std::int64_t{BallCapacity} * BallRecordSize + std::int64_t{ThreadCapacity} * ThreadRecordSize +
    std::int64_t{PegCapacity} * PegRecordSize +
    std::int64_t{SurfaceCapacity} * (SurfaceRecordSize + 16 * std::int64_t{SurfacePointCapacity}) +
    std::int64_t{Surface2Capacity} * Surface2RecordSize + 2 * (4 + EmbeddedFileLimit);

inline constexpr const char* MechanicalSignature = "Mechanical imitation file";
inline constexpr const char* CelestialSignature = "Heavenly velocitronimatics";

inline constexpr const char* FileNotFoundMessage = "Файл не найден";
inline constexpr const char* NotSimulationMessage = "Этот файл не является имитацией Velocitronimatics";
inline constexpr const char* OpenAnywayQuestion = "Всё равно открыть этот файл?";
inline constexpr const char* DamagedFileMessage =
    "Файл повреждён и не может быть открыт: его данные обрываются или выходят за допустимые "
    "пределы. Откройте другую копию имитации, например автоматически сохранённую.";
inline constexpr const char* UnreadableFileMessage =
    "Файл не удаётся прочитать. Проверьте, что он доступен для чтения, и попробуйте ещё раз.";
inline constexpr const char* FolderNotFileMessage =
    "Это папка, а не файл имитации. Откройте один из файлов, которые в ней лежат.";
inline constexpr const char* NotRegularFileMessage =
    "Это не обычный файл, а канал, устройство или сокет, и имитацию из него открыть нельзя. "
    "Откройте файл имитации.";
inline constexpr const char* UnknownMaterialWarning =
    "Некоторые объекты файла ссылаются на отсутствующие материалы. Им назначен идеальный "
    "материал.";
inline constexpr const char* LoadingObjectsStatus = "Загрузка объектов ...";

// The embedded files, byte for byte; empty means the project has none.
struct QvsEmbedded {
    std::vector<std::uint8_t> Background;   // the background picture (".bmp")
    std::vector<std::uint8_t> Description;  // the description document
};

struct QvsSaveOptions {
    // "Автор и другая информация" (UTF-8); cut or blank-padded to 80
    // characters on disk.
    std::string AuthorText;
    QvsEmbedded Embedded;
    // false writes both embedded lengths as 0 (the start point).
    bool WithEmbedded = true;
    // The file is protected against writing as it takes its place (the
    // autosave copies).
    bool ReadOnly = false;
};

class AtomicFile;

struct SaveResult {
    bool Ok = false;
    std::string Message;  // why the file could not be written; empty on success
};

enum class QvsFileClass {
    Mechanical,     // read into the World
    Celestial,      // celestial signature: nothing read; start a celestial project
    NotSimulation,  // unknown signature; World empty, ProjectKind none
    Refused,        // version too new (or the user said No), or unreadable; World empty
    Damaged,        // counts, sizes or lengths impossible, or the file too long;
                    // World empty, ProjectKind none
    NotFound,       // no such file; World unchanged
    NotAFile,       // a folder, a pipe, a device or a socket; World unchanged
    // Written for a newer program: the question is to be asked and the
    // bytes decoded again with the answer (QvsReadOptions::OpenNewerFile).
    // World empty. OpenQvs asks itself and never returns this.
    ConfirmationNeeded,
};

struct QvsOpenResult {
    QvsFileClass Class = QvsFileClass::NotFound;
    // The header's author text as on disk (80 characters, blank-padded).
    std::string AuthorText;
    QvsEmbedded Embedded;
    // Warnings already shown through the Messenger (e.g. unknown materials).
    std::vector<std::string> Warnings;
    // The error text already shown, when the file was not read.
    std::string Message;
    // ConfirmationNeeded: the version text, a carriage return and "Всё
    // равно открыть этот файл?", for a Yes/No warning box.
    std::string Question;

    bool Read() const { return Class == QvsFileClass::Mechanical; }
    // Open's own result: false only when the path does not exist.
    bool Found() const { return Class != QvsFileClass::NotFound; }
};

struct QvsReadOptions {
    // false skips the signature and version checks and reads the sections
    // straight after the 128-byte header (restoring the start point).
    bool CheckHeader = true;
    // The answer to "Всё равно открыть этот файл?" for a file whose
    // recommended build is above this program's; unset, the decoder stops
    // with ConfirmationNeeded.
    std::optional<bool> OpenNewerFile;
};

// The whole World as file bytes. Derived values on disk are those the ball
// and rod normalisation gives, so they always match the stored ones; the
// World itself is not changed.
std::vector<std::uint8_t> EncodeQvs(const World& world, const QvsSaveOptions& options);

// Writes the file atomically: a temporary file beside the target is renamed
// over it only when everything was written, so a failed save leaves the old
// file as it was. Does not touch World::Changed; the caller marks the
// project unchanged (or sets the read-only attribute of an autosave copy).
SaveResult SaveQvs(const World& world, const std::filesystem::path& path, const QvsSaveOptions& options);
// The same into a save begun earlier (the command-line tool opens its
// outputs before a long run, so that a name it cannot write is told first).
SaveResult SaveQvs(const World& world, AtomicFile& file, const QvsSaveOptions& options);

// The template for new projects: header, units and materials, parameters,
// an object section of two kinds (suspension points and supports) with
// counts 0 and the ZeroSupport, and two zero embedded lengths.
std::vector<std::uint8_t> EncodeQvsTemplate(const World& world, const std::string& authorText = {});
SaveResult SaveQvsTemplate(const World& world, const std::filesystem::path& path,
                           const std::string& authorText = {});

// Reads file bytes into the World. ClearWorld runs first. On Mechanical the
// World holds the file's project, ProjectKind is mechanical and Changed is
// false; on NotSimulation and Damaged the World is empty and ProjectKind is
// none; on Refused and ConfirmationNeeded the World is empty and
// ProjectKind unchanged; on Celestial the World is empty and the caller
// starts a celestial project. Messages are shown through the messenger; no
// question is asked: a file for a newer program either carries the answer
// in the options or ends as ConfirmationNeeded.
QvsOpenResult DecodeQvs(World& world, std::span<const std::uint8_t> bytes, Messenger& messenger,
                        const QvsReadOptions& options = {});

// Open: "Файл не найден" (World unchanged) when the path does not exist, a
// message of its own for a folder, a pipe or a device (World unchanged),
// otherwise the header first: a file that is no simulation or may not be
// opened is refused as DecodeQvs refuses it, whatever its length; the
// version question is asked through the messenger; a file longer than
// MaxQvsFileSize is refused as damaged without reading more; the rest is
// DecodeQvs of the file's bytes. The caller copies the embedded files into
// the temporary folder and switches the window's menus.
QvsOpenResult OpenQvs(World& world, const std::filesystem::path& path, Messenger& messenger,
                      const QvsReadOptions& options = {});

// Open's verdict on the path alone: NotFound or NotAFile with the message
// Open would show; nothing when the path names a regular file or cannot be
// examined (reading it then says why).
std::optional<QvsOpenResult> PathRefusal(const std::filesystem::path& path);

// The composed version text: "Для корректного открытия этого файла
// необходим" CR "Velocitronimatics " hi "." lo " Build " build " или выше."
std::string VersionMessage(std::uint8_t versionByte, int build);

}  // namespace velo
