#include "app/panel/program_menu.h"

#include <initializer_list>

#include "app/shell/language_table.h"

namespace {

struct Item {
    int command;  // 0: a separator
    const char16_t* key;
    const char16_t* defaultText;
};

void AddItems(QMenu& menu, std::initializer_list<Item> items) {
    for (const Item& item : items) {
        if (item.command == 0) {
            menu.addSeparator();
            continue;
        }
        const std::u16string text = item.key ? Text(item.key, item.defaultText) : std::u16string(item.defaultText);
        QAction* action = menu.addAction(QString::fromStdU16String(text));
        action->setObjectName(QString::number(item.command));
    }
}

}  // namespace

std::unique_ptr<QMenu> LoadProgramMenu(int index, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    switch (index) {
        case kMainMenu: {
            AddItems(*menu, {{40018, u"MNU_ITEM_1", u"Manage devices..."},
                             {0, nullptr, nullptr},
                             {40017, u"MNU_ITEM_2", u"Settings..."},
                             {40060, u"MNU_ITEM_3", u"Hardware buttons..."}});
            // The submenu's own title is not translated.
            QMenu* ports = menu->addMenu(QStringLiteral("Ir Port"));
            ports->setObjectName(QLatin1String(kIrPortMenuName));
            AddItems(*ports, {{40065, nullptr, u"<Auto>"}});
            AddItems(*menu, {{0, nullptr, nullptr},
                             {40015, u"MNU_ITEM_4", u"Normal mode"},
                             {40016, u"MNU_ITEM_5", u"Edit mode"},
                             {0, nullptr, nullptr},
                             {40086, nullptr, u"Help"},
                             {40003, u"MNU_ITEM_6", u"About..."},
                             {1, u"MNU_ITEM_7", u"Exit"}});
            break;
        }
        case 1:
            AddItems(*menu, {{40026, u"MNU_ITEM_8", u"Next device"},
                             {40032, u"MNU_ITEM_9", u"Previous device"},
                             {40033, u"MNU_ITEM_10", u"Show devices"},
                             {40035, u"MNU_ITEM_11", u"Mute"},
                             {40036, u"MNU_ITEM_12", u"SkinButton"}});
            break;
        case kButtonMenu:
            AddItems(*menu, {{40043, u"MNU_ITEM_13", u"Properties..."},
                             {0, nullptr, nullptr},
                             {40053, u"MNU_ITEM_14", u"Move"},
                             {40054, u"MNU_ITEM_15", u"Delete"}});
            MenuItem(*menu, 40053)->setEnabled(false);
            MenuItem(*menu, 40054)->setEnabled(false);
            break;
        case kDeviceItemMenu:
            AddItems(*menu, {{40050, u"MNU_ITEM_16", u"Rename"}, {40051, u"MNU_ITEM_17", u"Delete"}});
            break;
        case kSkinMenu:
            AddItems(*menu, {{40059, u"MNU_ITEM_18", u"Add button..."}});
            break;
        default:
            return nullptr;
    }
    return menu;
}

QAction* MenuItem(QMenu& menu, int command) {
    return menu.findChild<QAction*>(QString::number(command));
}
