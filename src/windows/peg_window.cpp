#include "windows/peg_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

#include "forms/materials_editing.h"
#include "forms/unit_labels.h"
#include "platform/input_box.h"
#include "windows/material_box.h"
#include "windows/number_field.h"

namespace velo {

// The section as it is: a rectangle or an ellipse in the proportions of
// width (across) to depth (up), in the colour of the rod's material; an
// uneven mass distribution shows as a shading towards the rim.
class SectionPicture : public QWidget {
public:
    explicit SectionPicture(QWidget* parent) : QWidget(parent) {
        const int side = fontMetrics().height() * 6;
        setMinimumSize(side, side);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    void Show(bool ellipse, double width, double depth, QColor colour, bool uneven) {
        ellipse_ = ellipse;
        width_ = width;
        depth_ = depth;
        colour_ = colour;
        uneven_ = uneven;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), palette().base());
        if (!(width_ > 0) || !(depth_ > 0)) return;
        // The longer side fills nine tenths of the picture; a side too thin
        // to see keeps one pixel.
        const QRectF room = QRectF(rect()).adjusted(4, 4, -4, -4);
        const double scale = std::min(room.width(), room.height()) * 0.9 / std::max(width_, depth_);
        const double w = std::max(1.0, width_ * scale), h = std::max(1.0, depth_ * scale);
        const QRectF shape(room.center().x() - w / 2, room.center().y() - h / 2, w, h);
        if (uneven_) {
            QRadialGradient shade(shape.center(), std::max(w, h) / 2);
            shade.setColorAt(0, colour_.lighter(160));
            shade.setColorAt(1, colour_.darker(160));
            painter.setBrush(shade);
        } else {
            painter.setBrush(colour_);
        }
        painter.setPen(QPen(palette().color(QPalette::Text), 1));
        if (ellipse_) {
            painter.drawEllipse(shape);
        } else {
            painter.drawRect(shape);
        }
    }

private:
    bool ellipse_ = false;
    double width_ = 0, depth_ = 0;
    QColor colour_;
    bool uneven_ = false;
};

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QColor ColourOf(std::int32_t colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

// A text that runs the callback when clicked.
class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> Clicked;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (Clicked) Clicked();
    }
};

// The unit letters beside a field; the tool-tip spells them out in the
// project's unit names.
QLabel* UnitLabel(const char* pattern, const UnitSystem& units, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(pattern), parent);
    label->setToolTip(Text(ComposeUnitLabel(pattern, units)));
    return label;
}

// A field with the two arrows of a spinner beside it.
QWidget* WithArrows(NumberField* field, const std::function<void(int)>& step, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(field);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    for (const int direction : {+1, -1}) {
        auto* arrow = new QToolButton(box);
        arrow->setObjectName(field->objectName() + (direction > 0 ? QStringLiteral("Up") : QStringLiteral("Down")));
        arrow->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setFixedHeight(field->sizeHint().height() / 2);
        arrow->setFocusPolicy(Qt::NoFocus);
        QObject::connect(arrow, &QToolButton::clicked, box, [step, direction] { step(direction); });
        arrows->addWidget(arrow);
    }
    row->addLayout(arrows);
    return box;
}

// A caption, a field and its unit in one row of a grid.
void AddRow(QGridLayout* grid, const QString& caption, QWidget* field, QLabel* unit = nullptr) {
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption, grid->parentWidget()), row, 0);
    grid->addWidget(field, row, 1);
    if (unit) grid->addWidget(unit, row, 2);
}

// The width of a field: room for about fourteen digits in the window's font.
void SizeField(QWidget* field) { field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14); }

}  // namespace

