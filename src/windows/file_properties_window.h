// The file properties window ("Cвойства имитации", menu "Свойства" of the
// file menu): the file's size, the gravity direction, the live objects of
// each kind, the author text and the choice of the description document.
// Whatever the author field holds when the window closes becomes the
// author text; the author text and the description chosen here are one step
// of the history.
#pragma once

#include <QDialog>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "project/lifecycle.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QUndoStack;

namespace velo {

struct FilePropertiesServices {
    Lifecycle* Life = nullptr;                // the project, its author text and description
    QUndoStack* History = nullptr;            // the editor's history
    std::optional<std::uintmax_t> FileSize;   // of the project's file, when it could be measured
    std::function<void()> AfterChange;        // after the step is made, undone or redone
};

class frmFileProperties : public QDialog {
    Q_OBJECT
public:
    // Asks for the description document; nothing when the user cancels.
    using DocumentChooser =
        std::function<std::optional<std::filesystem::path>(QWidget* parent, const std::filesystem::path& folder)>;

    frmFileProperties(FilePropertiesServices services, QWidget* parent = nullptr);

    QLabel* SizeLabel() const { return lblSize_; }
    QLabel* GravityLabel() const { return lblGravity_; }
    QLabel* DescriptionLabel() const { return lblDescription_; }
    QLineEdit* AuthorField() const { return txtAuthor_; }
    QPushButton* DescriptionButton() const { return cmdDescription_; }
    QPushButton* WatermarkButton() const { return cmdWatermark_; }
    // "Шары: 3", one line per kind, then the total.
    QStringList CountLines() const;
    void SetDocumentChooser(DocumentChooser chooser) { chooser_ = std::move(chooser); }

    // Every way of closing keeps what the author field holds.
    void done(int result) override;

private:
    void ChooseDescription();
    void ShowDescriptionState();
    void Finish();

    FilePropertiesServices services_;
    FileInformation before_;
    DocumentChooser chooser_;
    bool finished_ = false;
    QLabel* lblSize_ = nullptr;
    QLabel* lblGravity_ = nullptr;
    QLabel* lblDescription_ = nullptr;
    QLineEdit* txtAuthor_ = nullptr;
    QPushButton* cmdWatermark_ = nullptr;
    QPushButton* cmdDescription_ = nullptr;
    QList<QLabel*> countLabels_;
};

}  // namespace velo
