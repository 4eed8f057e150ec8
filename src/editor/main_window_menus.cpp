// The menu bar and the toolbars of the main window: captions, initial
// states, shortcuts, and which items are not available in this program yet.
#include "editor/main_window.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "editor/tool_icons.h"
#include "persist/language_file.h"
#include "platform/settings.h"

namespace velo {

namespace {

enum Flags : unsigned {
    Plain = 0,
    Hidden = 1,
    Disabled = 2,
    Submenu = 4,
    Later = 8,  // its window or editing mode is not in this program yet
    Checkable = 16,
};

struct MenuEntry {
    const char* Parent;  // "" for the menu bar
    const char* Name;
    const char* Caption;
    unsigned Flags;
    const char* Shortcut;
};

// In menu order. Separators are not controls of their own here.
const MenuEntry Entries[] = {
    {"", "mnFile", "Файл", Submenu, ""},
    {"mnFile", "mnNew", "Создать", Submenu, ""},
    {"mnNew", "mnNewS", "Механическая система", Plain, ""},
    {"mnNew", "mnNewH", "Система небесной механики", Plain, ""},
    {"mnNew", "mnNewF", "Демонстрация дифракции", Hidden, ""},
    {"mnFile", "mnOpen", "Открыть", Plain, ""},
    {"mnFile", "mnSave", "Сохранить", Plain, ""},
    {"mnFile", "mnSaveAs", "Сохранить как", Plain, ""},
    {"mnFile", "mnNewMS", "В новом окне", Submenu, ""},
    {"mnNewMS", "mnNMSNew", "Создать", Plain, ""},
    {"mnNewMS", "mnNMSOpen", "Открыть", Plain, ""},
    {"mnFile", "mnExport", "Экспорт", Hidden, ""},
    {"mnFile", "mnImport", "Импорт", Hidden, ""},
    {"mnFile", "mnText", "Описание", Plain, ""},
    {"mnFile", "mnFProp", "Свойства", Plain, ""},
    {"mnFile", "mnClose", "Закрыть", Plain, ""},
    {"mnFile", "mnFileExit", "Выход", Plain, ""},

    {"", "mnAdd", "Добавить", Submenu, ""},
    {"mnAdd", "mnLav", "Подвес", Plain, ""},
    {"mnAdd", "mnHand", "Опора", Plain, ""},
    {"mnAdd", "mnWall", "Стена", Plain, ""},
    {"mnAdd", "mnPlane", "Плоскость", Plain, ""},
    {"mnAdd", "mnSurface", "Поверхность", Hidden, ""},
    {"mnAdd", "mnS2", "Парабола", Plain, ""},
    {"mnAdd", "mnS2h", "Гипербола", Disabled, ""},
    {"mnAdd", "mnS2e", "Эллипс", Disabled, ""},
    {"mnAdd", "mnSd", "Произвольная", Plain, ""},
    {"mnAdd", "mnBall", "Шар", Plain, ""},
    {"mnAdd", "mnRing", "Кольцо", Hidden, ""},
    {"mnAdd", "mnCylinder", "Цилиндр", Plain, ""},
    {"mnAdd", "mnPrism", "Призма", Hidden, ""},
    {"mnAdd", "mnPeg", "Стержень", Plain, ""},
    {"mnAdd", "mnThread", "Нить", Hidden, ""},
    {"mnAdd", "mnImage", "Изображение", Hidden, ""},

    {"", "mnAddH", "Добавить", Submenu, ""},
    {"mnAddH", "mnHBody", "Небесное тело", Plain, ""},
    {"mnAddH", "mnHLuminary", "Небесное светило", Disabled, ""},

    {"", "mnObj", "Объект", Submenu, ""},
    {"mnObj", "mnCopy", "Копировать", Plain, ""},
    {"mnObj", "mnDel", "Удалить", Plain, "Del"},
    {"mnObj", "mnStop", "Остановить", Plain, ""},
    {"mnObj", "mnFasten", "Привязать", Disabled, ""},
    {"mnObj", "mnMark", "Пометки", Plain, ""},
    {"mnObj", "mnProp", "Свойства", Plain, ""},
    {"mnObj", "mnGraph", "График…", Plain, ""},

    {"", "mnActions", "Действия", Submenu, ""},
    {"mnActions", "mnSel", "Выбрать объект", Plain, "Ctrl+1"},
    {"mnActions", "mnMove", "Переместить объект", Plain, "Ctrl+2"},
    {"mnActions", "mnSelRect", "Выбрать группу", Plain, "Ctrl+3"},
    {"mnActions", "mnMoveGroup", "Переместить группу", Disabled, ""},
    {"mnActions", "mnSelAny", "Выбрать по списку...", Disabled | Later, ""},
    {"mnActions", "mnSelFst", "Выбрать связанные", Disabled, ""},
    {"mnActions", "mnSelInv", "Выбрать наоборот", Hidden | Disabled, ""},
    {"mnActions", "mnSelSame", "Выбрать подобные", Hidden | Disabled, ""},
    {"mnActions", "mnSelAll", "Выбрать всё", Plain, "Ctrl+A"},
    {"mnActions", "mnOptimize", "Оптимизировать...", Plain, "Ctrl+O"},
    {"mnActions", "mnCancelDel", "Отменить удаление", Hidden | Disabled, ""},
    // The undo history of the editor.
    {"mnActions", "mnUndo", "Отменить", Plain, "Ctrl+Z"},
    {"mnActions", "mnRedo", "Повторить", Plain, "Ctrl+Shift+Z"},
    {"mnActions", "mnCancel", "Отменить всё", Plain, ""},

    {"", "mnTools", "Инструменты", Submenu, ""},
    {"mnTools", "mnStraight", "Линейка", Plain, ""},
    {"mnTools", "mnProtract", "Транспортир", Plain, ""},
    {"mnTools", "mnGrid", "Сетка", Checkable, "Ctrl+G"},
    {"mnTools", "mnCalc", "Калькулятор", Plain, "Ctrl+C"},
    {"mnTools", "mnCalcActive", "Calc", Hidden, ""},

    {"", "mnImitate", "Имитация", Submenu, ""},
    {"mnImitate", "mnRunStop", "Запуск имитации", Plain, "F5"},
    {"mnImitate", "mnRecover", "Стартовые условия", Plain, "F6"},
    {"mnImitate", "mnPoint", "Точка отсчёта", Plain, "F7"},
    {"mnImitate", "mnParam", "Параметры имитации", Plain, "Ctrl+P"},
    {"mnImitate", "mnTime", "Масштаб во времени", Plain, "Ctrl+T"},

    {"", "mnProg", "Программа", Submenu | Hidden, ""},

    {"", "mnAllSettings", "Настройки", Submenu, ""},
    {"mnAllSettings", "mnSettings", "Общие настройки", Plain, ""},
    {"mnAllSettings", "mnConfirm", "Подтверждения", Hidden | Later, ""},
    {"mnAllSettings", "mnSetTools", "Инструменты", Later, ""},
    {"mnAllSettings", "mnPerform", "Производительность", Plain, ""},
    {"mnAllSettings", "mnControl", "Управление", Plain, ""},
    {"mnAllSettings", "mnLang", "Язык", Submenu, ""},
    {"mnAllSettings", "mnInterface", "Внешний вид", Plain, ""},
    {"mnAllSettings", "mnEffects", "Видеоэффекты", Plain, ""},
    {"mnAllSettings", "mnUpdating", "Обновление", Hidden | Later, ""},
    {"mnAllSettings", "mnWindows", "Окна", Hidden, ""},
    {"mnAllSettings", "mnMinimize", "Минимизация", Hidden, ""},
    {"mnAllSettings", "mnExit", "Выход", Hidden, ""},

    {"", "mnHelp", "Информация", Submenu, ""},
    {"mnHelp", "mnIAir", "Сопротивление воздуха", Hidden, ""},
    {"mnHelp", "mnInfo", "Справка", Plain, "F1"},
    {"mnHelp", "mnAbout", "О программе", Plain, ""},
    {"mnHelp", "mnSysInfo", "О системе", Plain, ""},
};

// Where the separators of the menus go: before these items.
const char* const SeparatorBefore[] = {"mnOpen", "mnNewMS", "mnText", "mnClose", "mnFileExit",
                                       "mnBall", "mnPeg", "mnMark", "mnProp", "mnSelRect",
                                       "mnSelAll", "mnUndo", "mnCancel", "mnGrid", "mnRecover", "mnParam",
                                       "mnPerform", "mnInterface", "mnAbout"};

}  // namespace

void frmMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    for (const MenuEntry& entry : Entries) {
        const QString name = QString::fromUtf8(entry.Name);
        const QString caption = QString::fromUtf8(entry.Caption);
        const QString parentName = QString::fromUtf8(entry.Parent);
        QMenu* parentMenu = parentName.isEmpty() ? nullptr : menus_.value(parentName);
        for (const char* before : SeparatorBefore) {
            if (parentMenu && name == QString::fromUtf8(before)) parentMenu->addSeparator();
        }
        QAction* action = nullptr;
        if (entry.Flags & Submenu) {
            auto* menu = new QMenu(caption, this);
            menu->setObjectName(name);
            menus_.insert(name, menu);
            action = parentMenu ? parentMenu->addMenu(menu) : bar->addMenu(menu);
        } else {
            action = parentMenu->addAction(caption);
        }
        action->setObjectName(name);
        if (entry.Flags & Hidden) action->setVisible(false);
        if (entry.Flags & (Disabled | Later)) action->setEnabled(false);
        if (entry.Flags & Later) notYetAvailable_.insert(name);
        if (entry.Flags & Checkable) action->setCheckable(true);
        if (*entry.Shortcut) {
            action->setShortcut(QKeySequence(QString::fromUtf8(entry.Shortcut)));
            // Menu shortcuts act while the window is active, also when the
            // focus is in the layer list.
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        items_.insert(name, action);
        builtInCaptions_.insert(name, caption);
    }
}

void frmMain::ApplyAppearance() {
    if (!services_.Settings) return;
    const SettingsAccess& settings = *services_.Settings;
    SetItemVisible("mnExit", settings.Flag("ShowExitProg"));
    SetItemVisible("mnFileExit", settings.Flag("ShowExitFile"));
    const bool separators = settings.Flag("ShowSeparators");
    for (QMenu* menu : std::as_const(menus_)) {
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) action->setVisible(separators);
        }
    }
}

