// The rod window with its section window: typing into the fields, "ОК" as
// one step of the history, "Отмена" and the loss of the focus discarding
// everything, and bad texts in every numeric field.
#include <QApplication>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "editor/editor_harness.h"
#include "editor/scene_editor.h"
#include "model/derived_fields.h"
#include "model/messages.h"
#include "persist/qvs_file.h"
#include "model/world_ops.h"
#include "windows/peg_window.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

template <typename Table>
bool SameBytes(const Table& a, const Table& b) {
    return std::memcmp(&a, &b, sizeof(Table)) == 0;
}

// Every rod and ball holds the derived values of its stored ones.
bool Normalised(const World& world) {
    auto again = std::make_unique<World>(world);
    for (int r = 1; r <= again->PegCount; ++r) {
        if (again->Pegs[r].Exists) RecomputeRod(*again, r);
    }
    for (int b = 1; b <= again->BallCount; ++b) {
        if (again->Balls[b].Exists) RecomputeBall(*again, b);
    }
    return SameBytes(again->Pegs, world.Pegs) && SameBytes(again->Balls, world.Balls);
}

// A horizontal rod 1 long with balls at both ends, and two suspension
// points; the history keeps the World before each step.
struct Scene {
    std::unique_ptr<World> world = std::make_unique<World>();
    std::vector<std::unique_ptr<World>> history;
    QWidget main;
    int rod = 0;

    Scene() {
        World& w = *world;
        DefaultWorld(w);
        w.ProjectKind = ProjectMechanical;
        for (Vec2 p : {Vec2{0, 3}, Vec2{2, 3}}) w.Lavals[NewObject(w, KindLaval).Number].Position = p;
        rod = NewObject(w, KindPeg).Number;
        Peg& r = w.Pegs[rod];
        r.Length = 1;
        r.Width = r.Depth = 0.03;
        r.Position = {0, 1};
        for (int end = 1; end <= 2; ++end) {
            const int b = NewObject(w, KindBall).Number;
            w.Balls[b].Radius = 0.1;
            (end == 1 ? r.End1Kind : r.End2Kind) = KindBall;
            (end == 1 ? r.End1Number : r.End2Number) = b;
            w.Balls[b].BindKind = BindPegEnd;
            w.Balls[b].BindNumber = rod;
            RecomputeBall(w, b);
        }
        RecomputeRod(w, rod);
        ClearSelection(w);
        main.resize(400, 300);
        main.show();
    }

    prpPeg* Open() {
        WindowServices services;
        services.Scene = world.get();
        services.Edit = [this](const QString&, const std::function<void(World&)>& change) {
            history.push_back(std::make_unique<World>(*world));
            change(*world);
        };
        auto* window = new prpPeg(services, rod, &main);
        window->show();
        window->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window);
        return window;
    }

    // The World as it was before the window, but for the current object.
    bool Unchanged(const World& before) const {
        return SameBytes(before.Pegs, world->Pegs) && SameBytes(before.Balls, world->Balls) &&
               SameBytes(before.Lavals, world->Lavals);
    }
};

void Type(QWidget* window, const char* name, const QString& text) {
    auto* field = window->findChild<NumberField*>(QString::fromUtf8(name));
    QVERIFY2(field, name);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

// Answers the next input box with `text` (nothing: cancels it).
void AnswerInputBox(std::optional<QString> text) {
    QTimer::singleShot(0, [text] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (!text) {
            box->reject();
            return;
        }
        box->setTextValue(*text);
        box->accept();
    });
}

}  // namespace

class PegWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void EditsGoInAsOneStepOnOk() {
        Scene s;
        const auto before = std::make_unique<World>(*s.world);
        QPointer<prpPeg> window = s.Open();
        QCOMPARE(window->windowTitle(), QStringLiteral("Свойства стержня № 1"));
        Type(window, "txtL", QStringLiteral("0,05"));  // shorter than twice the width: refused
        QVERIFY(window->findChild<NumberField*>("txtL")->Refused());
        Type(window, "txtL", QStringLiteral("2,5"));
        Type(window, "txtRo", QStringLiteral("2700"));
        // "30" is a layer, "300" none: the copy's layer comes back.
        Type(window, "ZCoord", QStringLiteral("300"));
        QVERIFY(!window->findChild<NumberField*>("ZCoord")->Refused());
        QCOMPARE(window->findChild<NumberField*>("ZCoord")->text(), QStringLiteral("30"));
        Type(window, "ZCoord", QStringLiteral("3"));
        window->FreezeItem()->trigger();
        Type(window, "txtM", QStringLiteral("5"));  // shown only: put back
        QCOMPARE(window->findChild<NumberField*>("txtM")->Value(), window->Form().Copy().Mass);
        prpPeg2* section = window->SectionWindow();
        section->Shape()->setCurrentIndex(1);  // "Эллипс"
        QTest::mouseClick(window->findChild<QCheckBox*>("Check1"), Qt::LeftButton);
        QCOMPARE(window->findChild<QCheckBox*>("Check1")->text(), QStringLiteral("Привязка первого конца"));
        QCOMPARE(window->findChild<QCheckBox*>("Check2")->text(), QStringLiteral("Привязка второго конца к шару №2"));
        // The scene shows the copy; the rod is untouched.
        QCOMPARE(s.world->Pegs[0].Length, 2.5);
        QCOMPARE(s.world->Pegs[s.rod].Length, 1.0);

