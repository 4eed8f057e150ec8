#include "windows/parameters_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "forms/materials_editing.h"
#include "forms/unit_labels.h"
#include "model/world.h"
#include "windows/material_box.h"
#include "windows/number_field.h"

namespace velo {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A label that wraps, so the long captions of the window do not make it
// wider than a screen.
QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLineEdit* NameField(const char* name, const std::string& text, QWidget* parent) {
    auto* field = new QLineEdit(Text(text), parent);
    field->setObjectName(QString::fromUtf8(name));
    field->setMaxLength(UnitNameLength);
    return field;
}

}  // namespace

frmParam::frmParam(const World& world, ParameterWindowActions actions, QWidget* parent)
    : QDialog(parent),
      world_(world),
      actions_(std::move(actions)),
      locale_(NumberLocaleOf(QLocale())),
      values_(FillParameterWindow(world, locale_)) {
    setObjectName(QStringLiteral("frmParam"));
    setWindowTitle(QStringLiteral("Параметры имитации"));
    setModal(true);
    unitNames_ = {values_->MassUnitName, values_->TimeUnitName, values_->ChargeUnitName};

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    // Every page's name in sight: the window is as wide as its tabs.
    tabs_->setUsesScrollButtons(false);
    tabs_->addTab(MakeUnitsPage(), QStringLiteral("Единицы измерения"));
    tabs_->addTab(MakeFieldPage(), QStringLiteral("Поле и среда"));
    tabs_->addTab(MakeViewPage(), QStringLiteral("Отображение"));
    tabs_->addTab(MakeColoursPage(), QStringLiteral("Цвета и освещённость"));
    tabs_->addTab(MakeMaterialsPage(), QStringLiteral("Материалы"));
    layout->addWidget(tabs_, 1);

    chkTemplate_ = new QCheckBox(QStringLiteral("Применять текущие параметры для всех новых проектов"), this);
    chkTemplate_->setObjectName(QStringLiteral("chkTemplate"));
    layout->addWidget(chkTemplate_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(QStringLiteral("Применить"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("cmdApply"));
    apply->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(apply, &QPushButton::clicked, this, &frmParam::Apply);
    connect(cancel, &QPushButton::clicked, this, &frmParam::reject);
    layout->addWidget(buttons);

    RefreshLabels();
    RefreshMaterials();
}

frmParam::~frmParam() = default;

NumberField* frmParam::MakeNumber(const char* name, ParameterNumber check, const std::string& text) {
    auto* field = new NumberField(this);
    field->setObjectName(QString::fromUtf8(name));
    field->SetCheck(ParameterNumberCheck(check));
    field->SetValue(ParseNumber(text, locale_));
    // A long number shows its leading digits.
    field->setCursorPosition(0);
    return field;
}

QWidget* frmParam::MakeUnitsPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    txtLength_ = NameField("txtLength", values_->LengthUnitName, page);
    chkMasculine_ = new QCheckBox(QStringLiteral("М. р."), page);
    chkMasculine_->setObjectName(QStringLiteral("chkMasculine"));
    chkMasculine_->setChecked(values_->LengthUnitMasculine);
    grid->addWidget(Caption(QStringLiteral("Единица измерения длины (L):"), page), 0, 0);
    grid->addWidget(txtLength_, 0, 1);
    grid->addWidget(chkMasculine_, 0, 2);

    cmbUnit_ = new QComboBox(page);
    cmbUnit_->setObjectName(QStringLiteral("cmbUnit"));
    for (const char* entry : UnitListTexts) cmbUnit_->addItem(QString::fromUtf8(entry));
    txtUnit_ = NameField("txtUnit", unitNames_[0], page);
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(new QLabel(QStringLiteral("Единица измерения"), page));
    unitRow->addWidget(cmbUnit_, 1);
    grid->addLayout(unitRow, 1, 0);
    grid->addWidget(txtUnit_, 1, 1);
    connect(cmbUnit_, &QComboBox::currentIndexChanged, this, [this](int entry) {
        if (entry >= 0 && entry < 3) txtUnit_->setText(Text(unitNames_[static_cast<std::size_t>(entry)]));
    });
    connect(txtUnit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const int entry = cmbUnit_->currentIndex();
        if (entry >= 0 && entry < 3) unitNames_[static_cast<std::size_t>(entry)] = text.toStdString();
        RefreshLabels();
    });

    txtAngleName_ = NameField("txtAngleName", values_->AngleUnitName, page);
    grid->addWidget(Caption(QStringLiteral("Мера угла (G):"), page), 2, 0);
    grid->addWidget(txtAngleName_, 2, 1);
    txtAngleUnit_ = MakeNumber("txtAngleUnit", ParameterNumber::AngleUnit, values_->AngleUnit);
    grid->addWidget(Caption(QStringLiteral("Радиан в единице измерения угла:"), page), 3, 0);
    grid->addWidget(txtAngleUnit_, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    connect(txtLength_, &QLineEdit::textChanged, this, &frmParam::RefreshLabels);
    connect(chkMasculine_, &QCheckBox::toggled, this, &frmParam::RefreshLabels);
    return page;
}

QWidget* frmParam::MakeFieldPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);

    auto* gravity = new QGroupBox(QStringLiteral("Гравитационное поле"), page);
    auto* g = new QGridLayout(gravity);
    txtGravity_ = MakeNumber("txtGravity", ParameterNumber::Gravity, values_->Gravity);
    lblGravityUnit_ = new QLabel(gravity);
    g->addWidget(Caption(QStringLiteral("Ускорение свободного падения, создаваемое гравитационным полем:"), gravity),
                 0, 0);
    g->addWidget(txtGravity_, 0, 1);
    g->addWidget(lblGravityUnit_, 0, 2);
    txtZeroLevel_ = MakeNumber("txtZeroLevel", ParameterNumber::ZeroLevel, values_->ZeroLevel);
    lblZeroLevelUnit_ = new QLabel(gravity);
    g->addWidget(Caption(QStringLiteral("Уровень нулевой потенциальной энергии гравитационного поля:"), gravity),
                 1, 0);
    g->addWidget(txtZeroLevel_, 1, 1);
    g->addWidget(lblZeroLevelUnit_, 1, 2);
    chkZeroSupport_ = new QCheckBox(QStringLiteral("Использовать опору на нулевом уровне"), gravity);
    chkZeroSupport_->setObjectName(QStringLiteral("chkZeroSupport"));
    chkZeroSupport_->setChecked(values_->ZeroSupport);
    cmbZeroMaterial_ = new QComboBox(gravity);
    cmbZeroMaterial_->setObjectName(QStringLiteral("cmbZeroMaterial"));
    cmbZeroMaterial_->setEnabled(values_->ZeroSupport);
    connect(chkZeroSupport_, &QCheckBox::toggled, cmbZeroMaterial_, &QWidget::setEnabled);
    auto* support = new QHBoxLayout;
    support->addWidget(new QLabel(QStringLiteral("Материал:"), gravity));
    support->addWidget(cmbZeroMaterial_, 1);
    g->addWidget(chkZeroSupport_, 2, 0);
    g->addLayout(support, 2, 1, 1, 2);
    g->setColumnStretch(0, 1);
    layout->addWidget(gravity);

    auto* medium = new QGroupBox(QStringLiteral("Среда"), page);
    auto* m = new QGridLayout(medium);
    cmbAir_ = new QComboBox(medium);
    cmbAir_->setObjectName(QStringLiteral("cmbAir"));
    for (const char* entry : AirOptionTexts) cmbAir_->addItem(QString::fromUtf8(entry));
    cmbAir_->setCurrentIndex(values_->AirOption);
    txtAirDensity_ = MakeNumber("txtAirDensity", ParameterNumber::AirDensity, values_->AirDensity);
    txtAirDensity_->setEnabled(values_->AirOption == AirCustom);
    connect(cmbAir_, &QComboBox::currentIndexChanged, this,
            [this](int option) { txtAirDensity_->setEnabled(option == AirCustom); });
    lblAirUnit_ = new QLabel(medium);
    auto* air = new QHBoxLayout;
    air->addWidget(cmbAir_);
    air->addWidget(txtAirDensity_, 1);
    air->addWidget(lblAirUnit_);
    m->addWidget(new QLabel(QStringLiteral("Воздух:"), medium), 0, 0);
    m->addLayout(air, 0, 1);
    txtWindX_ = MakeNumber("txtWindX", ParameterNumber::Wind, values_->WindX);
    txtWindY_ = MakeNumber("txtWindY", ParameterNumber::Wind, values_->WindY);
    lblWindUnit_ = new QLabel(medium);
    lblWind_ = new QLabel(medium);
    lblWind_->setObjectName(QStringLiteral("lblWind"));
    auto* wind = new QHBoxLayout;
    wind->addWidget(new QLabel(QStringLiteral("X:"), medium));
    wind->addWidget(txtWindX_, 1);
    wind->addWidget(new QLabel(QStringLiteral("Y:"), medium));
    wind->addWidget(txtWindY_, 1);
    m->addWidget(lblWindUnit_, 1, 0);
    m->addLayout(wind, 1, 1);
    m->addWidget(lblWind_, 2, 1);
    for (NumberField* field : {txtWindX_, txtWindY_}) connect(field, &NumberField::Accepted, this, &frmParam::RefreshLabels);
    m->setColumnStretch(1, 1);
    layout->addWidget(medium);

    auto* friction = new QGroupBox(QStringLiteral("Трение"), page);
    auto* f = new QGridLayout(friction);
    txtRouth_ = MakeNumber("txtRouth", ParameterNumber::RouthMinSpeed, values_->RouthMinSpeed);
    lblRouthUnit_ = new QLabel(friction);
    f->addWidget(Caption(QStringLiteral("Минимальная скорость, при которой ещё применяется гипотеза Рауса:"), friction),
                 0, 0);
    f->addWidget(txtRouth_, 0, 1);
    f->addWidget(lblRouthUnit_, 0, 2);
    f->setColumnStretch(0, 1);
    layout->addWidget(friction);
    layout->addStretch(1);
    return page;
}

