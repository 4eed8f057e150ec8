#include "windows/up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace velo {
namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(300);
    button->setAutoRepeatInterval(30);
    button->setFocusPolicy(Qt::NoFocus);
    // The two halves share the height of the field beside them.
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = ArrowButton(this, Qt::UpArrow);
    down_ = ArrowButton(this, Qt::DownArrow);
    layout->addWidget(up_);
    layout->addWidget(down_);
    const int width = fontMetrics().height();
    up_->setFixedWidth(width);
    down_->setFixedWidth(width);
    setFixedHeight(QLineEdit(this).sizeHint().height());
    connect(up_, &QToolButton::clicked, this, [this] { emit Stepped(true); });
    connect(down_, &QToolButton::clicked, this, [this] { emit Stepped(false); });
}

}  // namespace velo
