// The celestial parameters window: its tabs and fields, "Применить", "ОК"
// and "Отмена", the view angles kept in range, the refusals.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <cmath>
#include <memory>
#include <numbers>

#include "celestial/celestial_scenes.h"
#include "windows/celestial_parameters_window.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

struct Fixture {
    std::unique_ptr<World> world = testing::CelestialScene();
    int edits = 0;
    int timeWindows = 0;
    bool timeAccepted = true;
    std::unique_ptr<frmHParam> window;

    Fixture() {
        WorldEdit edit = [this](const QString& name, const std::function<void(World&)>& change) {
            QCOMPARE(name, QStringLiteral("Параметры имитации"));
            ++edits;
            change(*world);
        };
        window = std::make_unique<frmHParam>(*world, edit, [this] {
            ++timeWindows;
            if (timeAccepted) world->Celestial.CelestialTimeScale = 7;
            return timeAccepted;
        });
    }

    NumberField* Field(const char* name) const { return window->findChild<NumberField*>(QString::fromUtf8(name)); }
};

void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    TypeText(field, text);
}

}  // namespace

class CelestialParametersWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void applyAndOkWriteTheFields() {
        Fixture f;
        frmHParam& w = *f.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Параметры имитации"));
        QCOMPARE(w.Tabs()->count(), 3);

        QCOMPARE(w.Tabs()->tabText(1), QStringLiteral("Физические постоянные"));
        QVERIFY(!w.ApplyButton()->isEnabled());
        QCOMPARE(w.ConstantUnit(0)->text(), QStringLiteral("Н*(м/кг)^2"));

        Type(f.Field("txtG"), QStringLiteral("1e-10"));
        QVERIFY(w.ApplyButton()->isEnabled());
        Type(f.Field("txtC"), QStringLiteral("0"));  // refused: the last accepted value stays
        QVERIFY(f.Field("txtC")->font().strikeOut());
        Type(f.Field("txtTimeScale"), QStringLiteral("-60"));
        w.AngleUnits()->setCurrentIndex(2);
        emit w.AngleUnits()->activated(2);
        QCOMPARE(f.Field("txtAngleUnit")->Value(), 1.0);
        w.ApplyButton()->click();
        QCOMPARE(f.edits, 1);
        QVERIFY(!w.ApplyButton()->isEnabled());
        const CelestialParameters& p = f.world->Celestial;
        QCOMPARE(p.GravitationalConstant, 1e-10);
        QVERIFY(p.LightSpeed > 0);
        QCOMPARE(p.CelestialTimeScale, -60.0);
        QCOMPARE(f.world->Units.AngleUnitName, std::string("радиан"));
        QCOMPARE(f.world->Units.AngleUnit, 1.0);

        // The horizontal angle is clamped; the vertical one follows it.
        Type(f.Field("txtAngleH"), QStringLiteral("0,05"));
        QCOMPARE(f.Field("txtAngleV")->Value(), VerticalAngleOf(0.1));
        emit f.Field("txtAngleH")->editingFinished();
        QCOMPARE(f.Field("txtAngleH")->Value(), 0.1);
        Type(f.Field("txtAngleV"), QStringLiteral("5"));
        QCOMPARE(f.Field("txtAngleH")->Value(), HorizontalAngleOf(3));
        w.accept();
        QCOMPARE(f.edits, 2);
        QCOMPARE(p.ViewAngleH, 3.0);  // the relation gives a little more than 3
        QCOMPARE(p.ObserverDistance, 5000 / std::tan(1.5));
    }

    void cancelChangesNothing() {
        Fixture f;
        const CelestialParameters before = f.world->Celestial;
        Type(f.Field("txtG"), QStringLiteral("5"));
        Type(f.Field("txtAngleH"), QStringLiteral("1"));
        f.window->reject();
        QCOMPARE(f.edits, 0);
        QCOMPARE(f.world->Celestial, before);
    }

    void unitsListDescriptionsAndTheTimeWindow() {
        Fixture f;
        frmHParam& w = *f.window;
        // Ten quantities and two separators.
        QCOMPARE(w.Quantities()->count(), 12);
        QCOMPARE(w.SymbolField()->text(), QStringLiteral("м"));
        Type(w.SymbolField(), QStringLiteral("км"));
        QCOMPARE(w.ConstantUnit(0)->text(), QStringLiteral("Н*(км/кг)^2"));
        QCOMPARE(w.ConstantUnit(1)->text(), QStringLiteral("км/с"));
        QCOMPARE(w.Quantities()->item(0)->text(), QStringLiteral("Расстояние (км)"));

        w.Quantities()->setCurrentRow(11);  // "Телесный угол"
        QVERIFY(!w.SymbolField()->isEnabled());
        QCOMPARE(w.SymbolField()->maxLength(), 10);
        QTest::mouseClick(w.Description(), Qt::LeftButton);
        QCOMPARE(f.timeWindows, 0);
        w.Quantities()->setCurrentRow(1);  // "Время"
        QCOMPARE(w.SymbolField()->maxLength(), 7);
        QTest::mouseClick(w.Description(), Qt::LeftButton);
        QCOMPARE(f.timeWindows, 1);
        QCOMPARE(f.Field("txtTimeScale")->Value(), 7.0);
        // A cancelled time window keeps what was typed.
        Type(f.Field("txtTimeScale"), QStringLiteral("12"));
        f.timeAccepted = false;
        QTest::mouseClick(w.Description(), Qt::LeftButton);
        QCOMPARE(f.timeWindows, 2);
        QCOMPARE(f.Field("txtTimeScale")->Value(), 12.0);
    }

    void pictures() {
        Fixture f;
        for (int tab = 0; tab < f.window->Tabs()->count(); ++tab) {
            f.window->Tabs()->setCurrentIndex(tab);
            SaveShot(*f.window, QStringLiteral("frmHParam%1").arg(tab));
        }
    }

    void badTextsKeepEveryValueUsable() {
        Fixture f;
        ThrowBadTexts(*f.window, [](NumberField*, const char*) {});
        f.window->accept();
        const CelestialParameters& p = f.world->Celestial;
        for (double v : {p.GravitationalConstant, p.LightSpeed, p.PlanckConstant, p.BoltzmannConstant,
                         p.CelestialTimeScale, p.ObserverDistance, f.world->Units.AngleUnit}) {
            QVERIFY(std::isfinite(v));
        }
        QVERIFY(p.LightSpeed > 0);
        QVERIFY(f.world->Units.AngleUnit > 0);
        QVERIFY(p.ViewAngleH >= 0.1 && p.ViewAngleH <= 3);
    }
};

QTEST_MAIN(CelestialParametersWindowTest)
#include "celestial_parameters_window_test.moc"
