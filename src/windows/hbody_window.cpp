#include "windows/hbody_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/hbody_form.h"
#include "forms/unit_labels.h"
#include "windows/number_field.h"

namespace velo {
namespace {

// A celestial project has no units of its own choice: it works in those of
// the International System.
QString Unit(const char* pattern) { return QString::fromStdString(ComposeUnitLabel(pattern, UnitSystem{})); }

NumberField* MakeField(QWidget* parent, const char* name, bool shownOnly = false) {
    auto* field = new NumberField(parent);
    field->setObjectName(QString::fromUtf8(name));
    field->SetShownOnly(shownOnly);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 22);
    return field;
}

// The buttons beside the vectors are part of the window's face; they have
// no command.
QPushButton* MakeInertButton(QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setEnabled(false);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) * 3);
    return button;
}

}  // namespace

prpHBody::prpHBody(WindowServices services, int number, QWidget* parent)
    : PropertyWindow(std::move(services), parent), number_(number) {
    setObjectName(QStringLiteral("prpHBody"));
    setWindowTitle(QStringLiteral("Свойства небесного тела № %1").arg(number));
    World& world = Scene();
    copy_ = FillHBodyWindow(world, number);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field, const QString& unit, bool button = false) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(field, row, 1);
        if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, this), row, 2);
        if (button) grid->addWidget(MakeInertButton(this), row, 3);
        ++row;
    };

    txtName_ = new QLineEdit(QString::fromStdU16String(BodyNameText(copy_)), this);
    txtName_->setObjectName(QStringLiteral("txtName"));
    addRow(QStringLiteral("Название:"), txtName_, QString());
    txtR_ = MakeField(this, "txtR");
    txtR_->SetCheck(BodyRadiusCheck());
    addRow(QStringLiteral("Радиус:"), txtR_, Unit("L"));
    txtV_ = MakeField(this, "txtV");
    txtV_->SetCheck(BodyVolumeCheck());
    addRow(QStringLiteral("Объём:"), txtV_, Unit("L^3"));
    txtM_ = MakeField(this, "txtM", true);
    addRow(QStringLiteral("Масса:"), txtM_, Unit("M"));
    txtDensity_ = MakeField(this, "txtDensity", true);
    addRow(QStringLiteral("Плотность:"), txtDensity_, Unit("M / L^3"));
    layout->addLayout(grid);

    auto* density = new QGroupBox(QStringLiteral("Плотность вещества, M / L^3:"), this);
    auto* densityLayout = new QGridLayout(density);
    txtRoX_ = new QLineEdit(QString::fromStdString(copy_.DensityFormula), density);
    txtRoX_->setObjectName(QStringLiteral("txtRoX"));
    densityLayout->addWidget(txtRoX_, 0, 0, 1, 2);
    densityLayout->addWidget(new QLabel(QStringLiteral("x"), density), 1, 0);
    densityLayout->addWidget(new QLabel(QStringLiteral("расстояние от центра"), density), 1, 1);
    densityLayout->setColumnStretch(1, 1);
    layout->addWidget(density);

    auto* motion = new QGridLayout;
    grid = motion;
    row = 0;
    auto* cmbRefSys = new QComboBox(this);
    cmbRefSys->setObjectName(QStringLiteral("cmbRefSys"));
    cmbRefSys->addItem(QStringLiteral("Стандартная"));
    addRow(QStringLiteral("Система отсчёта:"), cmbRefSys, QString());
    grid->addWidget(new QLabel(QStringLiteral("Координаты:"), this), row++, 0);
    txtSx_ = MakeField(this, "txtSx");
    addRow(QStringLiteral("Sx ="), txtSx_, Unit("L"));
    txtSy_ = MakeField(this, "txtSy");
    addRow(QStringLiteral("Sy ="), txtSy_, Unit("L"));
    txtSz_ = MakeField(this, "txtSz");
    addRow(QStringLiteral("Sz ="), txtSz_, Unit("L"));
    txtVelocity_ = MakeField(this, "txtVelocity", true);
    addRow(QStringLiteral("Скорость:"), txtVelocity_, Unit("L / T"), true);
    txtAccel_ = MakeField(this, "txtAccel", true);
    addRow(QStringLiteral("Ускорение:"), txtAccel_, Unit("L / T^2"), true);
    txtPulse_ = MakeField(this, "txtPulse", true);
    addRow(QStringLiteral("Импульс:"), txtPulse_, Unit("M * L / T"), true);
    txtForce_ = MakeField(this, "txtForce", true);
    addRow(QStringLiteral("Сила:"), txtForce_, QStringLiteral("Н"), true);
    layout->addLayout(motion);

    // Frames that belong to the window's face and carry no behaviour.
    auto* photons = new QGroupBox(QStringLiteral("Фотонный обмен"), this);
    auto* photonsLayout = new QVBoxLayout(photons);
    auto* luminous = new QCheckBox(QStringLiteral("Светимость"), photons);
    luminous->setEnabled(false);
    photonsLayout->addWidget(luminous);
    photonsLayout->addWidget(new QLabel(QStringLiteral("Отражение фотонов:"), photons));
    layout->addWidget(photons);
    auto* energy = new QGroupBox(QStringLiteral("Энергетические характеристики"), this);
    auto* energyLayout = new QHBoxLayout(energy);
    energyLayout->addWidget(new QLabel(QStringLiteral("Кинетическая энергия:"), energy));
    auto* kinetic = new QLineEdit(energy);
    kinetic->setReadOnly(true);
    energyLayout->addWidget(kinetic);
    layout->addWidget(energy);

    QDialogButtonBox* buttons = MakeOkCancel();
    ok_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);

    ShowValues(nullptr);

    // The edits take effect once the window is filled.
    connect(txtName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        SetBodyName(copy_, text.toStdU16String());
        CopyChanged(txtName_);
    });
    connect(txtR_, &NumberField::Accepted, this, [this](double radius) {
        SetBodyRadius(copy_, radius);
        CopyChanged(txtR_);
    });
    connect(txtV_, &NumberField::Accepted, this, [this](double volume) {
        SetBodyVolume(copy_, volume);
        CopyChanged(txtV_);
    });
    connect(txtRoX_, &QLineEdit::textEdited, this, &prpHBody::FormulaTyped);
    const std::pair<NumberField*, double Vec3::*> coordinates[] = {
        {txtSx_, &Vec3::X}, {txtSy_, &Vec3::Y}, {txtSz_, &Vec3::Z}};
    for (const auto& [field, component] : coordinates) {
        connect(field, &NumberField::Accepted, this, [this, field = field, component = component](double value) {
            copy_.Position.*component = value;
            CopyChanged(field);
        });
    }

    slotZero_ = world.HBodies[0];
    previewing_ = true;
    world.HBodies[0] = copy_;
    world.HBodies[0].Exists = true;
    Preview();
}

