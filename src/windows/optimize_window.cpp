#include "windows/optimize_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/optimize.h"
#include "model/world_ops.h"

namespace velo {

frmOptimize::frmOptimize(WorldEdit edit, QWidget* parent) : QDialog(parent), edit_(std::move(edit)) {
    setObjectName(QStringLiteral("frmOptimize"));
    setWindowTitle(QStringLiteral("Оптимизация имитации"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    chkOutside_ = new QCheckBox(QStringLiteral("Удалить объекты, находящиеся вне зоны обзора"), this);
    chkRenumber_ = new QCheckBox(QStringLiteral("Перенумеровать объекты для экономии памяти"), this);
    chkMaterials_ = new QCheckBox(QStringLiteral("Удалить неиспользуемые материалы"), this);
    for (QCheckBox* box : {chkOutside_, chkRenumber_, chkMaterials_}) {
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &frmOptimize::BoxChanged);
    }
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 300);
    progress_->setValue(0);
    layout->addWidget(progress_);
    auto* buttons = new QHBoxLayout;
    cmdOptimize_ = new QPushButton(QStringLiteral("Оптимизировать"), this);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    buttons->addStretch();
    buttons->addWidget(cmdOptimize_);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(cmdOptimize_, &QPushButton::clicked, this, &frmOptimize::Optimize);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void frmOptimize::BoxChanged() {
    progress_->setValue(0);
    cmdOptimize_->setEnabled(true);
}

void frmOptimize::Optimize() {
    const bool outside = chkOutside_->isChecked();
    const bool renumber = chkRenumber_->isChecked();
    const bool materials = chkMaterials_->isChecked();
    edit_(QStringLiteral("Оптимизация"), [&](World& world) {
        if (outside) RemoveObjectsOutsideField(world);
        if (renumber) RenumberObjects(world);
        if (materials) RemoveUnusedMaterials(world);
        ClearSelection(world);
        world.Changed = true;
    });
    // Each step leaves its box unticked and moves the bar on; the boxes
    // are unticked without resetting the bar.
    for (QCheckBox* box : {chkOutside_, chkRenumber_, chkMaterials_}) {
        const QSignalBlocker quiet(box);
        box->setChecked(false);
    }
    progress_->setValue(300);
    cmdOptimize_->setEnabled(false);
}

}  // namespace velo
