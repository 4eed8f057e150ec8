// Fakes for the file commands: a messenger with scripted answers that
// records every text, a file chooser with queued answers, a window that
// records what it was told, and a scratch folder per test.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "project/lifecycle.h"
#include "project/temp_folders.h"
#include "model/messages.h"
#include "model/path_text.h"

namespace velo::testing {

class ScriptedMessenger final : public Messenger {
public:
    void Show(MessageIcon, const std::string& text) override { Shown.push_back(text); }
    bool AskYesNo(MessageIcon, const std::string& text) override {
        Asked.push_back(text);
        if (YesNo.empty()) return false;
        const bool answer = YesNo.front();
        YesNo.pop_front();
        return answer;
    }
    ThreeWayAnswer AskThreeWay(MessageIcon, const std::string& text) override {
        Asked.push_back(text);
        if (ThreeWay.empty()) return ThreeWayAnswer::Cancel;
        const ThreeWayAnswer answer = ThreeWay.front();
        ThreeWay.pop_front();
        return answer;
    }
    bool WasShown(const std::string& text) const {
        for (const std::string& s : Shown) {
            if (s.find(text) != std::string::npos) return true;
        }
        return false;
    }

    std::deque<bool> YesNo;
    std::deque<ThreeWayAnswer> ThreeWay;
    std::vector<std::string> Shown;
    std::vector<std::string> Asked;
};

class ScriptedChooser final : public FileChooser {
public:
    std::optional<FileOpenChoice> ChooseFileToOpen(const std::string& title,
                                                   const std::filesystem::path& folder) override {
        Titles.push_back(title);
        Folders.push_back(folder);
        if (Opens.empty()) return std::nullopt;
        auto answer = Opens.front();
        Opens.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> ChooseFileToSave(const std::string& title,
                                                          const std::filesystem::path& folder) override {
        Titles.push_back(title);
        Folders.push_back(folder);
        ++SaveCalls;
        if (Saves.empty()) return std::nullopt;
        auto answer = Saves.front();
        Saves.pop_front();
        return answer;
    }

    std::deque<std::optional<FileOpenChoice>> Opens;
    std::deque<std::optional<std::filesystem::path>> Saves;
    std::vector<std::string> Titles;
    std::vector<std::filesystem::path> Folders;
    int SaveCalls = 0;
};

class RecordingWindow final : public ProjectWindow {
public:
    void ShowTime(const std::string& text) override { Time = text; }
    void ShowCaption(const std::string& text) override { Caption = text; }
    void ShowProjectKind(int kind) override { Kind = kind; }
    void SetRestoreAvailable(bool available) override { RestoreAvailable = available; }
    void SetEnabled(bool enabled) override { Enabled = enabled; }
    bool StartInstance(const std::optional<std::filesystem::path>& file) override {
        Started.push_back(file ? file->string() : std::string("<none>"));
        return true;
    }

    std::string Time;
    std::string Caption;
    int Kind = -1;
    bool RestoreAvailable = false;
    bool Enabled = true;
    std::vector<std::string> Started;
};

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline ScratchFolder::ScratchFolder(const std::string& name)
    : path_(std::filesystem::temp_directory_path() / PathOf("velo_test_" + name + "_" +
                                                                std::to_string(CurrentFolderEnvironment().ProcessId))) {
    // The process number keeps tests that run side by side out of each other's folders.
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
}

inline ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace velo::testing