QWidget* frmParam::MakeViewPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    lblScale_ = new QLabel(page);
    lblScale_->setObjectName(QStringLiteral("lblScale"));
    txtScale_ = MakeNumber("txtScale", ParameterNumber::FieldScale, values_->FieldScale);
    grid->addWidget(lblScale_, 0, 0);
    grid->addWidget(txtScale_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("пунктов"), page), 0, 4);
    txtOriginX_ = MakeNumber("txtOriginX", ParameterNumber::FieldOrigin, values_->FieldOriginX);
    txtOriginY_ = MakeNumber("txtOriginY", ParameterNumber::FieldOrigin, values_->FieldOriginY);
    grid->addWidget(new QLabel(QStringLiteral("Начало координат в точке"), page), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("X:"), page), 1, 1);
    grid->addWidget(txtOriginX_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Y:"), page), 1, 3, Qt::AlignRight);
    grid->addWidget(txtOriginY_, 1, 4);
    lblArea_ = Caption(QString(), page);
    lblArea_->setObjectName(QStringLiteral("lblArea"));
    grid->addWidget(lblArea_, 2, 0, 1, 5);
    connect(txtScale_, &NumberField::Accepted, this, &frmParam::RefreshLabels);

    chkLock_ = new QCheckBox(QStringLiteral("Блокировать изменения"), page);
    chkLock_->setObjectName(QStringLiteral("chkLock"));
    chkLock_->setToolTip(QStringLiteral("Масштаб и начало координат не меняются ни здесь, ни с клавиатуры"));
    auto lock = [this](bool locked) {
        for (QWidget* field : {static_cast<QWidget*>(txtScale_), static_cast<QWidget*>(txtOriginX_),
                               static_cast<QWidget*>(txtOriginY_)}) {
            field->setEnabled(!locked);
        }
    };
    connect(chkLock_, &QCheckBox::toggled, this, lock);
    chkLock_->setChecked(!values_->ViewUnlocked);
    lock(!values_->ViewUnlocked);
    grid->addWidget(chkLock_, 3, 0, 1, 5);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* frmParam::MakeColoursPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);

    auto* colours = new QGroupBox(QStringLiteral("Цвета"), page);
    auto* c = new QGridLayout(colours);
    // Three rows of two, so that reading order is the order of storage.
    for (int row = 0; row < 2; ++row) c->addWidget(new QLabel(QString::fromUtf8(ColourRowTexts[row]), colours), 0, row + 1);
    for (int column = 0; column < 3; ++column) {
        c->addWidget(new QLabel(QString::fromUtf8(ColourColumnTexts[column]), colours), column + 1, 0);
    }
    for (int slot = 0; slot < 6; ++slot) {
        const ColourSlot where = ColourSlots[slot];
        auto* button = new QPushButton(colours);
        button->setObjectName(QStringLiteral("cmdColor%1").arg(slot));
        button->setToolTip(QString::fromUtf8(ColourRowTexts[where.Row]) + QStringLiteral(", ") +
                           QString::fromUtf8(ColourColumnTexts[where.Column]).toLower());
        std::int32_t& colour = values_->Colors[static_cast<std::size_t>(where.Row)][static_cast<std::size_t>(where.Column)];
        ShowColourOn(button, colour);
        connect(button, &QPushButton::clicked, this, [this, button, &colour] { ChooseColour(button, colour); });
        cmdColors_[static_cast<std::size_t>(slot)] = button;
        c->addWidget(button, where.Column + 1, where.Row + 1);
    }
    cmdMarkColour_ = new QPushButton(colours);
    cmdMarkColour_->setObjectName(QStringLiteral("cmdMarkColor"));
    ShowColourOn(cmdMarkColour_, values_->MarkColor);
    connect(cmdMarkColour_, &QPushButton::clicked, this, [this] { ChooseColour(cmdMarkColour_, values_->MarkColor); });
    c->addWidget(new QLabel(QStringLiteral("Цвет пометок"), colours), 4, 0);
    c->addWidget(cmdMarkColour_, 4, 1);
    sldMarkSize_ = new QSlider(Qt::Horizontal, colours);
    sldMarkSize_->setObjectName(QStringLiteral("sldMarkSize"));
    sldMarkSize_->setRange(0, 10);
    sldMarkSize_->setPageStep(1);
    sldMarkSize_->setTickPosition(QSlider::TicksBelow);
    sldMarkSize_->setValue(values_->MarkSizeSlider);
    c->addWidget(new QLabel(QStringLiteral("Размер пометок"), colours), 5, 0);
    c->addWidget(sldMarkSize_, 5, 1, 1, 2);
    c->setColumnStretch(3, 1);
    layout->addWidget(colours);

    auto* light = new QGroupBox(QStringLiteral("Освещённость"), page);
    auto* l = new QGridLayout(light);
    txtAmbient_ = MakeNumber("txtAmbient", ParameterNumber::AmbientLight, values_->AmbientLight);
    chkAmbientAuto_ = new QCheckBox(QStringLiteral("Авторасчёт"), light);
    chkAmbientAuto_->setObjectName(QStringLiteral("chkAmbientAuto"));
    chkAmbientAuto_->setChecked(values_->AmbientLightAuto);
    // Worked out from the background picture, the light is not typed.
    txtAmbient_->setEnabled(!values_->AmbientLightAuto);
    connect(chkAmbientAuto_, &QCheckBox::toggled, this, [this](bool automatic) { txtAmbient_->setEnabled(!automatic); });
    l->addWidget(new QLabel(QStringLiteral("Фоновое освещение:"), light), 0, 0);
    l->addWidget(txtAmbient_, 0, 1);
    l->addWidget(chkAmbientAuto_, 0, 2);
    txtObserverZ_ = MakeNumber("txtObserverZ", ParameterNumber::ObserverZ, values_->ObserverZ);
    l->addWidget(new QLabel(QStringLiteral("Координата Z наблюдателя:"), light), 1, 0);
    l->addWidget(txtObserverZ_, 1, 1);
    l->setColumnStretch(3, 1);
    layout->addWidget(light);

    auto* background = new QGroupBox(QStringLiteral("Фоновый рисунок"), page);
    auto* b = new QGridLayout(background);
    cmbBackground_ = new QComboBox(background);
    cmbBackground_->setObjectName(QStringLiteral("cmbBackground"));
    for (const BackgroundEntry& entry :
         BackgroundList(CountBackgroundPictures(actions_.ProgramFolder), values_->BackgroundMode)) {
        cmbBackground_->addItem(Text(entry.Text), entry.Mode);
    }
    cmbBackground_->setCurrentIndex(std::max(0, cmbBackground_->findData(values_->BackgroundMode)));
    auto* browse = new QPushButton(QStringLiteral("Обзор"), background);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    lblBackgroundFile_ = new QLabel(background);
    lblBackgroundFile_->setObjectName(QStringLiteral("lblBackgroundFile"));
    lblBackgroundFile_->setText(QFileInfo(Text(values_->BackgroundPath)).fileName());
    lblBackgroundFile_->setVisible(!values_->BackgroundPath.empty());
    connect(browse, &QPushButton::clicked, this, [this] {
        if (!actions_.ChoosePicture) return;
        const std::optional<std::filesystem::path> chosen = actions_.ChoosePicture();
        if (!chosen) return;
        values_->BackgroundPath = chosen->string();
        lblBackgroundFile_->setText(QFileInfo(Text(values_->BackgroundPath)).fileName());
        lblBackgroundFile_->setVisible(true);
        cmbBackground_->setCurrentIndex(cmbBackground_->findData(BackgroundFromFile));
    });
    b->addWidget(cmbBackground_, 0, 0);
    b->addWidget(browse, 0, 1);
    b->addWidget(lblBackgroundFile_, 1, 0, 1, 2);
    b->setColumnStretch(0, 1);
    layout->addWidget(background);
    layout->addStretch(1);
    return page;
}

