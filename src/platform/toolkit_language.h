// The toolkit's own texts (the buttons of message boxes, the standard file
// and colour dialogs, the context menus of text fields) in the interface's
// language: Qt's translation "qtbase_<locale>" from the system's folder of
// translations. English needs none; a language whose translation is not
// installed leaves the toolkit in English.
#pragma once

#include <memory>
#include <string>

class QTranslator;

namespace velo {

class ToolkitLanguage {
public:
    ToolkitLanguage();
    ~ToolkitLanguage();
    ToolkitLanguage(const ToolkitLanguage&) = delete;
    ToolkitLanguage& operator=(const ToolkitLanguage&) = delete;

    // Installs the translation of `locale` ("ru"), removing the one before;
    // false when there is none for it (the toolkit then speaks English).
    bool Apply(const std::string& locale);
    // The locale whose translation is installed; empty for none.
    const std::string& Installed() const { return installed_; }

private:
    std::unique_ptr<QTranslator> translator_;
    std::string installed_;
};

}  // namespace velo
