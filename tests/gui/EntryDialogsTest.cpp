#include "DataExchange.h"
#include "ExchangeDialog.h"
#include "Fakes.h"
#include "FileEntryDialog.h"
#include "HardInforDialog.h"
#include "ImportFileDialog.h"
#include "ModifyPasswordDialog.h"
#include "NewFileDialog.h"
#include "NewFolderDialog.h"

#include <rq540/RQ540Vfs.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

namespace {

// Each control is named after its template's control ID: the numbers stay those of the
// templates whatever the constants are called.
static_assert(CNewFolderDialog::IDC_FOLDER_ID == 1027 &&
              CNewFolderDialog::IDC_FOLDER_SIZE == 1003 &&
              CNewFolderDialog::IDC_DEVELOPER_PASSWORD == 1004 &&
              CNewFolderDialog::IDC_USER_PASSWORD == 1005);
static_assert(CFileEntryDialog::IDC_FILE_ID == 1027 && CFileEntryDialog::IDC_FILE_SIZE == 1028 &&
              CFileEntryDialog::IDC_FILE_TYPE == 1003);
static_assert(CImportFileDialog::IDC_FILE_NAME == 1030 && CImportFileDialog::IDC_BROWSE == 1009);
static_assert(CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD == 1004 &&
              CModifyPasswordDialog::IDC_USER_PASSWORD == 1005);
static_assert(CHardInforDialog::IDC_SERIAL_NUMBER == 1007 &&
              CHardInforDialog::IDC_CUSTOMER_NUMBER == 1004);

const QString FILE_SIZE_WARNING = QStringLiteral(
    "当前文件夹剩余空间%1字节，不能大于剩余空间－文件头大小（%2）,也不能小于或等于0");
const QString FOLDER_SIZE_WARNING =
    QStringLiteral("当前文件夹剩余空间%1字节，不能大于该空间也不能小于或等于0");

QLineEdit* Edit(QWidget& dialog, int id)
{
    return dialog.findChild<QLineEdit*>(QString::number(id));
}

void SetText(QWidget& dialog, int id, const QString& text)
{
    QLineEdit* edit = Edit(dialog, id);
    QVERIFY(edit);
    edit->setText(text);
}

void ClickOk(QWidget& dialog)
{
    auto* ok = dialog.findChild<QPushButton*>(QString::number(CExchangeDialog::IDOK));
    QVERIFY(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, qsizetype length)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray bytes(length, '\0');
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i + 1);
    file.write(bytes);
    return path;
}

// A one-field dialog to drive the data exchange on an edit without a limit of its own.
class CLongTextDialog : public CExchangeDialog {
public:
    static constexpr int IDC_TEXT = 1000;

    CLongTextDialog() : CExchangeDialog(nullptr, QString(), 100, 50)
    {
        m_edit = AddEdit(IDC_TEXT, 5, 5, 80, 12);
    }
    QLineEdit* m_edit;
    QString m_strText;

protected:
    void DoDataExchange(CDataExchange& dx) override { dx.Text(m_edit, m_strText, 8); }
};

}  // namespace

class EntryDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void idFieldKeepsHexDigitsWithCaretAtEnd_data();
    void idFieldKeepsHexDigitsWithCaretAtEnd();
    void layoutsKeepControlsInsideTheDialog();

    void newFileSizeAgainstFreeSpace_data();
    void newFileSizeAgainstFreeSpace();
    void newFileTypeList();
    void sizeTextReadAsUnsigned();
    void idWithoutDigitIsRefused();

    void newFolderDefaultsCloseAtOnce();
    void newFolderSizeAgainstFreeSpace_data();
    void newFolderSizeAgainstFreeSpace();

    void importBrowseSetsSize_data();
    void importBrowseSetsSize();
    void importBrowseCancelledOrUnreadable();
    void importSizeZeroTakesDiskLength();
    void importAsksBeforeLeavingOutTheEnd();

    void passwordDialogTitleAndFields();
    void hardwareInformationRoundTrips();
    void hardwareInformationCancelChangesNothing();
    void textLongerThanLimitIsRefused();

    void enterAndFocusFollowDesktopRules();
    void groupBoxesFrameTheirFields();
};

