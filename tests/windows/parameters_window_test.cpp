// "Параметры имитации" and the material window, driven through their
// widgets in the main window: the menu item opens it, "Применить" is one
// step of the history, a refusal keeps the World and moves the focus.
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

#include <cmath>
#include <memory>

#include "editor/editor_harness.h"
#include "editor/scene_editor.h"
#include "forms/unit_labels.h"
#include "windows/material_window.h"
#include "windows/parameters_window.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

// A main window with a mechanical project holding one steel ball.
struct ParametersScene {
    WindowHarness harness;
    frmMain& window = *harness.window;

    ParametersScene() {
        window.show();
        window.Startup(QString());
        harness.messenger.ClearRecords();
        AddBall(window.world(), {1, 2});
        window.editor().Reset();
    }
    World& w() { return window.world(); }

    frmParam* Open() {
        // A window closed before is gone only once its deletion ran.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window.Item(QStringLiteral("mnParam"))->trigger();
        auto* parameters = window.findChild<frmParam*>();
        if (parameters) {
            parameters->activateWindow();
            (void)QTest::qWaitForWindowActive(parameters);
        }
        return parameters;
    }

    template <typename Widget>
    static Widget* Find(QWidget* window, const char* name) {
        return window->findChild<Widget*>(QString::fromUtf8(name));
    }

    static void Type(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    bool Shown(const std::string& text) const {
        for (const auto& record : harness.messenger.Records()) {
            if (record.Text == text) return true;
        }
        return false;
    }
};

bool AllFinite(const Parameters& p, const UnitSystem& u) {
    for (double value : {p.Gravity, p.ZeroLevel, p.FieldScale, p.AirDensity, p.Wind.X, p.Wind.Y, p.RouthMinSpeed,
                         p.ObserverZ, p.AmbientLight, p.MarkSize, u.AngleUnit}) {
        if (!std::isfinite(value) || std::abs(value) >= UnreadableNumber) return false;
    }
    return p.AmbientLight >= 0 && p.AmbientLight <= 1 && p.FieldScale > 0 && p.RouthMinSpeed >= 0;
}

}  // namespace

class ParametersWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void menuOpensItAndApplyIsOneStep() {
        ParametersScene s;
        QVERIFY(s.window.Item(QStringLiteral("mnParam"))->isEnabled());
        frmParam* parameters = s.Open();
        QVERIFY(parameters);
        QVERIFY(parameters->isModal());
        QCOMPARE(parameters->windowTitle(), QStringLiteral("Параметры имитации"));
        s.Type(ParametersScene::Find<NumberField>(parameters, "txtGravity"), QStringLiteral("1,62"));
        s.Type(ParametersScene::Find<NumberField>(parameters, "txtWindX"), QStringLiteral("3"));
        QCOMPARE(ParametersScene::Find<QLabel>(parameters, "lblWind")->text(), QStringLiteral("Горизонтальный ветер"));
        ParametersScene::Find<QPushButton>(parameters, "cmdApply")->click();

        QCOMPARE(s.window.editor().History().count(), 1);
        QCOMPARE(s.window.editor().History().undoText(), QStringLiteral("Параметры имитации"));
        QCOMPARE(s.w().Params.Gravity, 1.62);
        QCOMPARE(s.w().Params.Wind.X, 3.0);
        const Ball& ball = s.w().Balls[1];
        QCOMPARE(ball.PotentialEnergy, (ball.Position.Y - 0) * 1.62 * ball.Mass);
        QVERIFY(s.w().Changed);
        QVERIFY(!parameters->isVisible());

        s.window.editor().History().undo();
        QCOMPARE(s.w().Params.Gravity, 9.81);
        QCOMPARE(s.w().Balls[1].PotentialEnergy, ball.Position.Y * 9.81 * ball.Mass);

        // Cancelling changes nothing.
        parameters = s.Open();
        QVERIFY(parameters);
        s.Type(ParametersScene::Find<NumberField>(parameters, "txtGravity"), QStringLiteral("5"));
        ParametersScene::Find<QPushButton>(parameters, "cmdCancel")->click();
        QCOMPARE(s.w().Params.Gravity, 9.81);
        QCOMPARE(s.window.editor().History().index(), 0);

