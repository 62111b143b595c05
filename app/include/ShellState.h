// What every command of the shell uses beside the edited card's state (EditedCard.h, read
// here through g_pVfs, g_szCurrentPath and g_pCopiedEntries): the root's path, password
// fields and the report of a refused operation. Nothing here knows any window.
#pragma once

#include "EditedCard.h"

#include "rq540/PasswordField.h"
#include "rq540/VirtualFileSystem.h"

#include <QString>

#include <cstdint>
#include <string>

class QWidget;

// The root folder's path in the syntax of ChangeDirectory.
const std::string& RootPath();

// The field to store for a password dialog's text (see RQ540::PasswordFieldText), at most
// length bytes of it; the dialogs never let a text grow past that.
RQ540::PasswordBuffer PasswordFieldOf(const QString& text, uint32_t length);

// Reports a failed core operation: "<operation>操作失败, 错误信息：<message>!" in the warning
// box, over parent. The message is vfs's text for code (g_pVfs's when vfs is null); a
// failed image read or write adds why the file could not be used, when that is known.
void ReportVfsError(QWidget* parent, const QString& operation, int32_t code,
                    const RQ540::CVirtualFileSystem* vfs = nullptr);
