#include "EditedCard.h"

#include "ShellState.h"

#include <utility>

CEditedCard::CEditedCard() : m_szCurrentPath(RootPath()) {}

CEditedCard::~CEditedCard() = default;

void CEditedCard::ReplaceImage(std::unique_ptr<RQ540::CRQ540Vfs> vfs)
{
    emit ImageAboutToBeReplaced();
    if (m_pCopiedEntries)
        m_pCopiedEntries->ForgetAll();
    m_pVfs = std::move(vfs);
    m_szCurrentPath = m_pVfs && m_pVfs->GetRoot()
                          ? m_pVfs->GetCurrentPath().ToChangeDirectoryText()
                          : RootPath();
}

void CEditedCard::EnterFolder(const std::string& path)
{
    // A refused path leaves the current folder as it was, and the path follows the folder
    // that is current either way.
    (void)m_pVfs->ChangeDirectory(path);
    m_szCurrentPath = m_pVfs->GetCurrentPath().ToChangeDirectoryText();
}

void CEditedCard::SetCurrentPath(const std::string& path)
{
    if (!m_pVfs || !m_pVfs->GetRoot())
        return;
    EnterFolder(path);
    emit PathChanged(m_szCurrentPath);
}

void CEditedCard::RefreshFolder(const std::string& path, const std::function<void()>& change)
{
    if (!m_pVfs || !m_pVfs->GetRoot())
        return;
    EnterFolder(path);
    if (change) {
        change();
        // The change may have moved the current folder itself (erasing the root does).
        m_szCurrentPath = m_pVfs->GetCurrentPath().ToChangeDirectoryText();
    }
    emit FolderChanged(m_szCurrentPath);
}

void CEditedCard::SetCopiedEntries(const std::vector<const EntryItemData*>& records)
{
    m_pCopiedEntries = std::make_unique<CCopiedEntries>(records);
}

void CEditedCard::ForgetCopiedEntries()
{
    m_pCopiedEntries.reset();
}

void CEditedCard::ForgetMissingCopies()
{
    if (m_pCopiedEntries && m_pVfs)
        m_pCopiedEntries->ForgetMissing(*m_pVfs);
}

CEditedCard& EditedCard()
{
    static CEditedCard card;
    return card;
}

const std::unique_ptr<RQ540::CRQ540Vfs>& g_pVfs = EditedCard().GetVfs();
const std::string& g_szCurrentPath = EditedCard().GetCurrentPath();
const std::unique_ptr<CCopiedEntries>& g_pCopiedEntries = EditedCard().GetCopiedEntries();
