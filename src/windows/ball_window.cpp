#include "windows/ball_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>
#include <utility>

#include "forms/materials_editing.h"
#include "forms/unit_labels.h"
#include "windows/air_window.h"
#include "windows/material_box.h"
#include "windows/number_field.h"
#include "windows/up_down.h"

namespace velo {
namespace {

inline constexpr int ShownVectors = 5;
inline constexpr const char* VectorCaptions[ShownVectors] = {"Координаты", "Скорость", "Ускорение", "Cила", "Импульс"};
inline constexpr const char* VectorUnits[ShownVectors] = {"L", "L/T", "L/T^2", "M*L/T^2", "M*L/T"};
inline constexpr const char* ConstantCaptions[BallConstantCount] = {"Масса", "Плотность", "Радиус", "Объём", "Длина"};
inline constexpr const char* ConstantUnits[BallConstantCount] = {"M", "M/L^3", "L", "L^3", "L"};
inline constexpr const char* EnergyUnit = "M*(L/T)^2";
inline constexpr const char* AreaUnit = "L^2";
inline constexpr const char* RadianUnit = "рад";

// The window's icon: a shaded ball, or a cylinder seen slightly from above.
QIcon BodyIcon(bool cylinder) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 120), 1.5));
    if (cylinder) {
        QLinearGradient side(4, 0, 28, 0);
        side.setColorAt(0, QColor(90, 110, 230));
        side.setColorAt(0.4, QColor(200, 210, 255));
        side.setColorAt(1, QColor(40, 50, 160));
        painter.setBrush(side);
        painter.drawRect(QRectF(4, 7, 24, 19));
        painter.drawEllipse(QRectF(4, 21, 24, 8));
        painter.setBrush(QColor(150, 165, 245));
        painter.drawEllipse(QRectF(4, 3, 24, 8));
    } else {
        QRadialGradient shade(QPointF(12, 11), 18);
        shade.setColorAt(0, QColor(230, 235, 255));
        shade.setColorAt(1, QColor(30, 40, 170));
        painter.setBrush(shade);
        painter.drawEllipse(QRectF(3, 3, 26, 26));
    }
    return QIcon(picture);
}

// Shows a value from its first digit on, however long its text.
void Show(NumberField* field, double value) {
    field->SetValue(value);
    field->setCursorPosition(0);
}

// Clears both options of a group of radio buttons, which Qt refuses while
// they are exclusive.
void ClearOption(QRadioButton* option) {
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

}  // namespace

prpBall::prpBall(WindowServices services, int number, QWidget* parent)
    : PropertyWindow(std::move(services), parent), form_(Scene(), number) {
    setObjectName(QStringLiteral("prpBall"));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Тип объекта:"), this));
    cmbBallCyl_ = new QComboBox(this);
    cmbBallCyl_->setObjectName(QStringLiteral("cmbBallCyl"));
    cmbBallCyl_->addItems({QStringLiteral("Шар"), QStringLiteral("Цилиндр")});
    top->addWidget(cmbBallCyl_);
    top->addSpacing(fontMetrics().averageCharWidth() * 3);
    top->addWidget(new QLabel(QStringLiteral("Материал:"), this));
    ind_ = new QComboBox(this);
    ind_->setObjectName(QStringLiteral("ind"));
    FillMaterialBox(*ind_, Scene().Materials);
    top->addWidget(ind_, 1);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(MakeConstants());
    auto* right = new QVBoxLayout;
    right->addWidget(MakeVectors());
    right->addWidget(MakeLayerRow());
    right->addWidget(MakeFrames());
    right->addStretch(1);
    columns->addLayout(left);
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns);
    layout->addWidget(MakeButtons());

    connect(cmbBallCyl_, &QComboBox::activated, this, [this](int position) {
        form_.SetShape(position);
        Changed(cmbBallCyl_);
    });
    connect(ind_, &QComboBox::activated, this, [this](int index) {
        // A material too dense for the body as it moves stays unchosen.
        if (!form_.SetMaterial(index)) {
            ind_->setCurrentIndex(form_.Copy().Material);
            return;
        }
        Changed(ind_);
    });

    // A hung ball, or one fastened to a rod end, is placed by what holds it.
    if (!form_.Attachment().Editable) {
        txtX_[0]->SetShownOnly(true);
        txtY_[0]->SetShownOnly(true);
    }
    Fill(nullptr);
    ShowFrame(form_.Attachment().Checked);
    // The copy takes the original's place in the scene, in front of its layer.
    form_.ShowPreview(Scene());
    Preview();
}

