#include "CommandTable.h"
#include "EditFileDialog.h"
#include "Fakes.h"
#include "HardInforDialog.h"
#include "ImportFileDialog.h"
#include "MainFrame.h"
#include "ModifyPasswordDialog.h"
#include "NewFileDialog.h"
#include "NewFolderDialog.h"
#include "Resource.h"
#include "ShellState.h"
#include "TreeDialog.h"
#include "ZelvoDoc.h"
#include "ZelvoView.h"

#include "../FifoUnblocker.h"
#include "../core/FaultyIo.h"

#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t ROOT_FREE_SPACE = 61886;

QLineEdit* Edit(QWidget& dialog, int id)
{
    return dialog.findChild<QLineEdit*>(QString::number(id));
}

void ClickButton(QWidget& dialog, int id)
{
    if (auto* button = dialog.findChild<QPushButton*>(QString::number(id)))
        QTest::mouseClick(button, Qt::LeftButton);
}

// Answers the next modal dialog of type Dialog: fill runs on it once it is shown. A
// dialog that fill leaves open, or one of another type, is closed, so a refused OK
// never hangs the test.
template <typename Dialog>
void AnswerDialog(std::function<void(Dialog&)> fill)
{
    QTimer::singleShot(0, [fill] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        fill(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

std::vector<uint8_t> Bytes(const char* text, std::size_t size)
{
    std::vector<uint8_t> bytes(size, 0);
    for (std::size_t i = 0; i < size && text[i]; ++i)
        bytes[i] = static_cast<uint8_t>(text[i]);
    return bytes;
}

std::vector<uint8_t> DeveloperPassword(const RQ540::CFolderHeader& folder)
{
    std::vector<uint8_t> bytes(folder.GetDeveloperPasswordSize());
    folder.GetDeveloperPassword(bytes.data());
    return bytes;
}

std::vector<uint8_t> UserPassword(const RQ540::CFolderHeader& folder)
{
    std::vector<uint8_t> bytes(folder.GetUserPasswordSize());
    folder.GetUserPassword(bytes.data());
    return bytes;
}

std::vector<uint8_t> FileBytes(const RQ540::CFileHeader& file)
{
    return std::vector<uint8_t>(file.GetData(), file.GetData() + file.GetSize());
}

QByteArray ReadDiskFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class EntryCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFolderWithDefaults();
    void newFolderStoresPaddedPasswords();
    void refusedCreateFolderIsReported();
    void newFileReadsIdAsHex_data();
    void newFileReadsIdAsHex();
    void refusedCreateFileIsReported();
    void importCopiesDiskFile_data();
    void importCopiesDiskFile();
    void importWithoutFileNameCreatesZeroFile();
    void importRefusedByCoreStillModifies();
    void importOfUnreadableFileChangesNothing();
    void importOfLongerFileAsksBeforeCutting();
    void exportWritesExactlyTheFileSize();
    void exportToUncreatableFileIsReported();
    void failedExportLeavesTheDestinationWhole();
    void importRefusesFifosAndReadsNoMoreThanTheCard();
    void editFileWritesBackOnOkOnly();
    void changePasswordStoresFixedLengthFields();
    void changePasswordKeepsUntouchedBytesAndLimitsTyping();
    void hardwareInformationStaysOutOfTheImage();

private:
    bool Run(int id) { return m_pFrame->GetRouter().Execute(id); }
    CZelvoView* View() const { return m_pFrame->GetActiveView(); }
    int RowOf(uint16_t id) const;
    // A file in the current folder with bytes 0x10, 0x11, ... as its contents.
    void MakeFile(uint16_t id, uint32_t size);
    QString WriteDiskFile(const QString& name, qsizetype length);

    CCommandTable m_appCommands;
    std::unique_ptr<CZelvoDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CFakePrompter> m_pPrompter;
    std::unique_ptr<CFakeFileDialogs> m_pFileDialogs;
    std::unique_ptr<QTemporaryDir> m_pDir;
};

void EntryCommandsTest::init()
{
    m_pPrompter = std::make_unique<CFakePrompter>();
    m_pFileDialogs = std::make_unique<CFakeFileDialogs>();
    m_pDir = std::make_unique<QTemporaryDir>();
    m_pDocument = std::make_unique<CZelvoDoc>();
    m_pFrame = std::make_unique<CMainFrame>(m_pDocument.get(), m_appCommands);
    QVERIFY(m_pDocument->OnNewDocument());
    m_pFrame->InitialUpdate();
    m_pFrame->show();
}

void EntryCommandsTest::cleanup()
{
    m_pFrame.reset();
    m_pDocument.reset();
    m_pDir.reset();
    m_pFileDialogs.reset();
    m_pPrompter.reset();
}

int EntryCommandsTest::RowOf(uint16_t id) const
{
    for (int row = 0; row < View()->rowCount(); ++row) {
        const EntryItemData* record = View()->GetItemData(row);
        if (record && record->pHeader->GetId() == id)
            return row;
    }
    return -1;
}

void EntryCommandsTest::MakeFile(uint16_t id, uint32_t size)
{
    RQ540::FileHandle handle = nullptr;
    QCOMPARE(g_pVfs->CreateFile(id, RQ540::FILE_TYPE_DATA, size, &handle), 0);
    std::vector<uint8_t> bytes(size);
    for (uint32_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(0x10 + i);
    QCOMPARE(g_pVfs->WriteFile(handle, 0, size, bytes.data()), 0);
    QCOMPARE(g_pVfs->CloseFile(handle), 0);
    View()->RefreshList();
}

QString EntryCommandsTest::WriteDiskFile(const QString& name, qsizetype length)
{
    const QString path = m_pDir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray bytes(length, '\0');
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(0xA0 + i);
    file.write(bytes);
    return path;
}

void EntryCommandsTest::newFolderWithDefaults()
{
    uint32_t shownFreeSpace = 0;
    AnswerDialog<CNewFolderDialog>([&](CNewFolderDialog& dialog) {
        shownFreeSpace = dialog.m_nFreeSpace;
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_NEW_FOLDER));
    QCOMPARE(shownFreeSpace, ROOT_FREE_SPACE);

    RQ540::CFolderHeader* folder = g_pVfs->FindFolder(0x0001);
    QVERIFY(folder);
    QCOMPARE(folder->GetFreeSpace(), 10240u - 102u);
    QCOMPARE(g_pVfs->GetRoot()->GetFreeSpace(), ROOT_FREE_SPACE - 10240u);
    QCOMPARE(DeveloperPassword(*folder), Bytes("582936145829361458293614", 24));
    QCOMPARE(UserPassword(*folder), Bytes("73920184", 8));
    QVERIFY(m_pDocument->IsModified());
    QVERIFY(m_pPrompter->ShownBoxes().empty());

    // The list and the tree show the new folder.
    QCOMPARE(View()->rowCount(), 1);
    QCOMPARE(View()->item(0, 0)->text(), QStringLiteral("0001"));
    QTreeWidgetItem* root = m_pFrame->GetTreeDialog()->GetRootItem();
    QCOMPARE(root->childCount(), 1);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("0001"));
}

void EntryCommandsTest::newFolderStoresPaddedPasswords()
{
    AnswerDialog<CNewFolderDialog>([](CNewFolderDialog& dialog) {
        Edit(dialog, CNewFolderDialog::IDC_FOLDER_ID)->setText(QStringLiteral("00a2"));
        Edit(dialog, CNewFolderDialog::IDC_FOLDER_SIZE)->setText(QStringLiteral("500"));
        Edit(dialog, CNewFolderDialog::IDC_DEVELOPER_PASSWORD)->setText(QStringLiteral("abcde"));
        Edit(dialog, CNewFolderDialog::IDC_USER_PASSWORD)->clear();
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_NEW_FOLDER));
    RQ540::CFolderHeader* folder = g_pVfs->FindFolder(0x00A2);
    QVERIFY(folder);
    QCOMPARE(DeveloperPassword(*folder), Bytes("abcde", 24));
    QCOMPARE(UserPassword(*folder), std::vector<uint8_t>(8, 0));
}

void EntryCommandsTest::refusedCreateFolderIsReported()
{
    MakeFile(0x0001, 8);
    m_pDocument->SetModifiedFlag(false);
    const uint32_t freeBefore = g_pVfs->GetRoot()->GetFreeSpace();

    // The ID is taken by a file.
    AnswerDialog<CNewFolderDialog>(
        [](CNewFolderDialog& dialog) { ClickButton(dialog, CExchangeDialog::IDOK); });
    QVERIFY(Run(ID_NEW_FOLDER));
    QCOMPARE(m_pPrompter->LastText(),
             QStringLiteral("创建文件夹操作失败, 错误信息：文件或子目录已存在!"));
    QCOMPARE(m_pPrompter->ShownBoxes().back().icon, IPrompter::Icon::Warning);

    // Too small for a folder header: the dialog lets it through, the core does not.
    AnswerDialog<CNewFolderDialog>([](CNewFolderDialog& dialog) {
        Edit(dialog, CNewFolderDialog::IDC_FOLDER_ID)->setText(QStringLiteral("0002"));
        Edit(dialog, CNewFolderDialog::IDC_FOLDER_SIZE)->setText(QStringLiteral("101"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_NEW_FOLDER));
    QCOMPARE(m_pPrompter->LastText(), QStringLiteral("创建文件夹操作失败, 错误信息：无效的长度!"));

    QCOMPARE(m_pPrompter->ShownBoxes().size(), std::size_t{2});
    QCOMPARE(g_pVfs->GetRoot()->GetFreeSpace(), freeBefore);
    QVERIFY(!g_pVfs->FindFolder(0x0001));
    QVERIFY(!g_pVfs->FindFolder(0x0002));
    QVERIFY(!m_pDocument->IsModified());
    QCOMPARE(View()->rowCount(), 1);
}

void EntryCommandsTest::newFileReadsIdAsHex_data()
{
    QTest::addColumn<QString>("idText");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<int>("type");
    QTest::newRow("1A, executable") << "1A" << 0x001A << 0 << 0;
    QTest::newRow("0100, internal data") << "0100" << 0x0100 << 2 << 1;
}

void EntryCommandsTest::newFileReadsIdAsHex()
{
    QFETCH(QString, idText);
    QFETCH(int, id);
    QFETCH(int, typeIndex);
    QFETCH(int, type);
    AnswerDialog<CNewFileDialog>([&](CNewFileDialog& dialog) {
        Edit(dialog, CNewFileDialog::IDC_FILE_ID)->setText(idText);
        dialog.findChild<QComboBox*>(QString::number(CNewFileDialog::IDC_FILE_TYPE))
            ->setCurrentIndex(typeIndex);
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_NEW_FILE));
    RQ540::CFileHeader* file = g_pVfs->FindFile(static_cast<uint32_t>(id));
    QVERIFY(file);
    QCOMPARE(int(file->GetType()), type);
    QCOMPARE(file->GetSize(), 1024u);
    QCOMPARE(FileBytes(*file), std::vector<uint8_t>(1024, 0));
    QVERIFY(!g_pVfs->IsOpen(file));
    QCOMPARE(g_pVfs->GetRoot()->GetFreeSpace(), ROOT_FREE_SPACE - 1024u - 16u);
    QVERIFY(m_pDocument->IsModified());
    QCOMPARE(View()->rowCount(), 1);
    QCOMPARE(View()->item(0, 0)->text(), QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')).toUpper());
}

void EntryCommandsTest::refusedCreateFileIsReported()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), 0);
    View()->RefreshList();
    const uint32_t freeBefore = g_pVfs->GetRoot()->GetFreeSpace();
    AnswerDialog<CNewFileDialog>(
        [](CNewFileDialog& dialog) { ClickButton(dialog, CExchangeDialog::IDOK); });
    QVERIFY(Run(ID_NEW_FILE));
    QCOMPARE(m_pPrompter->LastText(),
             QStringLiteral("创建文件操作失败, 错误信息：文件或子目录已存在!"));
    QVERIFY(!g_pVfs->FindFile(0x0001));
    QCOMPARE(g_pVfs->GetRoot()->GetFreeSpace(), freeBefore);
    QVERIFY(!m_pDocument->IsModified());
}

void EntryCommandsTest::importCopiesDiskFile_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("copied");
    QTest::newRow("larger than the disk file") << "16" << 10;
    QTest::newRow("smaller than the disk file") << "4" << 4;
    QTest::newRow("0 takes the disk file's length") << "0" << 10;
}

void EntryCommandsTest::importCopiesDiskFile()
{
    QFETCH(QString, size);
    QFETCH(int, copied);
    const QString path = WriteDiskFile(QStringLiteral("ten.bin"), 10);
    // Leaving out the end of the disk file is asked about first; the user agrees.
    m_pPrompter->QueueAnswer(IPrompter::Answer::Yes);
    AnswerDialog<CImportFileDialog>([&](CImportFileDialog& dialog) {
        Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->setText(path);
        Edit(dialog, CImportFileDialog::IDC_FILE_ID)->setText(QStringLiteral("0005"));
        Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->setText(size);
        dialog.findChild<QComboBox*>(QString::number(CImportFileDialog::IDC_FILE_TYPE))
            ->setCurrentIndex(2);
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_IMPORT));
    RQ540::CFileHeader* file = g_pVfs->FindFile(0x0005);
    QVERIFY(file);
    const uint32_t expectedSize = size == QStringLiteral("0") ? 10u : size.toUInt();
    QCOMPARE(file->GetSize(), expectedSize);
    QCOMPARE(int(file->GetType()), 1);
    std::vector<uint8_t> expected(expectedSize, 0);
    for (int i = 0; i < copied; ++i)
        expected[static_cast<std::size_t>(i)] = static_cast<uint8_t>(0xA0 + i);
    QCOMPARE(FileBytes(*file), expected);
    QVERIFY(!g_pVfs->IsOpen(file));
    QVERIFY(m_pDocument->IsModified());
    QCOMPARE(View()->item(0, 2)->text(), QStringLiteral("数据文件"));
}

void EntryCommandsTest::importWithoutFileNameCreatesZeroFile()
{
    AnswerDialog<CImportFileDialog>([](CImportFileDialog& dialog) {
        Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->setText(QStringLiteral("16"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_IMPORT));
    RQ540::CFileHeader* file = g_pVfs->FindFile(0x0001);
    QVERIFY(file);
    QCOMPARE(FileBytes(*file), std::vector<uint8_t>(16, 0));
    QVERIFY(m_pPrompter->ShownBoxes().empty());
}

void EntryCommandsTest::importRefusedByCoreStillModifies()
{
    MakeFile(0x0001, 8);
    m_pDocument->SetModifiedFlag(false);
    const std::vector<uint8_t> before = FileBytes(*g_pVfs->FindFile(0x0001));
    const QString path = WriteDiskFile(QStringLiteral("ten.bin"), 10);
    AnswerDialog<CImportFileDialog>([&](CImportFileDialog& dialog) {
        Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->setText(path);
        Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->setText(QStringLiteral("10"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_IMPORT));
    QCOMPARE(m_pPrompter->LastText(),
             QStringLiteral("导入文件操作失败, 错误信息：文件或子目录已存在!"));
    QCOMPARE(FileBytes(*g_pVfs->FindFile(0x0001)), before);
    QCOMPARE(View()->rowCount(), 1);
    QVERIFY(m_pDocument->IsModified());
}

void EntryCommandsTest::importOfUnreadableFileChangesNothing()
{
    const QString path = m_pDir->filePath(QStringLiteral("missing.bin"));
    AnswerDialog<CImportFileDialog>([&](CImportFileDialog& dialog) {
        Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->setText(path);
        Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->setText(QStringLiteral("10"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_IMPORT));
    QCOMPARE(m_pPrompter->LastText(), QStringLiteral("无法打开文件 %1 !\n原因：文件或文件夹不存在").arg(path));
    QVERIFY(!g_pVfs->GetFirstEntry());
    QVERIFY(!m_pDocument->IsModified());
}

// A disk file longer than the card can take: the size proposed is what fits, and the file
// is cut there only once the user has agreed.
void EntryCommandsTest::importOfLongerFileAsksBeforeCutting()
{
    const QString path = WriteDiskFile(QStringLiteral("long.bin"), 71680);
    m_pFileDialogs->QueuePath(path);
    m_pPrompter->QueueAnswer(IPrompter::Answer::Yes);
    AnswerDialog<CImportFileDialog>([&](CImportFileDialog& dialog) {
        ClickButton(dialog, CImportFileDialog::IDC_BROWSE);
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_IMPORT));
    QCOMPARE(m_pPrompter->LastText(),
             QStringLiteral("磁盘文件有 71680 字节，只能导入前 61870 字节，是否继续？"));
    const RQ540::CFileHeader* file = g_pVfs->FindFile(0x0001);
    QVERIFY(file);
    const QByteArray disk = ReadDiskFile(path).left(61870);
    QCOMPARE(FileBytes(*file), std::vector<uint8_t>(disk.begin(), disk.end()));
}

void EntryCommandsTest::exportWritesExactlyTheFileSize()
{
    MakeFile(0x0003, 300);
    QCOMPARE(g_pVfs->CreateFolder(0x0004, 500), 0);
    View()->RefreshList();
    m_pDocument->SetModifiedFlag(false);

    View()->selectRow(RowOf(0x0004));
    QVERIFY(!m_pFrame->GetRouter().IsEnabled(ID_EXPORT));
    View()->clearSelection();
    View()->selectRow(RowOf(0x0003));
    // An older, longer file at the chosen path is replaced.
    const QString path = WriteDiskFile(QStringLiteral("out.bin"), 1000);
    m_pFileDialogs->QueuePath(path);
    QVERIFY(Run(ID_EXPORT));

    QCOMPARE(m_pFileDialogs->AskedDialogs().size(), std::size_t{1});
    const CFakeFileDialogs::Asked& asked = m_pFileDialogs->AskedDialogs().front();
    QVERIFY(asked.save);
    QCOMPARE(asked.directory, QStringLiteral("0003.BIN"));
    const QByteArray written = ReadDiskFile(path);
    QCOMPARE(written.size(), 300);
    const std::vector<uint8_t> card = FileBytes(*g_pVfs->FindFile(0x0003));
    QCOMPARE(std::vector<uint8_t>(written.begin(), written.end()), card);
    QVERIFY(!g_pVfs->IsOpen(g_pVfs->FindFile(0x0003)));
    QVERIFY(!m_pDocument->IsModified());
    QVERIFY(m_pPrompter->ShownBoxes().empty());

    // Cancelling the file dialog writes nothing.
    m_pFileDialogs->QueuePath(QString());
    QVERIFY(Run(ID_EXPORT));
    QCOMPARE(ReadDiskFile(path), written);
}

void EntryCommandsTest::exportToUncreatableFileIsReported()
{
    MakeFile(0x0003, 10);
    View()->selectRow(RowOf(0x0003));
    const QString path = m_pDir->filePath(QStringLiteral("no/such/dir/out.bin"));
    m_pFileDialogs->QueuePath(path);
    QVERIFY(Run(ID_EXPORT));
    QCOMPARE(m_pPrompter->LastText(), QStringLiteral("无法创建文件 %1 !\n原因：文件或文件夹不存在").arg(path));
    QCOMPARE(m_pPrompter->ShownBoxes().back().icon, IPrompter::Icon::Warning);
    QVERIFY(!g_pVfs->IsOpen(g_pVfs->FindFile(0x0003)));
}

// The disk filling up half way through the export: the old file at the destination stays.
void EntryCommandsTest::failedExportLeavesTheDestinationWhole()
{
    MakeFile(0x0003, 300);
    View()->selectRow(RowOf(0x0003));
    const QString path = WriteDiskFile(QStringLiteral("out.bin"), 1000);
    const QByteArray before = ReadDiskFile(path);
    m_pFileDialogs->QueuePath(path);
    {
        testing_rq::FaultyIo io(testing_rq::Call::Write, 1);
        QVERIFY(Run(ID_EXPORT));
        QVERIFY(io.Failed());
    }
    QCOMPARE(m_pPrompter->LastText(), QStringLiteral("无法写入文件 %1 !").arg(path));
    QCOMPARE(ReadDiskFile(path), before);
    QCOMPARE(QDir(m_pDir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A FIFO is refused without waiting for a writer; an endless device is read no further
// than one byte past the card, which the size check then refuses.
void EntryCommandsTest::importRefusesFifosAndReadsNoMoreThanTheCard()
{
    const QString fifo = m_pDir->filePath(QStringLiteral("fifo"));
    QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const CFifoUnblocker unblocker(fifo.toStdString());
    AnswerDialog<CImportFileDialog>([&](CImportFileDialog& dialog) {
        Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->setText(fifo);
        Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->setText(QStringLiteral("10"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_IMPORT));
    QCOMPARE(m_pPrompter->LastText(),
             QStringLiteral("无法打开文件 %1 !\n原因：不是普通文件").arg(fifo));
    QVERIFY(!g_pVfs->GetFirstEntry());

    AnswerDialog<CImportFileDialog>([&](CImportFileDialog& dialog) {
        Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->setText(QStringLiteral("/dev/zero"));
        Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->setText(QStringLiteral("0"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_IMPORT));
    QVERIFY(m_pPrompter->LastText().startsWith(QStringLiteral("当前文件夹剩余空间61886字节")));
    QVERIFY(!g_pVfs->GetFirstEntry());
    QVERIFY(!m_pDocument->IsModified());
}

void EntryCommandsTest::editFileWritesBackOnOkOnly()
{
    MakeFile(0x0003, 20);
    m_pDocument->SetModifiedFlag(false);
    const std::vector<uint8_t> before = FileBytes(*g_pVfs->FindFile(0x0003));
    View()->selectRow(RowOf(0x0003));
    std::vector<uint8_t> shown;
    AnswerDialog<CEditFileDialog>([&](CEditFileDialog& dialog) {
        shown.assign(dialog.m_pBuffer.get(), dialog.m_pBuffer.get() + dialog.m_nSize);
        QTest::keyClicks(&dialog.m_hexEdit, QStringLiteral("AB"));
        ClickButton(dialog, CExchangeDialog::IDCANCEL);
    });
    QVERIFY(Run(ID_EDIT_FILE));
    QCOMPARE(shown, before);
    QCOMPARE(FileBytes(*g_pVfs->FindFile(0x0003)), before);
    QVERIFY(!m_pDocument->IsModified());

    // Opening the file row edits it as well.
    AnswerDialog<CEditFileDialog>([](CEditFileDialog& dialog) {
        QTest::keyClicks(&dialog.m_hexEdit, QStringLiteral("AB"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    View()->Open(RowOf(0x0003));
    std::vector<uint8_t> expected = before;
    expected[0] = 0xAB;
    QCOMPARE(FileBytes(*g_pVfs->FindFile(0x0003)), expected);
    QVERIFY(m_pDocument->IsModified());
    QVERIFY(!g_pVfs->IsOpen(g_pVfs->FindFile(0x0003)));
}

void EntryCommandsTest::changePasswordStoresFixedLengthFields()
{
    CTreeDialog* tree = m_pFrame->GetTreeDialog();
    tree->SelectItem(tree->GetRootItem());
    QString title;
    QString developerShown;
    AnswerDialog<CModifyPasswordDialog>([&](CModifyPasswordDialog& dialog) {
        title = dialog.windowTitle();
        developerShown = Edit(dialog, CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD)->text();
        Edit(dialog, CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD)
            ->setText(QStringLiteral("abcde"));
        Edit(dialog, CModifyPasswordDialog::IDC_USER_PASSWORD)->setText(QStringLiteral("12"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_CHANGE_PASSWORD));
    QCOMPARE(title, QStringLiteral("修改根目录的密码"));
    QCOMPARE(developerShown, QStringLiteral("582936145829361458293614"));
    QCOMPARE(DeveloperPassword(*g_pVfs->GetRoot()), Bytes("abcde", 24));
    QCOMPARE(UserPassword(*g_pVfs->GetRoot()), Bytes("12", 8));

    // A sub-folder's dialog names the current folder; Cancel keeps its passwords.
    RQ540::CFolderHeader* folder = nullptr;
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000, &folder), 0);
    QVERIFY(Run(ID_REFRESH_NODE));
    tree->SelectItem(tree->GetRootItem()->child(0));
    AnswerDialog<CModifyPasswordDialog>([&](CModifyPasswordDialog& dialog) {
        title = dialog.windowTitle();
        Edit(dialog, CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD)
            ->setText(QStringLiteral("changed"));
        ClickButton(dialog, CExchangeDialog::IDCANCEL);
    });
    QVERIFY(Run(ID_CHANGE_PASSWORD));
    QCOMPARE(title, QStringLiteral("修改当前目录的密码"));
    QCOMPARE(DeveloperPassword(*folder), Bytes("582936145829361458293614", 24));
}

// Bytes that are not UTF-8 survive a dialog closed with OK; typing stops at the field's
// bytes without cutting a character.
void EntryCommandsTest::changePasswordKeepsUntouchedBytesAndLimitsTyping()
{
    RQ540::CFolderHeader* root = g_pVfs->GetRoot();
    const std::vector<uint8_t> developer(24, 0xFF);
    // "密码" and the first two bytes of "一".
    const std::vector<uint8_t> user = {0xE5, 0xAF, 0x86, 0xE7, 0xA0, 0x81, 0xE4, 0xB8};
    root->SetDeveloperPassword(developer.data());
    root->SetUserPassword(user.data());
    CTreeDialog* tree = m_pFrame->GetTreeDialog();
    tree->SelectItem(tree->GetRootItem());
    AnswerDialog<CModifyPasswordDialog>(
        [](CModifyPasswordDialog& dialog) { ClickButton(dialog, CExchangeDialog::IDOK); });
    QVERIFY(Run(ID_CHANGE_PASSWORD));
    QCOMPARE(DeveloperPassword(*root), developer);
    QCOMPARE(UserPassword(*root), user);

    QString toolTip;
    AnswerDialog<CModifyPasswordDialog>([&](CModifyPasswordDialog& dialog) {
        QLineEdit* edit = Edit(dialog, CModifyPasswordDialog::IDC_USER_PASSWORD);
        toolTip = edit->toolTip();
        edit->clear();
        // Typed one character at a time, as an input method hands them over.
        for (const QChar character : QStringLiteral("密码一二三四"))
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_CHANGE_PASSWORD));
    QVERIFY(toolTip.contains(QStringLiteral("8 个字节")));
    QCOMPARE(UserPassword(*root), Bytes("密码", 8));
    QCOMPARE(DeveloperPassword(*root), developer);
}

void EntryCommandsTest::hardwareInformationStaysOutOfTheImage()
{
    const QString before = m_pDir->filePath(QStringLiteral("before.rqfs"));
    const QString after = m_pDir->filePath(QStringLiteral("after.rqfs"));
    QCOMPARE(g_pVfs->SaveImage(before.toStdString()), 0);

    AnswerDialog<CHardInforDialog>([](CHardInforDialog& dialog) {
        Edit(dialog, CHardInforDialog::IDC_SERIAL_NUMBER)
            ->setText(QStringLiteral("00112233445566ff"));
        Edit(dialog, CHardInforDialog::IDC_CUSTOMER_NUMBER)->setText(QStringLiteral("12"));
        ClickButton(dialog, CExchangeDialog::IDOK);
    });
    QVERIFY(Run(ID_HARDWARE_INFO));
    std::array<uint8_t, 8> serial{};
    g_pVfs->GetSerialNumber(serial.data());
    QCOMPARE(serial, (std::array<uint8_t, 8>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xFF}));
    QCOMPARE(g_pVfs->GetCustomerNumber(), 0x12000000u);
    QVERIFY(!m_pDocument->IsModified());

    QCOMPARE(g_pVfs->SaveImage(after.toStdString()), 0);
    QCOMPARE(ReadDiskFile(after), ReadDiskFile(before));
    RQ540::CRQ540Vfs reloaded;
    QCOMPARE(reloaded.LoadImage(after.toStdString()), 0);
    QCOMPARE(reloaded.GetCustomerNumber(), 0u);
}

QTEST_MAIN(EntryCommandsTest)
#include "EntryCommandsTest.moc"
