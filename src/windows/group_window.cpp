#include "windows/group_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/materials_editing.h"
#include "forms/parse_number.h"
#include "model/world_ops.h"
#include "windows/material_box.h"

namespace velo {

prpGroup::prpGroup(const World& world, WorldEdit edit, GroupWindowActions actions, QWidget* parent)
    : QDialog(parent), world_(world), edit_(std::move(edit)), actions_(std::move(actions)) {
    setObjectName(QStringLiteral("prpGroup"));
    setWindowTitle(QStringLiteral("Свойства группы"));
    values_ = FillGroupWindow(world);

    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    for (const std::string& line : values_.Lines) list_->addItem(QString::fromStdString(line));
    layout->addWidget(list_);

    auto* form = new QFormLayout;
    cmbMaterial_ = new QComboBox(this);
    cmbMaterial_->setObjectName(QStringLiteral("cmbMaterial"));
    const std::vector<std::string> names = MaterialComboTexts(world.Materials);
    if (values_.OnlyPoints) {
        cmbMaterial_->addItem(QString::fromStdString(names.empty() ? std::string() : names[0]));
    } else {
        FillMaterialBox(*cmbMaterial_, world.Materials);
        cmbMaterial_->setCurrentIndex(values_.Material);
    }
    form->addRow(QStringLiteral("Материал:"), cmbMaterial_);
    chkThickness_ = new QCheckBox(QStringLiteral("Изменить толщину объектов"), this);
    chkThickness_->setEnabled(values_.ThicknessAvailable);
    txtThickness_ = new QLineEdit(this);
    txtThickness_->setEnabled(false);
    form->addRow(chkThickness_, txtThickness_);
    layout->addLayout(form);
    connect(chkThickness_, &QCheckBox::toggled, this, [this](bool on) {
        txtThickness_->setEnabled(on);
        txtThickness_->setText(on ? QString::fromStdString(FormatNumber(values_.Thickness)) : QString());
    });

    auto* buttons = new QHBoxLayout;
    cmdMore_ = new QPushButton(QStringLiteral("Ещё"), this);
    cmdMore_->setEnabled(values_.MoreAvailable);
    auto* more = new QMenu(cmdMore_);
    more->addAction(QStringLiteral("Выбрать связанные"), this, [this] {
        if (actions_.SelectLinked) actions_.SelectLinked();
    });
    more->addAction(QStringLiteral("Свойства подвижных"), this, [this] {
        edit_(QStringLiteral("Выбор подвижных"), [](World& w) { DeselectFixedObjects(w); });
        if (actions_.MovableProperties) actions_.MovableProperties();
        reject();
    });
    const QString count = QString::number(values_.SelectedCount);
    more->addAction(QStringLiteral("Всего объектов: ") + count, this, [this, count] {
        if (actions_.CopyText) actions_.CopyText(count);
    });
    cmdMore_->setMenu(more);
    buttons->addWidget(cmdMore_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(box, &QDialogButtonBox::accepted, this, &prpGroup::accept);
    connect(box, &QDialogButtonBox::rejected, this, &prpGroup::reject);
    buttons->addWidget(box);
    layout->addLayout(buttons);
}

void prpGroup::accept() {
    GroupChoice choice;
    choice.Material = values_.OnlyPoints ? values_.Material : cmbMaterial_->currentIndex();
    choice.ChangeThickness = chkThickness_->isChecked();
    if (choice.ChangeThickness) {
        choice.Thickness = ParseNumber(txtThickness_->text().toStdString());
        // A refused thickness is struck through and the window stays open.
        if (!(choice.Thickness >= 0) || choice.Thickness >= 1e300) {
            QFont font = txtThickness_->font();
            font.setStrikeOut(true);
            txtThickness_->setFont(font);
            return;
        }
    }
    const GroupValues initial = values_;
    edit_(QStringLiteral("Свойства группы"), [&](World& w) { ApplyGroupWindow(w, initial, choice); });
    QDialog::accept();
}

}  // namespace velo
