#include "platform/settings.h"

namespace velo {

MemorySettings::MemorySettings() {
    values_["Grid"] = false;
    values_["Pipeline"] = 100;
    values_["Latency"] = 0;
    values_["InvertNavigation"] = false;
    values_["UseGDI+"] = true;
    values_["StartProject"] = StartWithMechanical;
    values_["EncryptTempFiles"] = false;
    values_["ConstantPath"] = false;
    // The editor's preferences.
    values_["BallSize"] = 2;
    values_["AllowMoving"] = true;
    values_["MiddleMouseKey"] = 1;
    values_["SelectNullHand"] = false;
    values_["NoCreateMarkedObjects"] = false;
}

bool MemorySettings::GetBool(const std::string& name, bool fallback) const {
    auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    if (auto* value = std::get_if<bool>(&found->second)) return *value;
    if (auto* value = std::get_if<int>(&found->second)) return *value != 0;
    return fallback;
}

int MemorySettings::GetInt(const std::string& name, int fallback) const {
    auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    if (auto* value = std::get_if<int>(&found->second)) return *value;
    if (auto* value = std::get_if<bool>(&found->second)) return *value ? -1 : 0;
    if (auto* value = std::get_if<double>(&found->second)) return static_cast<int>(*value);
    return fallback;
}

double MemorySettings::GetDouble(const std::string& name, double fallback) const {
    auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    if (auto* value = std::get_if<double>(&found->second)) return *value;
    if (auto* value = std::get_if<int>(&found->second)) return *value;
    return fallback;
}

std::string MemorySettings::GetText(const std::string& name, const std::string& fallback) const {
    auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    if (auto* value = std::get_if<std::string>(&found->second)) return *value;
    return fallback;
}

}  // namespace velo
