// A tool bar whose buttons and images come from one resource ID: the template gives the
// commands, separators and image size, the strip of the same ID the images, shown in
// three looks (normal, hot under the mouse, disabled). Tool bar template resource N is the
// file ":/toolbar/N" of the program's resources.
//
// The tool bar knows no commands: each button is an action made by the factory given to
// LoadToolBar, so the caller's command routing enables, checks and runs it exactly as it
// does the menu items of the same command, and gives it its texts (the tool tip and the
// status-bar prompt). A button whose index is past the strip's images shows no image.
#pragma once

#include "AlphaImageList.h"

#include <QSize>
#include <QToolBar>

#include <functional>

class CToolBarStyle;
class QAction;
class QToolButton;

class CAlphaToolBar : public QToolBar {
    Q_OBJECT
public:
    // The action of command id for a button of toolBar, owned by the caller or by toolBar.
    using ActionFactory = std::function<QAction*(int id, QWidget* toolBar)>;

    explicit CAlphaToolBar(QWidget* parent = nullptr);

    // Adds the buttons and separators of template nIDResource, sizes them from the
    // template, builds the three looks from bitmap nIDResource and gives each button its
    // icon. False when the template or the bitmap is missing or unreadable, or the factory
    // gives no action; the buttons added before that stay.
    bool LoadToolBar(int nIDResource, const ActionFactory& createAction);

    // Every button sizeButton, images sizeImage (the images themselves are not rebuilt).
    void SetSizes(QSize sizeButton, QSize sizeImage);

    const CAlphaImageList& GetImageList() const { return m_imageList; }
    // The button of command id (its object name is the ID), or null.
    QToolButton* GetButton(int id) const;

private:
    CAlphaImageList m_imageList;
    // The application's style with the panel drawn in strips (see CToolBarStyle).
    CToolBarStyle* m_pStyle;
};