QLabel* prpBall::UnitLabel(const char* pattern, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(pattern), parent);
    if (pattern == std::string_view(RadianUnit)) {
        label->setToolTip(QStringLiteral("радиан"));
    } else {
        label->setToolTip(QString::fromStdString(ComposeUnitLabel(pattern, Scene().Units)));
    }
    return label;
}

NumberField* prpBall::Field(const QString& name, QWidget* parent) {
    auto* field = new NumberField(parent);
    field->setObjectName(name);
    // Room for the 17 digits of a double in the locale's form.
    field->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-0,00000000000000000")));
    return field;
}

NumberField* prpBall::ValueBound(BallValue value, const QString& name, QWidget* parent) {
    NumberField* field = Field(name, parent);
    fields_[static_cast<std::size_t>(value)] = field;
    field->SetCheck([this, value](double typed) { return form_.Allowed(value, typed); });
    connect(field, &NumberField::Accepted, this, [this, value, field](double typed) {
        form_.Set(value, typed);
        Changed(field);
    });
    return field;
}

NumberField* prpBall::ShownOnly(const QString& name, QWidget* parent) {
    NumberField* field = Field(name, parent);
    field->SetShownOnly(true);
    return field;
}

// The left column: constants, rotation and energies in one grid, so that
// their fields line up.
QWidget* prpBall::MakeConstants() {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < BallConstantCount; ++i) {
        auto* caption = new QLabel(QString::fromUtf8(ConstantCaptions[i]), box);
        NumberField* field = ValueBound(static_cast<BallValue>(i), QStringLiteral("txtConst%1").arg(i), box);
        QLabel* unit = UnitLabel(ConstantUnits[i], box);
        grid->addWidget(caption, i, 0);
        grid->addWidget(field, i, 1);
        grid->addWidget(unit, i, 2);
        // A refused constant is the only one struck through: the others
        // show the copy again.
        connect(field, &NumberField::Refusal, this, [this, i] {
            for (int other = 0; other < BallConstantCount; ++other) {
                if (other != i) Show(ValueField(static_cast<BallValue>(other)), form_.Get(static_cast<BallValue>(other)));
            }
        });
        if (i == ValueLength) {
            lblLength_ = caption;
            lblLength_->setObjectName(QStringLiteral("lblLength"));
            lblLengthUnit_ = unit;
        }
    }
    txtJ_ = ShownOnly(QStringLiteral("txtJ"), box);
    grid->addWidget(new QLabel(QStringLiteral("Момент инерции"), box), BallConstantCount, 0);
    grid->addWidget(txtJ_, BallConstantCount, 1);
    grid->addWidget(UnitLabel("M*L^2", box), BallConstantCount, 2);

    Check4_ = new QCheckBox(QStringLiteral("Неоднородное распределение массы"), box);
    Check4_->setObjectName(QStringLiteral("Check4"));
    grid->addWidget(Check4_, BallConstantCount + 1, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("I = K*M*R*R    K = "), box), BallConstantCount + 2, 0);
    grid->addWidget(ValueBound(ValueInertiaFactor, QStringLiteral("txtMik"), box), BallConstantCount + 2, 1);
    connect(Check4_, &QCheckBox::clicked, this, [this](bool on) {
        form_.SetNonUniform(on);
        Changed(nullptr);
    });

    int row = BallConstantCount + 3;
    grid->setRowMinimumHeight(row++, fontMetrics().height() / 2);
    grid->addWidget(new QLabel(QStringLiteral("Угловая координата"), box), row, 0);
    grid->addWidget(ValueBound(ValuePhi, QStringLiteral("txtFi"), box), row, 1);
    grid->addWidget(UnitLabel("G", box), row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Угловая скорость"), box), row, 0);
    grid->addWidget(ValueBound(ValueOmega, QStringLiteral("txtW"), box), row, 1);
    grid->addWidget(UnitLabel("G/T", box), row++, 2);
    txtew_ = ShownOnly(QStringLiteral("txtew"), box);
    grid->addWidget(new QLabel(QStringLiteral("Угловое ускорение"), box), row, 0);
    grid->addWidget(txtew_, row, 1);
    grid->addWidget(UnitLabel("G/T^2", box), row++, 2);

    grid->setRowMinimumHeight(row++, fontMetrics().height() / 2);
    grid->addWidget(new QLabel(QStringLiteral("Энергия:"), box), row++, 0);
    const char* captions[] = {"Кинетическая", "Потенциальная"};
    for (int i = 0; i < 2; ++i) {
        txtE_[static_cast<std::size_t>(i)] = ShownOnly(QStringLiteral("txtE%1").arg(i), box);
        grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), box), row, 0);
        grid->addWidget(txtE_[static_cast<std::size_t>(i)], row, 1);
        grid->addWidget(UnitLabel(EnergyUnit, box), row++, 2);
    }
    grid->setRowStretch(row, 1);
    return box;
}

