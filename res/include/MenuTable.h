// Menus 128 (main menu), 137 (tree panel) and 138 (folder list), and accelerator table
// 128, as data. The frame turns them into actions of its command router.
#pragma once

#include <span>

// One menu item; a command of 0 is a separator.
struct MenuItemDef {
    int command;
    const char* text;   // UTF-8, exactly as shown; "\t" separates the key text
};

struct PopupDef {
    const char* text;
    std::span<const MenuItemDef> items;
};

struct AcceleratorDef {
    const char* key;    // QKeySequence in portable text form
    int command;
};

std::span<const PopupDef> MainMenu();
std::span<const MenuItemDef> TreeContextMenu();
std::span<const MenuItemDef> ListContextMenu();
std::span<const AcceleratorDef> MainAccelerators();
