// The language menu and the application of a language file to the main
// window.
#include <QAction>
#include <QLabel>
#include <QMenu>

#include <system_error>
#include <vector>

#include "editor/main_window.h"
#include "persist/language_file.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "platform/toolkit_language.h"

namespace velo {

namespace {

const QString LanguageEntryName = QStringLiteral("mnOther");

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

void frmMain::FillLanguageMenu() {
    QMenu* menu = Menu(QStringLiteral("mnLang"));
    if (!menu) return;
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->deleteLater();
    }
    for (const LanguageEntry& entry : ListLanguages(services_.ProgramFolder)) {
        // A "&" of the file name is shown, not taken for an access key.
        QString caption = Text(entry.Caption);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(caption);
        action->setObjectName(LanguageEntryName);
        // The entry applies its own file whatever caption a language file
        // gives the entries.
        action->setData(Text(entry.FileName));
        connect(action, &QAction::triggered, this, [this, action] { Lang(action->data().toString()); });
    }
    SetItemEnabled(QStringLiteral("mnLang"), !Running());
}

bool frmMain::Lang(const QString& fileName) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(items_.size()) + 1);
    for (auto it = items_.cbegin(); it != items_.cend(); ++it) names.push_back(it.key().toStdString());
    names.push_back(LanguageEntryName.toStdString());
    const LanguageChoice choice =
        ReadLanguage(services_.ProgramFolder, fileName.toStdString(), names, *services_.Messages);
    if (!choice.Read) return false;

    const LanguageTexts& texts = choice.Texts;
    texts_.CaptionBase = Text(texts.CaptionBase);
    texts_.ReadOnlyMarker = Text(texts.ReadOnlyMarker);
    texts_.StartCaption = Text(texts.StartCaption);
    texts_.StopCaption = Text(texts.StopCaption);
    texts_.ZeroSupportName = Text(texts.ZeroSupportName);
    texts_.Locale = Text(texts.ToolkitLocale);
    for (const auto& [key, text] : texts.Panels) texts_.Panels.insert(Text(key), Text(text));
    if (auto* layer = findChild<QLabel*>(QStringLiteral("lblLayer"))) layer->setText(texts_.Panel("Layer"));
    lifecycle_->SetCaptionTexts(texts.CaptionBase, texts.ReadOnlyMarker);
    RefreshCaption();

    // Every item from its built-in caption, so that a file that leaves an
    // item out shows it as built, not in the language chosen before.
    for (auto it = items_.cbegin(); it != items_.cend(); ++it) {
        const auto given = choice.Captions.find(it.key().toStdString());
        it.value()->setText(given != choice.Captions.end() ? Text(given->second) : builtInCaptions_.value(it.key()));
    }
    const auto entryCaption = choice.Captions.find(LanguageEntryName.toStdString());
    if (QMenu* menu = Menu(QStringLiteral("mnLang"))) {
        for (QAction* entry : menu->actions()) {
            if (entryCaption != choice.Captions.end()) {
                entry->setText(Text(entryCaption->second));
            } else {
                entry->setText(Text(StoredLanguageName(entry->data().toString().toStdString()))
                                   .replace(QLatin1Char('&'), QStringLiteral("&&")));
            }
        }
    }
    Item(QStringLiteral("mnRunStop"))->setText(Running() ? texts_.StopCaption : texts_.StartCaption);
    RenewToolTips();
    UpdatePanels();

    if (services_.Toolkit) services_.Toolkit->Apply(texts.ToolkitLocale);
    // An unchanged name is not written again: the value written at the first
    // start stays as it was.
    if (services_.Settings && services_.Settings->GetText(LanguageSetting, "") != choice.StoredName) {
        services_.Settings->SetText(LanguageSetting, choice.StoredName);
    }
    return true;
}

void frmMain::ApplyStartupLanguage() {
    std::string stored = services_.Settings ? services_.Settings->GetText(LanguageSetting, "") : std::string();
    if (stored.empty()) {
        if (services_.Settings) services_.Settings->SetText(LanguageSetting, BuiltInLanguage);
        stored = BuiltInLanguage;
    }
    // The built-in texts are this language's: without its file (a program
    // without its Language folder) they simply stay.
    const auto builtInPresent = [this] {
        std::error_code error;
        return std::filesystem::is_regular_file(
            FindLanguageFile(services_.ProgramFolder, std::string(BuiltInLanguage) + LanguageExtension), error);
    };
    if (stored != BuiltInLanguage || builtInPresent()) {
        if (!Lang(Text(stored + LanguageExtension))) {
            // The stored language's file is gone or unreadable, which Lang
            // has told: the built-in language takes its place, also at the
            // next start, so that the message is not repeated at every start.
            if (services_.Settings) services_.Settings->SetText(LanguageSetting, BuiltInLanguage);
            if (stored != BuiltInLanguage && builtInPresent()) Lang(Text(std::string(BuiltInLanguage) + LanguageExtension));
        }
    }
    // The menu is filled after the language is applied, so that its entries
    // start with the names of their files whatever the language calls them.
    FillLanguageMenu();
}

}  // namespace velo
