#include "windows/celestial_parameters_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tuple>

#include "windows/number_field.h"

namespace velo {
namespace {

NumberField* MakeField(QWidget* parent, const char* name) {
    auto* field = new NumberField(parent);
    field->setObjectName(QString::fromUtf8(name));
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 22);
    return field;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmHParam::frmHParam(const World& world, WorldEdit edit, std::function<bool()> openTime, QWidget* parent)
    : QDialog(parent), world_(world), edit_(std::move(edit)), openTime_(std::move(openTime)),
      symbols_(DefaultCelestialSymbols()) {
    setObjectName(QStringLiteral("frmHParam"));
    setWindowTitle(QStringLiteral("Параметры имитации"));
    const CelestialParameterValues values = FillCelestialParameters(world);

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_);

    // "Основные параметры": the quantities and their units.
    auto* basic = new QWidget(tabs_);
    auto* basicLayout = new QGridLayout(basic);
    lstUnits_ = new QListWidget(basic);
    lstUnits_->setObjectName(QStringLiteral("lstUnits"));
    for (int q = 0; q < QuantityCount; ++q) {
        if (q == QuantityEnergy || q == QuantityPlaneAngle) {
            auto* separator = new QListWidgetItem(lstUnits_);
            separator->setFlags(Qt::NoItemFlags);
            separator->setData(Qt::UserRole, -1);
            separator->setSizeHint(QSize(1, lstUnits_->fontMetrics().height() / 2));
        }
        auto* item = new QListWidgetItem(lstUnits_);
        item->setData(Qt::UserRole, q);
    }
    basicLayout->addWidget(lstUnits_, 0, 0, 4, 1);
    lblDescription_ = new QLabel(basic);
    lblDescription_->setObjectName(QStringLiteral("lblDescription"));
    lblDescription_->setWordWrap(true);
    lblDescription_->setMinimumWidth(lblDescription_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 30);
    lblDescription_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lblDescription_->installEventFilter(this);
    basicLayout->addWidget(lblDescription_, 0, 1, 1, 2);
    basicLayout->addWidget(new QLabel(QStringLiteral("Единица:"), basic), 1, 1);
    txtSymbol_ = new QLineEdit(basic);
    txtSymbol_->setObjectName(QStringLiteral("txtSymbol"));
    txtSymbol_->setEnabled(false);
    basicLayout->addWidget(txtSymbol_, 1, 2);
    basicLayout->addWidget(new QLabel(QStringLiteral("Система единиц:"), basic), 2, 1);
    txtSystem_ = new QLineEdit(QString::fromUtf8(CelestialUnitSystemName), basic);
    txtSystem_->setObjectName(QStringLiteral("txtSystem"));
    txtSystem_->setMinimumWidth(txtSystem_->fontMetrics().horizontalAdvance(txtSystem_->text() + QStringLiteral("000")));
    basicLayout->addWidget(txtSystem_, 2, 2);
    basicLayout->setRowStretch(3, 1);
    auto* timeLabel = new QLabel(QStringLiteral("Время, соответствующее одной секунде реального:"), basic);
    basicLayout->addWidget(timeLabel, 4, 0, 1, 2);
    txtTimeScale_ = MakeField(basic, "txtTimeScale");
    txtTimeScale_->SetValue(values.TimeScale);
    basicLayout->addWidget(txtTimeScale_, 4, 2);
    tabs_->addTab(basic, QStringLiteral("Основные параметры"));

