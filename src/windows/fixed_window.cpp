#include "windows/fixed_window.h"

#include <QComboBox>
#include <QLabel>

#include "forms/fixed_form.h"
#include "forms/materials_editing.h"
#include "windows/material_box.h"

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
    FillMaterialBox(*list, Scene().Materials);
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

}  // namespace velo