prpPeg2::prpPeg2(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("prpPeg2"));
    setWindowTitle(QStringLiteral("Сечение стержня"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* grid = new QGridLayout;
    cmbShape_ = new QComboBox(this);
    cmbShape_->setObjectName(QStringLiteral("cmbShape"));
    for (const char* shape : SectionShapeTexts) cmbShape_->addItem(QString::fromUtf8(shape));
    grid->addWidget(new QLabel(QStringLiteral("Форма сечения"), this), 0, 0);
    grid->addWidget(cmbShape_, 0, 1);
    txtD_ = new NumberField(this);
    txtD_->setObjectName(QStringLiteral("txtD"));
    SizeField(txtD_);
    grid->addWidget(new QLabel(QStringLiteral("Ширина стержня"), this), 1, 0);
    grid->addWidget(txtD_, 1, 1);
    txtD2_ = new NumberField(this);
    txtD2_->setObjectName(QStringLiteral("txtD2"));
    SizeField(txtD2_);
    grid->addWidget(new QLabel(QStringLiteral("Глубина стержня"), this), 2, 0);
    grid->addWidget(txtD2_, 2, 1);
    grid->setRowStretch(3, 1);
    top->addLayout(grid);
    picture_ = new SectionPicture(this);
    top->addWidget(picture_);
    layout->addLayout(top);

    auto* mass = new QGroupBox(QStringLiteral("Распределение массы"), this);
    auto* massLayout = new QVBoxLayout(mass);
    chkUneven_ = new QCheckBox(QStringLiteral("Неравномерное распределение массы в сечении"), mass);
    chkUneven_->setObjectName(QStringLiteral("chkUneven"));
    massLayout->addWidget(chkUneven_);
    massLayout->addWidget(new QLabel(QStringLiteral("I = K * Ms * d * d"), mass));
    massLayout->addWidget(new QLabel(QStringLiteral("d - ширина стержня, Ms - масса сечения"), mass));
    massLayout->addWidget(new QLabel(QStringLiteral("Момент инерции сечения относительно оси Z:"), mass));
    // K is shown for reference only: the section's factor is not edited here.
    auto* kRow = new QHBoxLayout;
    kRow->addWidget(new QLabel(QStringLiteral("K = "), mass));
    auto* k = new NumberField(mass);
    k->setObjectName(QStringLiteral("txtK"));
    k->clear();
    k->setEnabled(false);
    kRow->addWidget(k);
    massLayout->addLayout(kRow);
    layout->addWidget(mass);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void prpPeg2::Show(const Peg& copy, int colour, const NumberField* typing) {
    {
        const QSignalBlocker quiet(cmbShape_);
        cmbShape_->setCurrentIndex(1 - copy.SectionShape);
    }
    if (typing != txtD_) txtD_->SetValue(copy.Width);
    if (typing != txtD2_) txtD2_->SetValue(copy.Depth);
    picture_->Show(copy.SectionShape == 0, copy.Width, copy.Depth, ColourOf(colour), chkUneven_->isChecked());
}

prpPeg3::prpPeg3(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("prpPeg3"));
    setWindowTitle(QStringLiteral("Свойства центра масс системы (в ДСК)"));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("Центр масс"), this);
    auto* grid = new QGridLayout(frame);
    // The motion of the centre of mass is not worked out: the rows are
    // there, empty.
    for (const char* caption : {"Скорость", "Ускорение", "Cила", "Импульс"}) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QString::fromUtf8(caption), frame), row, 0);
        for (int column = 1; column <= 2; ++column) {
            auto* field = new QLineEdit(frame);
            field->setReadOnly(true);
            SizeField(field);
            grid->addWidget(field, row, column);
        }
    }
    layout->addWidget(frame);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

