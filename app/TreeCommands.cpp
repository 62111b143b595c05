#include "TreeCommands.h"

#include "EditedCard.h"
#include "Prompter.h"
#include "Resource.h"
#include "ShellState.h"
#include "ShellTexts.h"
#include "TreeDialog.h"
#include "ZelvoDoc.h"

#include "rq540/FolderHeader.h"

#include <QTreeWidgetItem>

#include <utility>
#include <vector>

namespace {

// A stored password field as the text that gives back exactly its bytes.
QString PasswordText(const std::vector<uint8_t>& bytes)
{
    return QString::fromStdU16String(RQ540::PasswordFieldText(bytes));
}

}  // namespace

CTreeCommands::CTreeCommands(CTreeDialog* pTree, CZelvoDoc* pDocument, QObject* parent)
    : QObject(parent), m_pTree(pTree), m_pDocument(pDocument)
{
    m_commands.Add(ID_REFRESH_NODE, [this] { OnRefreshNode(); });
    m_commands.Add(ID_CHANGE_PASSWORD, [this] { OnChangePassword(); },
                   [this] { return static_cast<bool>(m_runPasswordDialog); });
    // Only a sub-folder can be deleted: the top and root folder nodes carry no record.
    m_commands.Add(ID_DELETE_FOLDER, [this] { OnDeleteFolder(); },
                   [this] { return m_pTree->GetItemData(m_pTree->GetSelectedItem()) != nullptr; });
    m_commands.Add(ID_ERASE_ROOT, [this] { OnEraseRoot(); });
}

void CTreeCommands::SetPasswordDialog(PasswordDialogRunner runner)
{
    m_runPasswordDialog = std::move(runner);
}

bool CTreeCommands::Confirm(const char* text) const
{
    return Prompter().Show(m_pTree, QString::fromUtf8(Texts::QUESTION_CAPTION),
                           QString::fromUtf8(text), IPrompter::Icon::Question,
                           IPrompter::Buttons::YesNo) == IPrompter::Answer::Yes;
}

void CTreeCommands::OnRefreshNode()
{
    // The root folder node stands for the top node, and is the node to rebuild whenever
    // the root is current (right after New and Open); without a selection elsewhere,
    // nothing is rebuilt.
    QTreeWidgetItem* selected = m_pTree->GetSelectedItem();
    QTreeWidgetItem* node = selected == m_pTree->GetTopItem() || g_szCurrentPath == RootPath()
                                ? m_pTree->GetRootItem()
                                : selected;
    if (node)
        EditedCard().RefreshFolder(m_pTree->GetItemPath(node));
}

void CTreeCommands::OnDeleteFolder()
{
    if (!Confirm(Texts::DELETE_FOLDER_QUESTION))
        return;
    QTreeWidgetItem* node = m_pTree->GetSelectedItem();
    const EntryItemData* record = m_pTree->GetItemData(node);
    if (!record || !g_pVfs)
        return;
    const uint16_t id = record->pHeader->GetId();
    // The folder is deleted from its parent, which becomes the current folder and is
    // rebuilt; the result is not reported, the rebuilt node shows what the deletion left.
    EditedCard().RefreshFolder(m_pTree->GetItemPath(node->parent()), [this, id] {
        (void)g_pVfs->DeleteFolder(id);
        // The folder is gone from the image, so closing must offer to save.
        m_pDocument->SetModifiedFlag();
        EditedCard().ForgetMissingCopies();
    });
}

void CTreeCommands::OnEraseRoot()
{
    if (!Confirm(Texts::ERASE_ROOT_QUESTION) || !g_pVfs)
        return;
    EditedCard().RefreshFolder(RootPath(), [this] {
        g_pVfs->Format(true);
        m_pDocument->SetModifiedFlag();
        EditedCard().ForgetMissingCopies();
    });
}

void CTreeCommands::OnChangePassword()
{
    QTreeWidgetItem* selected = m_pTree->GetSelectedItem();
    if (!selected || !g_pVfs || !m_runPasswordDialog)
        return;
    const EntryItemData* record = m_pTree->GetItemData(m_pTree->NodeOf(selected));
    auto* folder = record ? static_cast<RQ540::CFolderHeader*>(record->pHeader) : g_pVfs->GetRoot();

    std::vector<uint8_t> developer(folder->GetDeveloperPasswordSize(), 0);
    std::vector<uint8_t> user(folder->GetUserPasswordSize(), 0);
    folder->GetDeveloperPassword(developer.data());
    folder->GetUserPassword(user.data());
    QString strDeveloperPassword = PasswordText(developer);
    QString strUserPassword = PasswordText(user);
    if (!m_runPasswordDialog(m_pTree, record == nullptr, strDeveloperPassword, strUserPassword))
        return;

    folder->SetDeveloperPassword(
        PasswordFieldOf(strDeveloperPassword, g_pVfs->GetDeveloperPasswordLength()).data());
    folder->SetUserPassword(
        PasswordFieldOf(strUserPassword, g_pVfs->GetUserPasswordLength()).data());
    // The passwords are part of the image: without this, closing would drop them unasked.
    m_pDocument->SetModifiedFlag();
}
