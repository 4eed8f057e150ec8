#include "windows/plane_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "forms/parse_number.h"

namespace velo {

prpPlane* prpPlane::Open(WindowServices services, int number, QWidget* parent) {
    if (!services.Scene || !FixedObjectExists(*services.Scene, KindPlane, number)) return nullptr;
    CancelOpenWindows<prpPlane>(parent);
    auto* window = new prpPlane(std::move(services), number, parent);
    window->show();
    return window;
}

prpPlane::prpPlane(WindowServices services, int number, QWidget* parent)
    : FixedFormWindow(std::move(services), parent, number) {
    setObjectName(QStringLiteral("prpPlane"));
    setWindowTitle(QString::fromStdString(form_.Title()));
    const Plane& copy = form_.Copy();
    auto* layout = new QVBoxLayout(this);

    // One end: "X" field, unit, "Y" field, unit.
    auto addEnd = [&](const QString& caption, const QString& suffix, Vec2 at, void (PlaneForm::*setX)(double),
                      void (PlaneForm::*setY)(double)) {
        auto* end = new QGroupBox(caption, this);
        auto* row = new QHBoxLayout(end);
        row->addWidget(new QLabel(QStringLiteral("X"), end));
        row->addWidget(AddNumber(QStringLiteral("txtX") + suffix, at.X, [this, setX](double v) { (form_.*setX)(v); },
                                 CoordinateCheck()));
        row->addWidget(LengthUnitLabel());
        row->addSpacing(fontMetrics().averageCharWidth() * 2);
        row->addWidget(new QLabel(QStringLiteral("Y"), end));
        row->addWidget(AddNumber(QStringLiteral("txtY") + suffix, at.Y, [this, setY](double v) { (form_.*setY)(v); },
                                 CoordinateCheck()));
        row->addWidget(LengthUnitLabel());
        layout->addWidget(end);
    };
    addEnd(QStringLiteral("Координаты (1)"), QStringLiteral("1"), copy.P1, &PlaneForm::SetX1, &PlaneForm::SetY1);
    addEnd(QStringLiteral("Координаты (2)"), QStringLiteral("2"), copy.P2, &PlaneForm::SetX2, &PlaneForm::SetY2);

    auto* grid = new QGridLayout;
    // The length and the angle follow from the ends: typing into them puts
    // the computed value back at once.
    txtL_ = AddNumber(QStringLiteral("txtL"), form_.Length(), [](double) {}, {});
    txtL_->SetShownOnly(true);
    grid->addWidget(new QLabel(QStringLiteral("Длина:"), this), 0, 0);
    grid->addWidget(txtL_, 0, 1);
    grid->addWidget(LengthUnitLabel(), 0, 2);
    txtAl_ = AddNumber(QStringLiteral("txtAl"), form_.AngleShown(Scene().Units), [](double) {}, {});
    txtAl_->SetShownOnly(true);
    grid->addWidget(new QLabel(QStringLiteral("Угол наклона:"), this), 1, 0);
    grid->addWidget(txtAl_, 1, 1);
    grid->addWidget(AngleUnitLabel(), 1, 2);
    thicknessLabel_ = new QLabel(QStringLiteral("Толщина:"), this);
    txtStout_ = AddNumber(QStringLiteral("txtStout"), form_.Thickness(), [this](double v) { form_.SetThickness(v); },
                          PositiveThickness());
    thicknessUnit_ = LengthUnitLabel();
    grid->addWidget(thicknessLabel_, 2, 0);
    grid->addWidget(txtStout_, 2, 1);
    grid->addWidget(thicknessUnit_, 2, 2);
    layout->addLayout(grid);

    auto* triangular = new QCheckBox(QStringLiteral("Треугольная"), this);
    triangular->setObjectName(QStringLiteral("Check2"));
    triangular->setChecked(form_.Triangular());
    connect(triangular, &QCheckBox::toggled, this, [this](bool on) {
        form_.SetTriangular(on);
        Refresh();
    });
    layout->addWidget(triangular);

    auto* material = new QGroupBox(QStringLiteral("Свойства материала:"), this);
    auto* materialRow = new QVBoxLayout(material);
    materialRow->addWidget(AddMaterialList(copy.Material, [this](int m) { form_.SetMaterial(m); }));
    layout->addWidget(material);

    layout->addWidget(MakeOkCancel());
    Refresh();
}

namespace {

// A shown-only value to 15 significant digits, as the labels show values,
// so that the square root of 2 is not spelt out to its last bit.
double Rounded(double value) { return ParseNumber(FormatRounded(value)); }

}  // namespace

void prpPlane::ShowDerived() {
    txtL_->SetValue(Rounded(form_.Length()));
    txtAl_->SetValue(Rounded(form_.AngleShown(Scene().Units)));
    // A solid triangle has no thickness to show.
    const bool shown = form_.ThicknessShown();
    thicknessLabel_->setVisible(shown);
    txtStout_->setVisible(shown);
    thicknessUnit_->setVisible(shown);
}

}  // namespace velo
