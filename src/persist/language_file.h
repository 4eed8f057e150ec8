// Language files: "<name>.lng" in the folder "Language" beside the program,
// INI text (persist/ini_file.h) replacing the texts of the main window: its
// caption, the read-only marker, the two captions of the run command, the
// name of the zero-level support and the captions of the menu items.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/messages.h"

namespace velo {

inline constexpr const char* LanguageFolderName = "Language";
inline constexpr const char* LanguageExtension = ".lng";
// The language of the built-in texts, and the setting that names the
// language applied at start-up.
inline constexpr const char* BuiltInLanguage = "Русский";
inline constexpr const char* LanguageSetting = "Language";

// Texts of the main window's panels that a language file may also give, in
// [Panels] (labels) and [Objects] (the kinds of the current object).
struct PanelText {
    const char* Section;
    const char* Key;
    const char* BuiltIn;
};
inline constexpr PanelText PanelTexts[] = {
    {"Panels", "Layer", "Слой"},
    {"Panels", "Mode", "Режим:"},
    {"Panels", "CurrentObject", "Текущий объект:"},
    {"Panels", "NoObject", "нет"},
    {"Panels", "NumberSign", "№"},
    {"Objects", "Laval", "Подвес"},
    {"Objects", "Hand", "Опора"},
    {"Objects", "Wall", "Стена"},
    {"Objects", "Plane", "Наклонная плоскость"},
    {"Objects", "Ball", "Шар"},
    {"Objects", "Cylinder", "Цилиндр"},
    {"Objects", "Thread", "Нить"},
    {"Objects", "Peg", "Стержень"},
    {"Objects", "Surface", "Поверхность"},
    {"Objects", "Surface2", "Поверхность второго порядка"},
    {"Objects", "HBody", "Небесное тело"},
};

// The texts a language file replaces.
struct LanguageTexts {
    std::string CaptionBase = "Моделирование механических систем";
    std::string ReadOnlyMarker = "только чтение";
    std::string StartCaption = "Запуск имитации";
    std::string StopCaption = "Приостановить имитацию";
    std::string ZeroSupportName = "Нулевая опора";
    bool Slavonic = true;
    // The language of the toolkit's own texts (standard dialogs and
    // buttons), "ru", "en"...; the built-in texts are Russian.
    std::string ToolkitLocale = "ru";
    // By key of PanelTexts; a text the file does not give is built in.
    std::map<std::string, std::string> Panels = BuiltInPanelTexts();

    static std::map<std::string, std::string> BuiltInPanelTexts() {
        std::map<std::string, std::string> texts;
        for (const PanelText& text : PanelTexts) texts[text.Key] = text.BuiltIn;
        return texts;
    }
};

// One entry of the language menu.
struct LanguageEntry {
    std::string Caption;   // the file's name up to its first "."
    // What choosing the entry applies: the file's own name, or Caption +
    // ".lng" for a name with a further dot.
    std::string FileName;
};

// The language files in programFolder/Language, sorted by caption; two
// files with the same caption ("a.lng", "a.b.lng") give one entry.
std::vector<LanguageEntry> ListLanguages(const std::filesystem::path& programFolder);

// A control of the main window whose caption a language file may set: a
// name longer than two characters that starts with "mn" and whose remainder
// does not read as a number other than 0 (so the separators "mn1".."mn23"
// never do, while "mnS2" and "mni9" do).
bool QualifiesAsMenuItem(const std::string& controlName);

// What a language file gives the main window.
struct LanguageChoice {
    bool Read = false;  // false: the file was missing or refused (reported)
    LanguageTexts Texts;
    // Caption by control name, for the qualifying names with a non-empty
    // value in [MenuItems]; "&" marks are kept.
    std::map<std::string, std::string> Captions;
    std::string StoredName;  // the value of the "Language" setting
};

// Reads programFolder/Language/fileName for the given controls. Texts the
// file does not give (missing or empty keys) take their built-in values, so
// the result does not depend on the language applied before. A file that
// cannot be read is reported once, and Read stays false: the caller keeps
// its texts and the setting as they are.
LanguageChoice ReadLanguage(const std::filesystem::path& programFolder, const std::string& fileName,
                            const std::vector<std::string>& controlNames, Messenger& messenger);

// programFolder/Language/fileName, the name taken as UTF-8 on every system.
std::filesystem::path LanguageFilePath(const std::filesystem::path& programFolder, const std::string& fileName);

// The file that fileName names: LanguageFilePath, or when that does not
// exist, a file of the folder whose name differs from it only in the case
// of its letters; the exact path when there is neither.
std::filesystem::path FindLanguageFile(const std::filesystem::path& programFolder, const std::string& fileName);

// The setting's value for a file name: the name without its last four
// characters ("English.lng" -> "English").
std::string StoredLanguageName(const std::string& fileName);

// A menu caption without its accelerator marks: the tool-tip of a button.
std::string WithoutAccelerators(const std::string& caption);

}  // namespace velo
