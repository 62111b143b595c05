// Numeric IDs shared by the menus, the accelerators, the string table and the command
// handlers: commands, string resources and icons.
#pragma once

// Commands of this program.
enum CommandId : int {
    ID_COMMAND_32773 = 32773,   // tool bar button without a command
    ID_COMMAND_32774 = 32774,   // tool bar button without a command
    ID_VIEW_DEVICE_TREE = 32776,
    ID_NEW_FOLDER = 32777,
    ID_NEW_FILE = 32778,
    ID_REFRESH_NODE = 32786,
    ID_DELETE = 32806,
    ID_EXPORT = 32807,
    ID_REFRESH_VIEW = 32809,
    ID_CHANGE_PASSWORD = 32810,
    ID_OPEN = 32812,
    ID_EDIT_FILE = 32813,
    ID_ERASE_ROOT = 32814,
    ID_DELETE_FOLDER = 32817,
    ID_IMPORT = 32820,
    ID_HARDWARE_INFO = 32822,

    // Standard commands, with their customary numbers.
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_RECENT_FILE1 = 57616,   // also the greyed placeholder of an empty recent-file list
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

// Recent files take the IDs ID_RECENT_FILE1 .. ID_RECENT_FILE1 + RECENT_FILE_COUNT - 1.
inline constexpr int RECENT_FILE_COUNT = 4;

// String resources.
enum StringId : int {
    IDP_OLE_INIT_FAILED = 100,
    IDS_COLUMN_NAME = 101,
    IDS_COLUMN_SIZE = 102,
    IDS_COLUMN_ATTRIBUTES = 103,
    IDS_COLUMN_STATE = 104,
    IDS_CURRENT_PATH = 109,
    IDS_FREE_SPACE = 110,
    IDP_FILE_CHANGED_ON_DISK = 111,
    IDP_FILE_LOCKED = 112,
    IDP_IMPORT_CUT_SHORT = 113,
    IDR_MAINFRAME = 128,
    IDS_APP_TITLE = 57344,
    IDS_IDLE_MESSAGE = 57345,
    IDP_ASK_TO_SAVE = 61699,
};

// Icons, by role.
enum IconId : int {
    IDI_APPLICATION_ICON = 128,
    IDI_OPEN_FOLDER = 131,
    IDI_FOLDER = 132,
    IDI_FILE = 133,
    IDI_EXECUTABLE_FILE = 134,
    IDI_DEVICE = 135,
};
