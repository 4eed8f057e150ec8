// Access to the program's preferences. The windows read and write them
// through this interface only; until the permanent store exists the values
// live in memory, starting from the defaults the program uses when a
// preference has never been stored.
#pragma once

#include <map>
#include <string>
#include <variant>

namespace velo {

class SettingsAccess {
public:
    virtual ~SettingsAccess() = default;
    virtual bool GetBool(const std::string& name, bool fallback) const = 0;
    virtual int GetInt(const std::string& name, int fallback) const = 0;
    virtual double GetDouble(const std::string& name, double fallback) const = 0;
    virtual std::string GetText(const std::string& name, const std::string& fallback) const = 0;
    virtual void SetBool(const std::string& name, bool value) = 0;
    virtual void SetInt(const std::string& name, int value) = 0;
    virtual void SetDouble(const std::string& name, double value) = 0;
    virtual void SetText(const std::string& name, const std::string& value) = 0;
};

// What "Создавать при запуске:" can choose.
inline constexpr int StartWithMechanical = 1;
inline constexpr int StartWithCelestial = 2;
inline constexpr int StartWithNothing = 0;

class MemorySettings final : public SettingsAccess {
public:
    MemorySettings();
    bool GetBool(const std::string& name, bool fallback) const override;
    int GetInt(const std::string& name, int fallback) const override;
    double GetDouble(const std::string& name, double fallback) const override;
    std::string GetText(const std::string& name, const std::string& fallback) const override;
    void SetBool(const std::string& name, bool value) override { values_[name] = value; }
    void SetInt(const std::string& name, int value) override { values_[name] = value; }
    void SetDouble(const std::string& name, double value) override { values_[name] = value; }
    void SetText(const std::string& name, const std::string& value) override { values_[name] = value; }

private:
    std::map<std::string, std::variant<bool, int, double, std::string>> values_;
};

}  // namespace velo
