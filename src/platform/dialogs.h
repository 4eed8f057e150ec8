// The common dialogs of the window program behind an interface, so that the
// file commands can be tested with scripted choices.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

class QWidget;

namespace velo {

struct OpenChoice {
    std::string Path;
    bool ReadOnly = false;  // the dialog's read-only box
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Open dialog for simulation files: filters "Имитация механической
    // системы" (*.qvs) and "Все файлы" (*.*).
    virtual std::optional<OpenChoice> OpenSimulation(const std::string& title,
                                                     const std::string& folder) = 0;
    // Save dialog for simulation files with overwrite confirmation.
    virtual std::optional<std::string> SaveSimulation(const std::string& folder) = 0;
    // Colour choice; colours are red + 256 * green + 65536 * blue.
    virtual std::optional<std::int32_t> ChooseColour(std::int32_t initial) = 0;
};

inline constexpr const char* OpenTitle = "Открытие имитации";
inline constexpr const char* OpenInNewWindowTitle = "Открытие имитации в новом окне";
inline constexpr const char* SaveTitle = "Сохранение имитации";
inline constexpr const char* SimulationFilterName = "Имитация механической системы";
inline constexpr const char* AllFilesFilterName = "Все файлы";

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<OpenChoice> OpenSimulation(const std::string& title,
                                             const std::string& folder) override;
    std::optional<std::string> SaveSimulation(const std::string& folder) override;
    std::optional<std::int32_t> ChooseColour(std::int32_t initial) override;
    void SetParent(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_;
};

// Answers from queues; an empty queue means the user cancelled.
class ScriptedDialogs final : public Dialogs {
public:
    std::optional<OpenChoice> OpenSimulation(const std::string& title,
                                             const std::string& folder) override;
    std::optional<std::string> SaveSimulation(const std::string& folder) override;
    std::optional<std::int32_t> ChooseColour(std::int32_t initial) override;

    std::deque<std::optional<OpenChoice>> OpenAnswers;
    std::deque<std::optional<std::string>> SaveAnswers;
    std::deque<std::optional<std::int32_t>> ColourAnswers;
    int OpenCalls = 0;
    int SaveCalls = 0;
    std::string LastTitle;
    std::string LastFolder;
};

}  // namespace velo
