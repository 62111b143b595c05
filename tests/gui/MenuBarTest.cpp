// CMenuBar offscreen with menu 128: the switching rules driven by real key and mouse
// events, the notifications the frame receives, and the bar's colours and metrics as drawn.
#include "MenuBar.h"
#include "MenuColors.h"
#include "MenuMetrics.h"
#include "Resource.h"
#include "StringTable.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

QColor ToQColor(ColorRef color)
{
    return {RedOf(color), GreenOf(color), BlueOf(color)};
}

ColorRef ToColorRef(const QColor& color)
{
    return MakeRgb(color.red(), color.green(), color.blue());
}

QMenu* OpenPopup()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

}  // namespace

class MenuBarTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadsTheMainMenu();
    void leftAndRightWrapAround();
    void submenuKeysStayInsideTheSubmenu();
    void mouseOpensEachButtonItCrosses();
    void clickOnOpenButtonIsNoClosing();
    void escapeLeavesTheKeyboardOnTheBar();
    void altAndF10DoNotEnterTheBar();
    void frameSeesPromptThenIdleText();
    void drawsItsOwnColoursAndMetrics();

private:
    void ClickButton(int index);
    QPoint ButtonCentre(int index) const;
    QStringList TakeEvents();

    std::unique_ptr<QWidget> m_window;
    CMenuBar* m_bar = nullptr;
    QLineEdit* m_edit = nullptr;
    QStringList m_events;
};

void MenuBarTest::init()
{
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_bar = new CMenuBar;
    m_edit = new QLineEdit;
    layout->addWidget(m_bar);
    layout->addWidget(m_edit);
    // The view menu's first item is checked, "最近的文件" is greyed, as the frame would have them.
    QVERIFY(m_bar->LoadMenuBar([this](int command, const QString& text, QObject* parent) {
        auto* action = new QAction(text, parent);
        action->setCheckable(command == ID_VIEW_TOOLBAR);
        action->setChecked(command == ID_VIEW_TOOLBAR);
        action->setEnabled(command != ID_RECENT_FILE1);
        connect(action, &QAction::triggered, this,
                [this, command] { m_events << QStringLiteral("command %1").arg(command); });
        return action;
    }));
    connect(m_bar, &CMenuBar::MenuOpened, this,
            [this](int index) { m_events << QStringLiteral("open %1").arg(index); });
    connect(m_bar, &CMenuBar::MenuSelect, this,
            [this](int command) { m_events << QStringLiteral("select %1").arg(command); });
    connect(m_bar, &CMenuBar::MenuClosed, this, [this] { m_events << QStringLiteral("close"); });
    m_window->resize(600, 200);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_edit->setFocus();
}

void MenuBarTest::cleanup()
{
    m_window.reset();
    m_events.clear();
}

QPoint MenuBarTest::ButtonCentre(int index) const
{
    return m_bar->actionGeometry(m_bar->actions()[index]).center();
}

void MenuBarTest::ClickButton(int index)
{
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, ButtonCentre(index));
}

QStringList MenuBarTest::TakeEvents()
{
    return std::exchange(m_events, {});
}

void MenuBarTest::loadsTheMainMenu()
{
    QStringList titles;
    for (QAction* button : m_bar->actions())
        titles << button->text();
    QCOMPARE(titles, QStringList({"文件(&F)", "编辑(&E)", "视图(&V)", "帮助(&H)"}));
    const QList<QAction*> items = m_bar->GetPopup(0)->actions();
    QCOMPARE(items.size(), 8);
    QCOMPARE(items[1]->data().toInt(), int(ID_FILE_OPEN));
    QVERIFY(items[4]->isSeparator() && items[6]->isSeparator());

    // The bar reaches exactly to its last button; its minimum keeps every button shown.
    const QRect last = m_bar->actionGeometry(m_bar->actions().last());
    QCOMPARE(m_bar->minimumSizeHint(), QSize(last.right() + 1, last.bottom() + 1));

    CMenuBar refused;
    QVERIFY(!refused.LoadMenuBar([](int, const QString&, QObject*) { return nullptr; }));
}

