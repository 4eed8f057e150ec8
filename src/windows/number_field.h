// The one numeric field of every window: a line edit bound to a
// NumberInput. Typing offers the value to the field's check at once; a
// refused text stays struck through and the field keeps its last accepted
// value. Values are shown in the number form of the user's locale.
#pragma once

#include <QLineEdit>
#include <QLocale>

#include "forms/number_input.h"

namespace velo {

// The number rules of a Qt locale, for the Qt-free reader.
NumberLocale NumberLocaleOf(const QLocale& locale);

// The text of a read-only value (at most 15 significant digits) in the
// default locale's form.
QString RoundedText(double value);

class NumberField : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberField(QWidget* parent = nullptr);

    void SetCheck(NumberInput::Check check) { input_.SetCheck(std::move(check)); }
    void SetWhole(bool whole) { input_.SetWhole(whole); }
    // A field that shows a value only: whatever is typed is replaced by the
    // shown value at once.
    void SetShownOnly(bool shownOnly) { shownOnly_ = shownOnly; }

    // Shows a value (no signal).
    void SetValue(double value);
    double Value() const { return input_.Value(); }
    bool Refused() const { return input_.Refused(); }

signals:
    // A typed value that the check took.
    void Accepted(double value);
    // A typed text that was refused; the field is struck through.
    void Refusal();

private:
    void Typed(const QString& text);
    void ShowStrike(bool on);

    NumberInput input_;
    bool shownOnly_ = false;
};

}  // namespace velo
