// Language files: the INI rules, damaged and missing files, the language
// menu's entries, the qualifying control names, and what a file gives the
// main window. The shipped files are checked against the built-in texts.
#include <gtest/gtest.h>

#include "../scratch_names.h"

#include <fstream>
#include <random>
#include <set>
#include <tuple>

#include "persist/cp1251.h"
#include "persist/ini_file.h"
#include "persist/language_file.h"

namespace velo {
namespace {

namespace fs = std::filesystem;

struct Shown {
    MessageIcon Icon;
    std::string Title;
    std::string Text;
};

class TitleRecorder final : public Messenger {
public:
    void Show(MessageIcon icon, const std::string& text) override { shown.push_back({icon, "", text}); }
    void ShowTitled(MessageIcon icon, const std::string& title, const std::string& text) override {
        shown.push_back({icon, title, text});
    }
    bool AskYesNo(MessageIcon, const std::string&) override { return false; }
    std::vector<Shown> shown;
};

class LanguageFolder : public ::testing::Test {
protected:
    LanguageFolder()
        : program_(fs::temp_directory_path() /
                   testing::ProcessScratchName(std::string("velo_lang_") + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(program_);
        fs::create_directories(program_ / "Language");
    }
    ~LanguageFolder() override { fs::remove_all(program_); }

    fs::path Put(const std::string& name, const std::string& bytes) {
        const fs::path path = program_ / "Language" / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path program_;
    TitleRecorder messenger_;
};

TEST(IniRules, ValuesAsTheReadmeDescribes) {
    const std::string longValue(300, 'x');
    const std::string WithZero("[A]\nk=v\n\0j=w\n", 13);
    struct Row {
        const char* what;
        std::string text, section, key, expected;
    };
    const Row rows[] = {
        {"plain", "[A]\nk=v\n", "A", "k", "v"},
        {"blanks around names and values", "  [ A ]  \n  k  =  v w  \n", "A", "k", "v w"},
        {"tabs and CR LF", "[A]\r\n\tk\t=\tv\t\r\n", "A", "k", "v"},
        {"old Mac line ends", "[A]\rk=v\r", "A", "k", "v"},
        {"semicolon comment", "[A]\n;k=v\n", "A", "k", ""},
        {"hash comment", "[A]\n  # k=v\n", "A", "k", ""},
        {"no inline comments", "[A]\nk=v ; w\n", "A", "k", "v ; w"},
        {"first duplicate key wins", "[A]\nk=first\nk=second\n", "A", "k", "first"},
        {"repeated section adds keys", "[A]\nk=1\n[B]\n[A]\nj=2\nk=3\n", "A", "j", "2"},
        {"repeated section keeps first key", "[A]\nk=1\n[B]\n[A]\nj=2\nk=3\n", "A", "k", "1"},
        {"section case", "[MainWindow]\nk=v\n", "MAINWINDOW", "k", "v"},
        {"key case", "[A]\nStartImit=v\n", "A", "startimit", "v"},
        {"Cyrillic names fold too", "[\xD0\xE0\xE7\xE4\xE5\xEB]\n\xCA\xEB\xFE\xF7=v\n", "раздел", "КЛЮЧ", "v"},
        {"quotes keep blanks", "[A]\nk=\"  v  \"\n", "A", "k", "  v  "},
        {"one quote is text", "[A]\nk=\"v\n", "A", "k", "\"v"},
        {"equals sign in a value", "[A]\nk=a=b\n", "A", "k", "a=b"},
        {"empty value", "[A]\nk=\n", "A", "k", ""},
        {"key before any section", "k=v\n[A]\n", "A", "k", ""},
        {"broken header drops its keys", "[A\nk=v\n", "A", "k", ""},
        {"line without equals sign", "[A]\nk\nk=v\n", "A", "k", "v"},
        {"missing section", "[A]\nk=v\n", "B", "k", ""},
        {"value cut at 254", "[A]\nk=" + longValue + "\n", "A", "k", std::string(254, 'x')},
        {"Windows-1251 text", "[A]\nk=\xD4\xE0\xE9\xEB &\xB8\n", "A", "k", "Файл &ё"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF[A]\nk=Файл\n", "A", "k", "Файл"},
        {"zero byte ends the text", WithZero, "A", "k", "v"},
        {"nothing after a zero byte", WithZero, "A", "j", ""},
        // Notepad's "Unicode": UTF-16 after its byte order mark.
        {"UTF-16 little endian", std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0\x24\x04\x30\x04\n\0", 20), "A", "k",
         "Фа"},
        {"UTF-16 big endian", std::string("\xFE\xFF\0[\0A\0]\0\n\0k\0=\xD8\x3D\xDE\x00", 18), "A", "k", "😀"},
        {"UTF-16 lone surrogate", std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0\x00\xD8x\0", 18), "A", "k",
         "\xEF\xBF\xBDx"},
        {"UTF-16 zero character ends the text", std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0v\0\0\0w\0", 20), "A",
         "k", "v"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IniFile::Parse(row.text).Value(row.section, row.key), row.expected) << row.what;
    }
}

TEST(IniRules, FoldCaseCoversLatinAndCyrillicCapitals) {
    EXPECT_EQ(FoldCase("ABCxyz АБВЁЯ ЄІЇЎҐ яё"), "abcxyz абвёя єіїўґ яё");
}

TEST(IniRules, RandomBytesNeverBreakTheReader) {
    std::mt19937 generator(1251);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<std::size_t>(round) * 37, '\0');
        for (char& c : bytes) c = static_cast<char>(byte(generator));
        // A few lines a reader should still find when garbage follows them.
        const IniFile file = IniFile::Parse("[MenuItems]\nmnFile=&File\n" + bytes);
        EXPECT_EQ(file.Value("MenuItems", "mnFile"), "&File");
    }
}

TEST_F(LanguageFolder, UnreadableFilesAreReportedAndGiveNothing) {
    const fs::path missing = program_ / "Language" / "Нет.lng";
    const fs::path huge = Put("Huge.lng", "[MainWindow]\nCaption=Big\n");
    fs::resize_file(huge, 100u * 1024 * 1024);  // sparse: no 100 MB written
    fs::create_directory(program_ / "Language" / "Folder.lng");
    const fs::path folder = program_ / "Language" / "Folder.lng";

    EXPECT_EQ(ReadIniValue(missing, "MainWindow", "Caption", messenger_), "");
    EXPECT_EQ(ReadIniValue(missing, "MainWindow", "Caption", messenger_), "");
    ASSERT_EQ(messenger_.shown.size(), 2u) << "every read of a missing file tells it";
    EXPECT_EQ(messenger_.shown[0].Icon, MessageIcon::Error);
    EXPECT_EQ(messenger_.shown[0].Title, "File Not Found");
    EXPECT_EQ(messenger_.shown[0].Text, missing.string() + " not found.");

    messenger_.shown.clear();
    EXPECT_EQ(ReadIniValue(huge, "MainWindow", "Caption", messenger_), "");
    EXPECT_EQ(ReadIniValue(folder, "MainWindow", "Caption", messenger_), "");
    ASSERT_EQ(messenger_.shown.size(), 2u);
    EXPECT_EQ(messenger_.shown[0].Text, RefusedIniFileText(huge, IniLoad::TooLarge));
    EXPECT_EQ(messenger_.shown[1].Text, RefusedIniFileText(folder, IniLoad::NotAFile));
}

TEST_F(LanguageFolder, MenuEntriesComeFromTheFileNames) {
    Put("English.lng", "");
    Put("a.b.lng", "");
    Put("a.lng", "");
    Put("Deutsch.LNG", "");
    Put("notes.txt", "");
    Put(".lng", "");
    fs::create_directory(program_ / "Language" / "Folder.lng");
    std::vector<std::pair<std::string, std::string>> got;
    for (const LanguageEntry& entry : ListLanguages(program_)) got.emplace_back(entry.Caption, entry.FileName);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Deutsch", "Deutsch.LNG"}, {"English", "English.lng"}, {"a", "a.lng"}};
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(ListLanguages(program_ / "nowhere").empty());
}

// The stored language is a bare name: "Deutsch" still finds "Deutsch.LNG"
// where the file system tells the case of letters apart.
TEST_F(LanguageFolder, FilesAreFoundWhateverTheCaseOfTheirNames) {
    Put("Deutsch.LNG", "[MenuItems]\nmnFile=&Datei\n");
    for (const char* name : {"Deutsch.LNG", "Deutsch.lng", "deutsch.lng"}) {
        const LanguageChoice choice = ReadLanguage(program_, name, {"mnFile"}, messenger_);
        EXPECT_TRUE(choice.Read) << name;
        EXPECT_EQ(choice.Captions.at("mnFile"), "&Datei") << name;
        EXPECT_EQ(choice.StoredName, "Deutsch") << name;
    }
    EXPECT_TRUE(messenger_.shown.empty());
    EXPECT_EQ(FindLanguageFile(program_, "Other.lng"), program_ / "Language" / "Other.lng");
}

TEST(LanguageNames, QualifyingControlsAndStoredNames) {
    const std::pair<const char*, bool> names[] = {
        {"mnFile", true}, {"mnS2", true},   {"mni9", true},   {"mnOther", true}, {"mn0", true},
        {"mn00", true},   {"mn1", false},   {"mn23", false},  {"mn4x", false},   {"mn-2", false},
        {"mn.5", false},  {"mn", false},    {"mx", false},    {"Mnfile", false}, {"mnFile2", true},
    };
    for (const auto& [name, qualifies] : names) EXPECT_EQ(QualifiesAsMenuItem(name), qualifies) << name;

    EXPECT_EQ(StoredLanguageName("English.lng"), "English");
    EXPECT_EQ(StoredLanguageName("Русский.lng"), "Русский");
    const std::pair<const char*, const char*> tips[] = {
        {"&Файл", "Файл"}, {"Save &As", "Save As"}, {"R&&D", "R&D"}, {"end&", "end"}, {"none", "none"}};
    for (const auto& [caption, tip] : tips) EXPECT_EQ(WithoutAccelerators(caption), tip) << caption;
}

TEST_F(LanguageFolder, AFileGivesItsTextsAndCaptions) {
    Put("Test.lng",
        "[Language]\nIsSlavonicLanguage = TRUE\nLocale = en\n"
        "[MainWindow]\nCaption=Mechanics\nReadOnly=read only\nStopImit=Pause\n"
        "[Objects]\nHandhold0=Ground\nBall=Sphere\n[Panels]\nMode=Tool:\n"
        "[MenuItems]\nmnFile=&File\nmn4=Separator\nmnOther=Language\nmnSave=\nmnNowhere=x\n");
    const std::vector<std::string> controls = {"mnFile", "mn4", "mnOther", "mnSave", "mnOpen"};
    const LanguageChoice choice = ReadLanguage(program_, "Test.lng", controls, messenger_);
    EXPECT_TRUE(choice.Read);
    EXPECT_TRUE(messenger_.shown.empty());
    EXPECT_EQ(choice.StoredName, "Test");
    EXPECT_TRUE(choice.Texts.Slavonic);
    EXPECT_EQ(choice.Texts.ToolkitLocale, "en");
    EXPECT_EQ(choice.Texts.CaptionBase, "Mechanics");
    EXPECT_EQ(choice.Texts.ReadOnlyMarker, "read only");
    EXPECT_EQ(choice.Texts.StopCaption, "Pause");
    EXPECT_EQ(choice.Texts.StartCaption, LanguageTexts().StartCaption) << "a missing key keeps the built-in text";
    EXPECT_EQ(choice.Texts.ZeroSupportName, "Ground");
    EXPECT_EQ(choice.Texts.Panels.at("Ball"), "Sphere");
    EXPECT_EQ(choice.Texts.Panels.at("Mode"), "Tool:");
    EXPECT_EQ(choice.Texts.Panels.at("Layer"), "Слой");
    const std::map<std::string, std::string> captions = {{"mnFile", "&File"}, {"mnOther", "Language"}};
    EXPECT_EQ(choice.Captions, captions) << "separators, empty values and unknown controls give nothing";
}

// Русский.lng repeats the built-in texts.
TEST(ShippedLanguages, RussianIsTheBuiltInLanguage) {
    TitleRecorder messenger;
    const LanguageChoice russian = ReadLanguage(fs::path(VELO_SOURCE_DIR) / "data", "Русский.lng", {}, messenger);
    ASSERT_TRUE(russian.Read);
    const LanguageTexts builtIn;
    EXPECT_EQ(std::tie(russian.Texts.CaptionBase, russian.Texts.ReadOnlyMarker, russian.Texts.StartCaption,
                       russian.Texts.StopCaption, russian.Texts.ZeroSupportName, russian.Texts.ToolkitLocale,
                       russian.Texts.Slavonic, russian.Texts.Panels),
              std::tie(builtIn.CaptionBase, builtIn.ReadOnlyMarker, builtIn.StartCaption, builtIn.StopCaption,
                       builtIn.ZeroSupportName, builtIn.ToolkitLocale, builtIn.Slavonic, builtIn.Panels));
}

// A key given twice is a slip: only the first counts.
TEST(ShippedLanguages, NoKeyIsGivenTwice) {
    for (const char* name : {"English.lng", "Русский.lng"}) {
        std::ifstream file(fs::path(VELO_SOURCE_DIR) / "data" / "Language" / fs::path(reinterpret_cast<const char8_t*>(name)));
        ASSERT_TRUE(file) << name;
        std::set<std::string> keys;
        std::string section;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line.front() == ';') continue;
            if (line.front() == '[') {
                section = FoldCase(line);
                continue;
            }
            const std::string key = section + FoldCase(line.substr(0, line.find('=')));
            EXPECT_TRUE(keys.insert(key).second) << name << ": " << Cp1251ToUtf8(key);
        }
        EXPECT_GT(keys.size(), 100u) << name;
    }
}

}  // namespace
}  // namespace velo
