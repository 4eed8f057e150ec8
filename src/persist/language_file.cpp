#include "persist/language_file.h"

#include <algorithm>
#include <system_error>

#include "persist/ini_file.h"

namespace velo {
namespace {

namespace fs = std::filesystem;

bool EndsWithExtension(const std::string& name) {
    const std::string extension = LanguageExtension;
    return name.size() > extension.size() &&
           FoldCase(name.substr(name.size() - extension.size())) == extension;
}

// The leading number of a text the way the control names were read: blanks,
// a sign, digits with at most one decimal point; no number reads as 0.
bool ReadsAsNonZeroNumber(const std::string& text) {
    std::size_t k = text.find_first_not_of(" \t");
    if (k == std::string::npos) return false;
    if (text[k] == '+' || text[k] == '-') ++k;
    bool point = false;
    for (; k < text.size(); ++k) {
        if (text[k] == '.' && !point) {
            point = true;
        } else if (text[k] >= '1' && text[k] <= '9') {
            return true;
        } else if (text[k] != '0') {
            return false;
        }
    }
    return false;
}

// File names are UTF-8 in memory; the system's narrow code page may not
// hold every name.
std::string Utf8Name(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace

fs::path LanguageFilePath(const fs::path& programFolder, const std::string& fileName) {
    return programFolder / LanguageFolderName / fs::path(std::u8string(fileName.begin(), fileName.end()));
}

fs::path FindLanguageFile(const fs::path& programFolder, const std::string& fileName) {
    // Language names were chosen where letter case does not matter: the
    // stored "Deutsch" still finds "Deutsch.LNG". The file's own name is
    // given back (also where the file system ignores case), a file of the
    // very name first.
    const std::string folded = FoldCase(fileName);
    fs::path alike;
    std::error_code error;
    fs::directory_iterator it(programFolder / LanguageFolderName, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = Utf8Name(it->path());
        std::error_code kindError;
        if (FoldCase(name) != folded || !fs::is_regular_file(it->path(), kindError)) continue;
        if (name == fileName) return it->path();
        if (alike.empty()) alike = it->path();
    }
    return alike.empty() ? LanguageFilePath(programFolder, fileName) : alike;
}

std::vector<LanguageEntry> ListLanguages(const fs::path& programFolder) {
    std::vector<LanguageEntry> entries;
    std::error_code error;
    fs::directory_iterator it(programFolder / LanguageFolderName, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = Utf8Name(it->path());
        std::error_code kindError;
        if (!EndsWithExtension(name) || !fs::is_regular_file(it->path(), kindError)) continue;
        const std::string caption = name.substr(0, name.find('.'));
        if (caption.empty()) continue;  // ".lng", a hidden file
        // "Deutsch.LNG" is applied under its own name: the file system may
        // tell the case of letters apart. A name with a further dot
        // ("a.b.lng") stands for "a.lng".
        const bool ownName = name.size() == caption.size() + std::string(LanguageExtension).size();
        const std::string fileName = ownName ? name : caption + LanguageExtension;
        const bool known = std::any_of(entries.begin(), entries.end(),
                                       [&](const LanguageEntry& e) { return e.Caption == caption; });
        if (!known) entries.push_back({caption, fileName});
    }
    std::sort(entries.begin(), entries.end(),
              [](const LanguageEntry& a, const LanguageEntry& b) { return a.Caption < b.Caption; });
    return entries;
}

bool QualifiesAsMenuItem(const std::string& controlName) {
    return controlName.size() > 2 && controlName.compare(0, 2, "mn") == 0 &&
           !ReadsAsNonZeroNumber(controlName.substr(2));
}

LanguageChoice ReadLanguage(const fs::path& programFolder, const std::string& fileName,
                            const std::vector<std::string>& controlNames, Messenger& messenger) {
    LanguageChoice choice;
    const fs::path path = FindLanguageFile(programFolder, fileName);
    IniFile file;
    const IniLoad outcome = LoadIniFile(path, file);
    if (outcome != IniLoad::Ok) {
        ReportIniLoad(path, outcome, messenger);
        return choice;
    }
    choice.Read = true;
    choice.StoredName = StoredLanguageName(Utf8Name(path));

    LanguageTexts& texts = choice.Texts;
    texts.Slavonic = FoldCase(file.Value("Language", "IsSlavonicLanguage")) == "true";
    texts.ToolkitLocale = file.Value("Language", "Locale");
    const auto take = [&file](std::string& text, const char* section, const char* key) {
        std::string value = file.Value(section, key);
        if (!value.empty()) text = std::move(value);
    };
    take(texts.CaptionBase, "MainWindow", "Caption");
    take(texts.ReadOnlyMarker, "MainWindow", "ReadOnly");
    take(texts.StartCaption, "MainWindow", "StartImit");
    take(texts.StopCaption, "MainWindow", "StopImit");
    take(texts.ZeroSupportName, "Objects", "Handhold0");
    for (const PanelText& text : PanelTexts) take(texts.Panels[text.Key], text.Section, text.Key);

    for (const std::string& name : controlNames) {
        if (!QualifiesAsMenuItem(name)) continue;
        std::string value = file.Value("MenuItems", name);
        if (!value.empty()) choice.Captions[name] = std::move(value);
    }
    return choice;
}

std::string StoredLanguageName(const std::string& fileName) {
    const std::size_t extension = std::string(LanguageExtension).size();
    return fileName.size() > extension ? fileName.substr(0, fileName.size() - extension) : std::string();
}

std::string WithoutAccelerators(const std::string& caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t k = 0; k < caption.size(); ++k) {
        if (caption[k] != '&') {
            out += caption[k];
        } else if (k + 1 < caption.size() && caption[k + 1] == '&') {
            out += '&';  // "&&" stands for the character itself
            ++k;
        }
    }
    return out;
}

}  // namespace velo