QWidget* frmParam::MakeMaterialsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QGridLayout(page);
    lstMaterials_ = new QListWidget(page);
    lstMaterials_->setObjectName(QStringLiteral("lstMaterials"));
    connect(lstMaterials_, &QListWidget::itemDoubleClicked, this, [this] { MaterialPropertiesCommand(); });
    layout->addWidget(lstMaterials_, 0, 0);

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, page);
        button->setObjectName(QString::fromUtf8(name));
        buttons->addWidget(button);
        return button;
    };
    connect(addButton("cmdAdd", QStringLiteral("Добавить")), &QPushButton::clicked, this, &frmParam::AddMaterialCommand);
    connect(addButton("cmdDelete", QStringLiteral("Удалить")), &QPushButton::clicked, this,
            &frmParam::DeleteMaterialCommand);
    connect(addButton("cmdProperties", QStringLiteral("Свойства")), &QPushButton::clicked, this,
            &frmParam::MaterialPropertiesCommand);
    QPushButton* coefficients = addButton("cmdCoefficients", QStringLiteral("Коэффициенты"));
    auto* menu = new QMenu(coefficients);
    auto* group = new QActionGroup(menu);
    for (int kind = 0; kind < CoefficientKinds; ++kind) {
        QAction* action = menu->addAction(QString::fromUtf8(CoefficientCaptions[kind]));
        action->setCheckable(true);
        action->setChecked(kind == coefficientKind_);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, kind] { ShowCoefficients(kind); });
    }
    coefficients->setMenu(menu);
    buttons->addStretch(1);
    layout->addLayout(buttons, 0, 1);

    lblCoefficients_ = Caption(QString(), page);
    lblCoefficients_->setObjectName(QStringLiteral("lblCoefficients"));
    layout->addWidget(lblCoefficients_, 1, 0, 1, 2);
    grdCoefficients_ = new QTableWidget(page);
    grdCoefficients_->setObjectName(QStringLiteral("grdCoefficients"));
    grdCoefficients_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(grdCoefficients_, 2, 0, 1, 2);
    layout->setRowStretch(0, 1);
    layout->setRowStretch(2, 2);
    return page;
}

