// The floor of the editor's start: a bare main window with a menu bar, a tree, a table
// and a status bar, with Chinese texts in the menu and status bars as the editor has,
// ending once it is on screen. The table keeps its stock numbered headings: a stock
// header measures Chinese headings in the bold face, which the least window does not load.
#include "FirstWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("NewRqVfs - 窗口"));
    for (const char* title : {"文件(&F)", "编辑(&E)", "查看(&V)", "帮助(&H)"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("新建"));

    auto* client = new QWidget;
    auto* layout = new QHBoxLayout(client);
    auto* tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    auto* top = new QTreeWidgetItem(tree, {QStringLiteral("RQ540 VFS")});
    new QTreeWidgetItem(top, {QStringLiteral("ROOT DIR(MF)")});
    top->setExpanded(true);
    tree->setFixedWidth(180);
    layout->addWidget(tree);
    layout->addWidget(new QTableWidget(0, 4), 1);
    window.setCentralWidget(client);

    window.statusBar()->addWidget(new QLabel(QStringLiteral("就绪")), 1);
    window.statusBar()->addPermanentWidget(new QLabel(QStringLiteral("当前路径：\\")));
    window.statusBar()->addPermanentWidget(new QLabel(QStringLiteral("剩余空间 61886 字节")));
    window.resize(800, 560);
    EndAtFirstWindow(window);
}
