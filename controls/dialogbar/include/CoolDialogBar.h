// A bar that hosts one dialog and keeps a size for each placement. Standing as a plain
// child of a window it is exactly its dialog's width plus 6 wide, the dialog covering it
// all. Put inside a QDockWidget (Qt's own docking), it learns its placement from the dock:
// docked, it draws a 3-pixel sizing edge on the side facing the window's centre and is
// resized by dragging that edge, with a tracking line over the window during the drag;
// floating, it takes its floating size. The sizes are worked out by CDialogBarLayout.
#pragma once

#include "DialogBarLayout.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

class QDockWidget;
class QRubberBand;

class CCoolDialogBar : public QWidget {
    Q_OBJECT
public:
    explicit CCoolDialogBar(QWidget* parent = nullptr);
    ~CCoolDialogBar() override;

    // Makes pDialog the bar's only child and shows it; the bar takes strTitle as its window
    // title, dwStyle masked with CBRS_ALL as its style, pParentWnd as its parent, and its
    // sizes from the dialog's size (its own size when it was given one, else its hint).
    bool Create(QWidget* pParentWnd, QWidget* pDialog, const QString& strTitle,
                std::uint32_t dwStyle);

    QWidget* GetChildDialog() const { return m_pChildDialog; }
    const CDialogBarLayout& GetLayout() const { return m_layout; }
    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FollowParent();
    void UpdatePlacement();
    // Insets and sizing edge for the current size, then the size of the placement.
    void ApplyPlacement();
    void ApplyInsets();
    void EndEdgeDrag(bool bAccept);
    void ShowTrackRect();

    CDialogBarLayout m_layout;
    QWidget* m_pChildDialog = nullptr;
    QPointer<QDockWidget> m_pDock;
    QPointer<QRubberBand> m_pTrackLine;
};
