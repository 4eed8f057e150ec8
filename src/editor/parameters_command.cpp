// "Параметры имитации" (mnParam, Ctrl+P, the middle button over empty
// space): the parameters window of a mechanical project, modal over the
// main window, with the program's dialogs, history, background and
// template behind it.
#include <QApplication>

#include "editor/main_window.h"
#include "editor/scene_editor.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "windows/parameters_window.h"

namespace velo {

void SceneEditor::ParametersCommand() {
    if (Blocked() || parameters_) return;
    // A celestial project's parameters are those of its own window.
    if (window_.world().ProjectKind != ProjectMechanical) return;
    FinishGesture();

    ParameterWindowActions actions;
    actions.Edit = WindowEdit();
    actions.ReportError = [this](const std::string& text) {
        if (window_.services_.Messages) window_.services_.Messages->Show(MessageIcon::Error, text);
    };
    actions.ChooseColour = [](std::int32_t initial) {
        return ChooseColourDialog(QApplication::activeWindow(), initial);
    };
    actions.ChoosePicture = [this] {
        return ChoosePictureFile(QApplication::activeWindow(), BackgroundBrowseTitle, window_.project().LastFolder);
    };
    actions.AskText = [](const std::string& title, const std::string& prompt, const std::string& text) {
        return AskForText(QApplication::activeWindow(), title, prompt, text);
    };
    actions.StoreBackground = [this](const std::filesystem::path& picture) {
        return window_.lifecycle().StoreBackground(picture);
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