    // "Физические постоянные" and the angle unit.
    auto* constants = new QWidget(tabs_);
    auto* constantsLayout = new QGridLayout(constants);
    const std::tuple<const char*, const char*, NumberField**, double> rows[] = {
        {"Гравитационная постоянная:", "txtG", &txtG_, values.GravitationalConstant},
        {"Скорость света в вакууме:", "txtC", &txtC_, values.LightSpeed},
        {"Постоянная Планка:", "txtH", &txtH_, values.PlanckConstant},
        {"Постоянная Больцмана:", "txtK", &txtK_, values.BoltzmannConstant},
    };
    int row = 0;
    for (const auto& [caption, name, field, value] : rows) {
        constantsLayout->addWidget(new QLabel(QString::fromUtf8(caption), constants), row, 0);
        *field = MakeField(constants, name);
        (*field)->SetValue(value);
        constantsLayout->addWidget(*field, row, 1);
        constantUnits_[row] = new QLabel(constants);
        constantsLayout->addWidget(constantUnits_[row], row, 2);
        ++row;
    }
    txtC_->SetCheck(LightSpeedCheck());
    constantsLayout->addWidget(new QLabel(QStringLiteral("Мера угла (G):"), constants), row, 0);
    cmbAngle_ = new QComboBox(constants);
    cmbAngle_->setObjectName(QStringLiteral("cmbAngle"));
    for (const AngleUnitChoice& choice : CelestialAngleUnits) cmbAngle_->addItem(QString::fromUtf8(choice.Name));
    // A unit of the project that is not one of the three stays as it is
    // until another is chosen.
    const int known = cmbAngle_->findText(Text(values.AngleUnitName));
    if (known < 0) cmbAngle_->addItem(Text(values.AngleUnitName));
    cmbAngle_->setCurrentIndex(known < 0 ? cmbAngle_->count() - 1 : known);
    constantsLayout->addWidget(cmbAngle_, row, 1);
    ++row;
    constantsLayout->addWidget(new QLabel(QStringLiteral("Радиан в единице угла:"), constants), row, 0);
    txtAngleUnit_ = MakeField(constants, "txtAngleUnit");
    txtAngleUnit_->SetCheck(AngleUnitCheck());
    txtAngleUnit_->SetValue(values.AngleUnit);
    constantsLayout->addWidget(txtAngleUnit_, row, 1);
    constantsLayout->setRowStretch(row + 1, 1);
    tabs_->addTab(constants, QStringLiteral("Физические постоянные"));

    // "Параметры отображения": the observer's view angles.
    auto* view = new QWidget(tabs_);
    auto* viewLayout = new QGridLayout(view);
    txtAngleH_ = MakeField(view, "txtAngleH");
    txtAngleH_->SetValue(values.ViewAngleH);
    txtAngleV_ = MakeField(view, "txtAngleV");
    txtAngleV_->SetValue(values.ViewAngleV);
    // Shown with the others; nothing fills or reads it.
    auto* txtSolid = MakeField(view, "txtSolid");
    txtSolid->clear();
    const std::tuple<const char*, QWidget*, const char*> viewRows[] = {
        {"Горизонтальный угол:", txtAngleH_, "радиан"},
        {"Вертикальный угол:", txtAngleV_, "радиан"},
        {"Телесный угол:", txtSolid, "стерадиан"},
    };
    row = 0;
    for (const auto& [caption, field, unit] : viewRows) {
        viewLayout->addWidget(new QLabel(QString::fromUtf8(caption), view), row, 0);
        viewLayout->addWidget(field, row, 1);
        viewLayout->addWidget(new QLabel(QString::fromUtf8(unit), view), row, 2);
        ++row;
    }
    viewLayout->setRowStretch(row, 1);
    tabs_->addTab(view, QStringLiteral("Параметры отображения"));

    layout->addWidget(new QCheckBox(QStringLiteral("Применять текущие параметры для всех новых проектов"), this));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    apply_ = buttons->addButton(QStringLiteral("Применить"), QDialogButtonBox::ApplyRole);
    apply_->setObjectName(QStringLiteral("cmdApply"));
    apply_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmHParam::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmHParam::reject);
    connect(apply_, &QPushButton::clicked, this, &frmHParam::Apply);
    layout->addWidget(buttons);

    for (int i = 0; i < lstUnits_->count(); ++i) {
        const int q = lstUnits_->item(i)->data(Qt::UserRole).toInt();
        if (q >= 0) lstUnits_->item(i)->setText(QString::fromUtf8(CelestialQuantities[static_cast<std::size_t>(q)].Name));
    }
    ShowConstantUnits();
    lstUnits_->setCurrentRow(0);
    ChooseQuantity(QuantityDistance);