QWidget* prpBall::MakeVectors() {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("x"), box), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("y"), box), 0, 2, Qt::AlignHCenter);
    for (int k = 0; k < ShownVectors; ++k) {
        const auto at = static_cast<std::size_t>(k);
        const QString x = QStringLiteral("txtX%1").arg(k);
        const QString y = QStringLiteral("txtY%1").arg(k);
        if (k == 0) {
            txtX_[at] = ValueBound(ValuePositionX, x, box);
            txtY_[at] = ValueBound(ValuePositionY, y, box);
        } else if (k == 1) {
            txtX_[at] = ValueBound(ValueVelocityX, x, box);
            txtY_[at] = ValueBound(ValueVelocityY, y, box);
        } else {
            // Acceleration, force and momentum are results of the step.
            txtX_[at] = ShownOnly(x, box);
            txtY_[at] = ShownOnly(y, box);
        }
        grid->addWidget(new QLabel(QString::fromUtf8(VectorCaptions[k]), box), k + 1, 0);
        grid->addWidget(txtX_[at], k + 1, 1);
        grid->addWidget(txtY_[at], k + 1, 2);
        grid->addWidget(UnitLabel(VectorUnits[k], box), k + 1, 3);
    }

    return box;
}

QWidget* prpBall::MakeLayerRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Координата Z:"), row));
    ZCoord_ = new NumberField(row);
    ZCoord_->setObjectName(QStringLiteral("ZCoord"));
    ZCoord_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + fontMetrics().height());
    ZCoord_->SetCheck([](double value) { return BallForm::LayerOf(value).has_value(); });
    layout->addWidget(ZCoord_);
    UpDown2_ = new UpDown(row);
    UpDown2_->setObjectName(QStringLiteral("UpDown2"));
    layout->addWidget(UpDown2_);
    layout->addSpacing(fontMetrics().averageCharWidth() * 2);
    Check2_ = new QCheckBox(QStringLiteral("Пометить для наблюдения вращения"), row);
    Check2_->setObjectName(QStringLiteral("Check2"));
    layout->addWidget(Check2_);
    layout->addStretch(1);

    connect(ZCoord_, &NumberField::Accepted, this, &prpBall::TypedLayer);
    // A text that is no layer number gives way to the layer the copy has.
    connect(ZCoord_, &NumberField::Refusal, this, [this] { ZCoord_->SetValue(form_.Copy().Z); });
    connect(UpDown2_, &UpDown::Stepped, this, &prpBall::StepLayer);
    connect(Check2_, &QCheckBox::clicked, this, [this](bool on) {
        form_.SetMarked(on);
        Changed(Check2_);
    });
    return row;
}

