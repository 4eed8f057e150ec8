#include "windows/surface_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace velo {

prpSurface* prpSurface::Open(WindowServices services, int number, QWidget* parent) {
    if (!services.Scene || !FixedObjectExists(*services.Scene, KindSurface, number)) return nullptr;
    CancelOpenWindows<prpSurface>(parent);
    auto* window = new prpSurface(std::move(services), number, parent);
    window->show();
    return window;
}

prpSurface::prpSurface(WindowServices services, int number, QWidget* parent)
    : FixedFormWindow(std::move(services), parent, number) {
    setObjectName(QStringLiteral("prpSurface"));
    setWindowTitle(QString::fromStdString(form_.Title()));
    auto* layout = new QVBoxLayout(this);

    // The count: any number is taken and clamped to 2..1024.
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("Количество рёбер:"), this));
    txtCount_ = AddNumber(QStringLiteral("txtCount"), form_.VertexCount(), [this](double v) { TakeCount(v); }, {});
    connect(txtCount_, &QLineEdit::editingFinished, this, [this] { txtCount_->SetValue(form_.VertexCount()); });
    // Room for "1024" and a little more.
    txtCount_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                               txtCount_->sizeHint().height());
    countRow->addWidget(txtCount_);
    // The spinner beside the field: two arrows, as high as the field together.
    auto* spinner = new QVBoxLayout;
    spinner->setSpacing(0);
    const int half = txtCount_->sizeHint().height() / 2;
    for (const auto& [arrow, step, name] : {std::tuple{Qt::UpArrow, 1, "up"}, std::tuple{Qt::DownArrow, -1, "down"}}) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("UpDown1_") + QLatin1String(name));
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFixedSize(half * 3 / 2, half);
        connect(button, &QToolButton::clicked, this, [this, step] {
            TakeCount(form_.VertexCount() + step);
            txtCount_->SetValue(form_.VertexCount());
            Refresh();
        });
        spinner->addWidget(button);
    }
    countRow->addLayout(spinner);
    countRow->addStretch();
    layout->addLayout(countRow);

    auto* vertices = new QGroupBox(QStringLiteral("Координаты рёбер"), this);
    auto* grid = new QGridLayout(vertices);
    lblN_ = new QLabel(vertices);
    lblN_->setObjectName(QStringLiteral("lblN"));
    HScroll1_ = new QScrollBar(Qt::Horizontal, vertices);
    HScroll1_->setObjectName(QStringLiteral("HScroll1"));
    HScroll1_->setRange(0, std::max(0, form_.VertexCount() - 1));
    connect(HScroll1_, &QScrollBar::valueChanged, this, [this](int k) {
        form_.SelectVertex(k);
        ShowVertex();
    });
    grid->addWidget(lblN_, 0, 0);
    grid->addWidget(HScroll1_, 0, 1);
    grid->setColumnStretch(1, 1);
    const Vec2 first = form_.VertexPoint();
    txtX_ = AddNumber(QStringLiteral("txtX"), first.X, [this](double v) { form_.SetVertexX(v); }, CoordinateCheck());
    txtY_ = AddNumber(QStringLiteral("txtY"), first.Y, [this](double v) { form_.SetVertexY(v); }, CoordinateCheck());
    auto* point = new QHBoxLayout;
    point->addWidget(new QLabel(QStringLiteral("X"), vertices));
    point->addWidget(txtX_);
    point->addWidget(LengthUnitLabel());
    point->addSpacing(fontMetrics().averageCharWidth() * 2);
    point->addWidget(new QLabel(QStringLiteral("Y"), vertices));
    point->addWidget(txtY_);
    point->addWidget(LengthUnitLabel());
    grid->addLayout(point, 1, 0, 1, 2);
    layout->addWidget(vertices);

    thicknessFrame_ = new QGroupBox(QStringLiteral("Толщина поверхности:"), this);
    auto* thicknessRow = new QHBoxLayout(thicknessFrame_);
    txtStout_ = AddNumber(QStringLiteral("txtStout"), form_.Thickness(), [this](double v) { form_.SetThickness(v); },
                          NonNegativeThickness());
    thicknessRow->addWidget(txtStout_);
    thicknessRow->addWidget(LengthUnitLabel());
    layout->addWidget(thicknessFrame_);

    auto* closed = new QCheckBox(QStringLiteral("Замкнутая"), this);
    closed->setObjectName(QStringLiteral("Check2"));
    closed->setChecked(form_.Closed());
    connect(closed, &QCheckBox::toggled, this, [this](bool on) {
        form_.SetClosed(on);
        Refresh();
    });
    layout->addWidget(closed);

    auto* material = new QGroupBox(QStringLiteral("Свойства материала:"), this);
    auto* materialRow = new QVBoxLayout(material);
    materialRow->addWidget(AddMaterialList(form_.Copy().Material, [this](int m) { form_.SetMaterial(m); }));
    layout->addWidget(material);

    layout->addWidget(MakeOkCancel());
    ShowVertex();
    Refresh();
}

void prpSurface::TakeCount(double typed) {
    form_.SetVertexCount(typed);
    // Lowering the maximum moves the scroll bar within it, which shows the
    // vertex it then points at.
    HScroll1_->setMaximum(form_.VertexCount() - 1);
    ShowVertex();
}

void prpSurface::ShowVertex() {
    lblN_->setText(QString::fromStdString(form_.VertexCaption()));
    const Vec2 p = form_.VertexPoint();
    txtX_->SetValue(p.X);
    txtY_->SetValue(p.Y);
}

void prpSurface::ShowDerived() {
    // A closed contour is filled: no thickness.
    const bool editable = form_.ThicknessEditable();
    txtStout_->setEnabled(editable);
    thicknessFrame_->setVisible(editable);
}

}  // namespace velo
