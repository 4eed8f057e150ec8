// prpGroup, "Свойства группы": the counts of the selection by kind, one
// material and one thickness for all of it.
#pragma once

#include <QDialog>

#include <functional>

#include "forms/group_properties.h"
#include "windows/window_edits.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velo {

struct GroupWindowActions {
    std::function<void()> SelectLinked;
    std::function<void()> MovableProperties;  // after the fixed objects are deselected
    std::function<void(const QString&)> CopyText;
};

class prpGroup : public QDialog {
    Q_OBJECT
public:
    prpGroup(const World& world, WorldEdit edit, GroupWindowActions actions, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QComboBox* MaterialBox() const { return cmbMaterial_; }
    QCheckBox* ThicknessBox() const { return chkThickness_; }
    QLineEdit* ThicknessField() const { return txtThickness_; }
    QPushButton* More() const { return cmdMore_; }

    void accept() override;

private:
    const World& world_;
    WorldEdit edit_;
    GroupWindowActions actions_;
    GroupValues values_;
    QListWidget* list_ = nullptr;
    QComboBox* cmbMaterial_ = nullptr;
    QCheckBox* chkThickness_ = nullptr;
    QLineEdit* txtThickness_ = nullptr;
    QPushButton* cmdMore_ = nullptr;
};

}  // namespace velo
