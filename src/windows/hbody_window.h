// prpHBody, "Свойства небесного тела №": the name, radius, volume, density
// law and position of one celestial body, with its mass, density, speed,
// acceleration, momentum and force shown. The working copy in slot 0 is
// drawn in the scene in the changeable colour while the window is open.
#pragma once

#include "model/world.h"
#include "windows/property_window.h"

class QLineEdit;
class QPushButton;

namespace velo {

class NumberField;

class prpHBody : public PropertyWindow {
    Q_OBJECT
public:
    prpHBody(WindowServices services, int number, QWidget* parent = nullptr);

    const HBody& Copy() const { return copy_; }
    QPushButton* OkButton() const { return ok_; }

protected:
    void RemovePreview(World& world) override;
    void ApplyCopy(World& world) override;
    QString EditName() const override;

private:
    // Shows every value of the copy but the field being typed into.
    void ShowValues(const QWidget* typing);
    // The copy changed: the scene shows it.
    void CopyChanged(const QWidget* typing);
    void FormulaTyped(const QString& text);

    int number_;
    HBody copy_;
    HBody slotZero_;  // what slot 0 held before the window opened
    bool previewing_ = false;

    QLineEdit* txtName_ = nullptr;
    NumberField* txtR_ = nullptr;
    NumberField* txtV_ = nullptr;
    NumberField* txtM_ = nullptr;
    NumberField* txtDensity_ = nullptr;
    QLineEdit* txtRoX_ = nullptr;
    NumberField* txtSx_ = nullptr;
    NumberField* txtSy_ = nullptr;
    NumberField* txtSz_ = nullptr;
    NumberField* txtVelocity_ = nullptr;
    NumberField* txtAccel_ = nullptr;
    NumberField* txtPulse_ = nullptr;
    NumberField* txtForce_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace velo
