#include "windows/curve_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace velo {

// The picture of the chosen curve type: the arc in its own frame, with the
// axes and the formula of its points, so that a, b and t can be read off.
class CurvePicture : public QWidget {
public:
    explicit CurvePicture(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Picture1"));
        setMinimumSize(fontMetrics().averageCharWidth() * 24, fontMetrics().height() * 8);
    }
    void SetType(int type) {
        type_ = type;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), palette().base());
        const int text = fontMetrics().height() + 4;
        const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8 - text);
        const QPointF origin = area.center();
        const double unit = std::min(area.width(), area.height()) / 2.4;

        painter.setPen(QPen(palette().mid().color(), 1));
        painter.drawLine(QPointF(area.left(), origin.y()), QPointF(area.right(), origin.y()));
        painter.drawLine(QPointF(origin.x(), area.top()), QPointF(origin.x(), area.bottom()));

        // a = 1, b = 0.7 in picture units; t over a range showing the shape.
        const double a = 1;
        const double b = 0.7;
        auto point = [&](double t) {
            double u = 0;
            double v = 0;
            if (type_ == 0) {
                u = a * t * t - 1;  // the vertex left of the middle
                v = b * t * 1.4;
            } else if (type_ == 1) {
                u = a * std::cosh(t) * 0.8 - 0.8;
                v = b * std::sinh(t);
            } else {
                u = a * std::cos(t);
                v = b * std::sin(t);
            }
            return QPointF(origin.x() + u * unit, origin.y() - v * unit);
        };
        const double from = type_ == 2 ? 0 : -1.2;
        const double to = type_ == 2 ? 2 * std::numbers::pi : 1.2;
        QPainterPath path(point(from));
        for (int i = 1; i <= 64; ++i) path.lineTo(point(from + (to - from) * i / 64));
        painter.setPen(QPen(palette().text().color(), 2));
        painter.drawPath(path);

        static const char* const formulas[] = {"x = a·t²,  y = b·t", "x = a·ch t,  y = b·sh t",
                                               "x = a·cos t,  y = b·sin t"};
        painter.drawText(QRectF(rect()).adjusted(4, 0, -4, -4), Qt::AlignHCenter | Qt::AlignBottom,
                         QString::fromUtf8(formulas[type_]));
    }

private:
    int type_ = 0;
};

prpSurface2* prpSurface2::Open(WindowServices services, int number, QWidget* parent) {
    if (!services.Scene || !FixedObjectExists(*services.Scene, KindSurface2, number)) return nullptr;
    CancelOpenWindows<prpSurface2>(parent);
    auto* window = new prpSurface2(std::move(services), number, parent);
    window->show();
    return window;
}

prpSurface2::prpSurface2(WindowServices services, int number, QWidget* parent)
    : FixedFormWindow(std::move(services), parent, number) {
    setObjectName(QStringLiteral("prpSurface2"));
    const Surface2& copy = form_.Copy();
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* type = new QComboBox(this);
    type->setObjectName(QStringLiteral("SurfType"));
    for (const char* text : CurveTypeTexts) type->addItem(QString::fromUtf8(text));
    type->setCurrentIndex(form_.TypeIndex());
    connect(type, &QComboBox::currentIndexChanged, this, [this](int index) {
        form_.SetTypeIndex(index);
        Refresh();
    });
    auto* typeColumn = new QVBoxLayout;
    typeColumn->addWidget(type);
    typeColumn->addStretch();
    top->addLayout(typeColumn);
    picture_ = new CurvePicture(this);
    top->addWidget(picture_, 1);
    layout->addLayout(top);

    auto* grid = new QGridLayout;
    int row = 0;
    // A caption, two fields and the unit (or nothing) on one line.
    auto addPair = [&](const QString& caption, NumberField* first, NumberField* second, QLabel* unit) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(first, row, 1);
        if (second) grid->addWidget(second, row, 2);
        if (unit) grid->addWidget(unit, row, second ? 3 : 2);
        ++row;
    };
    addPair(QStringLiteral("Центр (X0,Y0):"),
            AddNumber(QStringLiteral("txtX0"), copy.Centre.X, [this](double v) { form_.SetCentreX(v); },
                      CoordinateCheck()),
            AddNumber(QStringLiteral("txtY0"), copy.Centre.Y, [this](double v) { form_.SetCentreY(v); },
                      CoordinateCheck()),
            LengthUnitLabel());
    addPair(QStringLiteral("Угол поворота (в радианах):"),
            AddNumber(QStringLiteral("txtAl"), copy.Rotation, [this](double v) { form_.SetRotation(v); },
                      CurveParameterCheck()),
            nullptr, nullptr);
    addPair(QStringLiteral("Параметры a, b:"),
            AddNumber(QStringLiteral("txtA"), copy.ParamA, [this](double v) { form_.SetA(v); }, CoordinateCheck()),
            AddNumber(QStringLiteral("txtB"), copy.ParamB, [this](double v) { form_.SetB(v); }, CoordinateCheck()),
            LengthUnitLabel());
    NumberField* tFrom =
        AddNumber(QStringLiteral("txtT0"), copy.TFrom, [this](double v) { form_.SetTFrom(v); }, CurveParameterCheck());
    NumberField* tTo =
        AddNumber(QStringLiteral("txtT1"), copy.TTo, [this](double v) { form_.SetTTo(v); }, CurveParameterCheck());
    Command3_ = new QPushButton(QStringLiteral("Замкнуть"), this);
    Command3_->setObjectName(QStringLiteral("Command3"));
    connect(Command3_, &QPushButton::clicked, this, [this, tFrom, tTo] {
        form_.CloseRange();
        tFrom->SetValue(form_.Copy().TFrom);
        tTo->SetValue(form_.Copy().TTo);
        Refresh();
    });
    grid->addWidget(new QLabel(QStringLiteral("Параметр t принимает значения:"), this), row, 0);
    grid->addWidget(tFrom, row, 1);
    grid->addWidget(tTo, row, 2);
    grid->addWidget(Command3_, row, 3);
    ++row;
    addPair(QStringLiteral("Толщина:"),
            AddNumber(QStringLiteral("txtStout"), form_.Thickness(), [this](double v) { form_.SetThickness(v); },
                      NonNegativeThickness()),
            nullptr, LengthUnitLabel());
    grid->addWidget(new QLabel(QStringLiteral("Материал:"), this), row, 0);
    grid->addWidget(AddMaterialList(copy.Material, [this](int m) { form_.SetMaterial(m); }), row, 1, 1, 2);
    layout->addLayout(grid);

    auto* closed = new QCheckBox(QStringLiteral("Замкнутая поверхность"), this);
    closed->setObjectName(QStringLiteral("Check1"));
    closed->setChecked(form_.Closed());
    connect(closed, &QCheckBox::toggled, this, [this](bool on) {
        form_.SetClosed(on);
        Refresh();
    });
    layout->addWidget(closed);

    layout->addWidget(MakeOkCancel());
    Refresh();
}

void prpSurface2::ShowDerived() {
    setWindowTitle(QString::fromStdString(form_.Title()));
    picture_->SetType(form_.TypeIndex());
    // "Замкнуть" gives a full turn, which closes only an ellipse. "ОК" stays
    // enabled for every type: the step finds the true contacts of all three.
    Command3_->setEnabled(form_.CanCloseRange());
}

}  // namespace velo