void EntryDialogsTest::idFieldKeepsHexDigitsWithCaretAtEnd_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("new folder") << 0;
    QTest::newRow("new file") << 1;
    QTest::newRow("import") << 2;
}

void EntryDialogsTest::idFieldKeepsHexDigitsWithCaretAtEnd()
{
    QFETCH(int, kind);
    std::unique_ptr<QDialog> dialog;
    int idField = CFileEntryDialog::IDC_FILE_ID;
    if (kind == 0) {
        dialog = std::make_unique<CNewFolderDialog>();
        idField = CNewFolderDialog::IDC_FOLDER_ID;
    } else if (kind == 1) {
        dialog = std::make_unique<CNewFileDialog>();
    } else {
        dialog = std::make_unique<CImportFileDialog>();
    }
    dialog->show();
    QLineEdit* id = Edit(*dialog, idField);
    QVERIFY(id);
    QCOMPARE(id->text(), QStringLiteral("0001"));

    id->clear();
    QTest::keyClicks(id, QStringLiteral("12g4"));
    QCOMPARE(id->text(), QStringLiteral("124"));
    QCOMPARE(id->cursorPosition(), 3);

    // Typing in the middle sends the caret to the end.
    id->setCursorPosition(1);
    QTest::keyClick(id, Qt::Key_A);
    QCOMPARE(id->text(), QStringLiteral("1a24"));
    QCOMPARE(id->cursorPosition(), 4);
    QTest::keyClick(id, Qt::Key_5);
    QCOMPARE(id->text(), QStringLiteral("1a24"));

    id->clear();
    QApplication::clipboard()->setText(QStringLiteral("x1y2"));
    id->paste();
    QCOMPARE(id->text(), QStringLiteral("12"));
    QCOMPARE(id->cursorPosition(), 2);
}

void EntryDialogsTest::layoutsKeepControlsInsideTheDialog()
{
    RQ540::CRQ540Vfs vfs(0);
    std::array<std::unique_ptr<CExchangeDialog>, 5> dialogs{
        std::make_unique<CNewFolderDialog>(), std::make_unique<CNewFileDialog>(),
        std::make_unique<CImportFileDialog>(), std::make_unique<CModifyPasswordDialog>(),
        std::make_unique<CHardInforDialog>(vfs)};
    for (const auto& dialog : dialogs) {
        const QRect client = dialog->rect();
        for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(client.contains(child->geometry()),
                     qPrintable(dialog->metaObject()->className() + QStringLiteral(" ") +
                                child->objectName()));
        }
        // Every control the caller or a test looks for by ID is there exactly once.
        const auto ok = dialog->findChildren<QPushButton*>(QString::number(CExchangeDialog::IDOK));
        const auto cancel =
            dialog->findChildren<QPushButton*>(QString::number(CExchangeDialog::IDCANCEL));
        QCOMPARE(ok.size(), 1);
        QCOMPARE(cancel.size(), 1);
    }
    CImportFileDialog import;
    QVERIFY(import.findChild<QLineEdit*>(QString::number(CImportFileDialog::IDC_FILE_NAME)));
    QVERIFY(import.findChild<QPushButton*>(QString::number(CImportFileDialog::IDC_BROWSE)));
    QVERIFY(import.findChild<QComboBox*>(QString::number(CImportFileDialog::IDC_FILE_TYPE)));
    QVERIFY(import.findChild<QLineEdit*>(QString::number(CImportFileDialog::IDC_FILE_SIZE)));
}

void EntryDialogsTest::newFileSizeAgainstFreeSpace_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("largest") << "984" << true;
    QTest::newRow("one more") << "985" << false;
    QTest::newRow("zero") << "0" << false;
}

