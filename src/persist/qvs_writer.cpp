// Writer of the simulation file.
#include "persist/qvs_file.h"

namespace velo {

std::vector<std::uint8_t> EncodeQvs(World&, const QvsSaveOptions&) { return {}; }
SaveResult SaveQvs(World&, const std::filesystem::path&, const QvsSaveOptions&) { return {}; }
std::vector<std::uint8_t> EncodeQvsTemplate(const World&, const std::string&) { return {}; }
SaveResult SaveQvsTemplate(const World&, const std::filesystem::path&, const std::string&) { return {}; }

}  // namespace velo
