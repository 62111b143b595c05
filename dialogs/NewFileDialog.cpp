#include "NewFileDialog.h"

CNewFileDialog::CNewFileDialog(QWidget* parent)
    : CFileEntryDialog(parent, QStringLiteral("对话框"), 207, 172, 1024)
{
    AddIdEdit(57, 23, 33, 12);
    AddSizeEdit(147, 22, 34, 12);
    AddButton(IDOK, QStringLiteral("创建(&C)"), 31, 139, 58, 16);
    AddButton(IDCANCEL, QStringLiteral("取消(&X)"), 111, 139, 58, 16);
    AddGroupBox(QString(), 7, 71, 193, 60);
    AddLabel(QStringLiteral("文件 ID"), 17, 25, 36, 11);
    AddLabel(QStringLiteral("文件大小"), 103, 23, 36, 11);
    AddLabel(QStringLiteral("文件类型"), 17, 44, 36, 11);
    AddGroupBox(QStringLiteral(" 目的文件(虚拟文件系统) "), 7, 7, 193, 58);
    AddHelpLabel(19, 84, 170, 42);
    AddTypeList(57, 44, 126, 75);
}
