#include "StringTable.h"

#include "Resource.h"
#include "ShellTexts.h"

#include <QStringList>

namespace {

struct StringEntry {
    int id;
    const char* text;
};

// Texts are UTF-8; a command prompt holds "status-bar prompt\ntool tip".
constexpr StringEntry g_strings[] = {
    {IDP_OLE_INIT_FAILED, "OLE 初始化失败。请确保 OLE 库是正确的版本。"},
    {IDS_COLUMN_NAME, "文件名"},
    {IDS_COLUMN_SIZE, "大小/可用空间(字节)"},
    {IDS_COLUMN_ATTRIBUTES, "属性"},
    {IDS_COLUMN_STATE, "状态"},
    {IDS_CURRENT_PATH, "当前路径： "},
    {IDS_FREE_SPACE, "剩余空间 %d 字节"},
    {IDP_FILE_CHANGED_ON_DISK,
     "文件已被其他程序修改：%1\n保存将覆盖其他程序所做的改动。是否仍要保存？"},
    {IDP_FILE_LOCKED, "文件正被其他程序修改：%1\n请稍后再保存。"},
    {IDP_IMPORT_CUT_SHORT, "磁盘文件有 %1 字节，只能导入前 %2 字节，是否继续？"},
    {IDR_MAINFRAME, "RQ540虚拟文件系统管理器\n\nRQ540虚拟文件系统管理器\n"
                    "RQ540虚拟文件系统文件 (*.rqfs)\n.rqfs\nRQVfs.Document\nRQVfs.Document"},
    {IDS_APP_TITLE, "RQ540虚拟文件系统管理器"},
    {IDS_IDLE_MESSAGE, "就绪"},
    {IDP_ASK_TO_SAVE, "是否将改动保存到 %1？"},
    {ID_FILE_NEW, "创建新虚拟文件系统\n新建"},
    {ID_FILE_OPEN, "打开现有虚拟文件系统\n打开"},
    {ID_FILE_SAVE, "保存虚拟文件系统\n保存"},
    {ID_FILE_SAVE_AS, "用新名称保存活动文档\n另存为"},
    {ID_VIEW_DEVICE_TREE, "是否显示文件系统树\n树视图"},
    {ID_EDIT_COPY, "复制选定内容并将其放到剪贴板上\n复制"},
    {ID_EDIT_PASTE, "插入剪贴板内容\n粘贴"},
    {ID_DELETE, "删除选中文件\n删除"},
    {ID_NEW_FOLDER, "新建一个目录\n新建目录"},
    {ID_EDIT_FILE, "编辑选中文件\n编辑"},
    {ID_IMPORT, "导入磁盘文件到虚拟文件系统\n导入"},
    {ID_EXPORT, "从虚拟文件系统导出文件到磁盘\n导出"},
    {ID_REFRESH_NODE, "刷新当前视图\n刷新"},
    {ID_APP_ABOUT, "显示程序信息、版本号和版权\n关于"},
    {ID_APP_EXIT, "退出应用程序；提示保存文档\n退出"},
    {ID_VIEW_TOOLBAR, "显示或隐藏工具栏\n切换工具栏"},
    {ID_VIEW_STATUS_BAR, "显示或隐藏状态栏\n切换状态栏"},
};

QString PromptPart(int commandId, qsizetype part)
{
    const QStringList parts = LoadResString(commandId).split(QLatin1Char('\n'));
    return part < parts.size() ? parts[part] : QString();
}

}  // namespace

QString LoadResString(int id)
{
    for (const StringEntry& entry : g_strings) {
        if (entry.id == id)
            return QString::fromUtf8(entry.text);
    }
    return QString();
}

QString CommandPrompt(int commandId)
{
    return PromptPart(commandId, 0);
}

QString CommandToolTip(int commandId)
{
    return PromptPart(commandId, 1);
}

QString GetDocString(DocString field)
{
    const QStringList fields = LoadResString(IDR_MAINFRAME).split(QLatin1Char('\n'));
    const auto index = static_cast<qsizetype>(field);
    return index < fields.size() ? fields[index] : QString();
}

QString DocumentFilter()
{
    return GetDocString(DocString::FilterName) + QStringLiteral(";;") +
           QString::fromUtf8(Texts::ALL_FILES_FILTER);
}
