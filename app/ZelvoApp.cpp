#include "ZelvoApp.h"

#include "AboutDlg.h"
#include "FileDialogs.h"
#include "MainFrame.h"
#include "RecentFileList.h"
#include "Resource.h"
#include "ShellTexts.h"
#include "StringTable.h"
#include "ZelvoDoc.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

namespace {

const QString g_settingsKey = QStringLiteral("应用程序向导生成的本地应用程序");
const QString g_qtTranslatorName = QStringLiteral("QtTranslations");

// The toolkit's own texts (standard buttons, file dialogs) in Simplified Chinese like the
// rest of the interface; installed once per application object.
void InstallQtTranslations()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || application->findChild<QTranslator*>(g_qtTranslatorName))
        return;
    auto* translator = new QTranslator(application);
    translator->setObjectName(g_qtTranslatorName);
    if (translator->load(QStringLiteral("qtbase_zh_CN"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

}  // namespace

CZelvoApp::CZelvoApp() = default;

CZelvoApp::~CZelvoApp() = default;

bool CZelvoApp::InitInstance(const QStringList& arguments)
{
    InstallQtTranslations();
    m_pSettings = std::make_unique<QSettings>(g_settingsKey, LoadResString(IDS_APP_TITLE));
    m_pRecentFileList = std::make_unique<CRecentFileList>(*m_pSettings, RECENT_FILE_COUNT);

    m_commands.Add(ID_FILE_NEW, [this] { OnFileNew(); });
    m_commands.Add(ID_FILE_OPEN, [this] { OnFileOpen(); });
    m_commands.Add(ID_APP_ABOUT, [this] { OnAppAbout(); });
    m_commands.Add(ID_APP_EXIT, [this] { m_pMainFrame->close(); });
    for (int index = 0; index < RECENT_FILE_COUNT; ++index) {
        m_commands.Add(ID_RECENT_FILE1 + index, [this, index] { OnOpenRecentFile(index); },
                       [this, index] { return index < m_pRecentFileList->GetFiles().size(); });
    }

    m_pDocument = std::make_unique<CZelvoDoc>();
    m_pMainFrame = std::make_unique<CMainFrame>(m_pDocument.get(), m_commands);
    if (!m_pMainFrame->IsCreated())
        return false;
    m_pMainFrame->SetRecentFiles(m_pRecentFileList->GetFiles());
    connect(m_pDocument.get(), &CZelvoDoc::PathNameAdopted, this,
            &CZelvoApp::OnDocumentPathAdopted);
    connect(m_pMainFrame.get(), &CMainFrame::FilesDropped, this, [this](const QStringList& paths) {
        for (const QString& path : paths)
            OpenDocumentFile(path);
    });

    QString fileName;
    for (qsizetype index = 1; index < arguments.size() && fileName.isEmpty(); ++index) {
        if (!arguments[index].startsWith(QLatin1Char('-')))
            fileName = arguments[index];
    }
    const bool bDocument = fileName.isEmpty() ? OnFileNew() : OpenDocumentFile(fileName);
    if (!bDocument)
        return false;
    m_pMainFrame->show();
    return true;
}

bool CZelvoApp::OnFileNew()
{
    if (!m_pDocument->SaveModified() || !m_pDocument->OnNewDocument())
        return false;
    m_pMainFrame->InitialUpdate();
    return true;
}

void CZelvoApp::OnFileOpen()
{
    const QString path = FileDialogs().GetOpenFileName(
        m_pMainFrame.get(), QString::fromUtf8(Texts::OPEN_CAPTION), QString(), DocumentFilter());
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool CZelvoApp::OpenDocumentFile(const QString& path)
{
    if (!m_pDocument->SaveModified() || !m_pDocument->OnOpenDocument(path))
        return false;
    m_pMainFrame->InitialUpdate();
    return true;
}

void CZelvoApp::OnOpenRecentFile(int index)
{
    const QStringList& files = m_pRecentFileList->GetFiles();
    if (index >= files.size())
        return;
    const QString path = files[index];
    if (!m_pDocument->SaveModified())
        return;
    if (m_pDocument->OnOpenDocument(path)) {
        m_pMainFrame->InitialUpdate();
        return;
    }
    m_pRecentFileList->Remove(m_pRecentFileList->GetFiles().indexOf(path));
    m_pMainFrame->SetRecentFiles(m_pRecentFileList->GetFiles());
}

void CZelvoApp::OnAppAbout()
{
    CAboutDlg dialog(m_pMainFrame.get());
    dialog.exec();
}

void CZelvoApp::OnDocumentPathAdopted(const QString& path)
{
    SetStartFolder(QFileInfo(path).absolutePath());
    m_pRecentFileList->Add(path);
    m_pMainFrame->SetRecentFiles(m_pRecentFileList->GetFiles());
}
