// Rules of the editor's shell that need no window: row texts, column widths, entering a
// folder, the copied entries' check before reading, and command routing with enabling rules.
#include "CommandRouter.h"
#include "CommandTable.h"
#include "CopiedEntries.h"
#include "EntryRows.h"
#include "Resource.h"
#include "ShellState.h"

#include "rq540/RQ540Vfs.h"

#include <QAction>
#include <QTest>

#include <memory>

using namespace RQ540;

class ShellLogicTest : public QObject {
    Q_OBJECT

private slots:
    void rowTextsOfFoldersAndFiles();
    void columnWidthsFollowTheClientWidth_data();
    void columnWidthsFollowTheClientWidth();
    void enteringAFolderMovesTheCoreAndThePathTogether();
    void copiedEntryResolvesWhileItStandsAtItsPath();
    void copiedEntryIsGoneAfterDeletionEvenWhenRecreated();
    void copiedEntriesAreGoneAfterFormatOrReplacement();
    void routerGivesEachCommandToTheFirstTableThatHasIt();
    void routerRunsNothingDisabledOrWithoutHandler();
};

void ShellLogicTest::rowTextsOfFoldersAndFiles()
{
    CRQ540Vfs vfs(0);
    QCOMPARE(vfs.CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(vfs.CreateFile(0x0002, FILE_TYPE_INTERNAL_EXECUTABLE, 10), RESULT_SUCCESS);
    QCOMPARE(vfs.CreateFile(0x0003, FILE_TYPE_PRIVATE_KEY, 7), RESULT_SUCCESS);
    QCOMPARE(vfs.ChangeDirectory("0001"), RESULT_SUCCESS);
    QCOMPARE(vfs.CreateFile(0x0010, FILE_TYPE_DATA, 84), RESULT_SUCCESS);
    QCOMPARE(vfs.ChangeDirectory("\\"), RESULT_SUCCESS);

    const CUnknownHeader* folder = vfs.FindFolder(0x0001);
    const auto folderRow = FormatEntryRow(vfs, *folder);
    // 1000 bytes in all; 102 header, 84 + 16 for the file: 798 left.
    QCOMPARE(folderRow, (std::array<std::string, 4>{"0001", "1000/798", "文件夹", ""}));
    QCOMPARE(EntryRowIcon(*folder), int(IDI_FOLDER));

    const CUnknownHeader* executable = vfs.FindFile(0x0002);
    QCOMPARE(FormatEntryRow(vfs, *executable),
             (std::array<std::string, 4>{"0002", "10", "内部可执行文件（不可写）", ""}));
    QCOMPARE(EntryRowIcon(*executable), int(IDI_EXECUTABLE_FILE));
    const CUnknownHeader* key = vfs.FindFile(0x0003);
    QCOMPARE(FormatEntryRow(vfs, *key)[2], std::string("私钥文件"));
    QCOMPARE(EntryRowIcon(*key), int(IDI_FILE));
    QCOMPARE(std::string(FileTypeName(5)), std::string("未知文件"));
}

void ShellLogicTest::columnWidthsFollowTheClientWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("wide") << 600 << QList<int>{310, 130, 80, 40};
    QTest::newRow("one pixel left") << 291 << QList<int>{1, 130, 80, 40};
    QTest::newRow("exactly 290") << 290 << QList<int>{18, 130, 80, 40};
    QTest::newRow("state column narrows") << 249 << QList<int>{18, 130, 80, 18};
    QTest::newRow("attributes narrow") << 209 << QList<int>{18, 130, 18, 18};
    QTest::newRow("size narrows") << 129 << QList<int>{18, 18, 18, 18};
    QTest::newRow("nothing") << 0 << QList<int>{18, 18, 18, 18};
}

void ShellLogicTest::columnWidthsFollowTheClientWidth()
{
    QFETCH(int, width);
    QFETCH(QList<int>, expected);
    const auto widths = ListColumnWidths(width);
    QCOMPARE(QList<int>(widths.begin(), widths.end()), expected);
}