void prpHBody::ShowValues(const QWidget* typing) {
    const BodyMagnitudes magnitudes = MagnitudesOf(copy_);
    const std::pair<NumberField*, double> values[] = {
        {txtR_, copy_.Radius},          {txtV_, copy_.Volume},
        {txtM_, copy_.Mass},            {txtDensity_, copy_.Density},
        {txtSx_, copy_.Position.X},     {txtSy_, copy_.Position.Y},
        {txtSz_, copy_.Position.Z},     {txtVelocity_, magnitudes.Velocity},
        {txtAccel_, magnitudes.Acceleration}, {txtPulse_, magnitudes.Momentum},
        {txtForce_, magnitudes.Force},
    };
    for (const auto& [field, value] : values) {
        if (field != typing) field->SetValue(value);
    }
}

void prpHBody::CopyChanged(const QWidget* typing) {
    ShowValues(typing);
    if (!previewing_) return;
    Scene().HBodies[0] = copy_;
    Scene().HBodies[0].Exists = true;
    Preview();
}

void prpHBody::FormulaTyped(const QString& text) {
    std::string refusal;
    const bool accepted = SetBodyDensityFormula(copy_, text.toStdString(), &refusal);
    QFont font = txtRoX_->font();
    font.setStrikeOut(!accepted);
    txtRoX_->setFont(font);
    txtRoX_->setToolTip(QString::fromStdString(refusal));
    // A law that gives no mean density cannot be kept: "ОК" waits for one
    // that does.
    ok_->setEnabled(accepted);
    if (accepted) CopyChanged(txtRoX_);
}

void prpHBody::RemovePreview(World& world) {
    previewing_ = false;
    world.HBodies[0] = slotZero_;
}

void prpHBody::ApplyCopy(World& world) { ApplyHBodyWindow(world, number_, copy_); }

QString prpHBody::EditName() const { return QStringLiteral("Свойства небесного тела"); }

}  // namespace velo