prpPeg::prpPeg(WindowServices services, int number, QWidget* parent)
    : PropertyWindow(std::move(services), parent), form_(Scene(), number, NumberLocaleOf(QLocale())) {
    setObjectName(QStringLiteral("prpPeg"));
    setWindowTitle(Text(form_.Caption()));
    const World& world = form_.Scene();
    const UnitSystem& units = world.Units;
    section_ = new prpPeg2(this);
    centre_ = new prpPeg3(this);
    WatchOwnedWindow(section_);
    WatchOwnedWindow(centre_);

    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);

    // The rod itself.
    auto* rod = new QGroupBox(QStringLiteral("Основные характеристики"), this);
    auto* rodLayout = new QVBoxLayout(rod);
    auto* rodGrid = new QGridLayout;
    rodLayout->addLayout(rodGrid);
    txtL_ = AddField("txtL", false);
    txtL_->SetCheck([this](double v) { return form_.LengthAllowed(v); });
    AddRow(rodGrid, QStringLiteral("Длина"), txtL_, UnitLabel("L", units, rod));
    txtD_ = AddField("txtD", false);
    txtD_->SetCheck([this](double v) { return form_.WidthAllowed(v); });
    AddRow(rodGrid, QStringLiteral("Ширина"), txtD_, UnitLabel("L", units, rod));
    txtRo_ = AddField("txtRo", false);
    txtRo_->SetCheck([this](double v) { return form_.DensityAllowed(v); });
    AddRow(rodGrid, QStringLiteral("Плотность"), txtRo_, UnitLabel("M/L^3", units, rod));
    txtM_ = AddField("txtM", true);
    AddRow(rodGrid, QStringLiteral("Масса"), txtM_, UnitLabel("M", units, rod));
    txtV_ = AddField("txtV", true);
    AddRow(rodGrid, QStringLiteral("Объём"), txtV_, UnitLabel("L^3", units, rod));
    txtmI_ = AddField("txtmI", true);
    AddRow(rodGrid, QStringLiteral("Момент инерции"), txtmI_, UnitLabel("M*L^2", units, rod));
    ind_ = new QComboBox(rod);
    ind_->setObjectName(QStringLiteral("ind"));
    FillMaterialBox(*ind_, world.Materials);
    ind_->setCurrentIndex(form_.Copy().Material);
    AddRow(rodGrid, QStringLiteral("Материал:"), ind_);
    ZCoord_ = AddField("ZCoord", false);
    ZCoord_->SetCheck(&PegForm::LayerAllowed);
    AddRow(rodGrid, QStringLiteral("Z = "), WithArrows(ZCoord_, [this](int d) { StepLayer(d); }, rod));

    auto* ends = new QGroupBox(Text(form_.EndsCaption()), rod);
    auto* endsGrid = new QGridLayout(ends);
    txtX1_ = AddField("txtX1", true);
    txtY1_ = AddField("txtY1", true);
    txtX2_ = AddField("txtX2", true);
    txtY2_ = AddField("txtY2", true);
    endsGrid->addWidget(new QLabel(QStringLiteral("1:"), ends), 0, 0);
    endsGrid->addWidget(txtX1_, 0, 1);
    endsGrid->addWidget(txtY1_, 0, 2);
    endsGrid->addWidget(new QLabel(QStringLiteral("2:"), ends), 1, 0);
    endsGrid->addWidget(txtX2_, 1, 1);
    endsGrid->addWidget(txtY2_, 1, 2);
    rodLayout->addWidget(ends);

    // The air resistance of the rod is not edited here: the fields are
    // shown, empty and closed.
    auto* air = new QGroupBox(QStringLiteral("Cопротивление воздуха"), rod);
    auto* airGrid = new QGridLayout(air);
    for (const auto& [name, caption] : {std::pair{"txtAlpha", "Линейная часть"}, std::pair{"txtBetta", "Квадратичная часть"}}) {
        NumberField* field = AddField(name, false);
        field->clear();
        field->setEnabled(false);
        AddRow(airGrid, QString::fromUtf8(caption), field);
    }
    rodLayout->addWidget(air);
    rodLayout->addStretch(1);

    auto* rodButtons = new QHBoxLayout;
    auto* sectionButton = new QPushButton(QStringLiteral("Сечение..."), rod);
    sectionButton->setObjectName(QStringLiteral("cmdSection"));
    connect(sectionButton, &QPushButton::clicked, this, [this] {
        section_->show();
        section_->raise();
        section_->activateWindow();
    });
    rodButtons->addWidget(sectionButton);
    rodButtons->addStretch(1);
    auto* rodMore = new QPushButton(QStringLiteral("Ещё"), rod);
    auto* rodMenu = new QMenu(QStringLiteral("Стержень"), rodMore);
    for (const char* item : {"Площадь поверхности: неизвестна", "Кинетическая энергия: неизвестна",
                             "Потенциальная энергия: неизвестна"}) {
        rodMenu->addAction(QString::fromUtf8(item))->setEnabled(false);
    }
    rodMore->setMenu(rodMenu);
    rodButtons->addWidget(rodMore);
    rodLayout->addLayout(rodButtons);
    columns->addWidget(rod);

    // The rod with the balls at its ends.
    auto* system = new QGroupBox(QStringLiteral("Свойства связанной системы"), this);
    auto* systemLayout = new QVBoxLayout(system);
    auto* systemGrid = new QGridLayout;
    systemLayout->addLayout(systemGrid);
    txtFi_ = AddField("txtFi", false);
    txtFi_->SetCheck([this](double v) { return form_.PhiAllowed(v); });
    AddRow(systemGrid, QStringLiteral("Угл. координата"), txtFi_, UnitLabel("G", units, system));
    txtW_ = AddField("txtW", false);
    txtW_->SetCheck([this](double v) { return form_.OmegaAllowed(v); });
    AddRow(systemGrid, QStringLiteral("Угл. скорость"), txtW_, UnitLabel("G/T", units, system));
    txtE_ = AddField("txtE", true);
    AddRow(systemGrid, QStringLiteral("Угл. ускорение"), txtE_, UnitLabel("G/T^2", units, system));
    txtsI_ = AddField("txtsI", true);
    AddRow(systemGrid, QStringLiteral("Момент инерции"), txtsI_, UnitLabel("M*L^2", units, system));
    txtmL_ = AddField("txtmL", true);
    AddRow(systemGrid, QStringLiteral("Момент импульса"), txtmL_, UnitLabel("M*L^2/T", units, system));
    txtmM_ = AddField("txtmM", true);
    AddRow(systemGrid, QStringLiteral("Момент силы"), txtmM_, UnitLabel("M*L^2/T^2", units, system));

    auto* energy = new QGroupBox(QStringLiteral("Энергетические характеристики системы"), system);
    auto* energyGrid = new QGridLayout(energy);
    txtKinetic_ = AddField("txtKinetic", true);
    AddRow(energyGrid, QStringLiteral("Кинетическая"), txtKinetic_, UnitLabel("M*(L/T)^2", units, energy));
    txtPotential_ = AddField("txtPotential", true);
    AddRow(energyGrid, QStringLiteral("Потенциальная"), txtPotential_, UnitLabel("M*(L/T)^2", units, energy));
    systemLayout->addWidget(energy);

    auto* label = new ClickableLabel(system);
    label->Clicked = [this] { ShowCentreWindow(); };
    label->setObjectName(QStringLiteral("Label17"));
    label->setWordWrap(true);
    label->setCursor(Qt::PointingHandCursor);
    Label17_ = label;
    systemLayout->addWidget(Label17_);
    auto* centreRow = new QHBoxLayout;
    txtX_ = AddField("txtX", form_.Hung());
    txtY_ = AddField("txtY", form_.Hung());
    centreRow->addWidget(new QLabel(QStringLiteral("X"), system));
    centreRow->addWidget(txtX_);
    centreRow->addWidget(new QLabel(QStringLiteral("Y"), system));
    centreRow->addWidget(txtY_);
    systemLayout->addLayout(centreRow);

    Check3_ = new QCheckBox(QStringLiteral("Привязка к подвесу"), system);
    Check3_->setObjectName(QStringLiteral("Check3"));
    Check3_->setChecked(form_.Hung());
    Check3_->setEnabled(form_.CanHang() || form_.Hung());
    systemLayout->addWidget(Check3_);
    hangFrame_ = new QGroupBox(QStringLiteral("Точка закрепления"), system);
    auto* hangRow = new QHBoxLayout(hangFrame_);
    Text3_ = AddField("Text3", false);
    Text3_->SetCheck([this](double v) { return form_.LavalAllowed(v); });
    Text3_->SetValue(form_.InitialLaval());
    hangRow->addWidget(WithArrows(Text3_, [this](int d) { StepLaval(d); }, hangFrame_));
    auto* fraction = new QPushButton(QStringLiteral(". . ."), hangFrame_);
    fraction->setObjectName(QStringLiteral("cmdFraction"));
    connect(fraction, &QPushButton::clicked, this, &prpPeg::AskFraction);
    hangRow->addWidget(fraction);
    hangFrame_->setVisible(form_.Hung());
    systemLayout->addWidget(hangFrame_);

    Check1_ = new QCheckBox(system);
    Check1_->setObjectName(QStringLiteral("Check1"));
    Check2_ = new QCheckBox(system);
    Check2_->setObjectName(QStringLiteral("Check2"));
    systemLayout->addWidget(Check1_);
    systemLayout->addWidget(Check2_);
    systemLayout->addStretch(1);

    auto* systemButtons = new QHBoxLayout;
    systemButtons->addStretch(1);
    auto* systemMore = new QPushButton(QStringLiteral("Ещё"), system);
    auto* systemMenu = new QMenu(QStringLiteral("Система"), systemMore);
    mnNorm_ = systemMenu->addAction(QStringLiteral("Заморозить систему"));
    mnNorm_->setObjectName(QStringLiteral("mnNorm"));
    mnNorm_->setCheckable(true);
    mnNorm_->setChecked(form_.Frozen());
    connect(mnNorm_, &QAction::toggled, this, [this](bool frozen) { form_.SetFrozen(frozen); });
    for (const char* item : {"Энергия:", "Масса:", "Объём:"}) systemMenu->addAction(QString::fromUtf8(item))->setEnabled(false);
    mnCentre_ = systemMenu->addAction(QStringLiteral("Свойства центра масс"), this, &prpPeg::ShowCentreWindow);
    mnCentre_->setEnabled(!form_.Hung());
    systemMore->setMenu(systemMenu);
    systemButtons->addWidget(systemMore);
    systemLayout->addLayout(systemButtons);
    columns->addWidget(system);

    auto* buttons = new QHBoxLayout();
    auto* cmdGraph = new QPushButton(QStringLiteral("График…"), this);
    cmdGraph->setObjectName(QStringLiteral("cmdGraph"));
    cmdGraph->setAutoDefault(false);
    connect(cmdGraph, &QPushButton::clicked, this, [this] {
        if (Services().OpenGraph) Services().OpenGraph(KindPeg, form_.Number());
    });
    buttons->addWidget(cmdGraph);
    buttons->addStretch(1);
    buttons->addWidget(MakeOkCancel());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Typed values go into the copy as soon as they are taken.
    const auto bind = [this](NumberField* field, bool (PegForm::*set)(double)) {
        connect(field, &NumberField::Accepted, this, [this, field, set](double v) {
            if ((form_.*set)(v)) Changed(field);
        });
    };
    bind(txtL_, &PegForm::SetLength);
    bind(txtD_, &PegForm::SetWidth);
    bind(txtRo_, &PegForm::SetDensity);
    bind(txtFi_, &PegForm::SetPhi);
    bind(txtW_, &PegForm::SetOmega);
    for (const auto& [field, axis] : {std::pair{txtX_, 0}, std::pair{txtY_, 1}}) {
        field->SetCheck([this, axis](double v) { return form_.CentreAllowed(axis, v); });
        connect(field, &NumberField::Accepted, this, [this, field, axis](double v) {
            if (form_.SetCentre(axis, v)) Changed(field);
        });
    }
    // A text that is no layer number gives way to the layer the copy has.
    connect(ZCoord_, &NumberField::Refusal, this, [this] { ZCoord_->SetValue(form_.Copy().Z); });
    connect(ZCoord_, &NumberField::Accepted, this, [this](double v) {
        form_.SetLayer(static_cast<int>(v));
        Changed(ZCoord_);
    });
    connect(Text3_, &NumberField::Accepted, this, [this](double v) {
        if (!Check3_->isChecked()) return;
        form_.SetHangLaval(static_cast<int>(v));
        Changed(Text3_);
    });
    connect(ind_, &QComboBox::currentIndexChanged, this, [this](int material) {
        // A material too dense for the rod as it is stays unchosen.
        if (!form_.SetMaterial(material)) {
            const QSignalBlocker blocker(ind_);
            ind_->setCurrentIndex(form_.Copy().Material);
            return;
        }
        Changed();
    });
    connect(Check3_, &QCheckBox::toggled, this, &prpPeg::HangToggled);
    for (const auto& [box, end] : {std::pair{Check1_, 1}, std::pair{Check2_, 2}}) {
        connect(box, &QCheckBox::clicked, this, [this, end](bool on) {
            form_.SetEndFastened(end, on);
            Changed();
        });
    }
    // The section window edits the same copy.
    connect(section_->Width(), &NumberField::Accepted, this, [this](double v) {
        if (form_.SetWidth(v)) Changed(section_->Width());
    });
    section_->Width()->SetCheck([this](double v) { return form_.WidthAllowed(v); });
    section_->Depth()->SetCheck([this](double v) { return form_.DepthAllowed(v); });
    connect(section_->Depth(), &NumberField::Accepted, this, [this](double v) {
        if (form_.SetDepth(v)) Changed(section_->Depth());
    });
    connect(section_->Shape(), &QComboBox::currentIndexChanged, this, [this](int position) {
        form_.SetSectionShape(position);
        Changed();
    });
    connect(section_->Uneven(), &QCheckBox::toggled, this, [this] { Refresh(); });

    Refresh();
    Preview();
}