void ShellLogicTest::enteringAFolderMovesTheCoreAndThePathTogether()
{
    g_pVfs = std::make_unique<CRQ540Vfs>(NEW_CARD_MODEL);
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->ChangeDirectory("0001"), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x00A2, 200), RESULT_SUCCESS);
    EnterFolder(RootPath());
    QCOMPARE(g_szCurrentPath, std::string("\\"));
    QCOMPARE(g_pVfs->GetPath().size(), std::size_t(1));

    EnterFolder("\\0001\\00a2");
    QCOMPARE(g_szCurrentPath, std::string("\\0001\\00A2"));
    QCOMPARE(g_pVfs->GetCurrentFolder()->GetId(), uint16_t(0x00A2));
    // A path that cannot be entered leaves both where they were.
    EnterFolder("\\0001\\0009");
    QCOMPARE(g_szCurrentPath, std::string("\\0001\\00A2"));
    QCOMPARE(g_pVfs->GetCurrentFolder()->GetId(), uint16_t(0x00A2));
    EnterFolder("..");
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));
    QCOMPARE(g_pVfs->GetCurrentFolder()->GetId(), uint16_t(0x0001));

    g_pVfs.reset();
    EnterFolder(RootPath());
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));
}

namespace {

EntryItemData Record(CUnknownHeader* header, const std::string& path)
{
    return EntryItemData{header, path};
}

}  // namespace