void frmParam::RefreshLabels() {
    UnitSystem units = world_.Units;
    units.LengthUnitName = txtLength_->text().toStdString();
    units.LengthUnitMasculine = chkMasculine_->isChecked();
    units.MassUnitName = unitNames_[0];
    units.TimeUnitName = unitNames_[1];
    units.ChargeUnitName = unitNames_[2];
    if (!lblRouthUnit_) return;  // the later pages are still being made
    lblGravityUnit_->setText(Text(AccelerationLabel(units)));
    lblZeroLevelUnit_->setText(Text(units.LengthUnitName));
    lblAirUnit_->setText(Text(DensityLabel(units)));
    lblWindUnit_->setText(Text(ComposeUnitLabel("Скорость ветра (L/T):", units)));
    lblWind_->setText(Text(WindText({txtWindX_->Value(), txtWindY_->Value()})));
    lblRouthUnit_->setText(Text(VelocityLabel(units)));
    if (!lblArea_) return;
    lblScale_->setText(Text(ViewSizeLabel(units)));
    const std::optional<std::string> area = ViewAreaText(txtScale_->Value(), units, locale_);
    lblArea_->setVisible(area.has_value());
    if (area) lblArea_->setText(Text(*area));
}

void frmParam::RefreshMaterials() {
    const MaterialTable& table = values_->Materials;
    const std::vector<std::string> names = MaterialListTexts(table);

    const int row = lstMaterials_->currentRow();
    lstMaterials_->clear();
    for (const std::string& name : names) lstMaterials_->addItem(Text(name));
    if (row >= 0 && row < lstMaterials_->count()) lstMaterials_->setCurrentRow(row);

    const int material = cmbZeroMaterial_->count() > 0 ? cmbZeroMaterial_->currentIndex() : values_->ZeroSupportMaterial;
    FillMaterialBox(*cmbZeroMaterial_, table);
    cmbZeroMaterial_->setCurrentIndex(material >= 0 && material < cmbZeroMaterial_->count() ? material : -1);

    ShowCoefficients(coefficientKind_);
}

