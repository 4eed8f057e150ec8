// A main window with scripted message boxes and file dialogs, working in
// its own temporary folders.
#pragma once

#include <QTemporaryDir>

#include <memory>

#include "editor/main_window.h"
#include "model/derived_fields.h"
#include "model/world_ops.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "platform/toolkit_language.h"

namespace velo {

struct WindowHarness {
    QTemporaryDir folder;
    QtMessenger messenger;
    ScriptedDialogs dialogs;
    MemorySettings settings;
    ToolkitLanguage toolkit;
    TempFolders folders;
    std::unique_ptr<frmMain> window;

    explicit WindowHarness(ThreeWayAnswer defaultAnswer = ThreeWayAnswer::No, Clock* clock = nullptr) {
        messenger.UseScriptedAnswers(defaultAnswer);
        MainWindowServices services;
        services.Messages = &messenger;
        services.FileDialogs = &dialogs;
        services.Settings = &settings;
        services.ProgramFolder = folder.filePath("program").toStdString();
        FolderEnvironment environment;
        environment.Temp = folder.filePath("temp").toStdString();
        environment.AppData = folder.filePath("appdata").toStdString();
        environment.ProcessId = 4242;
        folders = TempFoldersFor(environment);
        services.Folders = folders;
        services.TimeSource = clock;
        services.Toolkit = &toolkit;
        CreateTempFolders(folders);
        window = std::make_unique<frmMain>(services);
        window->resize(1200, 900);
    }

    std::filesystem::path Path(const char* name) const {
        return std::filesystem::path(folder.filePath(QString::fromUtf8(name)).toStdString());
    }

    bool Asked(const std::string& text) const {
        for (const auto& record : messenger.Records()) {
            if (record.Text == text) return true;
        }
        return false;
    }
};

// A mechanical scene with one ball above the zero support.
inline int AddBall(World& world, Vec2 position, double radius = 0.1) {
    NewObjectResult made = NewObject(world, KindBall);
    Ball& ball = world.Balls[made.Number];
    ball.Position = position;
    ball.Radius = radius;
    RecomputeBall(world, made.Number);
    return made.Number;
}

}  // namespace velo
