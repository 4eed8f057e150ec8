// Shared checks of the window tests.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <cmath>

#include "windows/number_field.h"

namespace velo {

// Texts no numeric field may stumble over: none of them may crash a window,
// and a refused one must leave the field's value as it was.
inline const char* const BadNumberTexts[] = {
    "", "   ", "abc", "1e999", "-1e999", "nan", "NaN", "inf", "-inf", "1,5.5", "1.5,5", "--1", "0x10", "1e", "e5",
    "1111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111"
    "1111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111"
    "1111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111",
    "\xE2\x80\xAF", "1\xC2\xA0" "000,5", "٣"};

// Types a text key by key. QTest::keyClicks knows only ASCII keys; other
// characters arrive as key events that carry the character, as a keyboard
// layout would send them.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

// Saves a picture of the window when VELO_SHOT_FOLDER names a folder, for
// a look at its layout (at 100 % and with QT_SCALE_FACTOR=2).
inline void SaveShot(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("VELO_SHOT_FOLDER");
    if (folder.isEmpty()) return;
    window.show();
    window.adjustSize();
    window.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Types every bad text into every enabled numeric field of the window, one
// field at a time, and checks that no field ends up holding a value that is
// not finite. `afterEach` lets the caller check the World after each text.
template <typename AfterEach>
void ThrowBadTexts(QWidget& window, AfterEach afterEach) {
    for (NumberField* field : window.findChildren<NumberField*>()) {
        if (!field->isEnabled() || field->isReadOnly()) continue;
        for (const char* text : BadNumberTexts) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            TypeText(field, QString::fromUtf8(text));
            QVERIFY2(std::isfinite(field->Value()), qPrintable(field->objectName() + QStringLiteral(": ") + QString::fromUtf8(text)));
            afterEach(field, text);
        }
    }
}

}  // namespace velo
