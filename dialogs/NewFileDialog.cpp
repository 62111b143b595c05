#include "NewFileDialog.h"

#include "ShellTexts.h"

CNewFileDialog::CNewFileDialog(QWidget* parent)
    : CFileEntryDialog(parent, QString::fromUtf8(Texts::NEW_FILE_TITLE), 207, 172, 1024)
{
    AddIdEdit(57, 23, 33, 12);
    AddSizeEdit(147, 22, 34, 12);
    AddButton(IDOK, QString::fromUtf8(Texts::CREATE_BUTTON), 31, 139, 58, 16);
    AddButton(IDCANCEL, QString::fromUtf8(Texts::CANCEL_BUTTON), 111, 139, 58, 16);
    AddGroupBox(QString(), 7, 71, 193, 60);
    AddLabel(QString::fromUtf8(Texts::FILE_ID_LABEL), 17, 25, 36, 11);
    AddLabel(QString::fromUtf8(Texts::FILE_SIZE_LABEL), 103, 23, 36, 11);
    AddLabel(QString::fromUtf8(Texts::FILE_TYPE_LABEL), 17, 44, 36, 11);
    AddGroupBox(QString::fromUtf8(Texts::TARGET_FILE_GROUP), 7, 7, 193, 58);
    AddHelpLabel(19, 84, 170, 42);
    AddTypeList(57, 44, 126, 75);
}
