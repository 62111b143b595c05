// The shell's state and its command routing: entering a folder moves the core and the
// current path together; commands go to the first table that has them, by their enabling
// rules.
#include "CommandRouter.h"
#include "CommandTable.h"
#include "Resource.h"
#include "ShellState.h"

#include "rq540/RQ540Vfs.h"

#include <QAction>
#include <QTest>

#include <memory>

using namespace RQ540;

class ShellRoutingTest : public QObject {
    Q_OBJECT

private slots:
    void enteringAFolderMovesTheCoreAndThePathTogether();
    void routerGivesEachCommandToTheFirstTableThatHasIt();
    void routerRunsNothingDisabledOrWithoutHandler();
};

void ShellRoutingTest::enteringAFolderMovesTheCoreAndThePathTogether()
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

void ShellRoutingTest::routerGivesEachCommandToTheFirstTableThatHasIt()
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

void ShellRoutingTest::routerRunsNothingDisabledOrWithoutHandler()
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

QTEST_MAIN(ShellRoutingTest)
#include "ShellRoutingTest.moc"