void EntryDialogsTest::newFileSizeAgainstFreeSpace()
{
    QFETCH(QString, size);
    QFETCH(bool, accepted);
    CFakePrompter prompter;
    CNewFileDialog dialog;
    dialog.m_nFreeSpace = 1000;
    dialog.show();
    SetText(dialog, CNewFileDialog::IDC_FILE_SIZE, size);
    ClickOk(dialog);
    if (accepted) {
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_nSize, size.toUInt());
        QVERIFY(prompter.ShownBoxes().empty());
        return;
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(prompter.ShownBoxes().size(), std::size_t{1});
    QCOMPARE(prompter.LastText(), FILE_SIZE_WARNING.arg(1000).arg(16));
    QCOMPARE(prompter.ShownBoxes().back().icon, IPrompter::Icon::Warning);
    QCOMPARE(prompter.ShownBoxes().back().caption, QStringLiteral("RQ540虚拟文件系统管理器"));
    QCOMPARE(Edit(dialog, CNewFileDialog::IDC_FILE_SIZE)->text(), QStringLiteral("984"));
    QCOMPARE(dialog.m_nSize, 984u);
    // The corrected size is then accepted as it stands.
    ClickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void EntryDialogsTest::newFileTypeList()
{
    CNewFileDialog dialog;
    dialog.m_nFreeSpace = 5000;
    dialog.m_nTypeIndex = 3;
    dialog.show();
    QComboBox* combo = dialog.findChild<QComboBox*>(QString::number(CNewFileDialog::IDC_FILE_TYPE));
    QVERIFY(combo);
    QCOMPARE(combo->count(), 5);
    QCOMPARE(combo->itemText(1), QStringLiteral("内部可执行文件（不可写)"));
    QCOMPARE(combo->itemText(4), QStringLiteral("私钥文件"));
    QCOMPARE(combo->currentIndex(), 0);
    combo->setCurrentIndex(2);
    SetText(dialog, CNewFileDialog::IDC_FILE_ID, QStringLiteral("1a"));
    ClickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.m_nTypeIndex, 2);
    QCOMPARE(dialog.m_strFileId, QStringLiteral("1a"));
    QCOMPARE(dialog.m_nSize, 1024u);
}

void EntryDialogsTest::sizeTextReadAsUnsigned()
{
    CFakePrompter prompter;
    CNewFolderDialog folder;
    folder.m_nFreeSpace = 5000;
    folder.show();
    SetText(folder, CNewFolderDialog::IDC_FOLDER_SIZE, QStringLiteral("abc"));
    ClickOk(folder);
    QVERIFY(folder.isVisible());
    QCOMPARE(prompter.LastText(), QStringLiteral("请输入一个正整数。"));
    QCOMPARE(folder.focusWidget(), Edit(folder, CNewFolderDialog::IDC_FOLDER_SIZE));
    QCOMPARE(folder.m_nSize, 10240u);

    // A minus wraps around to a size no folder has room for.
    SetText(folder, CNewFolderDialog::IDC_FOLDER_SIZE, QStringLiteral("-1"));
    ClickOk(folder);
    QCOMPARE(prompter.LastText(), FOLDER_SIZE_WARNING.arg(5000));
    QCOMPARE(Edit(folder, CNewFolderDialog::IDC_FOLDER_SIZE)->text(), QStringLiteral("5000"));

    SetText(folder, CNewFolderDialog::IDC_FOLDER_SIZE, QStringLiteral("120abc"));
    ClickOk(folder);
    QCOMPARE(folder.result(), int(QDialog::Accepted));
    QCOMPARE(folder.m_nSize, 120u);
}

void EntryDialogsTest::idWithoutDigitIsRefused()
{
    CFakePrompter prompter;
    CNewFileDialog file;
    file.m_nFreeSpace = 5000;
    file.show();
    SetText(file, CNewFileDialog::IDC_FILE_ID, QString());
    SetText(file, CNewFileDialog::IDC_FILE_SIZE, QStringLiteral("7"));
    ClickOk(file);
    QVERIFY(file.isVisible());
    QCOMPARE(prompter.ShownBoxes().size(), std::size_t{1});
    QCOMPARE(prompter.ShownBoxes().back().icon, IPrompter::Icon::Warning);
    QCOMPARE(file.focusWidget(), Edit(file, CNewFileDialog::IDC_FILE_ID));

    CNewFolderDialog folder;
    folder.m_nFreeSpace = 20000;
    folder.show();
    SetText(folder, CNewFolderDialog::IDC_FOLDER_ID, QStringLiteral("xyz"));
    QCOMPARE(Edit(folder, CNewFolderDialog::IDC_FOLDER_ID)->text(), QString());
    ClickOk(folder);
    QVERIFY(folder.isVisible());
    QCOMPARE(prompter.ShownBoxes().size(), std::size_t{2});
    QCOMPARE(folder.focusWidget(), Edit(folder, CNewFolderDialog::IDC_FOLDER_ID));
}