void frmParam::ShowCoefficients(int kind) {
    if (kind < 0 || kind >= CoefficientKinds) return;
    coefficientKind_ = kind;
    UnitSystem units = world_.Units;
    units.LengthUnitName = txtLength_->text().toStdString();
    lblCoefficients_->setText(Text(CoefficientCaption(kind, units)));
    const MaterialTable& table = values_->Materials;
    const std::vector<std::vector<std::string>> cells = CoefficientGridTexts(table, kind, locale_);
    QStringList names;
    for (const std::string& name : MaterialListTexts(table)) names << Text(name);
    const int size = static_cast<int>(cells.size());
    grdCoefficients_->clear();
    grdCoefficients_->setRowCount(size);
    grdCoefficients_->setColumnCount(size);
    grdCoefficients_->setHorizontalHeaderLabels(names);
    grdCoefficients_->setVerticalHeaderLabels(names);
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
            grdCoefficients_->setItem(i, j, new QTableWidgetItem(Text(cells[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)])));
        }
    }
    grdCoefficients_->resizeColumnsToContents();
}

void frmParam::AddMaterialCommand() {
    const std::optional<int> index = AddMaterial(values_->Materials);
    if (!index) {
        Report("В таблице уже 101 материал, больше она не вмещает. Удалите неиспользуемый материал, чтобы "
               "освободить место.");
        return;
    }
    RefreshMaterials();
    lstMaterials_->setCurrentRow(*index);
    MaterialPropertiesCommand();
    FinishAddMaterial(values_->Materials, *index);
    RefreshMaterials();
}

