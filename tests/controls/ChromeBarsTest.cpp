// The tool bar and the dialog bar as real widgets offscreen: the tool bar of template 128
// with its buttons routed like the frame's commands, and the dialog bar holding a tree
// beside a list, standing as a plain child and docked with its sizing edge.
#include "AlphaLooks.h"
#include "AlphaToolBar.h"
#include "CommandRouter.h"
#include "CommandTable.h"
#include "CoolDialogBar.h"
#include "Resource.h"
#include "StringTable.h"

#include <QAction>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRubberBand>
#include <QStyleOptionToolBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr std::uint32_t kTreeBarStyle = 0x56001404;

// The tree panel stand-in: a dialog of 200 x 400.
QWidget* MakeTreeDialog()
{
    auto* tree = new QTreeWidget;
    tree->resize(200, 400);
    return tree;
}

// A window laid out as the frame lays out its own: the tool bar on top, the tree bar at
// the left beside the list, and "设备目录树" showing and hiding the bar.
struct Window {
    QWidget window;
    CCommandTable commands;
    CCommandRouter router;
    CAlphaToolBar* toolBar = new CAlphaToolBar;
    CCoolDialogBar* treeBar = new CCoolDialogBar;
    QListWidget* list = new QListWidget;
    int newCount = 0;

    Window()
    {
        commands.Add(ID_VIEW_DEVICE_TREE, [this] { treeBar->setVisible(treeBar->isHidden()); }, {},
                     [this] { return !treeBar->isHidden(); });
        commands.Add(ID_FILE_NEW, [this] { ++newCount; });
        router.AddTable(&commands);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(toolBar);
        auto* client = new QHBoxLayout;
        client->setSpacing(0);
        layout->addLayout(client);
        treeBar->Create(&window, MakeTreeDialog(), QStringLiteral("VFS Info"), kTreeBarStyle);
        client->addWidget(treeBar);
        client->addWidget(list, 1);
        toolBar->LoadToolBar(IDR_MAINFRAME, [this](int id, QWidget* parent) {
            return router.CreateAction(id, CommandToolTip(id), parent);
        });
        toolBar->SetSizes(QSize(42, 40), QSize(32, 32));
        window.resize(900, 600);
        window.show();
    }
};

QMouseEvent MoveTo(QPoint point)
{
    return QMouseEvent(QEvent::MouseMove, point, point, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
}

}  // namespace

class ChromeBarsTest : public QObject {
    Q_OBJECT
private slots:
    void toolBarFollowsTheTemplate();
    void iconModesCarryTheComputedLooks();
    void panelInStripsMatchesOnePass();
    void treeButtonHidesAndShowsThePlainBar();
    void dockedBarIsSizedByItsEdge();
};

void ChromeBarsTest::toolBarFollowsTheTemplate()
{
    Window w;
    QList<int> items;
    for (QAction* action : w.toolBar->actions())
        items.append(action->isSeparator() ? 0 : action->data().toInt());
    QCOMPARE(items, (QList<int>{57600, 57601, 57603, 0, 32776, 0, 57634, 57637, 32806, 0, 32777,
                                32813, 0, 32820, 32807, 0, 32786, 57664, 32773, 0, 32774}));
    QCOMPARE(w.toolBar->GetImageList().GetImageCount(), 13);
    for (int id : items) {
        QToolButton* button = w.toolBar->GetButton(id);
        QCOMPARE(button != nullptr, id != 0);
        if (button) {
            QCOMPARE(button->size(), QSize(42, 40));
            QCOMPARE(button->icon().isNull(), id == ID_COMMAND_32773 || id == ID_COMMAND_32774);
        }
    }
    QToolButton* newButton = w.toolBar->GetButton(ID_FILE_NEW);
    QCOMPARE(newButton->toolTip(), QStringLiteral("新建"));
    QCOMPARE(newButton->defaultAction()->statusTip(), QStringLiteral("创建新虚拟文件系统"));
    QTest::mouseClick(newButton, Qt::LeftButton);
    QCOMPARE(w.newCount, 1);

    // The buttons without a command stay disabled whatever the state.
    for (bool treeShown : {false, true}) {
        w.treeBar->setVisible(treeShown);
        w.router.UpdateActions();
        QVERIFY(newButton->isEnabled());
        QVERIFY(!w.toolBar->GetButton(ID_COMMAND_32773)->isEnabled());
        QVERIFY(!w.toolBar->GetButton(ID_COMMAND_32774)->isEnabled());
    }
}

