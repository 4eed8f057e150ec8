// The preferences: defaults written at the first start, the value rules of
// the stored texts, damaged values, the writes at the end, and the rules of
// the settings windows.
#include <gtest/gtest.h>

#include <string>

#include "prefs/settings_choices.h"
#include "prefs/settings_store.h"

namespace velo {
namespace {

const std::filesystem::path ProgramFolder = "/opt/velo";

StartupSettings StartWith(MemorySettingsStore& store) { return ReadSettingsAtStart(store, ProgramFolder, NumberLocale{}); }

TEST(SettingsStore, FirstStartWritesEveryStoredDefaultWithItsNul) {
    MemorySettingsStore store;
    const StartupSettings read = StartWith(store);
    EXPECT_EQ(store.Texts.at("Reserved"), " ");
    EXPECT_EQ(store.WriteOrder.front(), "Reserved");
    for (const SettingDefinition& setting : SettingsTable()) {
        SCOPED_TRACE(setting.Name);
        const bool stored = setting.Write == SettingWrite::AtStart || setting.Write == SettingWrite::AtExit;
        ASSERT_EQ(store.Texts.count(setting.Name), stored ? 1u : 0u);
        if (stored) {
            EXPECT_EQ(store.Texts.at(setting.Name), DefaultSettingText(setting, ProgramFolder) + '\0');
        }
    }
    EXPECT_EQ(store.Texts.at("Latency"), std::string("0\0", 2));
    EXPECT_EQ(store.Texts.at("UseGDI+"), std::string("True\0", 5));
    EXPECT_EQ(store.Texts.at("Imitations"), (ProgramFolder / "Saves").string() + '\0');
    EXPECT_EQ(std::get<std::string>(read.Values.at("Descriptions")), ProgramFolder.string());
    EXPECT_EQ(std::get<int>(read.Values.at("StartImitType")), 1);
    EXPECT_EQ(std::get<double>(read.Values.at("GradientDensity")), 0.2);
    EXPECT_TRUE(read.Notes.empty());
    // The order of the start-up reading.
    EXPECT_EQ(store.WriteOrder[1], "Language");
    EXPECT_EQ(store.WriteOrder.back(), "UseGDI+");

    // The next start finds every value and writes only "Reserved".
    store.WriteOrder.clear();
    const StartupSettings again = StartWith(store);
    EXPECT_EQ(store.WriteOrder, std::vector<std::string>{"Reserved"});
    EXPECT_EQ(again.Values, read.Values);
}

TEST(SettingsStore, StoredTextsReadByTheValueRules) {
    const struct {
        const char* Name;
        std::string Stored;
        SettingValue Expected;
        bool Noted;
    } cases[] = {
        {"Latency", "300", 255, true},
        {"Latency", "-7.9", 8, true},
        {"Latency", "7.9", 7, true},
        {"Latency", "1e300", 255, true},
        {"Latency", "abc", 0, true},
        {"Pipeline", "abc", 100, true},  // no number: the default, not a crippled run
        {"MiddleMouseKey", "abc", 1, true},
        {"BallSize", "", 2, true},
        {"Pipeline", " .5", 1, true},
        {"Latency", std::string("20\0", 3), 20, false},
        {"MiddleMouseKey", "2", 2, false},
        {"StartImitType", "0", 0, false},
        {"Pipeline", "250", 250, false},
        {"Pipeline", "12,6", 13, true},
        {"Pipeline", "0", 1, true},   // a run with no step per tick would never advance
        {"Pipeline", "-50", 1, true},
        {"Pipeline", "2147483647", 100000, true},  // a batch that size would never end
        {"Grid", " TRUE ", true, false},
        {"Grid", "true", true, false},
        {"Grid", "1", false, true},
        {"AllowMoving", "False", false, false},
        {"AllowMoving", "", false, true},
        {"UseGDI+", std::string("True\0", 5), true, false},
        {"Language", "English", std::string("English"), false},
        {"ShowSeparators", "False", false, false},  // read back when present
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        store.Texts[c.Name] = c.Stored;
        const StartupSettings read = StartWith(store);
        EXPECT_EQ(read.Values.at(c.Name), c.Expected) << c.Name << " " << c.Stored;
        EXPECT_EQ(!read.Notes.empty(), c.Noted) << c.Name << " " << c.Stored;
        EXPECT_EQ(store.Texts.at(c.Name), c.Stored) << "a value that is there is not rewritten";
    }
}

TEST(SettingsStore, TooLongValueCountsAsMissing) {
    MemorySettingsStore store;
    store.Texts["Imitations"] = std::string(MaxSettingLength + 1, 'x');
    store.Texts["Backgrounds"] = std::string(MaxSettingLength, 'y');
    // The limit counts characters: 1024 Cyrillic letters are 2048 bytes.
    std::string cyrillic;
    for (std::size_t i = 0; i < MaxSettingLength; ++i) cyrillic += "ж";
    store.Texts["Descriptions"] = cyrillic;
    const StartupSettings read = StartWith(store);
    EXPECT_EQ(std::get<std::string>(read.Values.at("Descriptions")), cyrillic);
    EXPECT_TRUE(WriteSetting(store, *FindSetting("Language"), cyrillic));
    EXPECT_FALSE(WriteSetting(store, *FindSetting("Language"), cyrillic + "ж"));
    EXPECT_EQ(std::get<std::string>(read.Values.at("Imitations")), (ProgramFolder / "Saves").string());
    EXPECT_EQ(store.Texts.at("Imitations"), (ProgramFolder / "Saves").string() + '\0');
    EXPECT_EQ(std::get<std::string>(read.Values.at("Backgrounds")), std::string(MaxSettingLength, 'y'));
    ASSERT_EQ(read.Notes.size(), 1u);
    EXPECT_NE(read.Notes[0].find("Imitations"), std::string::npos);
}

TEST(SettingsStore, StoreRefusingWritesStillGivesEveryDefault) {
    MemorySettingsStore store;
    store.RefuseWrites = true;
    const StartupSettings read = StartWith(store);
    EXPECT_EQ(read.Values.size(), SettingsTable().size());
    EXPECT_EQ(std::get<int>(read.Values.at("Pipeline")), 100);
}

TEST(SettingsStore, WrittenValuesSurviveTheNextStart) {
    MemorySettingsStore store;
    StartWith(store);
    const std::pair<const char*, SettingValue> changes[] = {
        {"Pipeline", 500}, {"Latency", 20}, {"UseGDI+", false}, {"Language", std::string("English")},
        {"HideSystemPanel", true}, {"StartImitType", 2},
    };
    for (const auto& [name, value] : changes) {
        ASSERT_TRUE(WriteSetting(store, *FindSetting(name), value));
        EXPECT_EQ(store.Texts.at(name).find('\0'), std::string::npos) << "a written value has no NUL";
    }
    EXPECT_EQ(store.Texts.at("UseGDI+"), "False");
    const StartupSettings read = StartWith(store);
    for (const auto& [name, value] : changes) EXPECT_EQ(read.Values.at(name), value) << name;
    EXPECT_FALSE(WriteSetting(store, *FindSetting("Language"), std::string(MaxSettingLength + 1, 'z')));
    EXPECT_EQ(store.Texts.at("Language"), "English");
}

TEST(SettingsStore, UserFoldersReplaceTheProgramsDefaults) {
    const struct {
        UserFolders User;
        std::string Imitations, Descriptions, Backgrounds;
    } cases[] = {
        {{}, (ProgramFolder / "Saves").string(), ProgramFolder.string(), DefaultBackgroundsFolder},
        {{PathOfSettingText("/home/u/Документы"), "/home/u/Pictures"}, "/home/u/Документы", "/home/u/Документы",
         "/home/u/Pictures"},
        {{"", "/home/u/Pictures"}, (ProgramFolder / "Saves").string(), ProgramFolder.string(), "/home/u/Pictures"},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        const StartupSettings read = ReadSettingsAtStart(store, ProgramFolder, NumberLocale{}, c.User);
        EXPECT_EQ(std::get<std::string>(read.Values.at("Imitations")), c.Imitations);
        EXPECT_EQ(std::get<std::string>(read.Values.at("Descriptions")), c.Descriptions);
        EXPECT_EQ(std::get<std::string>(read.Values.at("Backgrounds")), c.Backgrounds);
        EXPECT_EQ(store.Texts.at("Imitations"), c.Imitations + '\0');
        EXPECT_EQ(PathOfSettingText(c.Imitations), std::filesystem::path(std::u8string(
                                                        c.Imitations.begin(), c.Imitations.end())));
    }
}

TEST(SettingsStore, FoldersWrittenAtExitWithoutLeadingBlanks) {
    MemorySettingsStore store;
    SettingValues values = StartWith(store).Values;
    values["Imitations"] = std::string("  /home/user/scenes");
    values["Backgrounds"] = std::string(MaxSettingLength + 5, 'p');
    store.WriteOrder.clear();
    WriteFoldersAtExit(store, values);
    EXPECT_EQ(store.Texts.at("Imitations"), "/home/user/scenes");
    EXPECT_EQ(store.Texts.at("Descriptions"), ProgramFolder.string());
    EXPECT_EQ(store.WriteOrder, (std::vector<std::string>{"Imitations", "Descriptions"}));
}

// What the box and the list show for a stored value, and what OK stores
// when the user left them as shown or set them anew.
TEST(SettingsChoices, BoxAndListOfANumberSetting) {
    const struct {
        int Value, Entries, WhenOff;
        bool Checked;
        int Index;
        bool UserChecks;
        int UserIndex, Stored;
    } cases[] = {
        {0, 2, 0, false, 0, false, 0, 0},
        {1, 2, 0, true, 0, true, 0, 1},
        {2, 2, 0, true, 1, true, 1, 2},
        {0, 3, 1, false, 1, false, 1, 0},
        {3, 3, 1, true, 2, true, 2, 3},
        {7, 2, 0, false, 0, false, 0, 7},      // beyond the list: none, kept untouched
        {255, 2, 0, false, 0, false, 1, 255},  // the list moves while the box is off
        {-4, 3, 1, false, 1, false, 1, -4},
        {7, 2, 0, false, 0, true, 1, 2},  // the user chooses an entry
        {2, 2, 0, true, 1, true, 0, 1},
        {2, 2, 0, true, 1, false, 1, 0},
        {0, 2, 0, false, 0, true, 0, 1},
    };
    for (const auto& c : cases) {
        const ListChoice choice = ChoiceOfSetting(c.Value, c.Entries, c.WhenOff);
        EXPECT_EQ(choice.Checked, c.Checked) << c.Value;
        EXPECT_EQ(choice.Index, c.Index) << c.Value;
        EXPECT_EQ(SettingOfChoice(choice, c.UserChecks, c.UserIndex), c.Stored) << c.Value;
    }
}

TEST(SettingsChoices, SlidersFieldsAndFrameRate) {
    EXPECT_EQ(HalftonePositionOfWidth(0.2), 8);
    EXPECT_EQ(HalftonePositionOfWidth(0.9), 10);
    EXPECT_EQ(HalftonePositionOfWidth(-1), 0);
    EXPECT_DOUBLE_EQ(HalftoneWidthOfPosition(8), 0.2);
    const std::pair<double, int> rates[] = {{5, 10}, {10, 10}, {55.4, 55}, {100, 100}, {250, 100}, {1e300, 100}};
    for (const auto& [entered, rate] : rates) EXPECT_EQ(FrameRateOfEntry(entered), rate) << entered;
    const std::pair<double, bool> limits[] = {{1, true},       {0.4, false},    {0.6, true},   {-3, false},
                                              {100000, true}, {100001, false}, {1e300, false}};
    for (const auto& [value, accepted] : limits) EXPECT_EQ(StepLimitAccepted(value), accepted) << value;
    const std::pair<double, bool> latencies[] = {{0, true}, {255.5, true}, {256, false}, {-0.5, false}, {1e300, false}};
    for (const auto& [value, accepted] : latencies) EXPECT_EQ(LatencyAccepted(value), accepted) << value;
}

}  // namespace
}  // namespace velo
