#include "AboutDlg.h"

#include "ProgramVersion.h"
#include "Resource.h"
#include "ShellIcons.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int ICON_SIZE = 32;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QStringLiteral("关于　RQ540虚拟文件系统管理器"));

    auto* icon = new QLabel;
    icon->setPixmap(ShellPixmap(IDI_APPLICATION_ICON, ICON_SIZE));
    auto* version = new QLabel(
        QStringLiteral("RQ540虚拟文件系统管理器 v%1 版").arg(QLatin1String(RQ540::PROGRAM_VERSION)));
    auto* purpose = new QLabel(QStringLiteral("在电脑上编排 RQ540 加密锁虚拟卡的目录与文件"));
    auto* ok = new QPushButton(QStringLiteral("确定"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(purpose, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