void MenuBarTest::leftAndRightWrapAround()
{
    ClickButton(0);
    QTest::keyClick(OpenPopup(), Qt::Key_Left);
    QCOMPARE(OpenPopup(), m_bar->GetPopup(3));
    QTest::keyClick(OpenPopup(), Qt::Key_Right);
    QCOMPARE(OpenPopup(), m_bar->GetPopup(0));
    // A popup reached by the keyboard opens with its first item selected.
    QCOMPARE(TakeEvents(), QStringList({"open 0", "open 3", QString("select %1").arg(ID_APP_ABOUT),
                                        "open 0", QString("select %1").arg(ID_FILE_NEW)}));
}

void MenuBarTest::submenuKeysStayInsideTheSubmenu()
{
    QMenu* edit = m_bar->GetPopup(1);
    QMenu* submenu = edit->addMenu(QStringLiteral("更多"));
    submenu->addAction(QStringLiteral("子项"));
    ClickButton(1);
    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(edit->activeAction(), submenu->menuAction());
    QTest::keyClick(edit, Qt::Key_Right);
    QCOMPARE(OpenPopup(), submenu);
    QTest::keyClick(submenu, Qt::Key_Left);
    QCOMPARE(OpenPopup(), edit);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(submenu, Qt::Key_Escape);
    QCOMPARE(OpenPopup(), edit);
    QVERIFY(!TakeEvents().contains("close"));
}

void MenuBarTest::mouseOpensEachButtonItCrosses()
{
    ClickButton(0);
    QTest::mouseMove(m_bar, ButtonCentre(0) + QPoint(3, 0));
    QTest::mouseMove(m_bar, QPoint(m_bar->width() - 5, ButtonCentre(0).y()));
    QCOMPARE(OpenPopup(), m_bar->GetPopup(0));
    QTest::mouseMove(m_bar, ButtonCentre(1));
    QCOMPARE(OpenPopup(), m_bar->GetPopup(1));
    QTest::mouseMove(m_bar, ButtonCentre(2));
    QCOMPARE(OpenPopup(), m_bar->GetPopup(2));
    QCOMPARE(TakeEvents(), QStringList({"open 0", "open 1", "open 2"}));
}

void MenuBarTest::clickOnOpenButtonIsNoClosing()
{
    ClickButton(1);
    ClickButton(1);
    QVERIFY(!OpenPopup());
    QCOMPARE(TakeEvents(), QStringList({"open 1"}));
    ClickButton(1);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(m_bar->width() - 5, 5));
    QVERIFY(!OpenPopup());
    QCOMPARE(TakeEvents(), QStringList({"open 1", "close"}));
}

void MenuBarTest::escapeLeavesTheKeyboardOnTheBar()
{
    ClickButton(2);
    QTest::keyClick(OpenPopup(), Qt::Key_Escape);
    QVERIFY(!OpenPopup());
    QVERIFY(m_bar->hasFocus());
    QCOMPARE(m_bar->activeAction(), m_bar->actions()[2]);
    QCOMPARE(TakeEvents().last(), QStringLiteral("close"));

    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Return}) {
        QTest::keyClick(m_bar, key);
        QCOMPARE(OpenPopup(), m_bar->GetPopup(2));
        QCOMPARE(OpenPopup()->activeAction(), m_bar->GetPopup(2)->actions().first());
        QTest::keyClick(OpenPopup(), Qt::Key_Escape);
    }
    QTest::keyClick(m_bar, Qt::Key_E);
    QCOMPARE(OpenPopup(), m_bar->GetPopup(1));
    QTest::keyClick(OpenPopup(), Qt::Key_Escape);
    QTest::keyClick(m_bar, Qt::Key_Q);
    QVERIFY(!OpenPopup());
    QTest::keyClick(m_bar, Qt::Key_Escape);
    QVERIFY(m_edit->hasFocus());
    QVERIFY(!m_bar->activeAction());
}

void MenuBarTest::altAndF10DoNotEnterTheBar()
{
    QTest::keyClick(m_edit, Qt::Key_Alt);
    QTest::keyClick(m_edit, Qt::Key_F10);
    QTest::keyClick(m_edit, Qt::Key_F, Qt::AltModifier);
    QVERIFY(m_edit->hasFocus());
    QVERIFY(!m_bar->activeAction());
    QVERIFY(!OpenPopup());
    QVERIFY(TakeEvents().isEmpty());
}

