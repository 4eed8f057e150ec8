// The installation: `cmake --install` into a fresh prefix gives the program,
// its data folder where the program looks for it, the template, the
// language files, the user guide, and the desktop's entry, icon and file
// type, by which a file manager recognises a simulation file (by its
// extension or by its signature) and opens it with the program; the icon
// of the program's windows.
#include <QIcon>
#include <QImage>
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
    void fileManagerRecognisesSimulationFiles_data();
    void fileManagerRecognisesSimulationFiles();
    void windowsShowTheProgramIcon();

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
          "share/icons/hicolor/48x48/apps/velocitronimatics.png",
          "share/mime/packages/velocitronimatics.xml"}) {
        QTest::newRow(file) << QString::fromUtf8(file);
    }
}

void InstallTest::installedFiles() {
    QFETCH(QString, file);
    const fs::path path = prefix_ / file.toStdString();
    QVERIFY2(fs::is_regular_file(path), path.c_str());
    QVERIFY(fs::file_size(path) > 0);
    // A picture of the icon theme is the size its folder names.
    if (file.startsWith(QStringLiteral("share/icons/hicolor/48x48/")))
        QCOMPARE(QImage(QString::fromStdString(path.string())).size(), QSize(48, 48));
    // Listed in the manifest, so that an uninstall takes it away.
    std::ifstream manifest(fs::path(VELO_BINARY_DIR) / "install_manifest.txt");
    bool listed = false;
    for (std::string line; std::getline(manifest, line);) listed = listed || line == path.string();
    QVERIFY2(listed, path.c_str());
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
    QCOMPARE(entry.Value(section, "Exec"), (prefix_ / "bin" / "velocitronimatics").string() + " %f");
    QCOMPARE(entry.Value(section, "MimeType"), std::string("application/x-velocitronimatics;"));
    QCOMPARE(entry.Value(section, "Icon"), std::string("velocitronimatics"));
}

void InstallTest::fileManagerRecognisesSimulationFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("signature");
    QTest::addColumn<bool>("simulation");
    QTest::newRow("signature and extension") << QStringLiteral("cradle.qvs") << true << true;
    QTest::newRow("signature, unknown extension") << QStringLiteral("cradle.bin") << true << true;
    QTest::newRow("signature, no extension") << QStringLiteral("cradle") << true << true;
    QTest::newRow("extension without signature") << QStringLiteral("broken.qvs") << false << true;
    QTest::newRow("neither") << QStringLiteral("notes.txt") << false << false;
}

// What the file manager shows, from the name and the first bytes together.
void InstallTest::fileManagerRecognisesSimulationFiles() {
    QFETCH(QString, name);
    QFETCH(bool, signature);
    QFETCH(bool, simulation);
    const fs::path file = prefix_ / "files" / name.toStdString();
    fs::create_directories(file.parent_path());
    if (signature) {
        fs::copy_file(fs::path(VELO_SOURCE_DIR) / "examples" / "newton_cradle.qvs", file);
    } else {
        std::ofstream(file) << "Mechanical notes\n";
    }
    const QMimeDatabase types;
    const QString type = types.mimeTypeForFile(QString::fromStdString(file.string())).name();
    QCOMPARE(type == QStringLiteral("application/x-velocitronimatics"), simulation);
}

void InstallTest::windowsShowTheProgramIcon() {
    for (const fs::path& data : {prefix_ / "share" / "velocitronimatics", fs::path(VELO_BINARY_DIR)}) {
        const QIcon icon = velo::ProgramIcon(data);
        QVERIFY2(!icon.pixmap(64, 64).isNull(), data.c_str());
        QVERIFY2(icon.name().isEmpty(), "drawn from the data folder's file, not the desktop theme");
    }
}

QTEST_MAIN(InstallTest)
#include "install_test.moc"