NumberField* prpPeg::AddField(const char* name, bool shownOnly) {
    auto* field = new NumberField(this);
    field->setObjectName(QString::fromUtf8(name));
    SizeField(field);
    if (shownOnly) {
        field->SetShownOnly(true);
        shownOnly_.push_back(field);
        // A shown value reads rounded, also after an edit was put back.
        connect(field, &QLineEdit::textEdited, field, [field] {
            const QSignalBlocker quiet(field);
            field->setText(RoundedText(field->Value()));
        });
    }
    return field;
}

void prpPeg::Show(NumberField* field, double value, const NumberField* typing) {
    if (field == typing) return;
    field->SetValue(value);
    if (std::find(shownOnly_.begin(), shownOnly_.end(), field) != shownOnly_.end()) {
        const QSignalBlocker quiet(field);
        field->setText(RoundedText(value));
    }
    // A long number shows its leading digits.
    field->setCursorPosition(0);
}

void prpPeg::Refresh(const NumberField* typing) {
    const Peg& copy = form_.Copy();
    Show(txtL_, copy.Length, typing);
    Show(txtD_, copy.Width, typing);
    Show(txtRo_, copy.Density, typing);
    Show(txtM_, copy.Mass, typing);
    Show(txtV_, copy.Volume, typing);
    Show(txtmI_, copy.Inertia, typing);
    Show(ZCoord_, copy.Z, typing);
    Show(txtX1_, copy.End1.X, typing);
    Show(txtY1_, copy.End1.Y, typing);
    Show(txtX2_, copy.End2.X, typing);
    Show(txtY2_, copy.End2.Y, typing);
    Show(txtFi_, form_.ShownPhi(), typing);
    Show(txtW_, form_.ShownOmega(), typing);
    Show(txtE_, form_.ShownEpsilon(), typing);
    Show(txtsI_, copy.PivotInertia, typing);
    Show(txtmL_, copy.AngularMomentum, typing);
    Show(txtmM_, copy.Torque, typing);
    Show(txtKinetic_, copy.KineticEnergy, typing);
    Show(txtPotential_, copy.PotentialEnergy, typing);
    Label17_->setText(Text(form_.CentreOfMassText()));
    const Vec2 centre = form_.ShownCentre();
    Show(txtX_, centre.X, typing);
    Show(txtY_, centre.Y, typing);
    for (const auto& [box, end] : {std::pair{Check1_, 1}, std::pair{Check2_, 2}}) {
        box->setChecked(form_.EndFastened(end));
        box->setEnabled(form_.EndFastened(end) || form_.EndFastenable(end));
        box->setText(Text(form_.EndCaption(end)));
    }
    const World& world = form_.Scene();
    const int material = std::min<int>(copy.Material, MaxMaterialIndex);
    section_->Show(copy, world.Materials.Items[static_cast<std::size_t>(material)].Colour, typing);
}

