// The rod window "Свойства стержня №" with its two companion windows: the
// section window "Сечение стержня" and the centre-of-mass window "Свойства
// центра масс системы (в ДСК)". The rod window edits a working copy that
// the scene shows in slot 0; the companions belong to it, edit the same copy
// and close with it.
#pragma once

#include <QDialog>

#include <vector>

#include "forms/peg_form.h"
#include "windows/property_window.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace velo {

class NumberField;
class SectionPicture;

class prpPeg2 : public QDialog {
    Q_OBJECT
public:
    explicit prpPeg2(QWidget* owner);

    QComboBox* Shape() const { return cmbShape_; }
    NumberField* Width() const { return txtD_; }
    NumberField* Depth() const { return txtD2_; }
    QCheckBox* Uneven() const { return chkUneven_; }
    // Shows the section of the copy: shape, width and depth in the fields
    // (all but `typing`) and the picture in the material's colour.
    void Show(const Peg& copy, int colour, const NumberField* typing);

private:
    QComboBox* cmbShape_ = nullptr;
    NumberField* txtD_ = nullptr;
    NumberField* txtD2_ = nullptr;
    QCheckBox* chkUneven_ = nullptr;
    SectionPicture* picture_ = nullptr;
};

class prpPeg3 : public QDialog {
    Q_OBJECT
public:
    explicit prpPeg3(QWidget* owner);
};

class prpPeg : public PropertyWindow {
    Q_OBJECT
public:
    prpPeg(WindowServices services, int number, QWidget* parent);

    const PegForm& Form() const { return form_; }
    prpPeg2* SectionWindow() const { return section_; }
    prpPeg3* CentreWindow() const { return centre_; }
    QLabel* CentreText() const { return Label17_; }
    QAction* FreezeItem() const { return mnNorm_; }
    QAction* CentreItem() const { return mnCentre_; }

protected:
    void RemovePreview(World& world) override;
    void ApplyCopy(World& world) override;
    QString EditName() const override;
    bool PreviewsFixedObject() const override { return false; }

private:
    NumberField* AddField(const char* name, bool shownOnly);
    void Refresh(const NumberField* typing = nullptr);
    void Show(NumberField* field, double value, const NumberField* typing);
    // Every accepted change of the copy ends here: the fields, the
    // companions and the scene show the copy again.
    void Changed(const NumberField* typing = nullptr);
    void HangToggled(bool hung);
    void StepLayer(int direction);
    void StepLaval(int direction);
    void AskFraction();
    void ShowCentreWindow();

    PegForm form_;
    std::vector<NumberField*> shownOnly_;
    NumberField* txtL_ = nullptr;
    NumberField* txtD_ = nullptr;
    NumberField* txtRo_ = nullptr;
    NumberField* txtM_ = nullptr;
    NumberField* txtV_ = nullptr;
    NumberField* txtmI_ = nullptr;
    QComboBox* ind_ = nullptr;
    NumberField* ZCoord_ = nullptr;
    NumberField* txtX1_ = nullptr;
    NumberField* txtY1_ = nullptr;
    NumberField* txtX2_ = nullptr;
    NumberField* txtY2_ = nullptr;
    NumberField* txtFi_ = nullptr;
    NumberField* txtW_ = nullptr;
    NumberField* txtE_ = nullptr;
    NumberField* txtsI_ = nullptr;
    NumberField* txtmL_ = nullptr;
    NumberField* txtmM_ = nullptr;
    NumberField* txtKinetic_ = nullptr;
    NumberField* txtPotential_ = nullptr;
    QLabel* Label17_ = nullptr;
    NumberField* txtX_ = nullptr;
    NumberField* txtY_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QCheckBox* Check2_ = nullptr;
    QCheckBox* Check3_ = nullptr;
    QGroupBox* hangFrame_ = nullptr;
    NumberField* Text3_ = nullptr;
    QAction* mnNorm_ = nullptr;
    QAction* mnCentre_ = nullptr;
    prpPeg2* section_ = nullptr;
    prpPeg3* centre_ = nullptr;
};

}  // namespace velo
