#include "AboutDlg.h"

#include "ProgramVersion.h"
#include "Resource.h"
#include "ShellIcons.h"
#include "ShellTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int ICON_SIZE = 32;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QString::fromUtf8(Texts::ABOUT_TITLE));

    auto* icon = new QLabel;
    icon->setPixmap(ShellPixmap(IDI_APPLICATION_ICON, ICON_SIZE));
    auto* version = new QLabel(QString::fromUtf8(Texts::ABOUT_VERSION).arg(QLatin1String(RQ540::PROGRAM_VERSION)));
    auto* purpose = new QLabel(QString::fromUtf8(Texts::ABOUT_PURPOSE));
    auto* ok = new QPushButton(QString::fromUtf8(Texts::OK));
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