void frmMain::BuildToolbars() {
    // Each button mirrors a menu item: same command, its caption as the tip.
    auto addMirror = [this](QToolBar* bar, const char* name) {
        QAction* item = items_.value(QString::fromUtf8(name));
        QAction* button = bar->addAction(ToolIcon(QString::fromUtf8(name)), item->text());
        button->setObjectName(QStringLiteral("tb_") + QString::fromUtf8(name));
        button->setToolTip(QString::fromStdString(WithoutAccelerators(item->text().toStdString())));
        button->setEnabled(item->isEnabled());
        connect(button, &QAction::triggered, item, &QAction::trigger);
        connect(item, &QAction::changed, button, [item, button] { button->setEnabled(item->isEnabled()); });
        return button;
    };
    auto addRunButtons = [this](QToolBar* bar, QAction** buttons) {
        buttons[0] = bar->addAction(ToolIcon(QStringLiteral("mnRunStop"), false), texts_.StartCaption);
        buttons[1] = bar->addAction(ToolIcon(QStringLiteral("mnRunStop"), true), texts_.StopCaption);
        buttons[0]->setToolTip(texts_.StartCaption);
        buttons[1]->setToolTip(texts_.StopCaption);
        buttons[1]->setVisible(false);
        for (QAction* button : {buttons[0], buttons[1]}) {
            connect(button, &QAction::triggered, this, &frmMain::RunStop);
        }
    };

    toolbarMechanical_ = addToolBar(QStringLiteral("Механическая система"));
    toolbarMechanical_->setObjectName(QStringLiteral("toolbarMechanical"));
    toolbarMechanical_->setMovable(false);
    toolbarMechanical_->setIconSize(QSize(24, 24));
    for (const char* name : {"mnLav", "mnHand", "mnWall", "mnPlane", "mnSd", "mnS2", "mnCylinder", "mnBall"}) {
        addMirror(toolbarMechanical_, name);
    }
    toolbarMechanical_->addSeparator();
    addRunButtons(toolbarMechanical_, runButtons_);
    runButtons_[0]->setObjectName(QStringLiteral("tb_run"));
    runButtons_[1]->setObjectName(QStringLiteral("tb_pause"));
    for (const char* name : {"mnPoint", "mnRecover"}) addMirror(toolbarMechanical_, name);
    toolbarMechanical_->addSeparator();
    for (const char* name : {"mnSel", "mnMove", "mnDel", "mnProp"}) addMirror(toolbarMechanical_, name);

    toolbarCelestial_ = addToolBar(QStringLiteral("Система небесной механики"));
    toolbarCelestial_->setObjectName(QStringLiteral("toolbarCelestial"));
    toolbarCelestial_->setMovable(false);
    toolbarCelestial_->setIconSize(QSize(24, 24));
    for (const char* name : {"mnHBody", "mnHLuminary"}) addMirror(toolbarCelestial_, name);
    toolbarCelestial_->addSeparator();
    addRunButtons(toolbarCelestial_, hRunButtons_);
    toolbarCelestial_->addSeparator();
    for (const char* name : {"mnSel", "mnDel", "mnProp"}) addMirror(toolbarCelestial_, name);
}

void frmMain::RenewToolTips() {
    const auto tip = [](const QString& caption) {
        return QString::fromStdString(WithoutAccelerators(caption.toStdString()));
    };
    for (QToolBar* bar : {toolbarMechanical_, toolbarCelestial_}) {
        for (QAction* button : bar->actions()) {
            const QString name = button->objectName();
            if (!name.startsWith(QStringLiteral("tb_mn"))) continue;
            if (QAction* item = Item(name.mid(3))) {
                button->setText(tip(item->text()));
                button->setToolTip(tip(item->text()));
            }
        }
    }
    for (QAction** buttons : {runButtons_, hRunButtons_}) {
        buttons[0]->setText(tip(texts_.StartCaption));
        buttons[0]->setToolTip(tip(texts_.StartCaption));
        buttons[1]->setText(tip(texts_.StopCaption));
        buttons[1]->setToolTip(tip(texts_.StopCaption));
    }
    toolbarMechanical_->setWindowTitle(tip(Item(QStringLiteral("mnNewS"))->text()));
    toolbarCelestial_->setWindowTitle(tip(Item(QStringLiteral("mnNewH"))->text()));
}

}  // namespace velo
