#include "project/start_point.h"

#include <system_error>

#include "persist/qvs_file.h"

namespace velo {

namespace fs = std::filesystem;

bool WriteStartPoint(World& world, const fs::path& file, const std::string& authorText, bool previousInUse,
                     Messenger& messenger) {
    world.T = 0;
    if (world.ProjectKind != ProjectMechanical) return false;
    QvsSaveOptions options;
    options.AuthorText = authorText;
    options.WithEmbedded = false;
    const SaveResult saved = SaveQvs(world, file, options);
    if (saved.Ok) return true;
    std::error_code error;
    const bool kept = previousInUse && fs::is_regular_file(file, error);
    messenger.Show(MessageIcon::Warning, "Не удалось записать стартовые условия: " + saved.Message +
                                             (kept ? " Команда «Стартовые условия» вернёт к прежним стартовым условиям."
                                                   : " Команда «Стартовые условия» будет недоступна."));
    return kept;
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
