// The celestial body window in the main window: the previewed copy, "ОК"
// as one step of the history, "Отмена" and deactivation leaving the body,
// the refusals.
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QUndoStack>
#include <QtTest>

#include <vector>

#include "editing/celestial_edits.h"
#include "editor/editor_harness.h"
#include "editor/scene_editor.h"
#include "forms/hbody_form.h"
#include "celestial/density_formula.h"
#include "windows/hbody_window.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

// A celestial project with two bodies; the first is the current one.
int MakeSky(frmMain& window) {
    window.NewCelestial();
    std::vector<double> uniforms{0.25, 0.5, 0.75};
    std::size_t next = 0;
    const UniformSource uniform = [&] { return uniforms[next++ % uniforms.size()]; };
    World& w = window.world();
    const int first = CreateCelestialBody(w, {0, 0}, 10, uniform);
    CreateCelestialBody(w, {500, 0}, 10, uniform);
    w.HBodies[first].Selected = false;
    w.CurrentKind = KindHBody;
    w.CurrentNumber = first;
    return first;
}

void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    TypeText(field, text);
}

prpHBody* OpenedWindow(frmMain& window) {
    window.editor().PropertiesCommand();
    // A closed window is deleted later: the open one is the shown one.
    for (prpHBody* body : window.findChildren<prpHBody*>()) {
        if (body->isVisible()) return body;
    }
    return nullptr;
}

}  // namespace

class HBodyWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void okWritesTheCopyAsOneStepAndSelectsTheBody() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        const int n = MakeSky(window);
        World& w = window.world();
        const HBody before = w.HBodies[n];
        prpHBody* body = OpenedWindow(window);
        QVERIFY(body);
        QCOMPARE(body->windowTitle(), QStringLiteral("Свойства небесного тела № 1"));
        SaveShot(*body, QStringLiteral("prpHBody"));
        // The copy is in slot 0 for the scene to show.
        QVERIFY(w.HBodies[0].Exists);
        QCOMPARE(w.HBodies[0].Radius, before.Radius);

        Type(body->findChild<QLineEdit*>("txtName"), QStringLiteral(" Луна "));
        Type(body->findChild<QLineEdit*>("txtR"), QStringLiteral("1737000"));
        Type(body->findChild<QLineEdit*>("txtRoX"), QStringLiteral("3344"));
        Type(body->findChild<QLineEdit*>("txtSz"), QStringLiteral("-4e8"));
        QCOMPARE(w.HBodies[0].Radius, 1737000.0);
        QCOMPARE(w.HBodies[n], before);
        const auto mass = body->findChild<NumberField*>("txtM");
        QCOMPARE(mass->Value(), w.HBodies[0].Mass);

        const int steps = window.editor().History().count();
        body->OkButton()->click();
        QCOMPARE(window.editor().History().count(), steps + 1);
        const HBody& after = w.HBodies[n];
        QCOMPARE(BodyNameText(after), std::u16string(u"Луна"));
        QCOMPARE(after.Radius, 1737000.0);
        QCOMPARE(after.Density, 3344.0);
        QCOMPARE(after.Position.Z, -4e8);
        QCOMPARE(after.Mass, after.Volume * 3344.0);
        QVERIFY(after.Selected);
        QVERIFY(!w.HBodies[0].Exists);

        window.editor().History().undo();
        QCOMPARE(w.HBodies[n].Radius, before.Radius);
        QCOMPARE(w.HBodies[n].Position, before.Position);
        QCOMPARE(w.HBodies[n].DensityFormula, before.DensityFormula);
    }

    void cancelAndDeactivationLeaveTheBody() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        const int n = MakeSky(window);
        World& w = window.world();
        const auto bodies = w.HBodies;
        const int steps = window.editor().History().count();

        prpHBody* body = OpenedWindow(window);
        Type(body->findChild<QLineEdit*>("txtR"), QStringLiteral("5"));
        Type(body->findChild<QLineEdit*>("txtSx"), QStringLiteral("12"));
        body->reject();
        QCOMPARE(w.HBodies, bodies);

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Showing the window laid the scene out afresh, which forgets the
        // current object and the selection.
        w.CurrentKind = KindHBody;
        w.CurrentNumber = n;
        const auto shown = w.HBodies;
        body = OpenedWindow(window);
        QVERIFY(body);
        if (!QTest::qWaitForWindowActive(body)) QSKIP("windows are not activated here (no window manager)");
        Type(body->findChild<QLineEdit*>("txtR"), QStringLiteral("5"));
        QPointer<prpHBody> watched(body);
        window.activateWindow();
        QTRY_VERIFY(watched.isNull() || !watched->isVisible());
        QCOMPARE(w.HBodies, shown);
        QCOMPARE(window.editor().History().count(), steps);
        QVERIFY(!w.HBodies[n].Selected);
    }

    // A press on the scene starts its gesture before the window closes: the
    // preview must not become part of that step of the history.
    void gestureBegunUnderThePreviewLeavesNoCopyBehind() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        MakeSky(window);
        World& w = window.world();
        prpHBody* body = OpenedWindow(window);
        window.editor().BeginEdit(QStringLiteral("Перемещение"));
        body->reject();
        window.editor().Live([](World& world) { world.HBodies[2].Position.X += 1e6; });
        window.editor().EndEdit();
        window.editor().History().undo();
        QVERIFY(!w.HBodies[0].Exists);
        window.editor().History().redo();
        QVERIFY(!w.HBodies[0].Exists);
    }

    void refusalsStrikeAndKeepTheCopy() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        const int n = MakeSky(window);
        World& w = window.world();
        prpHBody* body = OpenedWindow(window);
        auto* radius = body->findChild<NumberField*>("txtR");
        auto* volume = body->findChild<NumberField*>("txtV");
        // Typed key by key, "1e4" is taken on the way to "1e41".
        Type(radius, QStringLiteral("1e41"));
        QVERIFY(radius->font().strikeOut());
        QCOMPARE(body->Copy().Radius, 1e4);
        const double mass = body->Copy().Mass;
        Type(volume, QStringLiteral("0"));
        QVERIFY(volume->font().strikeOut());
        Type(volume, QStringLiteral("-8"));
        QVERIFY(volume->font().strikeOut());
        QCOMPARE(body->Copy().Mass, mass);

        // A law without a mean density strikes the formula and holds "ОК"
        // back until one with a mean is typed.
        auto* formula = body->findChild<QLineEdit*>("txtRoX");
        Type(formula, QStringLiteral("1000*"));
        QVERIFY(formula->font().strikeOut());
        QVERIFY(!body->OkButton()->isEnabled());
        QCOMPARE(body->Copy().DensityFormula, std::string("1000"));
        Type(formula, QStringLiteral("1/x^3"));  // the tool tip says why
        QCOMPARE(formula->toolTip(), QString::fromUtf8(DensityDivergesMessage));
        Type(formula, QStringLiteral("2000*X"));
        QVERIFY(!formula->font().strikeOut());
        QVERIFY(formula->toolTip().isEmpty());
        QVERIFY(body->OkButton()->isEnabled());
        QCOMPARE(body->Copy().Density, 1500.0);
        QCOMPARE(body->Copy().DensityFormula, std::string("2000*X"));
        body->OkButton()->click();
        QCOMPARE(w.HBodies[n].DensityFormula, std::string("2000*X"));
    }

    void badTextsNeverReachTheBody() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        const int n = MakeSky(window);
        World& w = window.world();
        const HBody before = w.HBodies[n];
        prpHBody* body = OpenedWindow(window);
        ThrowBadTexts(*body, [&](NumberField*, const char*) {
            QCOMPARE(w.HBodies[n], before);
            const HBody& copy = body->Copy();
            QVERIFY(copy.Radius >= MinBodyRadius && copy.Radius <= MaxBodyRadius);
            QVERIFY(std::isfinite(copy.Mass) && copy.Mass > 0);
            QCOMPARE(copy.Mass, copy.Volume * copy.Density);
        });
        body->OkButton()->click();
        const HBody& after = w.HBodies[n];
        QVERIFY(after.Radius >= MinBodyRadius && after.Radius <= MaxBodyRadius);
        for (double c : {after.Position.X, after.Position.Y, after.Position.Z}) QVERIFY(std::isfinite(c));
    }
};

QTEST_MAIN(HBodyWindowTest)
#include "hbody_window_test.moc"
