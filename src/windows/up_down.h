// The spinner beside a numeric field: two small arrow buttons that repeat
// while held. It holds no value of its own; the window decides what a step
// up or down gives and shows it in the field beside.
#pragma once

#include <QWidget>

class QToolButton;

namespace velo {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void Stepped(bool up);

private:
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

}  // namespace velo
