// The file properties window: size, gravity direction and object counts;
// the author text and the description as one step of the history.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <fstream>

#include "editing/world_change.h"
#include "editor/scene_editor.h"
#include "editor/editor_harness.h"
#include "windows/file_properties_window.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

frmFileProperties* OpenProperties(frmMain& window) {
    window.Item(QStringLiteral("mnFProp"))->trigger();
    return window.findChild<frmFileProperties*>(QStringLiteral("frmFileProperties"));
}

}  // namespace

class FilePropertiesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsSizeGravityAndCounts() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        window.NewMechanical();
        World& world = window.world();
        AddBall(world, Vec2{1, 1});
        AddBall(world, Vec2{2, 1});
        const int cylinder = NewObject(world, KindCylinder).Number;
        world.Balls[cylinder].Position = Vec2{3, 1};
        NewObject(world, KindWall);
        world.Params.Gravity = -9.81;
        world.Changed = true;

        frmFileProperties* properties = OpenProperties(window);
        QVERIFY(properties);
        QCOMPARE(properties->windowTitle(), QStringLiteral("Cвойства имитации"));
        // The untitled project was written first so that it has a size; it
        // is still not the user's file.
        const auto untitled = harness.folders.UntitledPath();
        QVERIFY(std::filesystem::exists(untitled));
        QCOMPARE(properties->SizeLabel()->text(),
                 QStringLiteral("Размер: %1 байт").arg(std::filesystem::file_size(untitled)));
        QVERIFY(world.Changed);
        QCOMPARE(properties->GravityLabel()->text(), QStringLiteral("Гравитация: Вверх"));
        const QStringList counts = properties->CountLines();
        for (const char* line : {"Шары: 2", "Цилиндры: 1", "Стены: 1", "Стержни: 0", "Всего: 4"}) {
            QVERIFY2(counts.contains(QString::fromUtf8(line)), line);
        }
        QVERIFY(!properties->WatermarkButton()->isEnabled());
        properties->show();
        const QString folder = qEnvironmentVariable("VELO_WINDOW_SHOTS");
        if (!folder.isEmpty()) properties->grab().save(folder + QStringLiteral("/window_file_properties.png"));
        properties->accept();
    }

    void AuthorAndDescriptionAreOneStep() {
        WindowHarness harness;
        frmMain& window = *harness.window;
        window.NewMechanical();
        QUndoStack& history = window.editor().History();
        const int steps = history.count();
        const auto document = harness.Path("about.txt");
        std::ofstream(document, std::ios::binary) << "Описание опыта";

        // Opening and closing untouched changes nothing.
        const auto before = std::make_unique<World>(window.world());
        OpenProperties(window)->accept();
        QTRY_VERIFY(!window.findChild<frmFileProperties*>());
        QCOMPARE(history.count(), steps);
        QVERIFY(DiffWorlds(*before, window.world()).Empty());

        frmFileProperties* properties = OpenProperties(window);
        properties->SetDocumentChooser([&](QWidget*, const std::filesystem::path&) { return document; });
        QTest::mouseClick(properties->DescriptionButton(), Qt::LeftButton);
        QCOMPARE(properties->DescriptionLabel()->text(), QStringLiteral("Описание: документ TXT"));
        // The field holds at most the 80 characters the file keeps.
        TypeText(properties->AuthorField(), QString(100, QChar(u'Я')));
        QCOMPARE(properties->AuthorField()->text().size(), 80);
        properties->AuthorField()->setText(QStringLiteral("Петров П. П."));
        properties->reject();  // closing keeps the author text too
        QTRY_VERIFY(!window.findChild<frmFileProperties*>());

        const std::string padded = "Петров П. П." + std::string(68, ' ');
        QCOMPARE(history.count(), steps + 1);
        QCOMPARE(window.project().AuthorText, padded);
        QCOMPARE(window.world().Params.DescriptionExt, std::string("txt"));
        QVERIFY(window.world().Changed);
        QVERIFY(window.Item(QStringLiteral("mnText"))->isEnabled());

        history.undo();
        QCOMPARE(window.project().AuthorText, std::string());
        QCOMPARE(window.world().Params.DescriptionExt, std::string());
        QVERIFY(!std::filesystem::exists(harness.folders.DescriptionPath("txt")));
        history.redo();
        QCOMPARE(window.project().AuthorText, padded);
        std::ifstream copy(harness.folders.DescriptionPath("txt"), std::ios::binary);
        QCOMPARE(std::string((std::istreambuf_iterator<char>(copy)), std::istreambuf_iterator<char>()),
                 std::string("Описание опыта"));
    }
};

QTEST_MAIN(FilePropertiesWindowTest)
#include "file_properties_window_test.moc"
