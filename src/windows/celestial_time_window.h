// frmHTime, "Масштаб во времени" of a celestial project: how many seconds
// of the simulation pass in one second of real time.
#pragma once

#include <QDialog>

#include "model/world.h"
#include "windows/window_edits.h"

namespace velo {

class NumberField;

class frmHTime : public QDialog {
    Q_OBJECT
public:
    frmHTime(const World& world, WorldEdit edit, QWidget* parent = nullptr);

    NumberField* TimeField() const { return txtTime_; }

    void accept() override;

private:
    WorldEdit edit_;
    NumberField* txtTime_ = nullptr;
};

}  // namespace velo
