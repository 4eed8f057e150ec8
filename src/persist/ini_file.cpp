#include "persist/ini_file.h"

#include <string_view>

#include "persist/cp1251.h"
#include "persist/native_file.h"

namespace velo {
namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view Utf16BigEndianMark = "\xFE\xFF";

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A text saved as "Unicode" (UTF-16, the part after its byte order mark) as
// UTF-8. A zero character ends the text as a zero byte does elsewhere; a
// lone surrogate becomes U+FFFD and a last odd byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unit = [bytes, bigEndian](std::size_t k) {
        const auto first = static_cast<unsigned char>(bytes[k]);
        const auto second = static_cast<unsigned char>(bytes[k + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
        char32_t code = unit(k);
        if (code == 0) break;
        if (code >= 0xD800 && code <= 0xDBFF && k + 3 < bytes.size()) {
            const char32_t low = unit(k + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                k += 2;
            }
        }
        if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
        AppendUtf8(out, code);
    }
    return out;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// At most `limit` characters of a UTF-8 text, never splitting a character.
std::string FirstCharacters(const std::string& utf8, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t k = 0; k < utf8.size(); ++k) {
        const bool continuation = (static_cast<unsigned char>(utf8[k]) & 0xC0) == 0x80;
        if (!continuation && characters++ == limit) return utf8.substr(0, k);
    }
    return utf8;
}

// A path as UTF-8 text for a message, whatever the system's code page.
std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

std::string FoldCase(const std::string& utf8) {
    std::string out = utf8;
    for (std::size_t k = 0; k < out.size(); ++k) {
        const auto c = static_cast<unsigned char>(out[k]);
        if (c >= 'A' && c <= 'Z') {
            out[k] = static_cast<char>(c + ('a' - 'A'));
        } else if (c == 0xD0 && k + 1 < out.size()) {
            // U+0400..U+043F: the capitals are U+0400..U+042F.
            const auto next = static_cast<unsigned char>(out[k + 1]);
            if (next >= 0x90 && next <= 0x9F) {  // А..П -> а..п
                out[k + 1] = static_cast<char>(next + 0x20);
            } else if (next >= 0xA0 && next <= 0xAF) {  // Р..Я -> р..я (U+0440.., D1 80..)
                out[k] = static_cast<char>(0xD1);
                out[k + 1] = static_cast<char>(next - 0x20);
            } else if (next >= 0x80 && next <= 0x8F) {  // Ѐ..Џ (Ё, Є, І, Ї, Ў...) -> U+0450..
                out[k] = static_cast<char>(0xD1);
                out[k + 1] = static_cast<char>(next + 0x10);
            }
            ++k;
        } else if (c == 0xD2 && k + 1 < out.size()) {  // Ґ -> ґ
            if (static_cast<unsigned char>(out[k + 1]) == 0x90) out[k + 1] = static_cast<char>(0x91);
            ++k;
        }
    }
    return out;
}

IniFile IniFile::Parse(const std::string& bytes) {
    IniFile file;
    std::string_view text = bytes;
    bool utf8 = text.substr(0, Utf8Mark.size()) == Utf8Mark;
    if (utf8) text.remove_prefix(Utf8Mark.size());
    // Read as 8-bit text, UTF-16 would end at the zero byte of its first
    // character and give an empty file that seems applied.
    std::string decoded;
    const std::string_view mark = text.substr(0, Utf16LittleEndianMark.size());
    if (!utf8 && (mark == Utf16LittleEndianMark || mark == Utf16BigEndianMark)) {
        decoded = Utf16ToUtf8(text.substr(mark.size()), mark == Utf16BigEndianMark);
        text = decoded;
        utf8 = true;
    }
    // What follows a zero byte is not text: the readable part is kept.
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
    const auto decode = [utf8](std::string_view raw) {
        return utf8 ? std::string(raw) : Cp1251ToUtf8(std::string(raw));
    };

    std::map<std::string, std::string>* section = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                section = nullptr;  // a broken header: its keys belong nowhere
                continue;
            }
            section = &file.sections_[FoldCase(decode(Trimmed(line.substr(1, close - 1))))];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!section || equals == std::string_view::npos) continue;
        const std::string_view name = Trimmed(line.substr(0, equals));
        if (name.empty()) continue;
        std::string_view value = Trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        // emplace keeps the first of duplicate keys.
        section->emplace(FoldCase(decode(name)), FirstCharacters(decode(value), IniValueLimit));
    }
    return file;
}

std::string IniFile::Value(const std::string& section, const std::string& key) const {
    const auto found = sections_.find(FoldCase(section));
    if (found == sections_.end()) return {};
    const auto value = found->second.find(FoldCase(key));
    return value == found->second.end() ? std::string() : value->second;
}

bool IniFile::HasSection(const std::string& section) const { return sections_.count(FoldCase(section)) != 0; }

IniLoad LoadIniFile(const std::filesystem::path& path, IniFile& file) {
    file = IniFile();
    std::string bytes;
    switch (native::ReadWhole(path, IniFileLimit, bytes)) {
    case native::ReadOutcome::Ok: break;
    case native::ReadOutcome::Missing: return IniLoad::Missing;
    case native::ReadOutcome::Folder:
    case native::ReadOutcome::Special: return IniLoad::NotAFile;
    case native::ReadOutcome::Unreadable: return IniLoad::Unreadable;
    case native::ReadOutcome::TooLarge: return IniLoad::TooLarge;
    }
    file = IniFile::Parse(bytes);
    return IniLoad::Ok;
}

std::string MissingIniFileText(const std::filesystem::path& path) { return PathText(path) + " not found."; }

std::string RefusedIniFileText(const std::filesystem::path& path, IniLoad outcome) {
    const std::string name = "Файл " + PathText(path);
    switch (outcome) {
    case IniLoad::Ok: return {};
    case IniLoad::Missing: return MissingIniFileText(path);
    case IniLoad::NotAFile: return name + " не прочитан: это не обычный файл (папка или устройство).";
    case IniLoad::Unreadable:
        return name + " не удалось прочитать. Проверьте права доступа к нему.";
    case IniLoad::TooLarge:
        return name + " не прочитан: он длиннее 1 МБ и не может быть файлом языка.";
    }
    return {};
}

void ReportIniLoad(const std::filesystem::path& path, IniLoad outcome, Messenger& messenger) {
    if (outcome == IniLoad::Ok) return;
    if (outcome == IniLoad::Missing) {
        messenger.ShowTitled(MessageIcon::Error, MissingIniFileTitle, MissingIniFileText(path));
    } else {
        messenger.Show(MessageIcon::Error, RefusedIniFileText(path, outcome));
    }
}

std::string ReadIniValue(const std::filesystem::path& path, const std::string& section, const std::string& key,
                         Messenger& messenger) {
    IniFile file;
    const IniLoad outcome = LoadIniFile(path, file);
    ReportIniLoad(path, outcome, messenger);
    return file.Value(section, key);
}

}  // namespace velo
