// Every text the editor's windows, dialogs and controls show, apart from the string table
// and the menus, by name: UTF-8, exactly as shown. "%1", "%2" are filled in by the caller.
#pragma once

namespace Texts {

// Shared by several windows and dialogs.
inline constexpr char OK[] = "确定";
inline constexpr char CANCEL[] = "取消";
inline constexpr char CREATE_BUTTON[] = "创建(&C)";
inline constexpr char CANCEL_BUTTON[] = "取消(&X)";
inline constexpr char QUESTION_CAPTION[] = "询问";
inline constexpr char OPEN_CAPTION[] = "打开";
inline constexpr char SAVE_AS_CAPTION[] = "另存为";
// Disk files that are imported, exported or edited; Qt's form of the filter.
inline constexpr char DISK_FILE_FILTER[] = "All Files (*);;Bin files (*.bin)";
// Added to the document filter of the open and save dialogs.
inline constexpr char ALL_FILES_FILTER[] = "所有文件 (*)";
// Disk files that are imported, exported or edited: one wording for each failure.
inline constexpr char CANNOT_OPEN_FILE[] = "无法打开文件 %1 !";
inline constexpr char CANNOT_READ_FILE[] = "无法读取文件 %1 !";
inline constexpr char CANNOT_CREATE_FILE[] = "无法创建文件 %1 !";
inline constexpr char CANNOT_WRITE_FILE[] = "无法写入文件 %1 !";
// A failure message and, on its own line, why the file could not be used.
inline constexpr char FILE_PROBLEM_REASON[] = "%1\n原因：%2";
inline constexpr char PROBLEM_NOT_REGULAR[] = "不是普通文件";
inline constexpr char PROBLEM_NOT_WRITABLE[] = "文件是只读的";
inline constexpr char PROBLEM_FOLDER_NOT_WRITABLE[] = "文件所在的文件夹不可写";
inline constexpr char PROBLEM_HARD_LINKED[] =
    "文件还有其他硬链接，替换它会使其他链接仍指向旧内容；请先把它复制为单独的文件";
inline constexpr char PROBLEM_LINK_LOOP[] = "符号链接的层数过多";
inline constexpr char PROBLEM_NOT_FOUND[] = "文件或文件夹不存在";
inline constexpr char PROBLEM_NO_PERMISSION[] = "没有访问权限";
inline constexpr char PROBLEM_DISK_FULL[] = "磁盘已满";
inline constexpr char PROBLEM_IN_USE[] = "文件正被其他程序使用";
inline constexpr char REFUSED_OPERATION[] = "%1操作失败, 错误信息：%2!";

// Names of the operations a refusal report names.
inline constexpr char OPERATION_OPEN_FILE[] = "打开文件";
inline constexpr char OPERATION_SAVE_FILE[] = "保存文件";
inline constexpr char OPERATION_PASTE[] = "粘贴";
inline constexpr char OPERATION_CREATE_FOLDER[] = "创建文件夹";
inline constexpr char OPERATION_CREATE_FILE[] = "创建文件";
inline constexpr char OPERATION_IMPORT_FILE[] = "导入文件";

// Document and main frame.
inline constexpr char NEW_DOCUMENT_TITLE[] = "NewRqVfs";
inline constexpr char WINDOW_TITLE[] = "%1 - %2";
inline constexpr char TREE_BAR_TITLE[] = "VFS Info";
inline constexpr char CURRENT_PATH_PANE[] = "当前路径：%1";
inline constexpr char RECENT_FILES[] = "最近的文件";
inline constexpr char RECENT_FILE_ITEM[] = "&%1 %2";
inline constexpr char DELETE_FOLDER_QUESTION[] = "确实要删除该目录么? ";
inline constexpr char ERASE_ROOT_QUESTION[] = "擦除根目录将导致整个虚拟文件系统清空, 确实要擦除么? ";

// About box.
inline constexpr char ABOUT_TITLE[] = "关于　RQ540虚拟文件系统管理器";
// %1 is the program version.
inline constexpr char ABOUT_VERSION[] = "RQ540虚拟文件系统管理器 v%1 版";
inline constexpr char ABOUT_PURPOSE[] = "在电脑上编排 RQ540 加密锁虚拟卡的目录与文件";

// Folder list.
inline constexpr char FOLDER_ATTRIBUTE[] = "文件夹";
inline constexpr char EXECUTABLE_FILE[] = "可执行文件";
inline constexpr char DATA_FILE[] = "数据文件";
inline constexpr char PUBLIC_KEY_FILE[] = "公钥文件";
inline constexpr char PRIVATE_KEY_FILE[] = "私钥文件";
inline constexpr char INTERNAL_EXECUTABLE_FILE[] = "内部可执行文件（不可写）";
inline constexpr char UNKNOWN_FILE[] = "未知文件";
inline constexpr char PASTE_SOURCE_GONE[] = "粘贴操作出错，无法从原始位置读数据！";
inline constexpr char DELETE_ENTRIES_QUESTION[] = "确实要删除这些文件(文件夹)么? ";

// Entry commands.
inline constexpr char EXPORT_EXTENSION[] = ".BIN";

// Tree panel.
inline constexpr char TREE_TOP_NODE[] = "RQ540 VFS";
inline constexpr char TREE_ROOT_NODE[] = "ROOT DIR(MF)";

// Data exchange of the dialogs.
inline constexpr char TOO_MANY_CHARACTERS[] = "请输入不多于 %1 个的字符。";
inline constexpr char NOT_A_NUMBER[] = "请输入一个正整数。";
// Password fields hold bytes: a Chinese character takes three of them.
inline constexpr char TOO_MANY_BYTES[] = "请输入不多于 %1 个字节的口令。";
inline constexpr char PASSWORD_LIMIT_TIP[] = "最多 %1 个字节（一个汉字占 3 个字节）";

// New folder, new file and import dialogs.
inline constexpr char NEW_FOLDER_TITLE[] = "创建目录";
inline constexpr char NEW_FILE_TITLE[] = "对话框";
inline constexpr char IMPORT_TITLE[] = "导入";
inline constexpr char FOLDER_ID_LABEL[] = "目录ID(HEX):";
inline constexpr char FOLDER_SIZE_LABEL[] = "目录大小(字节):";
inline constexpr char FOLDER_DEVELOPER_PASSWORD_LABEL[] = "开发商口令:";
inline constexpr char FOLDER_USER_PASSWORD_LABEL[] = "用户口令:";
inline constexpr char FILE_ID_LABEL[] = "文件 ID";
inline constexpr char FILE_SIZE_LABEL[] = "文件大小";
inline constexpr char FILE_TYPE_LABEL[] = "文件类型";
inline constexpr char FILE_NAME_LABEL[] = "文件名称";
inline constexpr char BROWSE_BUTTON[] = "...";
inline constexpr char SOURCE_FILE_GROUP[] = " 源文件(磁盘) ";
inline constexpr char TARGET_FILE_GROUP[] = " 目的文件(虚拟文件系统) ";
// The type list, in the order of its positions.
inline constexpr const char* FILE_TYPE_LIST[] = {
    "可执行文件", "内部可执行文件（不可写)", "内部数据文件", "公钥文件", "私钥文件",
};
inline constexpr char FILE_ENTRY_HELP[] =
    "文件ID为16进制数，范围为1-FFFF。文件大小表示创建卡内文件的大小，为0表示使用磁盘文件的大小。"
    "如果文件名称为空则将根据输入的文件大小创建一个空文件。";
inline constexpr char ENTER_HEX_ID[] = "请输入一个16进制数的ID。";
inline constexpr char FILE_SIZE_REFUSED[] =
    "当前文件夹剩余空间%1字节，不能大于剩余空间－文件头大小（%2）,也不能小于或等于0";
inline constexpr char FOLDER_SIZE_REFUSED[] =
    "当前文件夹剩余空间%1字节，不能大于该空间也不能小于或等于0";

// Edit file dialog.
inline constexpr char EDIT_FILE_TITLE[] = "编辑文件";
inline constexpr char EXPORT_BUTTON[] = "导出";
inline constexpr char IMPORT_BUTTON[] = "导入";

// Password and hardware information dialogs.
inline constexpr char DEVELOPER_PASSWORD_LABEL[] = "开发商口令：";
inline constexpr char USER_PASSWORD_LABEL[] = "用户口令：";
inline constexpr char ROOT_PASSWORD_TITLE[] = "修改根目录的密码";
inline constexpr char FOLDER_PASSWORD_TITLE[] = "修改当前目录的密码";
inline constexpr char HARDWARE_TITLE[] = "修改虚拟卡的硬件信息";
inline constexpr char HARDWARE_GROUP[] = "硬件信息";
inline constexpr char HARDWARE_NOTE_GROUP[] = "说明";
inline constexpr char HARDWARE_NOTE[] =
    "　　这里修改的硬件信息并不会在从虚拟卡复制到加密锁硬件的时候写入到硬件，这里的修改只是为了调试。";
inline constexpr char SERIAL_NUMBER_LABEL[] = "硬件序列号：";
inline constexpr char CUSTOMER_NUMBER_LABEL[] = "客户号：";

// Hex editor's context menu.
inline constexpr char HEX_COPY[] = "&Copy";
inline constexpr char HEX_PASTE[] = "&Paste";
inline constexpr char HEX_CUT[] = "&Cut";
inline constexpr char HEX_CLEAR[] = "&Clear";

}  // namespace Texts
