#include "windows/movable_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/materials_editing.h"
#include "forms/movable_properties.h"
#include "forms/parse_number.h"
#include "windows/material_box.h"

namespace velo {
namespace {

QString Number(double value) { return QString::fromStdString(FormatNumber(value)); }

QDialogButtonBox* OkCancel(QDialog* window) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, window);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    QObject::connect(box, &QDialogButtonBox::accepted, window, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, window, &QDialog::reject);
    return box;
}

}  // namespace

prpMovable::prpMovable(const World& world, WorldEdit edit, QWidget* parent) : QDialog(parent), edit_(std::move(edit)) {
    setObjectName(QStringLiteral("prpMovable"));
    setWindowTitle(QStringLiteral("Свойства подвижных объектов"));
    auto* layout = new QVBoxLayout(this);
    auto* set = new QGroupBox(QStringLiteral("Задание характеристик"), this);
    auto* setForm = new QFormLayout(set);
    // Ticking a box shows its field and adds ":" to its caption.
    auto addChoice = [&](const QString& caption, QWidget* field) {
        auto* box = new QCheckBox(caption, set);
        field->setVisible(false);
        connect(box, &QCheckBox::toggled, this, [box, field, caption](bool on) {
            field->setVisible(on);
            box->setText(on ? caption + QStringLiteral(":") : caption);
        });
        setForm->addRow(box, field);
        return box;
    };
    addChoice(QStringLiteral("Плотность"), new QLineEdit(set));
    cmbMaterial_ = new QComboBox(set);
    FillMaterialBox(*cmbMaterial_, world.Materials);
    cmbMaterial_->setCurrentIndex(world.Params.DefaultMaterial);
    chkMaterial_ = addChoice(QStringLiteral("Материал"), cmbMaterial_);
    addChoice(QStringLiteral("Скорость"), new QLineEdit(set));
    addChoice(QStringLiteral("Угловая скорость"), new QLineEdit(set));
    layout->addWidget(set);

    const MovableSummary s = SummariseMovable(world);
    auto* view = new QGroupBox(QStringLiteral("Просмотр характеристик"), this);
    auto* viewForm = new QFormLayout(view);
    viewForm->addRow(QStringLiteral("Масса:"), new QLabel(Number(s.Mass), view));
    viewForm->addRow(QStringLiteral("Энергия, M*(L/T)^2:"), new QLabel(Number(s.Energy), view));
    viewForm->addRow(QStringLiteral("Импульс, M*L/T:"),
                     new QLabel(QStringLiteral("(%1; %2)").arg(Number(s.Momentum.X), Number(s.Momentum.Y)), view));
    viewForm->addRow(QStringLiteral("Центр тяжести, L:"),
                     new QLabel(QStringLiteral("(%1; %2)").arg(Number(s.CentreOfMass.X), Number(s.CentreOfMass.Y)), view));
    layout->addWidget(view);
    layout->addWidget(OkCancel(this));
}

void prpMovable::accept() {
    if (chkMaterial_->isChecked()) {
        const int material = cmbMaterial_->currentIndex();
        edit_(QStringLiteral("Материал подвижных"), [material](World& w) { ApplyMovableMaterial(w, material); });
    }
    QDialog::accept();
}

prpThread::prpThread(const World& world, int number, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("prpThread"));
    setWindowTitle(QStringLiteral("Свойства нити №") + QString::number(number));
    const ThreadSummary s = SummariseThread(world, number);
    const QString unit = QString::fromStdString(world.Units.LengthUnitName);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* length = new QLineEdit(Number(s.Length), this);
    length->setReadOnly(true);
    form->addRow(QStringLiteral("Длина нити"), length);
    form->addRow(QStringLiteral("Привязка первого конца к"),
                 new QLabel(QStringLiteral("подвесу №") + QString::number(s.Laval), this));
    layout->addLayout(form);
    auto* ends = new QGroupBox(QStringLiteral("Координаты концов нити (") + unit + QStringLiteral(")"), this);
    auto* endsForm = new QFormLayout(ends);
    auto* first = new QLineEdit(QStringLiteral("%1; %2").arg(Number(s.First.X), Number(s.First.Y)), ends);
    first->setReadOnly(true);
    auto* second = new QLineEdit(QStringLiteral("%1; %2").arg(Number(s.Second.X), Number(s.Second.Y)), ends);
    second->setReadOnly(s.SecondBinding != 0);
    endsForm->addRow(QStringLiteral("1:"), first);
    endsForm->addRow(QStringLiteral("2:"), second);
    layout->addWidget(ends);
    auto* bound = new QCheckBox(QStringLiteral("Привязка второго конца"), this);
    bound->setChecked(s.SecondBinding != 0);
    bound->setEnabled(false);
    if (s.SecondBinding != 0) bound->setText(bound->text() + QStringLiteral(" №") + QString::number(s.SecondBinding));
    layout->addWidget(bound);
    // Nothing of the thread is written back: both buttons only close.
    layout->addWidget(OkCancel(this));
}

}  // namespace velo
