#include "platform/dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QString>

namespace velo {

namespace {

QString SimulationFilter() {
    return QString::fromUtf8(SimulationFilterName) + QStringLiteral(" (*.qvs)");
}

}  // namespace

std::optional<OpenChoice> QtDialogs::OpenSimulation(const std::string& title,
                                                    const std::string& folder) {
    QFileDialog dialog(parent_, QString::fromStdString(title), QString::fromStdString(folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({SimulationFilter(), QString::fromUtf8(AllFilesFilterName) + QStringLiteral(" (*)")});
    // The platform dialogs have no read-only box; Qt's own dialog offers
    // the option as a setting only, so the file's attribute decides.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return OpenChoice{dialog.selectedFiles().front().toStdString(), false};
}

std::optional<std::string> QtDialogs::SaveSimulation(const std::string& folder) {
    QFileDialog dialog(parent_, QString::fromUtf8(SaveTitle), QString::fromStdString(folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(SimulationFilter());
    // The caller appends ".qvs" to a name without a dot; the dialog must
    // not do it on its own.
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::int32_t> QtDialogs::ChooseColour(std::int32_t initial) {
    QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    QColor chosen = QColorDialog::getColor(start, parent_);
    if (!chosen.isValid()) return std::nullopt;
    return chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
}

std::optional<OpenChoice> ScriptedDialogs::OpenSimulation(const std::string& title,
                                                          const std::string& folder) {
    ++OpenCalls;
    LastTitle = title;
    LastFolder = folder;
    if (OpenAnswers.empty()) return std::nullopt;
    auto answer = OpenAnswers.front();
    OpenAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::SaveSimulation(const std::string& folder) {
    ++SaveCalls;
    LastTitle = SaveTitle;
    LastFolder = folder;
    if (SaveAnswers.empty()) return std::nullopt;
    auto answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
}

std::optional<std::int32_t> ScriptedDialogs::ChooseColour(std::int32_t) {
    if (ColourAnswers.empty()) return std::nullopt;
    auto answer = ColourAnswers.front();
    ColourAnswers.pop_front();
    return answer;
}

}  // namespace velo
