// The program's string table: texts by resource ID, command prompts and the fields of the
// document template string.
#pragma once

#include <QString>

// The text of string resource id; empty for an ID the table does not hold.
QString LoadResString(int id);

// A command's status-bar prompt (the part before "\n") and its tool tip (the part after);
// both empty for a command without a prompt.
QString CommandPrompt(int commandId);
QString CommandToolTip(int commandId);

// Fields of the document template string (IDR_MAINFRAME), in their order there.
enum class DocString {
    WindowTitle,
    DocName,
    FileNewName,
    FilterName,
    FilterExt,
    RegFileTypeId,
    RegFileTypeName,
};
QString GetDocString(DocString field);

// The filter of the open and save dialogs for documents: the document filter of the
// template string, then all files.
QString DocumentFilter();