        // The template box writes "New.qvs"; a failed write is reported and
        // the parameters stay applied.
        const std::filesystem::path programFolder = s.harness.Path("program");
        parameters = s.Open();
        QVERIFY(parameters);
        s.Type(ParametersScene::Find<NumberField>(parameters, "txtGravity"), QStringLiteral("3,7"));
        ParametersScene::Find<QCheckBox>(parameters, "chkTemplate")->setChecked(true);
        ParametersScene::Find<QPushButton>(parameters, "cmdApply")->click();
        QCOMPARE(s.w().Params.Gravity, 3.7);
        QVERIFY(!std::filesystem::exists(programFolder / "New.qvs"));
        QVERIFY(!s.harness.messenger.Records().empty());
        QVERIFY(s.harness.messenger.Records().back().Text.starts_with("Параметры не записаны как шаблон новых проектов."));
        std::filesystem::create_directories(programFolder);
        parameters = s.Open();
        QVERIFY(parameters);
        ParametersScene::Find<QCheckBox>(parameters, "chkTemplate")->setChecked(true);
        ParametersScene::Find<QPushButton>(parameters, "cmdApply")->click();
        QVERIFY(std::filesystem::exists(programFolder / "New.qvs"));
        s.window.NewMechanical();
        QCOMPARE(s.w().Params.Gravity, 3.7);
    }

    void refusalsKeepTheWorldAndMoveTheFocus() {
        ParametersScene s;
        frmParam* parameters = s.Open();
        QVERIFY(parameters);
        const Parameters params = s.w().Params;
        const UnitSystem units = s.w().Units;
        auto* unit = ParametersScene::Find<QComboBox>(parameters, "cmbUnit");
        auto* unitName = ParametersScene::Find<QLineEdit>(parameters, "txtUnit");
        unit->setCurrentIndex(1);
        s.Type(unitName, QString());  // time
        auto* scale = ParametersScene::Find<NumberField>(parameters, "txtScale");
        s.Type(scale, QStringLiteral("0"));
        QVERIFY(ParametersScene::Find<QLabel>(parameters, "lblArea")->isHidden());
        parameters->Tabs()->setCurrentIndex(4);
        unit->setCurrentIndex(0);

        auto* apply = ParametersScene::Find<QPushButton>(parameters, "cmdApply");
        apply->click();
        QVERIFY(s.Shown("Нет данных о названии единицы измерения времени (T)"));
        QCOMPARE(unit->currentIndex(), 1);
        QCOMPARE(parameters->Tabs()->currentIndex(), 0);
        QVERIFY(unitName->hasFocus());

        s.Type(unitName, QStringLiteral("h"));
        apply->click();
        QVERIFY(s.Shown("Укажите корректный масштаб отображения"));
        QCOMPARE(parameters->Tabs()->currentIndex(), 2);
        QVERIFY(scale->hasFocus());

        QVERIFY(parameters->isVisible());
        QCOMPARE(s.w().Params, params);
        QCOMPARE(s.w().Units, units);
        QCOMPARE(s.window.editor().History().count(), 0);

        s.Type(scale, QStringLiteral("500"));
        QVERIFY(!ParametersScene::Find<QLabel>(parameters, "lblArea")->isHidden());
        QCOMPARE(ParametersScene::Find<QLabel>(parameters, "lblArea")->text(),
                 QStringLiteral("Поле 10000x7000 охватывает область: 20 м x 14 м"));
        apply->click();
        QCOMPARE(s.w().Units.TimeUnitName, std::string("h"));
        QCOMPARE(s.w().Params.FieldScale, 500.0);
    }

    void badTextsNeverReachTheWorld() {
        ParametersScene s;
        frmParam* parameters = s.Open();
        QVERIFY(parameters);
        // Every field enabled: custom air, typed ambient light.
        ParametersScene::Find<QComboBox>(parameters, "cmbAir")->setCurrentIndex(AirCustom);
        ParametersScene::Find<QCheckBox>(parameters, "chkAmbientAuto")->setChecked(false);
        const Parameters params = s.w().Params;
        int fields = 0;
        ThrowBadTexts(*parameters, [&](NumberField*, const char*) {
            ++fields;
            QCOMPARE(s.w().Params, params);
        });
        QCOMPARE(fields, 12 * static_cast<int>(std::size(BadNumberTexts)));
        ParametersScene::Find<QPushButton>(parameters, "cmdApply")->click();
        // The last bad texts leave a scale or an angle unit of 0, which
        // "Применить" refuses; whatever was stored is usable.
        if (parameters->isVisible()) {
            s.Type(ParametersScene::Find<NumberField>(parameters, "txtAngleUnit"), QStringLiteral("1"));
            s.Type(ParametersScene::Find<NumberField>(parameters, "txtScale"), QStringLiteral("100"));
            ParametersScene::Find<QPushButton>(parameters, "cmdApply")->click();
        }
        QVERIFY(!parameters->isVisible());
        QVERIFY(AllFinite(s.w().Params, s.w().Units));
        QVERIFY(std::isfinite(s.w().Balls[1].PotentialEnergy));
        QCOMPARE(s.window.editor().History().count(), 1);
    }

    void backgroundPictureUndoesWithTheParameters() {
        ParametersScene s;
        const std::filesystem::path backgrounds = s.harness.Path("program") / "Graphics" / "Backgrounds";
        std::filesystem::create_directories(backgrounds);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(QString::fromStdString((backgrounds / "Back1.bmp").string())));
        const std::filesystem::path stored = s.harness.folders.BackgroundPath();
        QVERIFY(!std::filesystem::exists(stored));

        frmParam* parameters = s.Open();
        QVERIFY(parameters);
        auto* list = ParametersScene::Find<QComboBox>(parameters, "cmbBackground");
        list->setCurrentIndex(list->findData(1));
        ParametersScene::Find<QPushButton>(parameters, "cmdApply")->click();
        QCOMPARE(int(s.w().Params.BackgroundMode), 1);
        QVERIFY(std::filesystem::exists(stored));
        QCOMPARE(s.window.editor().History().count(), 1);

        s.window.editor().History().undo();
        QCOMPARE(int(s.w().Params.BackgroundMode), 0);
        QVERIFY(!std::filesystem::exists(stored));
        s.window.editor().History().redo();
        QCOMPARE(int(s.w().Params.BackgroundMode), 1);
        QCOMPARE(std::filesystem::file_size(stored), std::filesystem::file_size(backgrounds / "Back1.bmp"));
    }

    void coloursInStorageOrder() {
        ParametersScene s;
        std::int32_t offered = -1;
        ParameterWindowActions actions;
        actions.Edit = s.window.editor().WindowEdit();
        actions.ChooseColour = [&](std::int32_t initial) {
            offered = initial;
            return std::optional<std::int32_t>(Rgb(1, 2, 3));
        };
        frmParam parameters(s.w(), actions);
        ParametersScene::Find<QPushButton>(&parameters, "cmdColor2")->click();  // fixed, selected
        QCOMPARE(offered, Rgb(0, 0, 221));
        ParametersScene::Find<QPushButton>(&parameters, "cmdColor5")->click();  // movable, changeable
        QCOMPARE(offered, Rgb(238, 0, 0));
        ParametersScene::Find<QSlider>(&parameters, "sldMarkSize")->setValue(8);
        parameters.Apply();
        QCOMPARE(s.w().Params.Colors[0][1], Rgb(1, 2, 3));
        QCOMPARE(s.w().Params.Colors[1][2], Rgb(1, 2, 3));
        QCOMPARE(s.w().Params.Colors[1][1], Rgb(0, 0, 255));
        QCOMPARE(s.w().Params.MarkSize, 0.8);
    }

    void materialsTabAndMaterialWindow() {
        ParametersScene s;
        std::vector<std::string> errors;
        ParameterWindowActions actions;
        actions.Edit = s.window.editor().WindowEdit();
        actions.ReportError = [&](const std::string& text) { errors.push_back(text); };
        frmParam parameters(s.w(), actions);
        auto* list = ParametersScene::Find<QListWidget>(&parameters, "lstMaterials");
        list->setCurrentRow(1);
        parameters.DeleteMaterialCommand();  // the ball is of steel
        QCOMPARE(errors.back(), std::string("Этот материал используется, поэтому не может быть удалён"));

        // "Добавить" opens the material window; its "ОК" names the material.
        QTimer::singleShot(0, this, [] {
            auto* material = qobject_cast<frmMaterial*>(QApplication::activeModalWidget());
            QVERIFY(material);
            QCOMPARE(material->windowTitle(), QStringLiteral("Свойства материала №2"));
            ParametersScene::Type(material->NameField(), QStringLiteral("Cu"));
            ParametersScene::Type(material->PairField(1, CoefficientRestitution), QStringLiteral("0,3"));
            QCOMPARE(material->Grid()->item(0, CoefficientRestitution)->text(), QStringLiteral("0,3"));
            material->accept();
        });
        parameters.AddMaterialCommand();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(2)->text(), QStringLiteral("Cu"));
        QCOMPARE(PairOf(parameters.WorkingMaterials(), 1, 2).Restitution, 0.3);
        auto* grid = ParametersScene::Find<QTableWidget>(&parameters, "grdCoefficients");
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("0,3"));
        parameters.ShowCoefficients(CoefficientRollingFriction);
        QCOMPARE(ParametersScene::Find<QLabel>(&parameters, "lblCoefficients")->text(),
                 QStringLiteral("Коэффициент трения качения, м"));

        // A cancelled material window takes the added material back.
        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        parameters.AddMaterialCommand();
        QCOMPARE(list->count(), 3);

        list->setCurrentRow(2);
        parameters.DeleteMaterialCommand();
        QCOMPARE(list->item(2)->text(), QStringLiteral("Отсутствует"));
        QCOMPARE(s.w().Materials.MaterialCount, 1);  // only the copy changed
        parameters.Apply();
        QCOMPARE(s.w().Materials.MaterialCount, 1);  // the free slot trimmed
        QCOMPARE(s.w().Materials.Items[1].Name, std::string("Сталь"));
    }

    void materialWindowTakesNoBadText() {
        MaterialTable copy;
        SetDefaultMaterials(copy);
        std::vector<std::string> errors;
        frmMaterial material(copy, 1, UnitSystem{}, {}, [&](const std::string& text) { errors.push_back(text); });
        const MaterialTable before = copy;
        ThrowBadTexts(material, [&](NumberField*, const char*) { QVERIFY(copy == before); });
        material.accept();
        if (!errors.empty()) {
            QCOMPARE(errors.back(), std::string("Неверно указана плотность материала"));
            ParametersScene::Type(material.DensityField(), QStringLiteral("7800"));
            material.accept();
        }
        const PairCoefficients steel = PairOf(copy, 1, 1);
        for (double value : {copy.Items[1].Density, steel.Restitution, steel.FrictionRouth, steel.FrictionLambda,
                             steel.RollingFriction}) {
            QVERIFY(std::isfinite(value) && value >= 0 && value < UnreadableNumber);
        }
        QVERIFY(copy.Items[1].Density > 0);
    }

    // The pictures of the documentation, every page of the window; written
    // only when VELO_DOCS_DIR names a folder. At a scale factor of 2 the
    // names end in "_200".
    void documentationPictures() {
        const QString folder = qEnvironmentVariable("VELO_DOCS_DIR");
        if (folder.isEmpty()) QSKIP("VELO_DOCS_DIR not set");
        ParametersScene s;
        MaterialTable& table = s.w().Materials;
        const char* names[] = {"Медь", "Дерево", "Резина"};
        for (const char* name : names) {
            const int index = *AddMaterial(table);
            table.Items[static_cast<std::size_t>(index)].Name = name;
            SetPairSymmetric(table, index, 1, PairCoefficients{0.3 + 0.1 * index, 0.4, 0.2, 0.001 * index});
        }
        frmParam* parameters = s.Open();
        QVERIFY(parameters);
        ParametersScene::Find<QListWidget>(parameters, "lstMaterials")->setCurrentRow(2);
        const QString suffix = parameters->devicePixelRatioF() > 1.5 ? QStringLiteral("_200") : QString();
        const char* pages[] = {"units", "field", "view", "colours", "materials"};
        for (int page = 0; page < parameters->Tabs()->count(); ++page) {
            parameters->Tabs()->setCurrentIndex(page);
            QTest::qWait(50);
            const QString name = page == 1 ? QStringLiteral("window_parameters")
                                           : QStringLiteral("window_parameters_") + QString::fromUtf8(pages[page]);
            QVERIFY(parameters->grab().save(folder + QLatin1Char('/') + name + suffix + QStringLiteral(".png")));
        }
        MaterialTable copy = parameters->WorkingMaterials();
        frmMaterial material(copy, 2, s.w().Units, {}, {}, parameters);
        material.show();
        QTest::qWait(50);
        QVERIFY(material.grab().save(folder + QStringLiteral("/window_material") + suffix + QStringLiteral(".png")));
    }

    // Opening time on the fullest project: every ball and rod, and 101
    // materials, whose coefficient grid is the largest part of the window.
    void openingOnTheCapacityScene() {
        auto world = std::make_unique<World>();
        DefaultWorld(*world);
        world->ProjectKind = ProjectMechanical;
        while (world->BallCount < BallCapacity) AddBall(*world, {0.01 * world->BallCount, 1});
        while (world->PegCount < PegCapacity) NewObject(*world, KindPeg);
        while (world->Materials.MaterialCount < MaxMaterialIndex) {
            const int index = *AddMaterial(world->Materials);
            world->Materials.Items[static_cast<std::size_t>(index)].Name = "Материал " + std::to_string(index);
        }
        QElapsedTimer clock;
        QBENCHMARK_ONCE {
            clock.start();
            frmParam parameters(*world, ParameterWindowActions{});
            parameters.show();
            QCoreApplication::processEvents();
            qInfo("frmParam opened and shown in %lld ms", static_cast<long long>(clock.elapsed()));
        }
    }
};

QTEST_MAIN(ParametersWindowTest)
#include "parameters_window_test.moc"