        window->accept();
        QVERIFY(!window || window->isHidden());
        QCOMPARE(s.history.size(), std::size_t{1});
        const Peg& rod = s.world->Pegs[s.rod];
        QVERIFY(rod.Exists && !s.world->Pegs[0].Exists);
        QCOMPARE(rod.Length, 2.5);
        QCOMPARE(rod.Density, 2700.0);
        QCOMPARE(int(rod.SectionShape), 0);
        QCOMPARE(int(rod.Z), 3);
        QVERIFY(!rod.Movable);
        QCOMPARE(int(rod.End1Kind), 0);
        QCOMPARE(int(s.world->Balls[rod.End1Number].BindKind), int(BindNothing));
        QVERIFY(Normalised(*s.world));
        // Undone, the World is as before.
        *s.world = *s.history.back();
        QVERIFY(s.Unchanged(*before));
    }

    void HangingCentreAndFraction() {
        Scene s;
        QPointer<prpPeg> window = s.Open();
        auto* hang = window->findChild<QCheckBox*>("Check3");
        QVERIFY(hang->isEnabled() && !hang->isChecked());
        QVERIFY(window->CentreItem()->isEnabled());
        hang->click();
        QCOMPARE(window->Form().Copy().HangLaval, 1);
        QVERIFY(!window->CentreItem()->isEnabled());
        // Hung, the centre's fields put back what is typed.
        auto* x = window->findChild<NumberField*>("txtX");
        const double shown = x->Value();
        Type(window, "txtX", QStringLiteral("7"));
        QCOMPARE(x->Value(), shown);
        QCOMPARE(window->Form().Copy().Position, (Vec2{0, 3}));
        // The point's arrows step to the next point.
        QTest::mouseClick(window->findChild<QWidget*>("Text3Up"), Qt::LeftButton);
        QCOMPARE(window->Form().Copy().HangLaval, 2);

        struct Answer {
            std::optional<QString> text;
            double fraction;
        };
        for (const Answer& a : {Answer{QStringLiteral("2"), 1}, Answer{QStringLiteral("-1"), 0},
                                Answer{QStringLiteral("0,25"), 0.25}, Answer{std::nullopt, 0.25},
                                Answer{QStringLiteral("abc"), 0}}) {
            AnswerInputBox(a.text);
            window->findChild<QPushButton*>("cmdFraction")->click();
            QCOMPARE(window->Form().Copy().HangFraction, a.fraction);
            QVERIFY2(window && window->isVisible(), "the input box must not close the rod window");
        }
        QVERIFY(window->CentreText()->text().startsWith(QStringLiteral("Центр масс системы находится")));
        window->reject();
    }

    void CancelAndLosingTheFocusDiscard() {
        for (const bool cancel : {true, false}) {
            Scene s;
            const auto before = std::make_unique<World>(*s.world);
            QPointer<prpPeg> window = s.Open();
            Type(window, "txtL", QStringLiteral("3"));
            Type(window, "txtFi", QStringLiteral("90"));
            window->findChild<QCheckBox*>("Check3")->click();
            if (cancel) {
                window->reject();
            } else {
                // The companion windows keep the edits; another window of
                // the program taking the focus from them discards them.
                QTest::mouseClick(window->CentreText(), Qt::LeftButton);
                QVERIFY(QTest::qWaitForWindowActive(window->CentreWindow()));
                QVERIFY(window->isVisible());
                s.main.activateWindow();
                QVERIFY(QTest::qWaitFor([&] { return !window || window->isHidden(); }));
            }
            QVERIFY(s.history.empty());
            QVERIFY(s.Unchanged(*before));
            QCOMPARE(int(s.world->CurrentKind), int(KindPeg));
            QCOMPARE(s.world->CurrentNumber, s.rod);
        }
    }

    void BadTextsInEveryField() {
        Scene s;
        const auto before = std::make_unique<World>(*s.world);
        QPointer<prpPeg> window = s.Open();
        window->findChild<QCheckBox*>("Check3")->click();
        window->findChild<QCheckBox*>("Check3")->click();
        ThrowBadTexts(*window, [&](NumberField* field, const char* text) {
            const Peg& copy = s.world->Pegs[0];
            Peg hidden = before->Pegs[s.rod];  // the rod is hidden behind its copy
            hidden.Exists = false;
            QVERIFY2(SameBytes(s.world->Pegs[s.rod], hidden), qPrintable(field->objectName()));
            QVERIFY2(std::isfinite(copy.Mass) && std::isfinite(copy.PivotInertia) && std::isfinite(copy.End2.X) &&
                         copy.Length <= 40 && copy.Width > 0 && copy.Depth > 0,
                     qPrintable(field->objectName() + QStringLiteral(": ") + QString::fromUtf8(text)));
        });
        window->accept();
        QCOMPARE(s.history.size(), std::size_t{1});
        QVERIFY(Normalised(*s.world));
        const Peg& rod = s.world->Pegs[s.rod];
        QVERIFY(std::isfinite(rod.Mass) && std::isfinite(rod.PivotInertia) && std::isfinite(rod.End1.Y));
    }

    // "Свойства" on a rod opens its window in the program; "ОК" is one step
    // of the editor's history, which undo takes back.
    void OpensFromTheEditor() {
        WindowHarness harness;
        frmMain& main = *harness.window;
        main.NewMechanical();
        main.show();
        World& w = main.world();
        const int rod = NewObject(w, KindPeg).Number;
        w.Pegs[rod].Length = 1;
        w.Pegs[rod].Width = w.Pegs[rod].Depth = 0.03;
        w.Pegs[rod].Density = 7800;
        RecomputeRod(w, rod);
        ClearSelection(w);
        w.CurrentKind = KindPeg;
        w.CurrentNumber = rod;
        const auto before = std::make_unique<World>(w);
        main.editor().PropertiesCommand();
        auto* window = main.findChild<prpPeg*>();
        QVERIFY(window && window->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(window));
        Type(window, "txtL", QStringLiteral("2"));
        Type(window, "txtFi", QStringLiteral("30"));
        QVERIFY(w.Pegs[0].Exists);
        const int steps = main.editor().History().count();
        window->accept();
        QCOMPARE(main.editor().History().count(), steps + 1);
        QCOMPARE(w.Pegs[rod].Length, 2.0);
        main.editor().History().undo();
        QVERIFY(SameBytes(w.Pegs, before->Pegs));
    }

    // The pictures of the documentation: the window on the rod of the
    // pendulum example, at the screen's scale (200 % adds "_200"). Written
    // only when VELO_DOCS_DIR names a folder.
    void documentationPictures() {
        const QString folder = qEnvironmentVariable("VELO_DOCS_DIR");
        if (folder.isEmpty()) QSKIP("VELO_DOCS_DIR not set");
        Scene s;
        SilentMessenger quiet;
        const auto opened = OpenQvs(*s.world, VELO_SOURCE_DIR "/examples/physical_pendulum.qvs", quiet);
        QCOMPARE(int(opened.Class), int(QvsFileClass::Mechanical));
        s.rod = 1;
        QPointer<prpPeg> window = s.Open();
        window->SectionWindow()->show();
        QCoreApplication::processEvents();
        const QString scale = window->devicePixelRatio() > 1.5 ? QStringLiteral("_200") : QString();
        QVERIFY(window->grab().save(QDir(folder).filePath(QStringLiteral("window_rod%1.png").arg(scale))));
        QVERIFY(window->SectionWindow()->grab().save(
            QDir(folder).filePath(QStringLiteral("window_rod_section%1.png").arg(scale))));
        window->reject();
    }
};

QTEST_MAIN(PegWindowTest)
#include "peg_window_test.moc"
