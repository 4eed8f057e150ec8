#include "windows/number_field.h"

#include <QSignalBlocker>

namespace velo {

NumberLocale NumberLocaleOf(const QLocale& locale) {
    NumberLocale rules;
    rules.DecimalSeparator = locale.decimalPoint().toStdString();
    rules.GroupSeparator = locale.groupSeparator().toStdString();
    return rules;
}

QString RoundedText(double value) { return QString::fromStdString(FormatRounded(value, NumberLocaleOf(QLocale()))); }

NumberField::NumberField(QWidget* parent) : QLineEdit(parent), input_(NumberLocaleOf(QLocale())) {
    setText(QString::fromStdString(input_.Text()));
    connect(this, &QLineEdit::textEdited, this, &NumberField::Typed);
}

void NumberField::SetValue(double value) {
    input_.Show(value);
    const QSignalBlocker quiet(this);
    setText(QString::fromStdString(input_.Text()));
    ShowStrike(false);
}

void NumberField::Typed(const QString& text) {
    if (shownOnly_) {
        SetValue(input_.Value());
        return;
    }
    const std::optional<double> value = input_.Type(text.toStdString());
    ShowStrike(!value);
    if (value) {
        emit Accepted(*value);
    } else {
        emit Refusal();
    }
}

void NumberField::ShowStrike(bool on) {
    QFont shown = font();
    if (shown.strikeOut() == on) return;
    shown.setStrikeOut(on);
    setFont(shown);
}

}  // namespace velo
