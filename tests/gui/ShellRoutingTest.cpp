// The shell's state and its command routing: the edited card moves the core and the
// current path together and announces each change once; commands go to the first table
// that has them, by their enabling rules.
#include "CommandRouter.h"
#include "CommandTable.h"
#include "EditedCard.h"
#include "Resource.h"
#include "ShellState.h"

#include "rq540/RQ540Vfs.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace RQ540;

class ShellRoutingTest : public QObject {
    Q_OBJECT

private slots:
    void enteringAFolderMovesTheCoreAndThePathTogether();
    void refreshingAFolderAnnouncesItOnceAfterTheChange();
    void routerGivesEachCommandToTheFirstTableThatHasIt();
    void routerRunsNothingDisabledOrWithoutHandler();
};

void ShellRoutingTest::enteringAFolderMovesTheCoreAndThePathTogether()
{
    CEditedCard card;
    auto vfs = std::make_unique<CRQ540Vfs>(NEW_CARD_MODEL);
    QCOMPARE(vfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(vfs->ChangeDirectory("0001"), RESULT_SUCCESS);
    QCOMPARE(vfs->CreateFolder(0x00A2, 200), RESULT_SUCCESS);
    QSignalSpy replaced(&card, &CEditedCard::ImageAboutToBeReplaced);
    QSignalSpy paths(&card, &CEditedCard::PathChanged);
    card.ReplaceImage(std::move(vfs));
    QCOMPARE(replaced.count(), 1);
    // The image is taken as it stands: the path is the folder current in it.
    QCOMPARE(card.GetCurrentPath(), std::string("\\0001"));
    card.SetCurrentPath(RootPath());
    QCOMPARE(card.GetCurrentPath(), std::string("\\"));
    QCOMPARE(card.GetVfs()->GetPath().size(), std::size_t(1));

    card.SetCurrentPath("\\0001\\00a2");
    QCOMPARE(card.GetCurrentPath(), std::string("\\0001\\00A2"));
    QCOMPARE(card.GetVfs()->GetCurrentFolder()->GetId(), uint16_t(0x00A2));
    // A path that cannot be entered leaves both where they were.
    card.SetCurrentPath("\\0001\\0009");
    QCOMPARE(card.GetCurrentPath(), std::string("\\0001\\00A2"));
    QCOMPARE(card.GetVfs()->GetCurrentFolder()->GetId(), uint16_t(0x00A2));
    card.SetCurrentPath("..");
    QCOMPARE(card.GetCurrentPath(), std::string("\\0001"));
    QCOMPARE(card.GetVfs()->GetCurrentFolder()->GetId(), uint16_t(0x0001));
    // Each request is one announcement of the folder then current.
    QCOMPARE(paths.count(), 4);
    QCOMPARE(paths.last().at(0).value<std::string>(), std::string("\\0001"));

    card.ReplaceImage(nullptr);
    card.SetCurrentPath("\\0001");
    QCOMPARE(card.GetCurrentPath(), std::string("\\"));
    QCOMPARE(paths.count(), 4);
    QCOMPARE(replaced.count(), 2);
}

void ShellRoutingTest::refreshingAFolderAnnouncesItOnceAfterTheChange()
{
    CEditedCard card;
    card.ReplaceImage(std::make_unique<CRQ540Vfs>(NEW_CARD_MODEL));
    QCOMPARE(card.GetVfs()->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QSignalSpy paths(&card, &CEditedCard::PathChanged);
    QSignalSpy folders(&card, &CEditedCard::FolderChanged);
    std::string seen;
    connect(&card, &CEditedCard::FolderChanged, this,
            [&](const std::string&) { seen = card.GetVfs()->GetFirstEntry() ? "full" : "empty"; });

    // The change runs in the entered folder and is announced after it, as the folder
    // current then: erasing the image ends at its root.
    card.RefreshFolder("\\0001", [&] {
        QCOMPARE(card.GetVfs()->GetCurrentFolder()->GetId(), uint16_t(0x0001));
        QCOMPARE(card.GetVfs()->CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    });
    QCOMPARE(folders.count(), 1);
    QCOMPARE(folders.last().at(0).value<std::string>(), std::string("\\0001"));
    QCOMPARE(seen, std::string("full"));
    card.RefreshFolder("\\0001", [&] { card.GetVfs()->Format(true); });
    QCOMPARE(folders.count(), 2);
    QCOMPARE(card.GetCurrentPath(), std::string("\\"));
    QCOMPARE(folders.last().at(0).value<std::string>(), std::string("\\"));
    QCOMPARE(seen, std::string("empty"));
    QCOMPARE(paths.count(), 0);

    card.ReplaceImage(nullptr);
    card.RefreshFolder(RootPath(), [] { QFAIL("no change without an image"); });
    QCOMPARE(folders.count(), 2);
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
    table.Add(ID_EXPORT, [&] { runs += 10; }, [] { return true; });
    router.UpdateActions();
    QVERIFY(exportAction->isEnabled());
    exportAction->trigger();
    QCOMPARE(runs, 10);
}

QTEST_MAIN(ShellRoutingTest)
#include "ShellRoutingTest.moc"