void EntryDialogsTest::newFolderDefaultsCloseAtOnce()
{
    CFakePrompter prompter;
    CNewFolderDialog dialog;
    dialog.m_nFreeSpace = 10240;
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("创建目录"));
    QCOMPARE(Edit(dialog, CNewFolderDialog::IDC_DEVELOPER_PASSWORD)->text(),
             QStringLiteral("582936145829361458293614"));
    QCOMPARE(Edit(dialog, CNewFolderDialog::IDC_DEVELOPER_PASSWORD)->echoMode(), QLineEdit::Normal);
    QCOMPARE(Edit(dialog, CNewFolderDialog::IDC_USER_PASSWORD)->maxLength(), 8);
    ClickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(prompter.ShownBoxes().empty());
    QCOMPARE(dialog.m_strFolderId, QStringLiteral("0001"));
    QCOMPARE(dialog.m_nFolderId, 1);
    QCOMPARE(dialog.m_nSize, 10240u);
    QCOMPARE(dialog.m_strUserPassword, QStringLiteral("73920184"));
    QCOMPARE(dialog.m_strDeveloperPassword, QStringLiteral("582936145829361458293614"));
}

void EntryDialogsTest::newFolderSizeAgainstFreeSpace_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("all of it") << "5000" << true;
    QTest::newRow("one more") << "5001" << false;
    QTest::newRow("zero") << "0" << false;
}

void EntryDialogsTest::newFolderSizeAgainstFreeSpace()
{
    QFETCH(QString, size);
    QFETCH(bool, accepted);
    CFakePrompter prompter;
    CNewFolderDialog dialog;
    dialog.m_nFreeSpace = 5000;
    dialog.show();
    SetText(dialog, CNewFolderDialog::IDC_FOLDER_ID, QStringLiteral("ffff"));
    SetText(dialog, CNewFolderDialog::IDC_FOLDER_SIZE, size);
    ClickOk(dialog);
    QCOMPARE(dialog.m_nFolderId, 0xFFFF);
    if (accepted) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_nSize, 5000u);
        return;
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(prompter.LastText(), FOLDER_SIZE_WARNING.arg(5000));
    QCOMPARE(Edit(dialog, CNewFolderDialog::IDC_FOLDER_SIZE)->text(), QStringLiteral("5000"));
}

void EntryDialogsTest::importBrowseSetsSize_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("afterBrowse");
    QTest::addColumn<QString>("afterOk");
    QTest::newRow("fits") << 100 << "100" << "";
    QTest::newRow("beyond free space") << 6000 << "4984" << "";
    QTest::newRow("fits without its header") << 4990 << "4990" << "4984";
}

