// The tree panel's commands, on the node selected in it: refresh node, delete folder, erase
// root and change password. Each asks what it must ask, changes the image through the
// edited card and leaves the windows to the card's announcement. The commands are
// registered here with their handlers and enabling rules together; the router asks this
// table after the document's.
#pragma once

#include "CommandTable.h"

#include <QObject>
#include <QString>

#include <functional>

class CTreeDialog;
class CZelvoDoc;
class QTreeWidgetItem;
class QWidget;

class CTreeCommands : public QObject {
    Q_OBJECT
public:
    // Runs the password dialog for a folder: starts from the folder's current passwords
    // (developer first), titles itself by bRoot, and on OK returns true with the new texts
    // in place. Until one is installed, change password stays disabled.
    using PasswordDialogRunner = std::function<bool(QWidget* parent, bool bRoot,
                                                    QString& strDeveloperPassword,
                                                    QString& strUserPassword)>;

    // pTree gives the selection and parents the questions; pDocument is marked modified.
    CTreeCommands(CTreeDialog* pTree, CZelvoDoc* pDocument, QObject* parent = nullptr);

    const CCommandTable& GetCommandTable() const { return m_commands; }
    void SetPasswordDialog(PasswordDialogRunner runner);

private:
    void OnRefreshNode();
    void OnDeleteFolder();
    void OnEraseRoot();
    void OnChangePassword();
    // Yes to the question text in the box captioned "询问".
    bool Confirm(const char* text) const;

    CTreeDialog* m_pTree;
    CZelvoDoc* m_pDocument;
    CCommandTable m_commands;
    PasswordDialogRunner m_runPasswordDialog;
};
