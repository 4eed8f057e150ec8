// "Параметры имитации" (mnParam, Ctrl+P, the middle button over empty
// space): the parameters window of a mechanical project, modal over the
// main window, with the program's dialogs, history, background and
// template behind it.
#include <QApplication>
#include <QUndoCommand>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "editor/main_window.h"
#include "editor/scene_editor.h"
#include "persist/atomic_file.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "windows/parameters_window.h"

namespace velo {
namespace {

using PictureBytes = std::optional<std::vector<std::uint8_t>>;

// The project's background picture file as it is now; nothing when there is
// none.
PictureBytes ReadPicture(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The background picture's part of a "Параметры имитации" step: the
// project's picture file before and after. It is pushed with the World's
// step inside one macro, so that undoing the parameters puts back the
// picture they name.
class BackgroundPictureStep : public QUndoCommand {
public:
    // `report` shows a picture that cannot be written back; `shown` fits
    // the picture now in place to the scene.
    BackgroundPictureStep(std::filesystem::path path, PictureBytes before, PictureBytes after,
                          std::function<void(const std::string&)> report, std::function<void()> shown)
        : path_(std::move(path)),
          before_(std::move(before)),
          after_(std::move(after)),
          report_(std::move(report)),
          shown_(std::move(shown)) {}

    void undo() override { Put(before_); }
    void redo() override {
        // The picture was stored before the step was pushed.
        if (std::exchange(first_, false)) return;
        Put(after_);
    }

private:
    void Put(const PictureBytes& bytes) {
        std::error_code error;
        if (!bytes) {
            std::filesystem::remove(path_, error);
        } else if (const SaveResult saved = WriteFileAtomically(path_, std::span(*bytes)); !saved.Ok) {
            report_(saved.Message);
        }
        shown_();
    }

    std::filesystem::path path_;
    PictureBytes before_;
    PictureBytes after_;
    std::function<void(const std::string&)> report_;
    std::function<void()> shown_;
    bool first_ = true;
};

}  // namespace

void SceneEditor::ParametersCommand() {
    if (Blocked() || parameters_) return;
    // A celestial project's parameters are those of its own window.
    if (window_.world().ProjectKind != ProjectMechanical) return;
    FinishGesture();

    ParameterWindowActions actions;
    // A stored picture waits for the World's step to join it.
    auto picture = std::make_shared<std::optional<std::pair<PictureBytes, PictureBytes>>>();
    const std::filesystem::path picturePath = window_.services_.Folders.BackgroundPath();
    actions.Edit = [this, picture, picturePath](const QString& name, const std::function<void(World&)>& change) {
        if (!*picture) {
            WindowEdit()(name, change);
            return;
        }
        auto [before, after] = std::move(**picture);
        picture->reset();
        history_.beginMacro(name);
        auto report = [this](const std::string& text) {
            if (window_.services_.Messages) window_.services_.Messages->Show(MessageIcon::Error, text);
        };
        auto shown = [this] {
            window_.ShowBackground();
            window_.MWRefresh(false);
        };
        history_.push(new BackgroundPictureStep(picturePath, std::move(before), std::move(after), report, shown));
        WindowEdit()(name, change);
        history_.endMacro();
    };
    actions.ReportError = [this](const std::string& text) {
        if (window_.services_.Messages) window_.services_.Messages->Show(MessageIcon::Error, text);
    };
    actions.ChooseColour = [](std::int32_t initial) {
        return ChooseColourDialog(QApplication::activeWindow(), initial);
    };
    actions.ChoosePicture = [this] {
        return ChoosePictureFile(QApplication::activeWindow(), BackgroundBrowseTitle, window_.project().BackgroundFolder);
    };
    actions.AskText = [](const std::string& title, const std::string& prompt, const std::string& text) {
        return AskForText(QApplication::activeWindow(), title, prompt, text);
    };
    actions.StoreBackground = [this, picture, picturePath](const std::filesystem::path& chosen) {
        PictureBytes before = ReadPicture(picturePath);
        if (!window_.lifecycle().StoreBackground(chosen)) return false;
        *picture = std::pair{std::move(before), ReadPicture(picturePath)};
        return true;
    };
    actions.RefitBackground = [this](World&) { window_.ShowBackground(); };
    actions.WriteTemplate = [this] { return window_.lifecycle().WriteTemplate(); };
    actions.ProgramFolder = window_.services_.ProgramFolder;

    auto* parameters = new frmParam(window_.world(), std::move(actions), &window_);
    parameters->setAttribute(Qt::WA_DeleteOnClose);
    parameters_ = parameters;
    parameters->open();
}

}  // namespace velo