void EntryDialogsTest::importBrowseSetsSize()
{
    QFETCH(int, length);
    QFETCH(QString, afterBrowse);
    QFETCH(QString, afterOk);
    QTemporaryDir dir;
    const QString path = WriteFile(dir, QStringLiteral("source.bin"), length);
    CFakePrompter prompter;
    CFakeFileDialogs fileDialogs;
    fileDialogs.QueuePath(path);
    CImportFileDialog dialog;
    dialog.m_nFreeSpace = 5000;
    dialog.show();
    SetText(dialog, CImportFileDialog::IDC_FILE_ID, QStringLiteral("0042"));
    QTest::mouseClick(
        dialog.findChild<QPushButton*>(QString::number(CImportFileDialog::IDC_BROWSE)),
        Qt::LeftButton);
    QCOMPARE(fileDialogs.AskedDialogs().size(), std::size_t{1});
    QVERIFY(!fileDialogs.AskedDialogs().front().save);
    QCOMPARE(fileDialogs.AskedDialogs().front().filter,
             QStringLiteral("All Files (*);;Bin files (*.bin)"));
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->text(), path);
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->selectedText(), path);
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->text(), afterBrowse);
    // What was typed before browsing survives it.
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_ID)->text(), QStringLiteral("0042"));
    // A disk file cut at the size is agreed to; the question has a test of its own.
    prompter.QueueAnswer(IPrompter::Answer::Yes);
    ClickOk(dialog);
    if (afterOk.isEmpty()) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_strFileName, path);
        QCOMPARE(dialog.m_nSize, afterBrowse.toUInt());
    } else {
        QVERIFY(dialog.isVisible());
        QCOMPARE(prompter.LastText(), FILE_SIZE_WARNING.arg(5000).arg(16));
        QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->text(), afterOk);
    }
}

void EntryDialogsTest::importBrowseCancelledOrUnreadable()
{
    CFakePrompter prompter;
    CFakeFileDialogs fileDialogs;
    fileDialogs.QueuePath(QString());
    fileDialogs.QueuePath(QStringLiteral("/nonexistent/dir/source.bin"));
    CImportFileDialog dialog;
    dialog.m_nFreeSpace = 5000;
    dialog.show();
    SetText(dialog, CImportFileDialog::IDC_FILE_SIZE, QStringLiteral("77"));
    auto* browse = dialog.findChild<QPushButton*>(QString::number(CImportFileDialog::IDC_BROWSE));
    QTest::mouseClick(browse, Qt::LeftButton);
    QVERIFY(prompter.ShownBoxes().empty());
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(prompter.LastText(),
             QStringLiteral("无法打开文件 /nonexistent/dir/source.bin !\n原因：文件或文件夹不存在"));
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->text(), QString());
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->text(), QStringLiteral("77"));
    QVERIFY(dialog.isVisible());
}

void EntryDialogsTest::importSizeZeroTakesDiskLength()
{
    QTemporaryDir dir;
    const QString small = WriteFile(dir, QStringLiteral("small.bin"), 10);
    const QString large = WriteFile(dir, QStringLiteral("large.bin"), 6000);
    CFakePrompter prompter;
    CImportFileDialog dialog;
    dialog.m_nFreeSpace = 5000;
    dialog.show();
    // Without a file name there is no length to take: size 0 is refused.
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->text(), QStringLiteral("0"));
    ClickOk(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(prompter.LastText(), FILE_SIZE_WARNING.arg(5000).arg(16));

    SetText(dialog, CImportFileDialog::IDC_FILE_SIZE, QStringLiteral("0"));
    SetText(dialog, CImportFileDialog::IDC_FILE_NAME, dir.filePath(QStringLiteral("missing.bin")));
    ClickOk(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(prompter.LastText(),
             QStringLiteral("无法打开文件 %1 !\n原因：文件或文件夹不存在")
                 .arg(dir.filePath(QStringLiteral("missing.bin"))));
    QCOMPARE(dialog.focusWidget(), Edit(dialog, CImportFileDialog::IDC_FILE_NAME));

    SetText(dialog, CImportFileDialog::IDC_FILE_NAME, large);
    ClickOk(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(prompter.LastText(), FILE_SIZE_WARNING.arg(5000).arg(16));
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->text(), QStringLiteral("4984"));

    SetText(dialog, CImportFileDialog::IDC_FILE_NAME, small);
    SetText(dialog, CImportFileDialog::IDC_FILE_SIZE, QStringLiteral("0"));
    ClickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.m_nSize, 10u);
}