void ChromeBarsTest::iconModesCarryTheComputedLooks()
{
    Window w;
    const QIcon icon = w.toolBar->GetButton(ID_APP_ABOUT)->icon();
    const QSize size(32, 31);
    const QImage normal = icon.pixmap(size, QIcon::Normal).toImage();
    const QImage hot = icon.pixmap(size, QIcon::Active).toImage();
    const QImage disabled = icon.pixmap(size, QIcon::Disabled).toImage();
    QCOMPARE(normal.size(), size);
    for (const QImage& look : {normal, hot, disabled})
        QCOMPARE(qAlpha(look.pixel(0, 0)), 0);   // the silver around the picture
    const QRgb source = normal.pixel(16, 15);
    QCOMPARE(qAlpha(source), 255);
    const auto r = static_cast<std::uint8_t>(qRed(source));
    const auto g = static_cast<std::uint8_t>(qGreen(source));
    const auto b = static_cast<std::uint8_t>(qBlue(source));
    QCOMPARE(hot.pixel(16, 15), qRgb(DarkenedValue(r), DarkenedValue(g), DarkenedValue(b)));
    const int grey = GreyValue(r, g, b);
    QCOMPARE(disabled.pixel(16, 15), qRgb(grey, grey, grey));
}

void ChromeBarsTest::panelInStripsMatchesOnePass()
{
    // A main window's tool bar, where the style draws the panel's edge lines; the panel is
    // longer than several strips and not a whole number of them.
    QMainWindow window;
    auto* toolBar = new CAlphaToolBar;
    window.addToolBar(Qt::TopToolBarArea, toolBar);
    const auto* style = qobject_cast<const QProxyStyle*>(toolBar->style());
    QVERIFY(style);
    QStyleOptionToolBar option;
    option.initFrom(toolBar);
    option.rect = QRect(0, 0, 301, 40);
    option.state |= QStyle::State_Horizontal;
    option.toolBarArea = Qt::TopToolBarArea;
    option.positionOfLine = QStyleOptionToolBar::OnlyOne;
    const auto draw = [&](const QStyle* drawing) {
        QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        drawing->drawControl(QStyle::CE_ToolBar, &option, &painter, toolBar);
        return image;
    };
    const QImage onePass = draw(style->baseStyle());
    QImage blank(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::magenta);
    QVERIFY(onePass != blank);
    QCOMPARE(draw(style), onePass);
}

void ChromeBarsTest::treeButtonHidesAndShowsThePlainBar()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    // Standing as a plain child: the dialog covers the bar, which has no sizing edge.
    QCOMPARE(w.treeBar->width(), 206);
    QCOMPARE(w.treeBar->GetChildDialog()->geometry(), w.treeBar->rect());
    QTest::mousePress(w.treeBar, Qt::LeftButton, {}, QPoint(204, 100));
    QVERIFY(!w.treeBar->GetLayout().m_bTrackingEdge);
    QTest::mouseRelease(w.treeBar, Qt::LeftButton, {}, QPoint(204, 100));

    QToolButton* treeButton = w.toolBar->GetButton(ID_VIEW_DEVICE_TREE);
    QVERIFY(treeButton->isChecked());
    QTest::mouseClick(treeButton, Qt::LeftButton);
    QVERIFY(w.treeBar->isHidden());
    QVERIFY(!treeButton->isChecked());
    QTRY_COMPARE(w.list->width(), w.window.width());

    QTest::mouseClick(treeButton, Qt::LeftButton);
    QVERIFY(treeButton->isChecked());
    QTRY_COMPARE(w.treeBar->width(), 206);
    QCOMPARE(w.list->width(), w.window.width() - 206);
}

void ChromeBarsTest::dockedBarIsSizedByItsEdge()
{
    QMainWindow frame;
    frame.setCentralWidget(new QListWidget);
    auto* dock = new QDockWidget(&frame);
    auto* bar = new CCoolDialogBar;
    QVERIFY(bar->Create(dock, MakeTreeDialog(), QStringLiteral("VFS Info"), kTreeBarStyle));
    dock->setWidget(bar);
    frame.addDockWidget(Qt::LeftDockWidgetArea, dock);
    frame.resize(900, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(bar->contentsMargins(), QMargins(3, 4, 3, 3));
    QTRY_COMPARE(bar->width(), 206);

    // Accepted: the right edge dragged 50 pixels to the right.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(204, 100));
    QVERIFY(bar->GetLayout().m_bTrackingEdge);
    QMouseEvent move = MoveTo(QPoint(254, 100));
    QCoreApplication::sendEvent(bar, &move);
    QCOMPARE(frame.findChildren<QRubberBand*>().size(), 1);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(254, 100));
    QTRY_COMPARE(bar->width(), 256);
    QVERIFY(frame.findChildren<QRubberBand*>().isEmpty());

    // Cancelled: the window loses the input in the middle of a drag.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(254, 100));
    QVERIFY(bar->GetLayout().m_bTrackingEdge);
    QMouseEvent away = MoveTo(QPoint(100, 100));
    QCoreApplication::sendEvent(bar, &away);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(bar, &deactivate);
    QVERIFY(!bar->GetLayout().m_bTrackingEdge);
    QVERIFY(frame.findChildren<QRubberBand*>().isEmpty());
    QCOMPARE(bar->GetLayout().m_sizeDockedVert.cx, 256);
}

QTEST_MAIN(ChromeBarsTest)
#include "ChromeBarsTest.moc"
