// The installation: `cmake --install` into a fresh prefix gives the program,
// its data folder where the program looks for it, the template, the
// language files, the user guide, and the desktop's entry, icon and file
// type, by which a file manager recognises a simulation file (by its
// extension and by its signature) and opens it with the program.
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>

#include "persist/ini_file.h"
#include "platform/desktop.h"

namespace fs = std::filesystem;

class InstallTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void programFindsItsDataFolder();
    void desktopEntryOpensSimulationFiles();
    void fileManagerRecognisesSimulationFiles();

private:
    QTemporaryDir stage_;
    fs::path prefix_;
};

void InstallTest::initTestCase() {
    QVERIFY(stage_.isValid());
    prefix_ = fs::path(stage_.path().toStdString());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    // A direct installation into the prefix (no DESTDIR), which also brings
    // the prefix's file-type database up to date.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DESTDIR"));
    install.setProcessEnvironment(environment);
    install.start(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(VELO_BINARY_DIR),
                                            QStringLiteral("--prefix"), stage_.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    // The desktop looks for file types and applications in the prefix.
    qputenv("XDG_DATA_DIRS", (stage_.path() + QStringLiteral("/share")).toUtf8());
}

void InstallTest::installedFiles_data() {
    QTest::addColumn<QString>("file");
    for (const char* file :
         {"bin/velocitronimatics", "share/velocitronimatics/New.qvs",
          "share/velocitronimatics/Language/English.lng", "share/velocitronimatics/Language/Русский.lng",
          "share/velocitronimatics/Help/index.html", "share/velocitronimatics/Help/ru/index.html",
          "share/velocitronimatics/Help/en/index.html", "share/velocitronimatics/Help/physics.md",
          "share/velocitronimatics/Graphics/Icons/velocitronimatics.svg",
          "share/velocitronimatics/Examples/newton_cradle.qvs",
          "share/applications/velocitronimatics.desktop",
          "share/icons/hicolor/scalable/apps/velocitronimatics.svg",
          "share/mime/packages/velocitronimatics.xml"}) {
        QTest::newRow(file) << QString::fromUtf8(file);
    }
}

void InstallTest::installedFiles() {
    QFETCH(QString, file);
    const fs::path path = prefix_ / file.toStdString();
    QVERIFY2(fs::is_regular_file(path), path.c_str());
    QVERIFY(fs::file_size(path) > 0);
}

void InstallTest::programFindsItsDataFolder() {
    QCOMPARE(velo::ProgramDataFolder(prefix_ / "bin"), prefix_ / "share" / "velocitronimatics");
    QVERIFY(fs::perms::none != (fs::status(prefix_ / "bin" / "velocitronimatics").permissions() & fs::perms::owner_exec));
    // The build tree holds the same layout beside the program.
    const fs::path build(VELO_BINARY_DIR);
    QCOMPARE(velo::ProgramDataFolder(build), build);
    QVERIFY(fs::is_regular_file(build / "Language" / "English.lng"));
    QVERIFY(fs::is_regular_file(build / "Help" / "en" / "index.html"));
    // A folder with neither: the program's own folder.
    QCOMPARE(velo::ProgramDataFolder(prefix_ / "x" / "nowhere"), prefix_ / "x" / "nowhere");
}

void InstallTest::desktopEntryOpensSimulationFiles() {
    velo::IniFile entry;
    QCOMPARE(velo::LoadIniFile(prefix_ / "share/applications/velocitronimatics.desktop", entry), velo::IniLoad::Ok);
    const std::string section = "Desktop Entry";
    QCOMPARE(entry.Value(section, "Type"), std::string("Application"));
    QCOMPARE(entry.Value(section, "Exec"), std::string("velocitronimatics %f"));
    QCOMPARE(entry.Value(section, "MimeType"), std::string("application/x-velocitronimatics;"));
    QCOMPARE(entry.Value(section, "Icon"), std::string("velocitronimatics"));
}

void InstallTest::fileManagerRecognisesSimulationFiles() {
    const QMimeDatabase types;
    const QString simulation = QStringLiteral("application/x-velocitronimatics");
    // By the signature, whatever the name.
    const fs::path renamed = prefix_ / "cradle.bin";
    fs::copy_file(fs::path(VELO_SOURCE_DIR) / "examples" / "newton_cradle.qvs", renamed);
    QCOMPARE(types.mimeTypeForFile(QString::fromStdString(renamed.string()), QMimeDatabase::MatchContent).name(),
             simulation);
    // By the extension.
    QCOMPARE(types.mimeTypeForFile(QStringLiteral("scene.qvs"), QMimeDatabase::MatchExtension).name(), simulation);
    // Something else with the extension is not taken for one by its content.
    const fs::path text = prefix_ / "notes.txt";
    std::ofstream(text) << "Mechanical notes\n";
    QVERIFY(types.mimeTypeForFile(QString::fromStdString(text.string()), QMimeDatabase::MatchContent).name() !=
            simulation);
}

QTEST_MAIN(InstallTest)
#include "install_test.moc"
