#include "CoolDialogBar.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QStyle>
#include <QVBoxLayout>
#include <qdrawutil.h>

namespace {

// Qt lays out no caption on the bar itself and has no small-caption metric: the floating
// frame's title bar height stands in for it.
int SmallCaptionHeight(const QWidget* widget)
{
    return widget->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, widget);
}

constexpr std::int32_t MIN_FLOAT_SIZE = 32;

std::int32_t DockSideOf(Qt::DockWidgetArea area)
{
    switch (area) {
    case Qt::TopDockWidgetArea: return AFX_IDW_DOCKBAR_TOP;
    case Qt::BottomDockWidgetArea: return AFX_IDW_DOCKBAR_BOTTOM;
    case Qt::LeftDockWidgetArea: return AFX_IDW_DOCKBAR_LEFT;
    case Qt::RightDockWidgetArea: return AFX_IDW_DOCKBAR_RIGHT;
    default: return 0;
    }
}

QRect ToQRect(const BarRect& rect)
{
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

}  // namespace

CCoolDialogBar::CCoolDialogBar(QWidget* parent)
    : QWidget(parent), m_layout(MIN_FLOAT_SIZE, MIN_FLOAT_SIZE, SmallCaptionHeight(this))
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

CCoolDialogBar::~CCoolDialogBar()
{
    delete m_pTrackLine;
}

bool CCoolDialogBar::Create(QWidget* pParentWnd, QWidget* pDialog, const QString& strTitle,
                            std::uint32_t dwStyle)
{
    if (!pDialog)
        return false;
    m_layout.m_dwStyle = dwStyle & CBRS_ALL;
    setParent(pParentWnd);
    setWindowTitle(strTitle);
    m_pChildDialog = pDialog;
    pDialog->setParent(this);
    layout()->addWidget(pDialog);
    pDialog->show();
    const QSize dialog = pDialog->testAttribute(Qt::WA_Resized) ? pDialog->size() : pDialog->sizeHint();
    m_layout.SetDialogSize({dialog.width(), dialog.height()});
    UpdatePlacement();
    ApplyPlacement();
    return true;
}

QSize CCoolDialogBar::sizeHint() const
{
    const BarSize fixed = m_layout.CalcFixedLayout(false, m_layout.IsHorizontal(), {});
    if (m_layout.IsFloating())
        return QSize(fixed.cx, fixed.cy);
    return m_layout.IsHorizontal() ? QSize(QWidget::sizeHint().width(), fixed.cy)
                                   : QSize(fixed.cx, QWidget::sizeHint().height());
}

bool CCoolDialogBar::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        FollowParent();
        break;
    // Another window taking the input ends the drag as a lost mouse capture would.
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        EndEdgeDrag(false);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void CCoolDialogBar::FollowParent()
{
    if (m_pDock)
        disconnect(m_pDock, nullptr, this, nullptr);
    m_pDock = qobject_cast<QDockWidget*>(parentWidget());
    if (m_pDock) {
        connect(m_pDock, &QDockWidget::dockLocationChanged, this, &CCoolDialogBar::UpdatePlacement);
        connect(m_pDock, &QDockWidget::topLevelChanged, this, &CCoolDialogBar::UpdatePlacement);
    }
    UpdatePlacement();
}

void CCoolDialogBar::UpdatePlacement()
{
    std::int32_t side = 0;
    if (m_pDock && m_pDock->isFloating()) {
        side = AFX_IDW_DOCKBAR_FLOAT;
    } else if (m_pDock) {
        if (auto* frame = qobject_cast<QMainWindow*>(m_pDock->parentWidget()))
            side = DockSideOf(frame->dockWidgetArea(m_pDock));
    }
    if (side == m_layout.m_nDockSide)
        return;
    EndEdgeDrag(false);
    m_layout.m_nDockSide = side;
    ApplyPlacement();
}

void CCoolDialogBar::ApplyPlacement()
{
    ApplyInsets();
    const BarSize fixed = m_layout.CalcFixedLayout(true, m_layout.IsHorizontal(), {});
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (m_layout.IsFloating()) {
        setMinimumSize(m_layout.m_sizeMinimum.cx, m_layout.m_sizeMinimum.cy);
        // The floating frame adds its own title and borders around the bar.
        m_pDock->resize(QSize(fixed.cx, fixed.cy) + m_pDock->size() - size());
    } else if (m_layout.IsHorizontal()) {
        setFixedHeight(fixed.cy);
    } else {
        setFixedWidth(fixed.cx);
    }
    updateGeometry();
}

void CCoolDialogBar::ApplyInsets()
{
    const BarRect client = m_layout.CalcNcLayout({width(), height()}, {0, 0, width(), height()});
    setContentsMargins(client.left, client.top, width() - client.right, height() - client.bottom);
    update();
}

void CCoolDialogBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ApplyInsets();
    // A floating bar keeps the size its frame was given, as a committed layout does.
    if (m_layout.IsFloating()) {
        CornerSizing noCorner;
        m_layout.CalcDynamicLayout(width(), LM_HORZ | LM_COMMIT, {}, noCorner);
        m_layout.CalcDynamicLayout(height(), LM_LENGTHY, {}, noCorner);
    }
}

void CCoolDialogBar::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (m_layout.m_rectEdge.IsEmpty())
        return;
    QPainter painter(this);
    qDrawShadePanel(&painter, ToQRect(m_layout.m_rectEdge), palette(), false, 1);
}

void CCoolDialogBar::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || m_layout.m_bTrackingEdge ||
        !m_layout.HitTestEdge({point.x(), point.y()})) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_layout.BeginEdgeDrag();
    grabMouse();
    m_pTrackLine = new QRubberBand(QRubberBand::Line, window());
    ShowTrackRect();
    m_pTrackLine->show();
}

void CCoolDialogBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_layout.m_bTrackingEdge) {
        if (m_layout.TrackEdge({point.x(), point.y()}))
            ShowTrackRect();
        return;
    }
    if (m_layout.HitTestEdge({point.x(), point.y()}))
        setCursor(m_layout.IsHorizontal() ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    else
        setCursor(Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void CCoolDialogBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_layout.m_bTrackingEdge)
        EndEdgeDrag(true);
    else
        QWidget::mouseReleaseEvent(event);
}

void CCoolDialogBar::ShowTrackRect()
{
    const QRect track = ToQRect(m_layout.m_rectTrack);
    m_pTrackLine->setGeometry(
        QRect(mapTo(window(), track.topLeft()), track.size()).adjusted(1, 1, -1, -1));
}

void CCoolDialogBar::EndEdgeDrag(bool bAccept)
{
    if (!m_layout.m_bTrackingEdge)
        return;
    delete m_pTrackLine;
    m_pTrackLine = nullptr;
    releaseMouse();
    const QSize frame = window()->frameGeometry().size();
    m_layout.EndEdgeDrag(bAccept, {frame.width(), frame.height()});
    if (bAccept)
        ApplyPlacement();
}
