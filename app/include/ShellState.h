// State shared by the whole editor: the image being edited, the current path, the copied
// entries and the main frame, with the two helpers every command uses.
#pragma once

#include "rq540/RQ540Vfs.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>

class CCopiedEntries;
class CMainFrame;

// The image being edited; created and destroyed only by the document.
extern std::unique_ptr<RQ540::CRQ540Vfs> g_pVfs;
// The path of the folder the list shows, mirroring the file system's current folder.
extern std::string g_szCurrentPath;
// The entries remembered by Copy; null when nothing was copied.
extern std::unique_ptr<CCopiedEntries> g_pCopiedEntries;

// The frame that receives the shell's requests; null until the frame is registered.
CMainFrame* MainFrame();
void SetMainFrame(CMainFrame* frame);

// Stores path as the current path and tells the main frame (status bar, then the tree's
// selection). Does not move the file system's current folder: callers pair it with
// ChangeDirectory.
void SetCurrentPath(const std::string& path);

// Reports a failed core operation: "<operation>操作失败, 错误信息：<message>!" in a warning box
// captioned with the application title. The message is vfs's text for code (g_pVfs when
// vfs is null).
void ReportVfsError(const QString& operation, int32_t code,
                    const RQ540::CVirtualFileSystem* vfs = nullptr);