void frmParam::DeleteMaterialCommand() {
    const std::string refusal = DeleteMaterial(values_->Materials, world_, lstMaterials_->currentRow());
    if (!refusal.empty()) {
        Report(refusal);
        return;
    }
    RefreshMaterials();
}

void frmParam::MaterialPropertiesCommand() {
    MaterialTable& table = values_->Materials;
    const int index = lstMaterials_->currentRow();
    UnitSystem units = world_.Units;
    units.LengthUnitName = txtLength_->text().toStdString();
    units.MassUnitName = unitNames_[0];
    switch (PropertiesActionFor(table, index)) {
    case MaterialPropertiesAction::Beep: QApplication::beep(); return;
    case MaterialPropertiesAction::IdealDensity: {
        const IdealDensityQuestion question = IdealDensityInput(table, units, locale_);
        const std::optional<std::string> answer =
            actions_.AskText ? actions_.AskText(question.Title, question.Prompt, question.Default) : std::nullopt;
        const std::string refusal = ApplyIdealDensity(table, answer, locale_);
        if (!refusal.empty()) Report(refusal);
        break;
    }
    case MaterialPropertiesAction::MaterialWindow: {
        frmMaterial window(table, index, units, actions_.ChooseColour, actions_.ReportError, this);
        window.exec();
        break;
    }
    }
    RefreshMaterials();
}

