// Menus 128 (main menu), 137 (tree panel) and 138 (folder list), accelerator table 128 and
// tool bar 128, as data. The frame turns the menus and keys into actions of its command
// router; the tool bar's template and strip are drawn from its table at build time.
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

// The pictures of the tool bar's strip; each is drawn by the program that makes the strip.
enum class ToolPicture {
    NoPicture,
    NewFile,
    Open,
    Save,
    DeviceTree,
    Copy,
    Paste,
    Delete,
    NewFolder,
    EditFile,
    Import,
    Export,
    Refresh,
    About,
};

// One item of the tool bar, left to right; a command of 0 is a separator. Buttons take the
// strip's images in order, separators none; a button without a picture of its own takes no
// image when it comes after the last picture, and an empty one before it.
struct ToolButtonDef {
    int command;
    ToolPicture picture;
};

std::span<const PopupDef> MainMenu();
std::span<const MenuItemDef> TreeContextMenu();
std::span<const MenuItemDef> ListContextMenu();
std::span<const AcceleratorDef> MainAccelerators();
std::span<const ToolButtonDef> MainToolBar();