void prpPeg::Changed(const NumberField* typing) {
    Refresh(typing);
    Preview();
}

void prpPeg::HangToggled(bool hung) {
    form_.SetHangLaval(hung ? static_cast<int>(Text3_->Value()) : 0);
    hangFrame_->setVisible(hung);
    mnCentre_->setEnabled(!hung);
    // The centre of a hung rod is its suspension point's: it is shown only.
    for (NumberField* field : {txtX_, txtY_}) {
        field->SetShownOnly(hung);
        const auto known = std::find(shownOnly_.begin(), shownOnly_.end(), field);
        if (hung && known == shownOnly_.end()) shownOnly_.push_back(field);
        if (!hung && known != shownOnly_.end()) shownOnly_.erase(known);
    }
    Changed();
}

void prpPeg::StepLayer(int direction) {
    const int layer = std::clamp(form_.Copy().Z + direction, 0, 255);
    form_.SetLayer(layer);
    ZCoord_->setFocus();
    Changed();
}

void prpPeg::StepLaval(int direction) {
    const int from = static_cast<int>(Text3_->Value());
    const int to = form_.StepLaval(from, direction);
    Text3_->SetValue(to);
    if (Check3_->isChecked() && form_.LavalAllowed(to)) form_.SetHangLaval(to);
    Changed();
}

void prpPeg::AskFraction() {
    const std::optional<QString> answer =
        AskText(this, QString::fromUtf8(HangFractionPrompt), Text(form_.HangFractionText()));
    // A cancelled box keeps the fraction as it was.
    if (!answer) return;
    form_.SetHangFraction(answer->toStdString());
    Changed();
}

void prpPeg::ShowCentreWindow() {
    centre_->show();
    centre_->raise();
    centre_->activateWindow();
}

void prpPeg::RemovePreview(World&) { form_.RemovePreview(); }

void prpPeg::ApplyCopy(World& world) { form_.Apply(world); }

QString prpPeg::EditName() const { return Text(form_.Caption()); }

}  // namespace velo
