#include "platform/desktop.h"

#include <QDesktopServices>
#include <QIcon>
#include <QString>
#include <QUrl>

#include <system_error>

namespace velo {

std::filesystem::path ProgramDataFolder(const std::filesystem::path& programDir) {
    std::error_code error;
    if (std::filesystem::is_directory(programDir / "Language", error)) return programDir;
    const std::filesystem::path installed = programDir.parent_path() / "share" / "velocitronimatics";
    if (std::filesystem::is_directory(installed / "Language", error)) return installed;
    return programDir;
}

QIcon ProgramIcon(const std::filesystem::path& dataFolder) {
    const std::filesystem::path file = dataFolder / "Graphics" / "Icons" / "velocitronimatics.svg";
    const QIcon icon(QString::fromStdString(file.string()));
    // Without the SVG plugin the icon exists but draws nothing.
    if (!icon.pixmap(32, 32).isNull()) return icon;
    return QIcon::fromTheme(QStringLiteral("velocitronimatics"));
}

bool OpenWithDesktop(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdU16String(file.u16string())));
}

}  // namespace velo