QWidget* prpBall::MakeFrames() {
    auto* holder = new QWidget(this);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    Check1_ = new QCheckBox(QStringLiteral("Привязка"), holder);
    Check1_->setObjectName(QStringLiteral("Check1"));
    layout->addWidget(Check1_);
    frames_ = new QStackedWidget(holder);
    layout->addWidget(frames_);

    fraBind_ = new QGroupBox(QStringLiteral("Точка закреления"), frames_);
    auto* bind = new QGridLayout(fraBind_);
    Combo1_ = new QComboBox(fraBind_);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->addItems({QString::fromUtf8(BindLavalText), QString::fromUtf8(BindPegText)});
    bind->addWidget(Combo1_, 0, 0);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(new QLabel(QStringLiteral("№"), fraBind_));
    txtPeg_ = new NumberField(fraBind_);
    txtPeg_->setObjectName(QStringLiteral("txtPeg"));
    txtPeg_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + fontMetrics().height());
    numberRow->addWidget(txtPeg_);
    UpDown1_ = new UpDown(fraBind_);
    UpDown1_->setObjectName(QStringLiteral("UpDown1"));
    numberRow->addWidget(UpDown1_);
    numberRow->addStretch(1);
    bind->addLayout(numberRow, 0, 1, 1, 2);
    optEnd_[0] = new QRadioButton(QStringLiteral("к первому концу"), fraBind_);
    optEnd_[1] = new QRadioButton(QStringLiteral("ко второму концу"), fraBind_);
    bind->addWidget(optEnd_[0], 1, 0);
    bind->addWidget(optEnd_[1], 1, 1, 1, 2);
    txtBindAngle_ = ShownOnly(QStringLiteral("txtBindAngle"), fraBind_);
    txtBindDistance_ = ShownOnly(QStringLiteral("txtBindDistance"), fraBind_);
    bind->addWidget(new QLabel(QStringLiteral("Угол от пометки"), fraBind_), 2, 0);
    bind->addWidget(txtBindAngle_, 2, 1);
    bind->addWidget(UnitLabel(RadianUnit, fraBind_), 2, 2);
    bind->addWidget(new QLabel(QStringLiteral("Расстояние от центра"), fraBind_), 3, 0);
    bind->addWidget(txtBindDistance_, 3, 1);
    bind->addWidget(UnitLabel("L", fraBind_), 3, 2);
    frames_->addWidget(fraBind_);

    fraAir_ = new QGroupBox(QStringLiteral("Cопротивление воздуха"), frames_);
    auto* air = new QGridLayout(fraAir_);
    air->addWidget(new QLabel(QStringLiteral("Линейная составляющая"), fraAir_), 0, 0);
    air->addWidget(ValueBound(ValueDragLinear, QStringLiteral("txtAlpha"), fraAir_), 0, 1);
    air->addWidget(UnitLabel("M/T", fraAir_), 0, 2);
    air->addWidget(new QLabel(QStringLiteral("Квадратичная составл."), fraAir_), 1, 0);
    air->addWidget(ValueBound(ValueDragQuadratic, QStringLiteral("txtBetta"), fraAir_), 1, 1);
    air->addWidget(UnitLabel("M/L", fraAir_), 1, 2);
    auto* airInformation = new QPushButton(QStringLiteral("Как считается сопротивление..."), fraAir_);
    airInformation->setObjectName(QStringLiteral("cmdAirInfo"));
    connect(airInformation, &QPushButton::clicked, this, &prpBall::ShowAirInformation);
    air->addWidget(airInformation, 2, 0, 1, 3, Qt::AlignLeft);
    air->setRowStretch(3, 1);
    frames_->addWidget(fraAir_);

    connect(Check1_, &QCheckBox::clicked, this, [this](bool on) {
        form_.SetBind(on);
        ShowFrame(on);
        Changed(Check1_);
    });
    connect(Combo1_, &QComboBox::activated, this, [this](int entry) {
        form_.SetBindList(entry);
        Changed(Combo1_);
    });
    connect(txtPeg_, &NumberField::Accepted, this, [this](double value) {
        form_.SetBindNumber(value);
        Changed(txtPeg_);
    });
    connect(UpDown1_, &UpDown::Stepped, this, [this](bool up) {
        const double number = form_.BindStep(up);
        form_.SetBindNumber(number);
        txtPeg_->setFocus();
        Changed(nullptr);
    });
    return holder;
}