void MenuBarTest::frameSeesPromptThenIdleText()
{
    // The frame's message pane, driven as the frame drives it.
    QStringList pane;
    connect(m_bar, &CMenuBar::MenuOpened, this, [&pane] { pane << QString(); });
    connect(m_bar, &CMenuBar::MenuSelect, this,
            [&pane](int command) { pane << CommandPrompt(command); });
    connect(m_bar, &CMenuBar::MenuClosed, this,
            [&pane] { pane << LoadResString(IDS_IDLE_MESSAGE); });

    ClickButton(0);
    QMenu* file = OpenPopup();
    const QList<QAction*> items = file->actions();
    QTest::mouseMove(file, file->actionGeometry(items[0]).center());
    QTest::mouseMove(file, file->actionGeometry(items[4]).center());
    QTest::mouseMove(file, file->actionGeometry(items[1]).center());
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(items[1]).center());
    QCOMPARE(pane, QStringList({"", "创建新虚拟文件系统", "", "打开现有虚拟文件系统", "就绪"}));
    // The chosen command comes after the closing, as the menu has gone by then.
    QCOMPARE(TakeEvents().mid(4), QStringList({"close", QString("command %1").arg(ID_FILE_OPEN)}));
}

void MenuBarTest::drawsItsOwnColoursAndMetrics()
{
    ClickButton(0);
    const QImage bar = m_bar->grab().toImage();
    const QRect button = m_bar->actionGeometry(m_bar->actions()[0]);
    QCOMPARE(bar.pixelColor(button.topLeft() + QPoint(3, 3)), ToQColor(BAR_BUTTON_FILL));
    QCOMPARE(bar.pixelColor(button.topLeft()), m_bar->palette().highlight().color());
    QTest::keyClick(OpenPopup(), Qt::Key_Escape);
    QTest::keyClick(m_bar, Qt::Key_Escape);

    QTest::mouseClick(m_bar, Qt::LeftButton, {}, ButtonCentre(2));
    QMenu* view = OpenPopup();
    const QList<QAction*> items = view->actions();
    QTest::mouseMove(view, view->actionGeometry(items[1]).center());
    const QImage popup = view->grab().toImage();
    const QRect checked = view->actionGeometry(items[0]);
    const QRect selected = view->actionGeometry(items[1]);
    QCOMPARE(popup.pixelColor(checked.left() + 21, checked.top() + 1), ToQColor(MenuBandColor()));
    QCOMPARE(popup.pixelColor(checked.left() + 22, checked.top() + 1), ToQColor(MenuBodyColor()));
    const QColor highlight = view->palette().highlight().color();
    QCOMPARE(popup.pixelColor(checked.left() + 1, checked.center().y()), highlight);
    QCOMPARE(popup.pixelColor(selected.topLeft()), highlight);
    QCOMPARE(popup.pixelColor(selected.topLeft() + QPoint(1, 1)),
             ToQColor(SelectedItemColor(ToColorRef(highlight))));

    // A disabled item can be highlighted too, with a fill of its own.
    QTest::mouseMove(m_bar, ButtonCentre(0));
    QMenu* file = OpenPopup();
    const QRect recent = file->actionGeometry(file->actions()[5]);
    QTest::mouseMove(file, recent.center());
    QCOMPARE(file->grab().toImage().pixelColor(recent.topLeft() + QPoint(1, 1)),
             ToQColor(SelectedDisabledItemColor(ToColorRef(file->palette().button().color()))));

    // Items are at least 20 high, separators 5; the popup is as wide as its widest item.
    int widest = 0;
    for (QAction* item : file->actions()) {
        const QRect rect = file->actionGeometry(item);
        QCOMPARE(rect.height() == SEPARATOR_HEIGHT, item->isSeparator());
        QVERIFY(rect.height() >= (item->isSeparator() ? SEPARATOR_HEIGHT : MIN_ITEM_HEIGHT));
        const QStringList parts = item->text().split('\t');
        const QSize label = file->fontMetrics().size(Qt::TextShowMnemonic, parts[0]);
        const int accel = parts.size() > 1 ? file->fontMetrics().horizontalAdvance(parts[1]) : -1;
        if (!item->isSeparator())
            widest = std::max(widest, MeasureMenuItem({label.width(), label.height()}, accel, false).width);
    }
    QCOMPARE(file->actionGeometry(file->actions()[0]).width(), widest + MENU_CHECK_ALLOWANCE);
}

QTEST_MAIN(MenuBarTest)
#include "MenuBarTest.moc"