void ShellLogicTest::copiedEntryResolvesWhileItStandsAtItsPath()
{
    CRQ540Vfs vfs(0);
    CFolderHeader* folder = nullptr;
    QCOMPARE(vfs.CreateFolder(0x0001, 2000, &folder), RESULT_SUCCESS);
    QCOMPARE(vfs.ChangeDirectory("0001"), RESULT_SUCCESS);
    QCOMPARE(vfs.CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    CUnknownHeader* file = vfs.FindFile(0x0002);

    const EntryItemData folderRecord = Record(folder, "\\0001");
    const EntryItemData fileRecord = Record(file, "\\0001\\0002");
    const EntryItemData wrongPath = Record(file, "\\0002");
    CCopiedEntries copied({&folderRecord, &fileRecord, &wrongPath});
    QCOMPARE(copied.GetCount(), std::size_t(3));
    QCOMPARE(copied.Resolve(vfs, 0), static_cast<const CUnknownHeader*>(folder));
    QCOMPARE(copied.Resolve(vfs, 1), static_cast<const CUnknownHeader*>(file));
    QCOMPARE(copied.Resolve(vfs, 2), nullptr);
    QCOMPARE(copied.Resolve(vfs, 3), nullptr);

    // Other changes of the tree leave them readable.
    QCOMPARE(vfs.CreateFile(0x0003, 0, 10), RESULT_SUCCESS);
    copied.ForgetMissing(vfs);
    QCOMPARE(copied.Resolve(vfs, 1), static_cast<const CUnknownHeader*>(file));
}

void ShellLogicTest::copiedEntryIsGoneAfterDeletionEvenWhenRecreated()
{
    CRQ540Vfs vfs(0);
    QCOMPARE(vfs.CreateFile(0x0005, 0, 10), RESULT_SUCCESS);
    QCOMPARE(vfs.CreateFile(0x0006, 0, 10), RESULT_SUCCESS);
    const EntryItemData first = Record(vfs.FindFile(0x0005), "\\0005");
    const EntryItemData second = Record(vfs.FindFile(0x0006), "\\0006");
    CCopiedEntries copied({&first, &second});

    QCOMPARE(vfs.DeleteFile(0x0005), RESULT_SUCCESS);
    copied.ForgetMissing(vfs);
    // A new file with the same ID at the same place is another entry, whatever its address.
    QCOMPARE(vfs.CreateFile(0x0005, 0, 10), RESULT_SUCCESS);
    QCOMPARE(copied.Resolve(vfs, 0), nullptr);
    QCOMPARE(copied.Resolve(vfs, 1), static_cast<const CUnknownHeader*>(vfs.FindFile(0x0006)));
}

void ShellLogicTest::copiedEntriesAreGoneAfterFormatOrReplacement()
{
    CRQ540Vfs vfs(0);
    QCOMPARE(vfs.CreateFolder(0x0001, 500), RESULT_SUCCESS);
    const EntryItemData record = Record(vfs.FindFolder(0x0001), "\\0001");

    CCopiedEntries afterFormat({&record});
    vfs.Format(true);
    afterFormat.ForgetMissing(vfs);
    QCOMPARE(vfs.CreateFolder(0x0001, 500), RESULT_SUCCESS);
    QCOMPARE(afterFormat.Resolve(vfs, 0), nullptr);

    const EntryItemData current = Record(vfs.FindFolder(0x0001), "\\0001");
    CCopiedEntries replaced({&current});
    QVERIFY(replaced.Resolve(vfs, 0) != nullptr);
    replaced.ForgetAll();
    QCOMPARE(replaced.Resolve(vfs, 0), nullptr);
}

void ShellLogicTest::routerGivesEachCommandToTheFirstTableThatHasIt()
{
    CCommandTable first;
    CCommandTable second;
    QStringList ran;
    bool firstEnabled = false;
    first.Add(ID_OPEN, [&] { ran << "first open"; }, [&] { return firstEnabled; });
    second.Add(ID_OPEN, [&] { ran << "second open"; });
    second.Add(ID_ERASE_ROOT, [&] { ran << "second erase"; });
    bool checked = false;
    second.Add(ID_VIEW_DEVICE_TREE, [&] { checked = !checked; }, {}, [&] { return checked; });

    CCommandRouter router;
    router.AddTable(&first);
    router.AddTable(&second);

    // The first table owns ID_OPEN: while its rule fails, the second is not asked.
    QVERIFY(!router.Execute(ID_OPEN));
    firstEnabled = true;
    QVERIFY(router.Execute(ID_OPEN));
    QVERIFY(router.Execute(ID_ERASE_ROOT));
    QCOMPARE(ran, (QStringList{"first open", "second erase"}));

    QAction* toggle = router.CreateAction(ID_VIEW_DEVICE_TREE, "tree", this);
    QVERIFY(toggle->isCheckable());
    QVERIFY(!toggle->isChecked());
    toggle->trigger();
    QVERIFY(checked);
    QVERIFY(toggle->isChecked());
    QCOMPARE(toggle->data().toInt(), int(ID_VIEW_DEVICE_TREE));
}

void ShellLogicTest::routerRunsNothingDisabledOrWithoutHandler()
{
    CCommandTable table;
    int runs = 0;
    bool enabled = true;
    table.Add(ID_DELETE, [&] { ++runs; }, [&] { return enabled; });
    table.Add(ID_EXPORT, {}, [] { return true; });
    CCommandRouter router;
    router.AddTable(&table);

    QAction* remove = router.CreateAction(ID_DELETE, "delete", this);
    QAction* exportAction = router.CreateAction(ID_EXPORT, "export", this);
    QAction* unknown = router.CreateAction(ID_COMMAND_32773, "none", this);
    QVERIFY(remove->isEnabled());
    QVERIFY(!exportAction->isEnabled());
    QVERIFY(!unknown->isEnabled());
    QVERIFY(!router.Execute(ID_EXPORT));
    QVERIFY(!router.Execute(ID_COMMAND_32773));

    // A stale action (state changed since the last update) still cannot run the command.
    enabled = false;
    QVERIFY(remove->isEnabled());
    remove->trigger();
    QCOMPARE(runs, 0);
    router.UpdateActions();
    QVERIFY(!remove->isEnabled());

    // A handler registered later turns the command on.
    table.SetHandler(ID_EXPORT, [&] { runs += 10; });
    router.UpdateActions();
    QVERIFY(exportAction->isEnabled());
    exportAction->trigger();
    QCOMPARE(runs, 10);
}

QTEST_MAIN(ShellLogicTest)
#include "ShellLogicTest.moc"