QWidget* prpBall::MakeButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    cmdMore_ = new QPushButton(QStringLiteral("Ещё"), row);
    cmdMore_->setObjectName(QStringLiteral("cmdMore"));
    cmdMore_->setAutoDefault(false);
    layout->addWidget(cmdMore_);
    auto* cmdGraph = new QPushButton(QStringLiteral("График…"), row);
    cmdGraph->setObjectName(QStringLiteral("cmdGraph"));
    cmdGraph->setAutoDefault(false);
    connect(cmdGraph, &QPushButton::clicked, this, [this] {
        if (Services().OpenGraph) Services().OpenGraph(KindBall, form_.Number());
    });
    layout->addWidget(cmdGraph);
    layout->addStretch(1);
    layout->addWidget(MakeOkCancel());

    mnMain_ = new QMenu(cmdMore_);
    mnMain_->setObjectName(QStringLiteral("mnMain"));
    for (int i = 0; i < 3; ++i) {
        mnValues_[static_cast<std::size_t>(i)] = mnMain_->addAction(QString(), this, [this, i] {
            if (Services().CopyText) Services().CopyText(valueTexts_[static_cast<std::size_t>(i)]);
        });
    }
    mnMain_->addSeparator();
    mnShowBind_ = mnMain_->addAction(QStringLiteral("Отобразить расположение точки закрепления"), this, [this] { ShowFrame(true); });
    mnShowAir_ = mnMain_->addAction(QStringLiteral("Отобразить влияние сопротивления воздуха"), this, [this] { ShowFrame(false); });
    mnMain_->addSeparator();
    mnNorm_ = mnMain_->addAction(QStringLiteral("Заморозить объект"));
    mnNorm_->setObjectName(QStringLiteral("mnNorm"));
    mnNorm_->setCheckable(true);
    mnPerm3D_ = mnMain_->addAction(QStringLiteral("Запретить 3D-отображение"));
    mnPerm3D_->setObjectName(QStringLiteral("mnPerm3D"));
    mnPerm3D_->setCheckable(true);
    // Which frames the vectors are shown in: the choice is offered, the
    // window shows every value in the field's frame whatever is ticked.
    mnMain_->addSeparator();
    for (const char* item : {"Отображать ВХ (кроме координат) в ПСК", "Отображать векторные характеристики в ДСК"}) {
        mnMain_->addAction(QString::fromUtf8(item))->setCheckable(true);
    }
    connect(mnNorm_, &QAction::triggered, this, [this](bool on) {
        form_.SetFrozen(on);
        Changed(nullptr);
    });
    connect(mnPerm3D_, &QAction::triggered, this, [this](bool on) {
        form_.SetFlat(on);
        Changed(nullptr);
    });
    connect(cmdMore_, &QPushButton::clicked, this, [this] {
        FillMoreMenu();
        mnMain_->popup(cmdMore_->mapToGlobal(QPoint(0, cmdMore_->height())));
    });
    return row;
}

void prpBall::FillMoreMenu() {
    const BallExtras extras = form_.Extras();
    const UnitSystem& units = Scene().Units;
    const double values[] = {extras.Area, extras.Energy, extras.Diameter};
    const char* captions[] = {"Площадь: ", "Энергия: ", "Диаметр: "};
    const char* patterns[] = {AreaUnit, EnergyUnit, "L"};
    for (std::size_t i = 0; i < 3; ++i) {
        valueTexts_[i] = RoundedText(values[i]);
        mnValues_[i]->setText(QString::fromUtf8(captions[i]) + valueTexts_[i] + QStringLiteral(" ") +
                              QString::fromStdString(ComposeUnitLabel(patterns[i], units)));
    }
}

bool prpBall::AttachmentInFront() const { return frames_->currentWidget() == fraBind_; }

void prpBall::ShowFrame(bool attachmentInFront) {
    frames_->setCurrentWidget(attachmentInFront ? fraBind_ : fraAir_);
    mnShowBind_->setVisible(!attachmentInFront);
    mnShowBind_->setEnabled(Check1_->isChecked());
    mnShowAir_->setVisible(attachmentInFront);
}

void prpBall::TypedLayer(double value) {
    const std::optional<int> layer = BallForm::LayerOf(value);
    if (!layer) return;
    form_.SetLayer(*layer);
    Changed(ZCoord_);
}

void prpBall::StepLayer(bool up) {
    const int layer = std::clamp(form_.Copy().Z + (up ? 1 : -1), 0, 255);
    form_.SetLayer(layer);
    ZCoord_->setFocus();
    Changed(nullptr);
}

void prpBall::ShowAirInformation() {
    if (!airInformation_) {
        airInformation_ = new infAir(this);
        WatchOwnedWindow(airInformation_);
    }
    airInformation_->show();
    airInformation_->raise();
    airInformation_->activateWindow();
}

