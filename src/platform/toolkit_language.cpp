#include "platform/toolkit_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velo {

ToolkitLanguage::ToolkitLanguage() = default;

ToolkitLanguage::~ToolkitLanguage() {
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

bool ToolkitLanguage::Apply(const std::string& locale) {
    if (!locale.empty() && locale == installed_) return true;
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    installed_.clear();
    if (locale.empty() || locale == "en") return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QString::fromStdString(locale)), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    installed_ = locale;
    return true;
}

}  // namespace velo
