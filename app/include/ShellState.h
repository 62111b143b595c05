// State shared by the shell's windows: the image being edited, the current path and the
// copied entries, with the two helpers every command uses: entering a folder and reporting
// a refused operation. Nothing here knows any window; the windows announce changes with
// their own signals.
#pragma once

#include "rq540/PasswordField.h"
#include "rq540/RQ540Vfs.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>

class CCopiedEntries;
class QWidget;

// The image being edited; created and destroyed only by the document.
extern std::unique_ptr<RQ540::CRQ540Vfs> g_pVfs;
// The path of the folder the list shows, mirroring the file system's current folder.
extern std::string g_szCurrentPath;
// The entries remembered by Copy; null when nothing was copied.
extern std::unique_ptr<CCopiedEntries> g_pCopiedEntries;

// The root folder's path in the syntax of ChangeDirectory.
const std::string& RootPath();

// Moves the file system's current folder by path (in the syntax of ChangeDirectory) and
// makes g_szCurrentPath the path of the folder that is current then, so the two never
// part: a path that cannot be entered leaves both where they were. Telling the other
// windows is the caller's part. Does nothing without an image.
void EnterFolder(const std::string& path);

// The field to store for a password dialog's text (see RQ540::PasswordFieldText), at most
// length bytes of it; the dialogs never let a text grow past that.
RQ540::PasswordBuffer PasswordFieldOf(const QString& text, uint32_t length);

// Reports a failed core operation: "<operation>操作失败, 错误信息：<message>!" in the warning
// box, over parent. The message is vfs's text for code (g_pVfs's when vfs is null); a
// failed image read or write adds why the file could not be used, when that is known.
void ReportVfsError(QWidget* parent, const QString& operation, int32_t code,
                    const RQ540::CVirtualFileSystem* vfs = nullptr);
