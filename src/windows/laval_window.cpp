#include "windows/laval_window.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace velo {

prpLaval* prpLaval::Open(WindowServices services, int number, QWidget* parent) {
    if (!services.Scene || !FixedObjectExists(*services.Scene, KindLaval, number)) return nullptr;
    CancelOpenWindows<prpLaval>(parent);
    auto* window = new prpLaval(std::move(services), number, parent);
    window->show();
    return window;
}

prpLaval::prpLaval(WindowServices services, int number, QWidget* parent)
    : FixedFormWindow(std::move(services), parent, number) {
    setObjectName(QStringLiteral("prpLaval"));
    setWindowTitle(QString::fromStdString(form_.Title()));
    auto* layout = new QVBoxLayout(this);

    auto* place = new QGroupBox(QStringLiteral("Координаты подвеса:"), this);
    auto* grid = new QGridLayout(place);
    const Vec2 p = form_.Copy().Position;
    grid->addWidget(new QLabel(QStringLiteral("X-координата"), place), 0, 0);
    grid->addWidget(AddNumber(QStringLiteral("txtX"), p.X, [this](double x) { form_.SetX(x); }, CoordinateCheck()),
                    0, 1);
    grid->addWidget(LengthUnitLabel(), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Y-координата"), place), 1, 0);
    grid->addWidget(AddNumber(QStringLiteral("txtY"), p.Y, [this](double y) { form_.SetY(y); }, CoordinateCheck()),
                    1, 1);
    grid->addWidget(LengthUnitLabel(), 1, 2);
    layout->addWidget(place);

    layout->addWidget(new QLabel(QString::fromUtf8(LavalRodText), this));
    layout->addWidget(MakeOkCancel());
    Refresh();
}

}  // namespace velo
