// frmOptimize, "Оптимизация имитации": the three clean-ups of the scene,
// run in order with a progress bar. Modeless.
#pragma once

#include <QDialog>

#include "windows/window_edits.h"

class QCheckBox;
class QProgressBar;
class QPushButton;

namespace velo {

class frmOptimize : public QDialog {
    Q_OBJECT
public:
    frmOptimize(WorldEdit edit, QWidget* parent = nullptr);

    QCheckBox* RemoveOutside() const { return chkOutside_; }
    QCheckBox* Renumber() const { return chkRenumber_; }
    QCheckBox* RemoveMaterials() const { return chkMaterials_; }
    QPushButton* Run() const { return cmdOptimize_; }
    QProgressBar* Progress() const { return progress_; }

    void Optimize();

private:
    void BoxChanged();

    WorldEdit edit_;
    QCheckBox* chkOutside_ = nullptr;
    QCheckBox* chkRenumber_ = nullptr;
    QCheckBox* chkMaterials_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cmdOptimize_ = nullptr;
};

}  // namespace velo