void prpBall::Changed(QWidget* typedInto) {
    Fill(typedInto);
    form_.ShowPreview(Scene());
    Preview();
}

void prpBall::Fill(QWidget* typedInto) {
    const Ball& b = form_.Copy();
    for (int v = 0; v < BallValueCount; ++v) {
        NumberField* field = fields_[static_cast<std::size_t>(v)];
        if (field != typedInto) Show(field, form_.Get(static_cast<BallValue>(v)));
    }
    for (int k = 2; k < ShownVectors; ++k) {
        const Vec2 vector = form_.Vector(k);
        Show(txtX_[static_cast<std::size_t>(k)], vector.X);
        Show(txtY_[static_cast<std::size_t>(k)], vector.Y);
    }
    Show(txtJ_, b.Inertia);
    Show(txtE_[0], b.KineticEnergy);
    Show(txtE_[1], b.PotentialEnergy);
    Show(txtew_, form_.ShownEpsilon());
    if (typedInto != ZCoord_) ZCoord_->SetValue(b.Z);
    Check4_->setChecked(form_.NonUniform());
    ValueField(ValueInertiaFactor)->setEnabled(form_.NonUniform());
    Check2_->setChecked(b.Marked);
    cmbBallCyl_->setCurrentIndex(b.Shape == ShapeCylinder ? 1 : 0);
    ind_->setCurrentIndex(b.Material);
    mnNorm_->setChecked(form_.Frozen());
    mnPerm3D_->setChecked(form_.Flat());
    ShowShape();
    if (typedInto != txtPeg_) txtPeg_->SetValue(form_.Attachment().Number);
    ShowAttachment();
}

void prpBall::ShowShape() {
    const bool cylinder = form_.Copy().Shape == ShapeCylinder;
    setWindowTitle(QString::fromStdString(form_.Caption()));
    setWindowIcon(BodyIcon(cylinder));
    const bool length = form_.LengthVisible();
    lblLength_->setVisible(length);
    lblLengthUnit_->setVisible(length);
    ValueField(ValueLength)->setVisible(length);
}

void prpBall::ShowAttachment() {
    const BallAttachment& a = form_.Attachment();
    Check1_->setChecked(a.Checked);
    Check1_->setEnabled(a.BoxEnabled);
    Check1_->setToolTip(QString::fromStdString(a.BoxHint));
    Combo1_->setCurrentIndex(a.List);
    Combo1_->setEnabled(a.Editable);
    txtPeg_->setEnabled(a.NumberEnabled);
    UpDown1_->setEnabled(a.NumberEnabled);
    optEnd_[0]->setVisible(a.EndOptionsVisible);
    optEnd_[1]->setVisible(a.EndOptionsVisible);
    optEnd_[0]->setEnabled(a.FirstEndEnabled);
    optEnd_[1]->setEnabled(a.SecondEndEnabled);
    ClearOption(optEnd_[0]);
    ClearOption(optEnd_[1]);
    txtBindAngle_->setEnabled(a.DetailsEnabled);
    txtBindDistance_->setEnabled(a.DetailsEnabled);
    Show(txtBindAngle_, form_.BindAngle());
    Show(txtBindDistance_, form_.BindDistance());
    ZCoord_->setEnabled(a.LayerEnabled);
    UpDown2_->setEnabled(a.LayerEnabled);
    mnShowBind_->setEnabled(a.Checked);
}

void prpBall::changeEvent(QEvent* event) {
    PropertyWindow::changeEvent(event);
    // The window opens ready for a new velocity.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !std::exchange(focusedOnce_, true)) {
        txtX_[1]->setFocus();
        txtX_[1]->selectAll();
    }
}

void prpBall::RemovePreview(World& world) { form_.RemovePreview(world); }

void prpBall::ApplyCopy(World& world) {
    form_.Apply(world);
    const Ball& b = form_.Copy();
    if (Services().SetNewBodyRadius) Services().SetNewBodyRadius(b.Shape == ShapeCylinder ? KindCylinder : KindBall, b.Radius);
}

QString prpBall::EditName() const { return QString::fromStdString(form_.Caption()); }

}  // namespace velo