    // Filled: from here on a choice or an edit enables "Применить".
    connect(tabs_, &QTabWidget::currentChanged, this, &frmHParam::Changed);
    connect(lstUnits_, &QListWidget::currentRowChanged, this, [this](int rowNumber) {
        if (rowNumber < 0) return;
        const int q = lstUnits_->item(rowNumber)->data(Qt::UserRole).toInt();
        if (q >= 0) ChooseQuantity(q);
        Changed();
    });
    connect(txtSymbol_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (quantity_ < 0) return;
        symbols_[static_cast<std::size_t>(quantity_)] = text.toStdString();
        ShowConstantUnits();
        Changed();
    });
    connect(txtSystem_, &QLineEdit::textEdited, this, &frmHParam::Changed);
    connect(cmbAngle_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(CelestialAngleUnits.size())) {
            txtAngleUnit_->SetValue(CelestialAngleUnits[static_cast<std::size_t>(index)].Radians);
        }
        Changed();
    });
    for (NumberField* field : {txtTimeScale_, txtG_, txtC_, txtH_, txtK_, txtAngleUnit_}) {
        connect(field, &NumberField::Accepted, this, &frmHParam::Changed);
    }
    connect(txtAngleH_, &NumberField::Accepted, this, [this](double value) { AngleTyped(true, value); });
    connect(txtAngleV_, &NumberField::Accepted, this, [this](double value) { AngleTyped(false, value); });
    // The clamped value goes back into the field when the typing is done,
    // so that "0,5" can be typed by way of "0".
    for (NumberField* field : {txtAngleH_, txtAngleV_}) {
        connect(field, &QLineEdit::editingFinished, this, [field] {
            const double kept = ClampViewAngle(field->Value());
            if (kept != field->Value()) field->SetValue(kept);
        });
    }
}

void frmHParam::ChooseQuantity(int quantity) {
    quantity_ = quantity;
    const auto q = static_cast<std::size_t>(quantity);
    lblDescription_->setText(QString::fromUtf8(CelestialQuantities[q].Description));
    lblDescription_->setCursor(quantity == QuantityTime ? Qt::PointingHandCursor : Qt::ArrowCursor);
    txtSymbol_->setMaxLength(SymbolLengthOf(quantity));
    txtSymbol_->setText(Text(symbols_[q]));
    txtSymbol_->setEnabled(SymbolEditable(quantity));
}

void frmHParam::ShowConstantUnits() {
    const ConstantUnits units = ComposeConstantUnits(symbols_);
    const std::string* texts[] = {&units.Gravitational, &units.LightSpeed, &units.Planck, &units.Boltzmann};
    for (int i = 0; i < 4; ++i) constantUnits_[i]->setText(Text(*texts[i]));
    for (int i = 0; i < lstUnits_->count(); ++i) {
        QListWidgetItem* item = lstUnits_->item(i);
        const int q = item->data(Qt::UserRole).toInt();
        if (q < 0) continue;
        const auto index = static_cast<std::size_t>(q);
        item->setText(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(CelestialQuantities[index].Name), Text(symbols_[index])));
    }
}

void frmHParam::Changed() { apply_->setEnabled(true); }

void frmHParam::AngleTyped(bool horizontal, double value) {
    const double kept = ClampViewAngle(value);
    if (horizontal) {
        txtAngleV_->SetValue(VerticalAngleOf(kept));
    } else {
        txtAngleH_->SetValue(HorizontalAngleOf(kept));
    }
    Changed();
}

bool frmHParam::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblDescription_ && event->type() == QEvent::MouseButtonRelease && quantity_ == QuantityTime &&
        openTime_) {
        // An accepted time window has stored a time scale; a cancelled one
        // leaves what was typed here.
        if (openTime_()) txtTimeScale_->SetValue(world_.Celestial.CelestialTimeScale);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmHParam::Apply() {
    CelestialParameterValues values;
    values.GravitationalConstant = txtG_->Value();
    values.LightSpeed = txtC_->Value();
    values.PlanckConstant = txtH_->Value();
    values.BoltzmannConstant = txtK_->Value();
    values.TimeScale = txtTimeScale_->Value();
    values.ViewAngleH = txtAngleH_->Value();
    values.ViewAngleV = txtAngleV_->Value();
    values.AngleUnitName = cmbAngle_->currentText().toStdString();
    values.AngleUnit = txtAngleUnit_->Value();
    edit_(QStringLiteral("Параметры имитации"), [&values](World& w) { ApplyCelestialParameters(w, values); });
    txtAngleH_->SetValue(world_.Celestial.ViewAngleH);
    txtAngleV_->SetValue(world_.Celestial.ViewAngleV);
    apply_->setEnabled(false);
}

void frmHParam::accept() {
    Apply();
    QDialog::accept();
}

}  // namespace velo
