#include "windows/file_properties_window.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include "forms/file_properties.h"

namespace velo {
namespace {

inline constexpr int AuthorTextCharacters = 80;

// The window's step of the history: the author text and the description
// before and after. The step is pushed when the window closes, with both
// already in place.
class FilePropertiesStep : public QUndoCommand {
public:
    FilePropertiesStep(Lifecycle& life, FileInformation before, FileInformation after,
                       std::function<void()> afterChange)
        : QUndoCommand(QStringLiteral("Свойства имитации")),
          life_(life),
          before_(std::move(before)),
          after_(std::move(after)),
          afterChange_(std::move(afterChange)) {}

    void undo() override { Put(before_); }
    void redo() override {
        if (std::exchange(first_, false)) return;
        Put(after_);
    }

private:
    void Put(const FileInformation& information) {
        life_.PutFileInformation(information);
        if (afterChange_) afterChange_();
    }

    Lifecycle& life_;
    FileInformation before_;
    FileInformation after_;
    std::function<void()> afterChange_;
    bool first_ = true;
};

std::optional<std::filesystem::path> AskForDocument(QWidget* parent, const std::filesystem::path& folder) {
    const QStringList filters = {
        QStringLiteral("Файл описания (HTM, HTML, MHT, TXT) (*.htm *.html *.mht *.txt *.HTM *.HTML *.MHT *.TXT)"),
        QStringLiteral("Веб-страница (HTM, HTML) (*.htm *.html *.HTM *.HTML)"),
        QStringLiteral("Веб-архив (MHT) (*.mht *.MHT)"),
        QStringLiteral("Файл любого типа (*)"),
    };
    const QString chosen = QFileDialog::getOpenFileName(parent, QStringLiteral("Выбор описания имитации"),
                                                        QString::fromStdString(folder.string()),
                                                        filters.join(QStringLiteral(";;")));
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(chosen.toStdString());
}

}  // namespace

frmFileProperties::frmFileProperties(FilePropertiesServices services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)), chooser_(AskForDocument) {
    setObjectName(QStringLiteral("frmFileProperties"));
    setWindowTitle(QStringLiteral("Cвойства имитации"));
    setAttribute(Qt::WA_DeleteOnClose);
    Lifecycle& life = *services_.Life;
    const World& world = life.TheWorld();
    const Project& project = life.TheProject();
    before_ = life.CurrentFileInformation();

    auto* layout = new QVBoxLayout(this);
    auto* file = new QLabel(life.IsUntitled() ? QStringLiteral("Файл ещё не сохранён")
                                              : QString::fromStdString(project.CurrentPath.string()),
                            this);
    file->setObjectName(QStringLiteral("lblFile"));
    file->setWordWrap(true);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(file);
    lblSize_ = new QLabel(QString::fromStdString(FileSizeText(services_.FileSize)), this);
    lblSize_->setObjectName(QStringLiteral("lblSize"));
    layout->addWidget(lblSize_);
    if (project.ReadOnly) layout->addWidget(new QLabel(QStringLiteral("Открыт только для чтения"), this));
    lblGravity_ = new QLabel(QString::fromStdString(GravityDirectionText(world.Params.Gravity)), this);
    lblGravity_->setObjectName(QStringLiteral("lblGravity"));
    layout->addWidget(lblGravity_);

    auto* objects = new QGroupBox(QStringLiteral("Объекты"), this);
    auto* grid = new QGridLayout(objects);
    const std::vector<KindCount> counts = CountObjectsByKind(world);
    int row = 0;
    auto addRow = [&](const QString& caption, int count) {
        auto* name = new QLabel(caption + QLatin1Char(':'), objects);
        auto* number = new QLabel(QString::number(count), objects);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(name, row, 0);
        grid->addWidget(number, row, 1);
        countLabels_ << name << number;
        ++row;
    };
    for (const KindCount& kind : counts) addRow(QString::fromStdString(kind.Caption), kind.Count);
    addRow(QStringLiteral("Всего"), TotalObjects(counts));
    grid->setColumnStretch(0, 1);
    layout->addWidget(objects);

    auto* authorCaption = new QLabel(QStringLiteral("Автор и другая информация"), this);
    txtAuthor_ = new QLineEdit(QString::fromStdString(AuthorFieldText(project.AuthorText)), this);
    txtAuthor_->setObjectName(QStringLiteral("txtAuthor"));
    txtAuthor_->setMaxLength(AuthorTextCharacters);
    authorCaption->setBuddy(txtAuthor_);
    layout->addWidget(authorCaption);
    layout->addWidget(txtAuthor_);

    lblDescription_ = new QLabel(this);
    lblDescription_->setObjectName(QStringLiteral("lblDescription"));
    layout->addWidget(lblDescription_);
    ShowDescriptionState();

    auto* buttons = new QHBoxLayout;
    cmdWatermark_ = new QPushButton(QStringLiteral("Водяной знак..."), this);
    cmdWatermark_->setObjectName(QStringLiteral("cmdWatermark"));
    // The watermark editor is not part of this program yet.
    cmdWatermark_->setEnabled(false);
    cmdDescription_ = new QPushButton(QStringLiteral("Выбрать описание"), this);
    cmdDescription_->setObjectName(QStringLiteral("cmdDescription"));
    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setDefault(true);
    buttons->addWidget(cmdWatermark_);
    buttons->addWidget(cmdDescription_);
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(cmdDescription_, &QPushButton::clicked, this, &frmFileProperties::ChooseDescription);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QStringList frmFileProperties::CountLines() const {
    QStringList lines;
    for (int i = 0; i + 1 < countLabels_.size(); i += 2) {
        lines << countLabels_[i]->text() + QLatin1Char(' ') + countLabels_[i + 1]->text();
    }
    return lines;
}

void frmFileProperties::ShowDescriptionState() {
    const std::string& ext = services_.Life->TheWorld().Params.DescriptionExt;
    const bool blank = ext.find_first_not_of(' ') == std::string::npos;
    lblDescription_->setText(blank ? QStringLiteral("Описание: нет")
                                   : QStringLiteral("Описание: документ %1")
                                         .arg(QString::fromStdString(ext).trimmed().toUpper()));
}

void frmFileProperties::ChooseDescription() {
    Lifecycle& life = *services_.Life;
    const std::optional<std::filesystem::path> document = chooser_(this, life.TheProject().DescriptionFolder);
    if (!document) return;
    life.ChooseDescription(*document);  // a refusal has told the user why
    ShowDescriptionState();
}

void frmFileProperties::done(int result) {
    if (!std::exchange(finished_, true)) Finish();
    QDialog::done(result);
}

void frmFileProperties::Finish() {
    Lifecycle& life = *services_.Life;
    const std::string typed = txtAuthor_->text().toStdString();
    if (!SameAuthorText(before_.AuthorText, typed)) life.TheProject().AuthorText = AuthorTextOfLength80(typed);
    FileInformation after = life.CurrentFileInformation();
    if (after == before_) return;
    life.MarkChanged();
    if (services_.History) {
        services_.History->push(new FilePropertiesStep(life, before_, std::move(after), services_.AfterChange));
    }
    if (services_.AfterChange) services_.AfterChange();
}

}  // namespace velo
