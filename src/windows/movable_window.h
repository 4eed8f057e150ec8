// The properties of the movable objects of a selection, and the thread
// window. Both read the World; the first changes only the material.
#pragma once

#include <QDialog>

#include "windows/window_edits.h"

class QCheckBox;
class QComboBox;

namespace velo {

class prpMovable : public QDialog {
    Q_OBJECT
public:
    prpMovable(const World& world, WorldEdit edit, QWidget* parent = nullptr);
    QCheckBox* MaterialBox() const { return chkMaterial_; }
    QComboBox* Material() const { return cmbMaterial_; }
    void accept() override;

private:
    WorldEdit edit_;
    QCheckBox* chkMaterial_ = nullptr;
    QComboBox* cmbMaterial_ = nullptr;
};

class prpThread : public QDialog {
    Q_OBJECT
public:
    prpThread(const World& world, int number, QWidget* parent = nullptr);
};

}  // namespace velo
