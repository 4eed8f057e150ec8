// infAir, "Информация: сопротивление воздуха": the drag law of the medium,
// in general and for each body shape, with the meaning of its symbols. It
// only informs.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QStackedWidget;

namespace velo {

class infAir : public QDialog {
    Q_OBJECT
public:
    explicit infAir(QWidget* parent = nullptr);

    // Combo1: "Шар", "Цилиндр", "Кольцо", "Стержень".
    QComboBox* KindList() const { return Combo1_; }
    // The formula and the legend of the chosen kind.
    QLabel* KindFormula() const;
    QStringList KindLegend() const;

private:
    QComboBox* Combo1_ = nullptr;
    QStackedWidget* kinds_ = nullptr;
};

}  // namespace velo
