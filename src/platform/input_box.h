// The input box of the windows: a prompt, a text field preset with a value,
// "ОК" and "Отмена", titled with the product name.
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace velo {

// The text typed, or nothing when the box was cancelled.
std::optional<QString> AskText(QWidget* parent, const QString& prompt, const QString& preset);

}  // namespace velo
