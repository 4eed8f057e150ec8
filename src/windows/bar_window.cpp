#include "windows/bar_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velo {

prpHandWall* prpHandWall::Open(WindowServices services, int kind, int number, QWidget* parent) {
    if (!services.Scene || (kind != KindHand && kind != KindWall) ||
        !FixedObjectExists(*services.Scene, kind, number)) {
        return nullptr;
    }
    CancelOpenWindows<prpHandWall>(parent);
    auto* window = new prpHandWall(std::move(services), kind, number, parent);
    window->show();
    return window;
}

prpHandWall::prpHandWall(WindowServices services, int kind, int number, QWidget* parent)
    : FixedFormWindow(std::move(services), parent, kind, number) {
    setObjectName(QStringLiteral("prpHandWall"));
    setWindowTitle(QString::fromStdString(form_.Title()));
    const BarCaptions captions = BarCaptionsFor(kind);
    const HandWall& copy = form_.Copy();
    auto* layout = new QVBoxLayout(this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QString::fromUtf8(captions.Coord), this), 0, 0);
    grid->addWidget(AddNumber(QStringLiteral("txtCoord"), copy.Coord, [this](double v) { form_.SetCoord(v); },
                              CoordinateCheck()),
                    0, 1);
    grid->addWidget(LengthUnitLabel(), 0, 2);
    layout->addLayout(grid);

    auto* bounds = new QGroupBox(QString::fromUtf8(captions.Bounds), this);
    auto* row = new QHBoxLayout(bounds);
    NumberField* first =
        AddNumber(QStringLiteral("txt1"), copy.Bound1, [this](double v) { form_.SetBound1(v); }, CoordinateCheck());
    NumberField* second =
        AddNumber(QStringLiteral("txt2"), copy.Bound2, [this](double v) { form_.SetBound2(v); }, CoordinateCheck());
    if (form_.IsZeroSupport()) {
        // The floor of the zero level has no ends to edit.
        for (NumberField* bound : {first, second}) {
            bound->setText(QString::fromUtf8(NoBoundText));
            bound->setEnabled(false);
        }
    }
    row->addWidget(first);
    row->addWidget(second);
    row->addWidget(LengthUnitLabel());
    layout->addWidget(bounds);

    auto* thickness = new QGridLayout;
    thickness->addWidget(new QLabel(QString::fromUtf8(captions.Thickness), this), 0, 0);
    thickness->addWidget(AddNumber(QStringLiteral("txtStout"), form_.Thickness(),
                                   [this](double v) { form_.SetThickness(v); }, PositiveThickness()),
                         0, 1);
    thickness->addWidget(LengthUnitLabel(), 0, 2);
    layout->addLayout(thickness);

    auto* material = new QGroupBox(QStringLiteral("Свойства материала:"), this);
    auto* materialRow = new QVBoxLayout(material);
    materialRow->addWidget(AddMaterialList(copy.Material, [this](int m) { form_.SetMaterial(m); }));
    layout->addWidget(material);

    layout->addWidget(MakeOkCancel());
    Refresh();
}

}  // namespace velo
