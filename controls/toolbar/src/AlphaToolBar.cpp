#include "AlphaToolBar.h"

#include "ToolBarStyle.h"
#include "ToolBarTemplate.h"

#include <QAction>
#include <QFile>
#include <QStyle>
#include <QToolButton>

#include <cstdint>
#include <span>

CAlphaToolBar::CAlphaToolBar(QWidget* parent)
    : QToolBar(parent), m_pStyle(new CToolBarStyle(style()->name()))
{
    // A child of the bar; widgets hold their style by a guarded pointer, so it may go first.
    m_pStyle->setParent(this);
    setStyle(m_pStyle);
}

bool CAlphaToolBar::LoadToolBar(int nIDResource, const ActionFactory& createAction)
{
    QFile file(QStringLiteral(":/toolbar/%1").arg(nIDResource));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const std::optional<CToolBarTemplate> toolBar = CToolBarTemplate::Parse(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  static_cast<std::size_t>(bytes.size())));
    if (!toolBar)
        return false;

    const std::vector<CToolBarTemplate::Button> buttons = toolBar->Buttons();
    std::vector<QAction*> actions;
    for (const CToolBarTemplate::Button& button : buttons) {
        if (button.IsSeparator()) {
            addSeparator();
            actions.push_back(nullptr);
        } else {
            QAction* action = createAction(button.command, this);
            if (!action)
                return false;
            addAction(action);
            widgetForAction(action)->setObjectName(QString::number(button.command));
            actions.push_back(action);
        }
    }
    SetSizes(QSize(toolBar->ButtonWidth(), toolBar->ButtonHeight()),
             QSize(toolBar->width, toolBar->height));
    if (!m_imageList.Create(toolBar->width, toolBar->height, static_cast<int>(buttons.size())) ||
        !m_imageList.LoadBitmap(nIDResource))
        return false;
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        if (actions[index])
            actions[index]->setIcon(m_imageList.GetIcon(buttons[index].image));
    }
    return true;
}

void CAlphaToolBar::SetSizes(QSize sizeButton, QSize sizeImage)
{
    setIconSize(sizeImage);
    for (QAction* action : actions()) {
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
            button->setFixedSize(sizeButton);
    }
}

QToolButton* CAlphaToolBar::GetButton(int id) const
{
    return findChild<QToolButton*>(QString::number(id), Qt::FindDirectChildrenOnly);
}
