// The settings windows' tests: preferences kept in a store in memory, so
// that a test sees every value written and its order. The windows delete
// themselves on closing: the tests make them with new.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QSlider>

#include <map>
#include <memory>
#include <string>

#include "platform/settings.h"

namespace velo {

using StoredTexts = std::map<std::string, std::string>;

struct RecordingSettings {
    MemorySettingsStore* Store = nullptr;
    std::unique_ptr<StoredSettings> Settings;

    // The store holds `stored` before the start-up reading.
    explicit RecordingSettings(const StoredTexts& stored = {}) {
        auto store = std::make_unique<MemorySettingsStore>();
        store->Texts.insert(stored.begin(), stored.end());
        Store = store.get();
        Settings = std::make_unique<StoredSettings>(std::move(store), "/opt/velo", NumberLocale{});
        Store->WriteOrder.clear();
    }
    std::string Text(const std::string& name) const { return Store->Texts.count(name) ? Store->Texts.at(name) : "—"; }
};

template <typename Widget = QCheckBox>
Widget* Find(QWidget& window, const char* name) {
    Widget* widget = window.findChild<Widget*>(QString::fromUtf8(name));
    if (!widget) qFatal("no %s in %s", name, qPrintable(window.objectName()));
    return widget;
}

}  // namespace velo
