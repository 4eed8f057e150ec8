// The platform services in their test modes: scripted message boxes and
// dialogs, and the in-memory settings with their defaults.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"

using namespace velo;

class PlatformServicesTest : public QObject {
    Q_OBJECT

private slots:
    void scriptedMessengerAnswersInOrderThenDefault();
    void scriptedMessengerRecordsEveryText();
    void scriptedDialogsCancelWhenEmpty();
    void settingsDefaults_data();
    void settingsDefaults();
    void settingsStoreAndConvert();
    void openDialogOffersReadOnlyBox();
};

void PlatformServicesTest::scriptedMessengerAnswersInOrderThenDefault() {
    QtMessenger messenger;
    messenger.UseScriptedAnswers(ThreeWayAnswer::Cancel);
    messenger.QueueAnswer(ThreeWayAnswer::Yes);
    messenger.QueueAnswer(ThreeWayAnswer::No);
    QCOMPARE(messenger.AskThreeWay(MessageIcon::Question, "a"), ThreeWayAnswer::Yes);
    QCOMPARE(messenger.AskYesNo(MessageIcon::Question, "b"), false);
    QCOMPARE(messenger.AskThreeWay(MessageIcon::Question, "c"), ThreeWayAnswer::Cancel);
    // A Yes/No question never answers Cancel as Yes.
    QCOMPARE(messenger.AskYesNo(MessageIcon::Question, "d"), false);
}

void PlatformServicesTest::scriptedMessengerRecordsEveryText() {
    QtMessenger messenger;
    messenger.UseScriptedAnswers();
    messenger.Show(MessageIcon::Error, "Слишком большая скорость объекта.");
    messenger.AskYesNo(MessageIcon::Question, "Вопрос?");
    QCOMPARE(messenger.Records().size(), std::size_t(2));
    QCOMPARE(messenger.Records()[0].Icon, MessageIcon::Error);
    QCOMPARE(messenger.Records()[0].Text, std::string("Слишком большая скорость объекта."));
    QVERIFY(!messenger.Records()[0].Question);
    QVERIFY(messenger.Records()[1].Question);
    messenger.ClearRecords();
    QVERIFY(messenger.Records().empty());
}

void PlatformServicesTest::scriptedDialogsCancelWhenEmpty() {
    ScriptedDialogs dialogs;
    QVERIFY(!dialogs.ChooseFileToOpen("Открытие имитации", "/tmp"));
    QVERIFY(!dialogs.ChooseFileToSave("Сохранение имитации", "/tmp"));
    dialogs.OpenAnswers.push_back(FileOpenChoice{"/tmp/a.qvs", true});
    auto choice = dialogs.ChooseFileToOpen("Открытие имитации", "/tmp");
    QVERIFY(choice && choice->ReadOnly && choice->Path == "/tmp/a.qvs");
    QCOMPARE(dialogs.OpenCalls, 2);
    QCOMPARE(dialogs.SaveCalls, 1);
}

void PlatformServicesTest::settingsDefaults_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::newRow("Pipeline") << "Pipeline" << 100;
    QTest::newRow("Latency") << "Latency" << 0;
    QTest::newRow("Grid") << "Grid" << 0;
    QTest::newRow("InvertNavigation") << "InvertNavigation" << 0;
    QTest::newRow("StartImitType") << "StartImitType" << StartWithMechanical;
}

void PlatformServicesTest::settingsDefaults() {
    QFETCH(QString, name);
    QFETCH(int, value);
    MemorySettings settings;
    QCOMPARE(settings.GetInt(name.toStdString(), -12345), value);
}

void PlatformServicesTest::settingsStoreAndConvert() {
    MemorySettings settings;
    QCOMPARE(settings.GetInt("NeverStored", 7), 7);
    QCOMPARE(settings.GetText("NeverStored", "x"), std::string("x"));
    settings.SetBool("Grid", true);
    QVERIFY(settings.GetBool("Grid", false));
    QCOMPARE(settings.GetInt("Grid", 0), -1);  // a stored flag reads as -1
    settings.SetDouble("Scale", 2.5);
    QCOMPARE(settings.GetDouble("Scale", 0), 2.5);
    settings.SetText("Language", "Русский");
    QCOMPARE(settings.GetText("Language", ""), std::string("Русский"));
    // A text is no number: the fallback is returned.
    QCOMPARE(settings.GetInt("Language", 3), 3);
}

void PlatformServicesTest::openDialogOffersReadOnlyBox() {
    QTemporaryDir folder;
    const QString file = folder.filePath("scene.qvs");
    QFile(file).open(QIODevice::WriteOnly);
    QString title;
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("readOnlyBox"));
        QVERIFY(box);
        box->setChecked(true);
        const QString shot = qEnvironmentVariable("VELO_SHOT_FOLDER");
        if (!shot.isEmpty()) dialog->grab().save(QDir(shot).filePath("open_dialog.png"));
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtDialogs dialogs;
    auto choice = dialogs.ChooseFileToOpen("Открытие имитации", folder.path().toStdString());
    QVERIFY(choice);
    QVERIFY(choice->ReadOnly);
    QCOMPARE(QString::fromStdString(choice->Path.string()), file);
    QCOMPARE(title, QStringLiteral("Открытие имитации"));
    QCOMPARE(filters, QStringList({QStringLiteral("Имитация механической системы (*.qvs)"),
                                   QStringLiteral("Все файлы (*)")}));
}

QTEST_MAIN(PlatformServicesTest)
#include "platform_services_test.moc"
