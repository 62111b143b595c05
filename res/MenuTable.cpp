#include "MenuTable.h"

#include "Resource.h"
#include "ShellTexts.h"

namespace {

constexpr MenuItemDef g_fileMenu[] = {
    {ID_FILE_NEW, "新建(&N)\tCtrl+N"},
    {ID_FILE_OPEN, "打开(&O)...\tCtrl+O"},
    {ID_FILE_SAVE, "保存(&S)\tCtrl+S"},
    {ID_FILE_SAVE_AS, "另存为(&A)..."},
    {0, ""},
    {ID_RECENT_FILE1, Texts::RECENT_FILES},
    {0, ""},
    {ID_APP_EXIT, "退出(&X)"},
};

constexpr MenuItemDef g_editMenu[] = {
    {ID_EDIT_COPY, "复制(&C)\tCtrl+C"},
    {ID_EDIT_PASTE, "粘贴(&P)\tCtrl+V"},
    {ID_DELETE, "删除[&D]"},
    {0, ""},
    {ID_NEW_FOLDER, "创建目录[&E]"},
    {0, ""},
    {ID_NEW_FILE, "创建文件[&N]"},
    {ID_EDIT_FILE, "编辑文件[&E]"},
    {ID_HARDWARE_INFO, "编辑硬件信息[&H]"},
};

constexpr MenuItemDef g_viewMenu[] = {
    {ID_VIEW_TOOLBAR, "工具栏(&T)"},
    {ID_VIEW_STATUS_BAR, "状态栏(&S)"},
    {ID_VIEW_DEVICE_TREE, "设备目录树"},
};

constexpr MenuItemDef g_helpMenu[] = {
    {ID_APP_ABOUT, "关于 RQ540虚拟文件系统&A)..."},
};

constexpr PopupDef g_mainMenu[] = {
    {"文件(&F)", g_fileMenu},
    {"编辑(&E)", g_editMenu},
    {"视图(&V)", g_viewMenu},
    {"帮助(&H)", g_helpMenu},
};

constexpr MenuItemDef g_treeMenu[] = {
    {ID_REFRESH_NODE, "刷新节点"},
    {0, ""},
    {ID_DELETE_FOLDER, "删除"},
    {ID_ERASE_ROOT, "擦除根目录"},
    {0, ""},
    {ID_CHANGE_PASSWORD, "修改密码"},
};

constexpr MenuItemDef g_listMenu[] = {
    {ID_OPEN, "打开"},
    {0, ""},
    {ID_REFRESH_VIEW, "刷新"},
    {0, ""},
    {ID_EDIT_COPY, "复制\tCtrl+C"},
    {ID_EDIT_PASTE, "粘贴\tCtrl+V"},
    {ID_DELETE, "删除\tCtrl+Del"},
    {0, ""},
    {ID_NEW_FOLDER, "新建目录"},
    {ID_NEW_FILE, "新建文件"},
    {0, ""},
    {ID_EDIT_FILE, "编辑文件"},
    {0, ""},
    {ID_IMPORT, "导入文件"},
    {ID_EXPORT, "导出到磁盘"},
};

constexpr AcceleratorDef g_accelerators[] = {
    {"Ctrl+C", ID_EDIT_COPY},     {"Ctrl+Ins", ID_EDIT_COPY},
    {"Ctrl+X", ID_EDIT_CUT},      {"Shift+Del", ID_EDIT_CUT},
    {"Ctrl+V", ID_EDIT_PASTE},    {"Shift+Ins", ID_EDIT_PASTE},
    {"Ctrl+Z", ID_EDIT_UNDO},     {"Alt+Backspace", ID_EDIT_UNDO},
    {"Ctrl+N", ID_FILE_NEW},      {"Ctrl+O", ID_FILE_OPEN},
    {"Ctrl+S", ID_FILE_SAVE},     {"F6", ID_NEXT_PANE},
    {"Del", ID_DELETE},
};

// The two buttons without a command have no picture: they stand past the strip's images.
constexpr ToolButtonDef g_toolBar[] = {
    {ID_FILE_NEW, ToolPicture::NewFile},
    {ID_FILE_OPEN, ToolPicture::Open},
    {ID_FILE_SAVE, ToolPicture::Save},
    {0, ToolPicture::NoPicture},
    {ID_VIEW_DEVICE_TREE, ToolPicture::DeviceTree},
    {0, ToolPicture::NoPicture},
    {ID_EDIT_COPY, ToolPicture::Copy},
    {ID_EDIT_PASTE, ToolPicture::Paste},
    {ID_DELETE, ToolPicture::Delete},
    {0, ToolPicture::NoPicture},
    {ID_NEW_FOLDER, ToolPicture::NewFolder},
    {ID_EDIT_FILE, ToolPicture::EditFile},
    {0, ToolPicture::NoPicture},
    {ID_IMPORT, ToolPicture::Import},
    {ID_EXPORT, ToolPicture::Export},
    {0, ToolPicture::NoPicture},
    {ID_REFRESH_NODE, ToolPicture::Refresh},
    {ID_APP_ABOUT, ToolPicture::About},
    {ID_COMMAND_32773, ToolPicture::NoPicture},
    {0, ToolPicture::NoPicture},
    {ID_COMMAND_32774, ToolPicture::NoPicture},
};

}  // namespace

std::span<const PopupDef> MainMenu()
{
    return g_mainMenu;
}

std::span<const MenuItemDef> TreeContextMenu()
{
    return g_treeMenu;
}

std::span<const MenuItemDef> ListContextMenu()
{
    return g_listMenu;
}

std::span<const AcceleratorDef> MainAccelerators()
{
    return g_accelerators;
}

std::span<const ToolButtonDef> MainToolBar()
{
    return g_toolBar;
}
