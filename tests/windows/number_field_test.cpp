// The numeric field shared by every window.
#include <QSignalSpy>
#include <QTest>

#include "windows/number_field.h"
#include "windows/window_test_support.h"

using namespace velo;

class NumberFieldTest : public QObject {
    Q_OBJECT
private slots:
    void AcceptsCheckedValuesAndStrikesRefusedOnes() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        NumberField field;
        field.SetCheck(WithinRange(1, 10));
        field.SetValue(2.5);
        QCOMPARE(field.text(), QStringLiteral("2,5"));
        QSignalSpy accepted(&field, &NumberField::Accepted);

        QTest::keyClicks(&field, QStringLiteral("0"));  // 2,50
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(field.Value(), 2.5);
        QTest::keyClicks(&field, QStringLiteral("0"));  // 2,500
        field.setText(QString());
        QTest::keyClicks(&field, QStringLiteral("11"));
        QVERIFY(field.Refused());
        QVERIFY(field.font().strikeOut());
        QCOMPARE(field.Value(), 1.0);  // "1" was taken on the way to "11"
        QTest::keyClick(&field, Qt::Key_Backspace);
        QVERIFY(!field.font().strikeOut());
        QCOMPARE(field.Value(), 1.0);
    }

    void ShownOnlyFieldPutsItsValueBack() {
        QLocale::setDefault(QLocale::c());
        NumberField field;
        field.SetShownOnly(true);
        field.SetValue(9.81);
        QTest::keyClicks(&field, QStringLiteral("7"));
        QCOMPARE(field.text(), QStringLiteral("9.81"));
        QCOMPARE(field.Value(), 9.81);
    }

    void BadTextsNeverGiveAnUnusableValue() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QWidget window;
        auto* limited = new NumberField(&window);
        limited->SetCheck(WithinRange(1e-80, 1e80));
        limited->SetValue(5);
        new NumberField(&window);
        ThrowBadTexts(window, [&](NumberField* field, const char*) {
            if (field == limited) QVERIFY(limited->Value() >= 1e-80 && limited->Value() <= 1e80);
        });
    }
};

QTEST_MAIN(NumberFieldTest)
#include "number_field_test.moc"
