// The material window "Свойства материала №": name, density, colour and the
// four coefficients of every pair with the other materials, edited on the
// working copy of the parameters window. Modal over that window.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/materials_editing.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velo {

class NumberField;

// The colour dialog (red + 256·green + 65536·blue); nothing when cancelled.
using ColourChooser = std::function<std::optional<std::int32_t>(std::int32_t initial)>;
// An error message box.
using ErrorReporter = std::function<void(const std::string& text)>;

// Shows a colour on a button as a swatch that follows the font size.
void ShowColourOn(QPushButton* button, std::int32_t colour);

class frmMaterial : public QDialog {
    Q_OBJECT
public:
    frmMaterial(MaterialTable& copy, int index, const UnitSystem& units, ColourChooser chooseColour,
                ErrorReporter reportError, QWidget* parent = nullptr);

    QLineEdit* NameField() const { return txtName_; }
    NumberField* DensityField() const { return txtDensity_; }
    QPushButton* ColourButton() const { return cmdColour_; }
    // The field of coefficient `kind` of the pair with material j (1..count).
    NumberField* PairField(int j, int kind) const;
    QTableWidget* Grid() const { return grid_; }

    // "OK": the checks, then the copy takes the values.
    void accept() override;

private:
    QWidget* MakePairsPage(const UnitSystem& units);
    QWidget* MakeGridPage(const UnitSystem& units);

    MaterialTable& copy_;
    int index_;
    NumberLocale locale_;
    MaterialWindowValues values_;
    ColourChooser chooseColour_;
    ErrorReporter reportError_;
    QLineEdit* txtName_ = nullptr;
    NumberField* txtDensity_ = nullptr;
    QPushButton* cmdColour_ = nullptr;
    std::vector<std::vector<NumberField*>> pairs_;  // [j][kind], j = 1..count
    QTableWidget* grid_ = nullptr;
};

}  // namespace velo