void EntryDialogsTest::passwordDialogTitleAndFields()
{
    CModifyPasswordDialog root;
    root.m_strDeveloperPassword = QStringLiteral("582936145829361458293614");
    root.m_strUserPassword = QStringLiteral("73920184");
    root.m_bRoot = true;
    root.show();
    QCOMPARE(root.windowTitle(), QStringLiteral("修改根目录的密码"));
    QCOMPARE(Edit(root, CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD)->text(),
             QStringLiteral("582936145829361458293614"));
    QCOMPARE(Edit(root, CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD)->echoMode(),
             QLineEdit::Password);
    QCOMPARE(Edit(root, CModifyPasswordDialog::IDC_USER_PASSWORD)->text(),
             QStringLiteral("73920184"));
    QCOMPARE(Edit(root, CModifyPasswordDialog::IDC_USER_PASSWORD)->echoMode(), QLineEdit::Password);

    CModifyPasswordDialog folder;
    folder.show();
    QVERIFY(QTest::qWaitForWindowActive(&folder));
    QCOMPARE(QApplication::focusWidget(),
             Edit(folder, CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD));
    QCOMPARE(folder.windowTitle(), QStringLiteral("修改当前目录的密码"));
    QTest::keyClicks(Edit(folder, CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD),
                     QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(Edit(folder, CModifyPasswordDialog::IDC_DEVELOPER_PASSWORD)->text().size(), 24);
    // Empty texts are passwords like any other.
    ClickOk(folder);
    QCOMPARE(folder.result(), int(QDialog::Accepted));
    QCOMPARE(folder.m_strDeveloperPassword, QStringLiteral("abcdefghijklmnopqrstuvwx"));
    QCOMPARE(folder.m_strUserPassword, QString());
}

void EntryDialogsTest::hardwareInformationRoundTrips()
{
    RQ540::CRQ540Vfs vfs(0);
    {
        CHardInforDialog dialog(vfs);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("修改虚拟卡的硬件信息"));
        QCOMPARE(Edit(dialog, CHardInforDialog::IDC_SERIAL_NUMBER)->text(),
                 QStringLiteral("0000000000000000"));
        QCOMPARE(Edit(dialog, CHardInforDialog::IDC_CUSTOMER_NUMBER)->text(),
                 QStringLiteral("00000000"));
        SetText(dialog, CHardInforDialog::IDC_SERIAL_NUMBER, QStringLiteral("00112233445566ff"));
        SetText(dialog, CHardInforDialog::IDC_CUSTOMER_NUMBER, QStringLiteral("12"));
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    std::array<uint8_t, 8> serial{};
    vfs.GetSerialNumber(serial.data());
    QCOMPARE(serial, (std::array<uint8_t, 8>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xFF}));
    QCOMPARE(vfs.GetCustomerNumber(), 0x12000000u);

    CHardInforDialog again(vfs);
    again.show();
    QCOMPARE(Edit(again, CHardInforDialog::IDC_SERIAL_NUMBER)->text(),
             QStringLiteral("00112233445566FF"));
    QCOMPARE(Edit(again, CHardInforDialog::IDC_CUSTOMER_NUMBER)->text(),
             QStringLiteral("12000000"));
    QCOMPARE(Edit(again, CHardInforDialog::IDC_SERIAL_NUMBER)->maxLength(), 16);
    QCOMPARE(Edit(again, CHardInforDialog::IDC_CUSTOMER_NUMBER)->maxLength(), 8);
}

void EntryDialogsTest::hardwareInformationCancelChangesNothing()
{
    RQ540::CRQ540Vfs vfs(0);
    vfs.SetCustomerNumber(65535);
    CHardInforDialog dialog(vfs);
    dialog.show();
    QCOMPARE(Edit(dialog, CHardInforDialog::IDC_CUSTOMER_NUMBER)->text(),
             QStringLiteral("0000FFFF"));
    SetText(dialog, CHardInforDialog::IDC_SERIAL_NUMBER, QStringLiteral("ABC"));
    SetText(dialog, CHardInforDialog::IDC_CUSTOMER_NUMBER, QStringLiteral("1"));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::number(CExchangeDialog::IDCANCEL)),
                      Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(vfs.GetCustomerNumber(), 65535u);
    std::array<uint8_t, 8> serial{1, 1, 1, 1, 1, 1, 1, 1};
    vfs.GetSerialNumber(serial.data());
    QCOMPARE(serial, (std::array<uint8_t, 8>{}));
}

