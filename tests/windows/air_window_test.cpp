// infAir, "Информация: сопротивление воздуха": the formula and the legend
// of each body shape; it changes nothing.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "editing/world_change.h"
#include "editor/editor_harness.h"
#include "windows/air_window.h"

using namespace velo;

class AirWindowTest : public QObject {
    Q_OBJECT
private slots:
    void EachShapeShowsItsFormulaAndLegend() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        window.NewMechanical();
        const auto before = std::make_unique<World>(window.world());
        // The item is hidden in the menu, as in the original layout, but
        // works when triggered.
        window.Item(QStringLiteral("mnIAir"))->trigger();
        auto* air = window.findChild<infAir*>(QStringLiteral("infAir"));
        QVERIFY(air);
        QCOMPARE(air->windowTitle(), QStringLiteral("Информация: сопротивление воздуха"));
        QVERIFY(!air->isModal());

        const struct {
            const char* Kind;
            const char* Area;  // what stands for the area in the formula
            QStringList Legend;
        } shapes[] = {
            {"Шар", "<i>R</i><sup>2</sup>", {QStringLiteral("R -- радиус шара")}},
            {"Цилиндр", "<i>R</i>&thinsp;<i>h</i>",
             {QStringLiteral("R -- радиус цилиндра"), QStringLiteral("h -- высота цилиндра")}},
            {"Кольцо", "<i>R</i>&thinsp;<i>d</i>",
             {QStringLiteral("R -- радиус кольца"), QStringLiteral("d -- диаметр сечения")}},
            {"Стержень", "<i>dl</i>", {QStringLiteral("d -- ширина стержня"), QStringLiteral("dl -- элемент длины")}},
        };
        QComboBox* kinds = air->KindList();
        QCOMPARE(kinds->count(), 4);
        for (int i = 3; i >= 0; --i) {
            kinds->setCurrentIndex(i);
            QCOMPARE(kinds->currentText(), QString::fromUtf8(shapes[i].Kind));
            QVERIFY(air->KindFormula()->text().contains(QString::fromUtf8(shapes[i].Area)));
            const QStringList legend = air->KindLegend();
            for (const QString& line : shapes[i].Legend) QVERIFY2(legend.contains(line), qPrintable(line));
        }

        // A second trigger raises the same window.
        window.Item(QStringLiteral("mnIAir"))->trigger();
        QCOMPARE(window.findChildren<infAir*>().size(), 1);
        kinds->setCurrentIndex(3);
        air->show();
        const QString folder = qEnvironmentVariable("VELO_WINDOW_SHOTS");
        if (!folder.isEmpty()) air->grab().save(folder + QStringLiteral("/window_air.png"));
        air->close();
        QVERIFY(DiffWorlds(*before, window.world()).Empty());
    }
};

QTEST_MAIN(AirWindowTest)
#include "air_window_test.moc"
