#include "platform/dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QFileDialog>
#include <QImageReader>
#include <QInputDialog>
#include <QLineEdit>
#include <QString>

namespace velo {

namespace {

QString SimulationFilter() {
    return QString::fromUtf8(SimulationFilterName) + QStringLiteral(" (*.qvs)");
}

QString CelestialSceneFilter() {
    return QString::fromUtf8(CelestialSceneFilterName) + QStringLiteral(" (*.json)");
}

QString FolderText(const std::filesystem::path& folder) {
    return QString::fromStdString(folder.string());
}

}  // namespace

std::optional<FileOpenChoice> QtDialogs::ChooseFileToOpen(const std::string& title,
                                                          const std::filesystem::path& folder) {
    QFileDialog dialog(parent_, QString::fromStdString(title), FolderText(folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({SimulationFilter(), QString::fromUtf8(AllFilesFilterName) + QStringLiteral(" (*)")});
    // The desktop's own dialogs have no read-only box; Qt's dialog gets one
    // under its file list.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QCheckBox* readOnly = nullptr;
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        readOnly = new QCheckBox(QStringLiteral("Только чтение"), &dialog);
        readOnly->setObjectName(QStringLiteral("readOnlyBox"));
        grid->addWidget(readOnly, grid->rowCount(), 0, 1, -1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FileOpenChoice{std::filesystem::path(dialog.selectedFiles().front().toStdString()),
                          readOnly && readOnly->isChecked()};
}

std::optional<std::filesystem::path> QtDialogs::ChooseFileToSave(const std::string& title,
                                                                 const std::filesystem::path& folder) {
    QFileDialog dialog(parent_, QString::fromStdString(title), FolderText(folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(SimulationFilter());
    // ".qvs" is appended by the save command to a name without any dot; the
    // dialog must not add a suffix of its own.
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

std::optional<std::filesystem::path> QtDialogs::ChooseSceneToOpen(const std::string& title,
                                                                  const std::filesystem::path& folder) {
    QFileDialog dialog(parent_, QString::fromStdString(title), FolderText(folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({CelestialSceneFilter(), QString::fromUtf8(AllFilesFilterName) + QStringLiteral(" (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

std::optional<std::filesystem::path> QtDialogs::ChooseSceneToSave(const std::string& title,
                                                                  const std::filesystem::path& folder) {
    QFileDialog dialog(parent_, QString::fromStdString(title), FolderText(folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(CelestialSceneFilter());
    // ".json" is appended by the command to a name without any dot.
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

std::optional<std::int32_t> QtDialogs::ChooseColour(std::int32_t initial) { return ChooseColourDialog(parent_, initial); }

std::optional<std::int32_t> ChooseColourDialog(QWidget* parent, std::int32_t initial) {
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, QColor(17 * i, 17 * i, 17 * i));
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid()) return std::nullopt;
    return chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
}

std::optional<std::string> AskForText(QWidget* parent, const std::string& title, const std::string& prompt,
                                      const std::string& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, QString::fromStdString(title), QString::fromStdString(prompt),
                                                 QLineEdit::Normal, QString::fromStdString(text), &ok);
    if (!ok) return std::nullopt;
    return answer.toStdString();
}

std::optional<std::filesystem::path> ChoosePictureFile(QWidget* parent, const std::string& title,
                                                       const std::filesystem::path& folder) {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    }
    const QString filter = QStringLiteral("Рисунки (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;") +
                           QString::fromUtf8(AllFilesFilterName) + QStringLiteral(" (*)");
    const QString chosen = QFileDialog::getOpenFileName(parent, QString::fromStdString(title), FolderText(folder), filter);
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(chosen.toStdString());
}

std::optional<FileOpenChoice> ScriptedDialogs::ChooseFileToOpen(const std::string& title,
                                                                const std::filesystem::path&) {
    ++OpenCalls;
    LastTitle = title;
    if (OpenAnswers.empty()) return std::nullopt;
    auto answer = OpenAnswers.front();
    OpenAnswers.pop_front();
    return answer;
}

std::optional<std::filesystem::path> ScriptedDialogs::ChooseFileToSave(const std::string& title,
                                                                       const std::filesystem::path&) {
    ++SaveCalls;
    LastTitle = title;
    if (SaveAnswers.empty()) return std::nullopt;
    auto answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
}

}  // namespace velo

namespace velo {

std::optional<std::filesystem::path> ChooseExportFile(QWidget* parent, const std::string& title,
                                                      const std::string& filter, const std::string& name) {
    const QString chosen = QFileDialog::getSaveFileName(parent, QString::fromStdString(title),
                                                        QString::fromStdString(name), QString::fromStdString(filter));
    if (chosen.isEmpty()) return std::nullopt;
    // As UTF-16: a narrow string would pass through the code page on
    // Windows and lose a folder named in Cyrillic.
    return std::filesystem::path(chosen.toStdU16String());
}

}  // namespace velo
