// The ball and cylinder window prpBall: the widgets of BallForm. Every
// accepted entry changes the working copy, refreshes the other fields and
// redraws the copy in the scene.
#pragma once

#include <QPointer>

#include <array>

#include "forms/ball_form.h"
#include "windows/property_window.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace velo {

class NumberField;
class UpDown;
class infAir;

class prpBall : public PropertyWindow {
    Q_OBJECT
public:
    // Opens the window for ball (or cylinder) `number`, which must exist.
    prpBall(WindowServices services, int number, QWidget* parent = nullptr);

    const BallForm& Form() const { return form_; }
    NumberField* ValueField(BallValue value) const { return fields_[static_cast<std::size_t>(value)]; }
    NumberField* XField(int k) const { return txtX_[static_cast<std::size_t>(k)]; }
    NumberField* YField(int k) const { return txtY_[static_cast<std::size_t>(k)]; }
    NumberField* InertiaField() const { return txtJ_; }
    NumberField* LayerField() const { return ZCoord_; }
    NumberField* BindNumberField() const { return txtPeg_; }
    UpDown* LayerSpinner() const { return UpDown2_; }
    UpDown* BindSpinner() const { return UpDown1_; }
    QComboBox* ShapeList() const { return cmbBallCyl_; }
    QComboBox* MaterialList() const { return ind_; }
    QComboBox* BindList() const { return Combo1_; }
    QCheckBox* NonUniformBox() const { return Check4_; }
    QCheckBox* MarkBox() const { return Check2_; }
    QCheckBox* BindBox() const { return Check1_; }
    QLabel* LengthLabel() const { return lblLength_; }
    QPushButton* MoreButton() const { return cmdMore_; }
    QMenu* MoreMenu() const { return mnMain_; }
    QAction* FreezeItem() const { return mnNorm_; }
    QAction* FlatItem() const { return mnPerm3D_; }
    // "Площадь:", "Энергия:", "Диаметр:" (0, 1, 2).
    QAction* ValueItem(int i) const { return mnValues_[static_cast<std::size_t>(i)]; }
    // Whether the attachment frame is in front of the air frame.
    bool AttachmentInFront() const;

protected:
    void RemovePreview(World& world) override;
    void ApplyCopy(World& world) override;
    QString EditName() const override;
    bool PreviewsFixedObject() const override { return false; }
    void changeEvent(QEvent* event) override;

private:
    QWidget* MakeConstants();
    QWidget* MakeVectors();
    QWidget* MakeLayerRow();
    QWidget* MakeFrames();
    QWidget* MakeButtons();
    QLabel* UnitLabel(const char* pattern, QWidget* parent);
    NumberField* Field(const QString& name, QWidget* parent);
    NumberField* ValueBound(BallValue value, const QString& name, QWidget* parent);
    NumberField* ShownOnly(const QString& name, QWidget* parent);

    // After the copy changed: every field but the one typed into shows the
    // copy, and the scene shows it.
    void Changed(QWidget* typedInto);
    void Fill(QWidget* typedInto);
    void ShowShape();
    void ShowAttachment();
    void ShowFrame(bool attachmentInFront);
    void FillMoreMenu();
    void TypedLayer(double value);
    void StepLayer(bool up);
    // The air-resistance information, owned by this window so that reading
    // it keeps the edits.
    void ShowAirInformation();

    BallForm form_;
    bool focusedOnce_ = false;
    std::array<NumberField*, BallValueCount> fields_{};
    QLabel* lblLength_ = nullptr;
    QLabel* lblLengthUnit_ = nullptr;
    NumberField* txtJ_ = nullptr;
    QCheckBox* Check4_ = nullptr;
    QComboBox* cmbBallCyl_ = nullptr;
    QComboBox* ind_ = nullptr;
    std::array<NumberField*, 5> txtX_{};
    std::array<NumberField*, 5> txtY_{};
    std::array<NumberField*, 2> txtE_{};
    NumberField* txtew_ = nullptr;
    NumberField* ZCoord_ = nullptr;
    UpDown* UpDown2_ = nullptr;
    QCheckBox* Check2_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QStackedWidget* frames_ = nullptr;
    QGroupBox* fraBind_ = nullptr;
    QGroupBox* fraAir_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    NumberField* txtPeg_ = nullptr;
    UpDown* UpDown1_ = nullptr;
    std::array<QRadioButton*, 2> optEnd_{};
    NumberField* txtBindAngle_ = nullptr;
    NumberField* txtBindDistance_ = nullptr;
    QPushButton* cmdMore_ = nullptr;
    QMenu* mnMain_ = nullptr;
    std::array<QAction*, 3> mnValues_{};  // area, energy, diameter
    std::array<QString, 3> valueTexts_;
    QAction* mnShowBind_ = nullptr;
    QAction* mnShowAir_ = nullptr;
    QAction* mnNorm_ = nullptr;
    QAction* mnPerm3D_ = nullptr;
    QPointer<infAir> airInformation_;
};

}  // namespace velo
