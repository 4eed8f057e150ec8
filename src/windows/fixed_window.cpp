#include "windows/fixed_window.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>

#include "forms/fixed_form.h"
#include "forms/materials_editing.h"

namespace velo {

void FixedPropertyWindow::Refresh() {
    ShowDerived();
    ShowCopy(Scene());
    Preview();
}

NumberField* FixedPropertyWindow::AddNumber(const QString& name, double value, std::function<void(double)> take,
                                            NumberInput::Check check) {
    auto* field = new NumberField(this);
    field->setObjectName(name);
    field->SetCheck(std::move(check));
    field->SetValue(value);
    connect(field, &NumberField::Accepted, this, [this, take = std::move(take)](double typed) {
        take(typed);
        Refresh();
    });
    return field;
}

QComboBox* FixedPropertyWindow::AddMaterialList(int material, std::function<void(int)> take) {
    auto* list = new QComboBox(this);
    list->setObjectName(QStringLiteral("ind"));
    for (const std::string& name : MaterialComboTexts(Scene().Materials)) list->addItem(QString::fromStdString(name));
    list->setCurrentIndex(ListedMaterial(Scene(), material));
    connect(list, &QComboBox::currentIndexChanged, this, [this, take = std::move(take)](int index) {
        take(index);
        Refresh();
    });
    return list;
}

QLabel* FixedPropertyWindow::LengthUnitLabel() {
    auto* label = new QLabel(QString::fromStdString(Scene().Units.LengthUnitName), this);
    label->setToolTip(QStringLiteral("Единица измерения длины (L)"));
    return label;
}

QLabel* FixedPropertyWindow::AngleUnitLabel() {
    auto* label = new QLabel(QString::fromStdString(Scene().Units.AngleUnitName), this);
    label->setToolTip(QStringLiteral("Мера угла (G)"));
    return label;
}

// The preview stands in the record's own place, so it must be gone before
// the window that took the focus gets its first event: a press on the scene
// arrives in the same round of events as the focus change, and a gesture
// started on the preview would move the working copy and leave it in the
// history. Windows opened from this one and other programs do not count.
void FixedPropertyWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible()) {
        QWidget* active = QApplication::activeWindow();
        bool ours = active == nullptr;
        for (QWidget* w = active; w && !ours; w = w->parentWidget()) ours = w == this;
        if (!ours) reject();
    }
    PropertyWindow::changeEvent(event);
}

}  // namespace velo
