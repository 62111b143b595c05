// The card being edited, the folder the windows show and the entries remembered by Copy.
// One object owns the three: it alone replaces the image, moves the current folder and
// keeps the copied entries, and it announces each change once, with one signal the
// windows subscribe to in the order they must act. The windows read the state through
// g_pVfs, g_szCurrentPath and g_pCopiedEntries; none of them can write it.
#pragma once

#include "CopiedEntries.h"

#include "rq540/RQ540Vfs.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CEditedCard : public QObject {
    Q_OBJECT
public:
    CEditedCard();
    ~CEditedCard() override;

    const std::unique_ptr<RQ540::CRQ540Vfs>& GetVfs() const { return m_pVfs; }
    const std::string& GetCurrentPath() const { return m_szCurrentPath; }
    const std::unique_ptr<CCopiedEntries>& GetCopiedEntries() const { return m_pCopiedEntries; }

    // Makes vfs the image being edited (null: none), at its root folder. Whatever refers
    // into the previous image is told to go first; copied entries count as gone from then.
    // Announces no path: the document says which folder to show.
    void ReplaceImage(std::unique_ptr<RQ540::CRQ540Vfs> vfs);

    // Enters the folder at path (the syntax of ChangeDirectory: absolute, relative or "..")
    // and announces the folder that is current then, once (PathChanged); a path that cannot
    // be entered leaves the current folder where it was. Does nothing without an image.
    void SetCurrentPath(const std::string& path);
    // Enters the folder at path, lets change alter the image there (when one is given) and
    // announces the folder current then, once, as one whose entries changed
    // (FolderChanged). Does nothing without an image.
    void RefreshFolder(const std::string& path, const std::function<void()>& change = {});

    // Copy: remembers the entries of records in their order, in place of the earlier ones.
    void SetCopiedEntries(const std::vector<const EntryItemData*>& records);
    void ForgetCopiedEntries();
    // To be called right after entries were deleted: copied entries that went with them
    // count as gone for good.
    void ForgetMissingCopies();

signals:
    // The image is about to be replaced or dropped: whatever refers into it must go now.
    void ImageAboutToBeReplaced();
    // The folder at path is the current one now.
    void PathChanged(const std::string& path);
    // The folder at path is the current one now, and its entries (or those below it) may
    // differ from what the windows show.
    void FolderChanged(const std::string& path);

private:
    // Enters path and makes m_szCurrentPath the path of the folder that is current then.
    void EnterFolder(const std::string& path);

    std::unique_ptr<RQ540::CRQ540Vfs> m_pVfs;
    std::string m_szCurrentPath;
    std::unique_ptr<CCopiedEntries> m_pCopiedEntries;
};

// The one card of the program, made on first use.
CEditedCard& EditedCard();

// Read access to its state, by the names every window uses.
extern const std::unique_ptr<RQ540::CRQ540Vfs>& g_pVfs;
extern const std::string& g_szCurrentPath;
extern const std::unique_ptr<CCopiedEntries>& g_pCopiedEntries;
