// The common dialogs of the window program: the file choices of the project
// commands and the colour choice.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "project/lifecycle.h"

class QWidget;

namespace velo {

inline constexpr const char* SimulationFilterName = "Имитация механической системы";
inline constexpr const char* AllFilesFilterName = "Все файлы";
inline constexpr const char* CelestialSceneFilterName = "Сцена небесной механики";

class QtDialogs final : public FileChooser {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<FileOpenChoice> ChooseFileToOpen(const std::string& title,
                                                   const std::filesystem::path& folder) override;
    std::optional<std::filesystem::path> ChooseFileToSave(const std::string& title,
                                                          const std::filesystem::path& folder) override;
    std::optional<std::filesystem::path> ChooseSceneToOpen(const std::string& title,
                                                           const std::filesystem::path& folder) override;
    std::optional<std::filesystem::path> ChooseSceneToSave(const std::string& title,
                                                           const std::filesystem::path& folder) override;
    // Colours are red + 256 * green + 65536 * blue.
    std::optional<std::int32_t> ChooseColour(std::int32_t initial);
    void SetParent(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_;
};

// The colour dialog, started with `initial` and with its sixteen custom
// colours set to the grey levels 17·i (i = 0..15). Nothing when cancelled.
// Colours are red + 256 * green + 65536 * blue.
std::optional<std::int32_t> ChooseColourDialog(QWidget* parent, std::int32_t initial);

// An input box with a title, a prompt and a default text; nothing when
// cancelled.
std::optional<std::string> AskForText(QWidget* parent, const std::string& title, const std::string& prompt,
                                      const std::string& text);

// "Обзор графических файлов": an existing picture file the program can show.
std::optional<std::filesystem::path> ChoosePictureFile(QWidget* parent, const std::string& title,
                                                       const std::filesystem::path& folder);

// A file to export to: a save dialog with the title, one filter ("CSV
// (*.csv)") and a suggested name, asking before it replaces a file; none
// when cancelled.
std::optional<std::filesystem::path> ChooseExportFile(QWidget* parent, const std::string& title,
                                                      const std::string& filter, const std::string& name);

// Answers from queues for tests; an empty queue means the user cancelled.
class ScriptedDialogs final : public FileChooser {
public:
    std::optional<FileOpenChoice> ChooseFileToOpen(const std::string& title,
                                                   const std::filesystem::path& folder) override;
    std::optional<std::filesystem::path> ChooseFileToSave(const std::string& title,
                                                          const std::filesystem::path& folder) override;

    std::deque<std::optional<FileOpenChoice>> OpenAnswers;
    std::deque<std::optional<std::filesystem::path>> SaveAnswers;
    int OpenCalls = 0;
    int SaveCalls = 0;
    std::string LastTitle;
};

}  // namespace velo
