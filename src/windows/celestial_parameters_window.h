// frmHParam, "Параметры имитации" of a celestial project: the unit list
// with the time scale, the physical constants with the angle unit, and the
// view angles of the observer.
#pragma once

#include <QDialog>

#include <functional>

#include "forms/celestial_parameters_form.h"
#include "windows/window_edits.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace velo {

class NumberField;

class frmHParam : public QDialog {
    Q_OBJECT
public:
    // `openTime` opens the time-scale window (modal) when the description
    // of "Время" is clicked, and tells whether it was accepted.
    frmHParam(const World& world, WorldEdit edit, std::function<bool()> openTime, QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }
    QListWidget* Quantities() const { return lstUnits_; }
    QLabel* Description() const { return lblDescription_; }
    QLineEdit* SymbolField() const { return txtSymbol_; }
    QComboBox* AngleUnits() const { return cmbAngle_; }
    QPushButton* ApplyButton() const { return apply_; }
    QLabel* ConstantUnit(int index) const { return constantUnits_[index]; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply();
    void ChooseQuantity(int quantity);
    void ShowConstantUnits();
    void Changed();
    // The view angle fields: the typed one clamped, the other one derived.
    void AngleTyped(bool horizontal, double value);

    const World& world_;
    WorldEdit edit_;
    std::function<bool()> openTime_;
    CelestialSymbols symbols_;
    int quantity_ = -1;

    QTabWidget* tabs_ = nullptr;
    QListWidget* lstUnits_ = nullptr;
    QLabel* lblDescription_ = nullptr;
    QLineEdit* txtSymbol_ = nullptr;
    QLineEdit* txtSystem_ = nullptr;
    NumberField* txtTimeScale_ = nullptr;
    NumberField* txtG_ = nullptr;
    NumberField* txtC_ = nullptr;
    NumberField* txtH_ = nullptr;
    NumberField* txtK_ = nullptr;
    QLabel* constantUnits_[4] = {nullptr, nullptr, nullptr, nullptr};
    QComboBox* cmbAngle_ = nullptr;
    NumberField* txtAngleUnit_ = nullptr;
    NumberField* txtAngleH_ = nullptr;
    NumberField* txtAngleV_ = nullptr;
    QPushButton* apply_ = nullptr;
};

}  // namespace velo
