#include "project/start_point.h"

#include <system_error>

#include "persist/qvs_file.h"

namespace velo {

namespace fs = std::filesystem;

bool WriteStartPoint(World& world, const fs::path& file, const std::string& authorText,
                     Messenger& messenger) {
    world.T = 0;
    if (world.ProjectKind != ProjectMechanical) return false;
    std::error_code ignored;
    fs::remove(file, ignored);
    QvsSaveOptions options;
    options.AuthorText = authorText;
    options.WithEmbedded = false;
    const SaveResult saved = SaveQvs(world, file, options);
    if (!saved.Ok) {
        messenger.Show(MessageIcon::Warning,
                       "Не удалось записать стартовые условия: " + saved.Message +
                           " Команда «Стартовые условия» будет недоступна.");
        return false;
    }
    return true;
}

bool RestoreStartPoint(World& world, const fs::path& file, Messenger& messenger) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return false;
    QvsReadOptions options;
    options.CheckHeader = false;
    OpenQvs(world, file, messenger, options);
    world.T = 0;
    world.Changed = true;
    return true;
}

}  // namespace velo