void EntryDialogsTest::textLongerThanLimitIsRefused()
{
    CFakePrompter prompter;
    CLongTextDialog dialog;
    dialog.show();
    QCOMPARE(dialog.m_edit->maxLength(), 8);
    dialog.m_edit->setMaxLength(100);
    dialog.m_edit->setText(QStringLiteral("123456789"));
    QVERIFY(!dialog.UpdateData(true));
    QCOMPARE(prompter.LastText(), QStringLiteral("请输入不多于 8 个的字符。"));
    QCOMPARE(dialog.m_strText, QString());
    dialog.m_edit->setText(QStringLiteral("12345678"));
    QVERIFY(dialog.UpdateData(true));
    QCOMPARE(dialog.m_strText, QStringLiteral("12345678"));
}

void EntryDialogsTest::enterAndFocusFollowDesktopRules()
{
    CFakePrompter prompter;
    CNewFileDialog dialog;
    dialog.m_nFreeSpace = 20000;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    // The field that gets the focus, on opening or by Tab, has its text selected.
    QCOMPARE(Edit(dialog, CNewFileDialog::IDC_FILE_ID)->selectedText(), QStringLiteral("0001"));
    QTest::keyClick(Edit(dialog, CNewFileDialog::IDC_FILE_ID), Qt::Key_Tab);
    QCOMPARE(Edit(dialog, CNewFileDialog::IDC_FILE_SIZE)->selectedText(), QStringLiteral("1024"));

    // Enter presses the focused button, and OK from a field.
    auto* cancel = dialog.findChild<QPushButton*>(QString::number(CExchangeDialog::IDCANCEL));
    cancel->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cancel, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Edit(dialog, CNewFileDialog::IDC_FILE_SIZE)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Edit(dialog, CNewFileDialog::IDC_FILE_SIZE), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void EntryDialogsTest::importAsksBeforeLeavingOutTheEnd()
{
    QTemporaryDir dir;
    const QString path = WriteFile(dir, QStringLiteral("large.bin"), 6000);
    CFakePrompter prompter;
    CFakeFileDialogs fileDialogs;
    fileDialogs.QueuePath(path);
    CImportFileDialog dialog;
    dialog.m_nFreeSpace = 5000;
    dialog.show();
    QTest::mouseClick(
        dialog.findChild<QPushButton*>(QString::number(CImportFileDialog::IDC_BROWSE)),
        Qt::LeftButton);
    SetText(dialog, CImportFileDialog::IDC_FILE_ID, QStringLiteral("0042"));
    // 否 returns to the dialog as it was.
    ClickOk(dialog);
    QCOMPARE(prompter.ShownBoxes().size(), std::size_t{1});
    const CFakePrompter::Shown& asked = prompter.ShownBoxes().back();
    QVERIFY(asked.caption == QStringLiteral("询问") && asked.icon == IPrompter::Icon::Question &&
            asked.buttons == IPrompter::Buttons::YesNo);
    QCOMPARE(asked.text, QStringLiteral("磁盘文件有 6000 字节，只能导入前 4984 字节，是否继续？"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_NAME)->text(), path);
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_ID)->text(), QStringLiteral("0042"));
    QCOMPARE(Edit(dialog, CImportFileDialog::IDC_FILE_SIZE)->text(), QStringLiteral("4984"));

    prompter.QueueAnswer(IPrompter::Answer::Yes);
    ClickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.m_nSize, 4984u);
}

void EntryDialogsTest::groupBoxesFrameTheirFields()
{
    // Titles taller than the dialog units allow for, as some styles and fonts draw them.
    CImportFileDialog dialog;
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
        group->setFont(QFont(group->font().family(), group->font().pointSize() + 3));
    dialog.show();
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        const QRect inside = group->contentsRect().translated(group->pos());
        for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child != group && group->geometry().contains(child->geometry().center()))
                QVERIFY2(inside.contains(child->geometry()), qPrintable(child->objectName()));
        }
    }
}

QTEST_MAIN(EntryDialogsTest)
#include "EntryDialogsTest.moc"