void frmParam::ChooseColour(QPushButton* button, std::int32_t& colour) {
    if (!actions_.ChooseColour) return;
    if (const std::optional<std::int32_t> chosen = actions_.ChooseColour(colour)) {
        colour = *chosen;
        ShowColourOn(button, colour);
    }
}

void frmParam::Report(const std::string& text) {
    if (actions_.ReportError) actions_.ReportError(text);
}

void frmParam::ReadControls() {
    ParameterWindowValues& v = *values_;
    auto number = [this](const NumberField* field) { return FormatNumber(field->Value(), locale_); };
    v.LengthUnitName = txtLength_->text().toStdString();
    v.LengthUnitMasculine = chkMasculine_->isChecked();
    v.MassUnitName = unitNames_[0];
    v.TimeUnitName = unitNames_[1];
    v.ChargeUnitName = unitNames_[2];
    v.AngleUnitName = txtAngleName_->text().toStdString();
    v.AngleUnit = number(txtAngleUnit_);

    v.Gravity = number(txtGravity_);
    v.ZeroLevel = number(txtZeroLevel_);
    v.ZeroSupport = chkZeroSupport_->isChecked();
    v.ZeroSupportMaterial = cmbZeroMaterial_->currentIndex();
    v.AirOption = cmbAir_->currentIndex();
    v.AirDensity = number(txtAirDensity_);
    v.WindX = number(txtWindX_);
    v.WindY = number(txtWindY_);
    v.RouthMinSpeed = number(txtRouth_);

    v.FieldScale = number(txtScale_);
    v.FieldOriginX = number(txtOriginX_);
    v.FieldOriginY = number(txtOriginY_);
    v.ViewUnlocked = !chkLock_->isChecked();

    v.AmbientLight = number(txtAmbient_);
    v.AmbientLightAuto = chkAmbientAuto_->isChecked();
    v.ObserverZ = number(txtObserverZ_);
    v.BackgroundMode = cmbBackground_->currentData().toInt();
    v.MarkSizeSlider = sldMarkSize_->value();
    v.ApplyToNewProjects = chkTemplate_->isChecked();
}

void frmParam::FocusRefusal(const ParameterApplyResult& refusal) {
    QWidget* field = nullptr;
    switch (refusal.Field) {
    case ParameterField::LengthUnitName: field = txtLength_; break;
    case ParameterField::MassUnitName:
    case ParameterField::TimeUnitName:
    case ParameterField::ChargeUnitName:
        cmbUnit_->setCurrentIndex(refusal.UnitListEntry);
        field = txtUnit_;
        break;
    case ParameterField::AngleUnitName: field = txtAngleName_; break;
    case ParameterField::AngleUnit: field = txtAngleUnit_; break;
    case ParameterField::FieldScale: field = txtScale_; break;
    case ParameterField::None: return;
    }
    for (int page = 0; page < tabs_->count(); ++page) {
        if (tabs_->widget(page)->isAncestorOf(field)) tabs_->setCurrentIndex(page);
    }
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

void frmParam::Apply() {
    ReadControls();
    const ParameterApplyResult check = CheckParameterWindow(*values_, locale_);
    if (!check.Ok()) {
        Report(check.Message);
        FocusRefusal(check);
        return;
    }
    // The picture goes into the project first: when it cannot, nothing has
    // changed yet and the window stays open.
    const std::optional<std::filesystem::path> picture =
        BackgroundToStore(*values_, world_.Params, actions_.ProgramFolder);
    if (picture && actions_.StoreBackground && !actions_.StoreBackground(*picture)) return;
    const bool refit = picture.has_value() || (values_->AmbientLightAuto && !world_.Params.AmbientLightAuto);

    bool writeTemplate = false;
    const ParameterWindowValues& values = *values_;
    if (actions_.Edit) {
        actions_.Edit(QStringLiteral("Параметры имитации"), [&](World& w) {
            writeTemplate = ApplyParameterWindow(w, values, locale_).WriteTemplate;
            if (refit && actions_.RefitBackground) actions_.RefitBackground(w);
        });
    }
    // The parameters are in the World whatever becomes of the template.
    if (writeTemplate && actions_.WriteTemplate) actions_.WriteTemplate();
    accept();
}

}  // namespace velo
