#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace velo {

void SetClipboardText(const std::string& text) {
    if (auto* clipboard = QGuiApplication::clipboard()) clipboard->setText(QString::fromStdString(text));
}

std::string ClipboardText() {
    if (auto* clipboard = QGuiApplication::clipboard()) return clipboard->text().toStdString();
    return {};
}

}  // namespace velo
