#include "platform/input_box.h"

#include <QInputDialog>

#include "platform/messenger_qt.h"

namespace velo {

std::optional<QString> AskText(QWidget* parent, const QString& prompt, const QString& preset) {
    QInputDialog box(parent);
    box.setWindowTitle(QString::fromUtf8(ProductName));
    box.setLabelText(prompt);
    box.setTextValue(preset);
    box.setOkButtonText(QStringLiteral("ОК"));
    box.setCancelButtonText(QStringLiteral("Отмена"));
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

}  // namespace velo
