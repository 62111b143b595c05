// CMenuBar offscreen with menu 128: the switching rules driven by real key and mouse
// events, the notifications the frame receives, and the bar's colours and metrics as drawn.
#include "MenuBar.h"
#include "MenuColors.h"
#include "MenuMetrics.h"
#include "Resource.h"
#include "StringTable.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
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

QColor PixelOf(QWidget* widget, const QPoint& point)
{
    return widget->grab().toImage().pixelColor(point);
}

}  // namespace

class MenuBarTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    CMenuBar* m_bar = nullptr;
    QLineEdit* m_edit = nullptr;
    QStringList m_events;

    QPoint ButtonCentre(int index) const
    {
        return m_bar->actionGeometry(m_bar->actions()[index]).center();
    }
    void Click(const QPoint& point) { QTest::mouseClick(m_bar, Qt::LeftButton, {}, point); }
    QStringList TakeEvents() { return std::exchange(m_events, {}); }

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        layout->addWidget(m_bar = new CMenuBar);
        layout->addWidget(m_edit = new QLineEdit);
        // The tool bar item checked and the recent-file placeholder greyed, as the frame has them.
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

    void cleanup()
    {
        m_window.reset();
        m_events.clear();
    }

    void loadsTheMainMenu()
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

    void leftAndRightWrapAround()
    {
        Click(ButtonCentre(0));
        QTest::keyClick(OpenPopup(), Qt::Key_Left);
        QCOMPARE(OpenPopup(), m_bar->GetPopup(3));
        QTest::keyClick(OpenPopup(), Qt::Key_Right);
        QCOMPARE(OpenPopup(), m_bar->GetPopup(0));
        // A popup reached by the keyboard opens with its first item selected.
        QCOMPARE(TakeEvents(), QStringList({"open 0", "open 3", QString("select %1").arg(ID_APP_ABOUT),
                                            "open 0", QString("select %1").arg(ID_FILE_NEW)}));
    }

    void systemKeysOpenThePreviousPopup()
    {
        Click(ButtonCentre(2));
        QTest::keyPress(OpenPopup(), Qt::Key_Alt);
        QTest::keyRelease(OpenPopup(), Qt::Key_Alt);
        QCOMPARE(OpenPopup(), m_bar->GetPopup(1));
        // With a letter too, also one that an item of the open popup has as its mnemonic.
        QKeyEvent altE(QEvent::KeyPress, Qt::Key_E, Qt::AltModifier, QStringLiteral("e"));
        QApplication::sendEvent(OpenPopup(), &altE);
        QCOMPARE(OpenPopup(), m_bar->GetPopup(0));
        QCOMPARE(OpenPopup()->activeAction(), m_bar->GetPopup(0)->actions().first());
        QTest::keyClick(OpenPopup(), Qt::Key_F10);
        QCOMPARE(OpenPopup(), m_bar->GetPopup(3));
        QCOMPARE(TakeEvents(), QStringList({"open 2", "open 1", QString("select %1").arg(ID_EDIT_COPY),
                                            "open 0", QString("select %1").arg(ID_FILE_NEW),
                                            "open 3", QString("select %1").arg(ID_APP_ABOUT)}));
    }

    void submenuKeysStayInsideTheSubmenu()
    {
        QMenu* edit = m_bar->GetPopup(1);
        QMenu* submenu = edit->addMenu(QStringLiteral("更多"));
        submenu->addAction(QStringLiteral("子项"));
        Click(ButtonCentre(1));
        QTest::keyClick(edit, Qt::Key_Up);
        QTest::keyClick(edit, Qt::Key_Right);
        QCOMPARE(OpenPopup(), submenu);
        QTest::keyClick(submenu, Qt::Key_Left);
        QCOMPARE(OpenPopup(), edit);
        QTest::keyClick(edit, Qt::Key_Right);
        QTest::keyClick(submenu, Qt::Key_Escape);
        QCOMPARE(OpenPopup(), edit);
        // A system key in a submenu is the submenu's: no other button's popup opens.
        QTest::keyClick(edit, Qt::Key_Right);
        QTest::keyClick(submenu, Qt::Key_Alt);
        QCOMPARE(OpenPopup(), edit);
        QVERIFY(!TakeEvents().contains("close"));
    }

    void mouseOpensEachButtonItCrosses()
    {
        const QPoint offButtons(m_bar->width() - 5, ButtonCentre(0).y());
        Click(ButtonCentre(0));
        QTest::mouseMove(m_bar, ButtonCentre(0) + QPoint(3, 0));
        QTest::mouseMove(m_bar, offButtons);
        QCOMPARE(OpenPopup(), m_bar->GetPopup(0));
        QTest::mouseMove(m_bar, ButtonCentre(1));
        QTest::mouseMove(m_bar, ButtonCentre(2));
        QCOMPARE(OpenPopup(), m_bar->GetPopup(2));
        // A click on the open popup's button closes it unannounced; one off the buttons does not.
        Click(ButtonCentre(2));
        QVERIFY(!OpenPopup());
        Click(ButtonCentre(1));
        Click(offButtons);
        QVERIFY(!OpenPopup());
        QCOMPARE(TakeEvents(), QStringList({"open 0", "open 1", "open 2", "open 1", "close"}));
    }

    void escapeLeavesTheKeyboardOnTheBar()
    {
        Click(ButtonCentre(2));
        QTest::keyClick(OpenPopup(), Qt::Key_Escape);
        QVERIFY(!OpenPopup() && m_bar->hasFocus());
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
        QVERIFY(m_edit->hasFocus() && !m_bar->activeAction());
    }

    void altAndF10DoNotEnterTheBar()
    {
        QTest::keyClick(m_edit, Qt::Key_Alt);
        QTest::keyClick(m_edit, Qt::Key_F10);
        QTest::keyClick(m_edit, Qt::Key_F, Qt::AltModifier);
        QVERIFY(m_edit->hasFocus() && !m_bar->activeAction() && !OpenPopup());
        QVERIFY(TakeEvents().isEmpty());
    }

    void frameSeesPromptThenIdleText()
    {
        // The frame's message pane, driven as the frame drives it.
        QStringList pane;
        connect(m_bar, &CMenuBar::MenuOpened, this, [&pane] { pane << QString(); });
        connect(m_bar, &CMenuBar::MenuSelect, this, [&pane](int command) { pane << CommandPrompt(command); });
        connect(m_bar, &CMenuBar::MenuClosed, this, [&pane] { pane << LoadResString(IDS_IDLE_MESSAGE); });

        Click(ButtonCentre(0));
        QMenu* file = OpenPopup();
        for (int item : {0, 4, 1})
            QTest::mouseMove(file, file->actionGeometry(file->actions()[item]).center());
        QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(file->actions()[1]).center());
        QCOMPARE(pane, QStringList({"", "创建新虚拟文件系统", "", "打开现有虚拟文件系统", "就绪"}));
        // The chosen command comes after the closing, as the menu has gone by then.
        QCOMPARE(TakeEvents().mid(4), QStringList({"close", QString("command %1").arg(ID_FILE_OPEN)}));
    }

    void drawsItsOwnColoursAndMetrics()
    {
        Click(ButtonCentre(2));
        const QRect button = m_bar->actionGeometry(m_bar->actions()[2]);
        const QColor highlight = m_bar->palette().highlight().color();
        QCOMPARE(PixelOf(m_bar, button.topLeft() + QPoint(3, 3)), ToQColor(BAR_BUTTON_FILL));
        QCOMPARE(PixelOf(m_bar, button.topLeft()), highlight);

        QMenu* view = OpenPopup();
        const QRect checked = view->actionGeometry(view->actions()[0]);
        const QRect selected = view->actionGeometry(view->actions()[1]);
        QTest::mouseMove(view, selected.center());
        QCOMPARE(PixelOf(view, checked.topLeft() + QPoint(21, 1)), ToQColor(MenuBandColor()));
        QCOMPARE(PixelOf(view, checked.topLeft() + QPoint(22, 1)), ToQColor(MenuBodyColor()));
        QCOMPARE(PixelOf(view, QPoint(checked.left() + 1, checked.center().y())), highlight);
        QCOMPARE(PixelOf(view, selected.topLeft()), highlight);
        QCOMPARE(PixelOf(view, selected.topLeft() + QPoint(1, 1)),
                 ToQColor(SelectedItemColor(ToColorRef(highlight))));

        // A disabled item is highlighted too, framed like any other; separators are 5 high,
        // items at least 20, and the popup is as wide as its widest item plus a check mark.
        QTest::mouseMove(m_bar, ButtonCentre(0));
        QMenu* file = OpenPopup();
        const QRect recent = file->actionGeometry(file->actions()[5]);
        QTest::mouseMove(file, recent.center());
        QCOMPARE(PixelOf(file, recent.topLeft()), highlight);
        QCOMPARE(PixelOf(file, recent.topLeft() + QPoint(1, 1)),
                 ToQColor(SelectedDisabledItemColor(ToColorRef(file->palette().button().color()))));
        int widest = 0;
        for (QAction* item : file->actions()) {
            const QRect rect = file->actionGeometry(item);
            QCOMPARE(rect.height() == SEPARATOR_HEIGHT, item->isSeparator());
            QVERIFY(item->isSeparator() || rect.height() >= MIN_ITEM_HEIGHT);
            const QStringList parts = item->text().split('\t');
            const QSize label = file->fontMetrics().size(Qt::TextShowMnemonic, parts[0]);
            const int accel = parts.size() > 1 ? file->fontMetrics().horizontalAdvance(parts[1]) : -1;
            widest = std::max(widest, MeasureMenuItem({label.width(), label.height()}, accel, false).width);
        }
        QCOMPARE(recent.width(), widest + MENU_CHECK_ALLOWANCE);
    }
};

QTEST_MAIN(MenuBarTest)
#include "MenuBarTest.moc"
