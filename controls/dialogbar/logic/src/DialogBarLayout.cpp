#include "DialogBarLayout.h"

#include <algorithm>

namespace {

// The side of a docked bar that faces the frame's centre and carries the sizing edge, as
// its border flag; 0 for a bar that is not docked.
std::uint32_t EdgeSide(std::int32_t dockSide)
{
    switch (dockSide) {
    case AFX_IDW_DOCKBAR_TOP: return CBRS_BORDER_BOTTOM;
    case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_BORDER_TOP;
    case AFX_IDW_DOCKBAR_LEFT: return CBRS_BORDER_RIGHT;
    case AFX_IDW_DOCKBAR_RIGHT: return CBRS_BORDER_LEFT;
    default: return 0;
    }
}

}  // namespace

CDialogBarLayout::CDialogBarLayout(std::int32_t cxMinFloat, std::int32_t cyMinFloat,
                                   std::int32_t cySmallCaption)
    : m_cxMinFloat(cxMinFloat), m_cyMinFloat(cyMinFloat), m_cySmallCaption(cySmallCaption)
{
}

void CDialogBarLayout::SetDialogSize(BarSize dialog)
{
    const std::int32_t across = m_nEdgeWidth + m_nBorderInset;
    m_sizeFloating = dialog;
    m_sizeDockedHorz = {dialog.cx, dialog.cy + across};
    m_sizeDockedVert = {dialog.cx + across, dialog.cy};
}

bool CDialogBarLayout::IsHorizontal() const
{
    return m_nDockSide == AFX_IDW_DOCKBAR_TOP || m_nDockSide == AFX_IDW_DOCKBAR_BOTTOM;
}

BarSize CDialogBarLayout::CalcFixedLayout(bool bStretch, bool bHorz, DockExtents docks) const
{
    if (IsFloating())
        return m_sizeFloating;
    if (bHorz)
        return {bStretch ? STRETCH_LENGTH : docks.topWidth + 4, m_sizeDockedHorz.cy};
    return {m_sizeDockedVert.cx, bStretch ? STRETCH_LENGTH : docks.leftHeight + 4};
}

BarRect CDialogBarLayout::CalcNcLayout(BarSize window, BarRect client)
{
    m_rectEdge = {0, 0, window.cx, window.cy};
    m_dwStyle |= CBRS_BORDER_ANY;
    const std::uint32_t edgeSide = EdgeSide(m_nDockSide);
    if (edgeSide == 0) {
        m_rectEdge = {};
        return client;
    }
    // The edge's side is inset by the edge, the leading side (left of a horizontal bar,
    // top of a vertical one) by the lead inset, the other two by the border inset.
    const bool horz = IsHorizontal();
    const auto inset = [edgeSide](std::uint32_t side, bool leading) {
        return side == edgeSide ? m_nEdgeWidth : leading ? m_nLeadInset : m_nBorderInset;
    };
    client.left += inset(CBRS_BORDER_LEFT, horz);
    client.top += inset(CBRS_BORDER_TOP, !horz);
    client.right -= inset(CBRS_BORDER_RIGHT, false);
    client.bottom -= inset(CBRS_BORDER_BOTTOM, false);
    switch (edgeSide) {
    case CBRS_BORDER_TOP: m_rectEdge.bottom = m_rectEdge.top + m_nEdgeWidth; break;
    case CBRS_BORDER_BOTTOM: m_rectEdge.top = m_rectEdge.bottom - m_nEdgeWidth; break;
    case CBRS_BORDER_LEFT: m_rectEdge.right = m_rectEdge.left + m_nEdgeWidth; break;
    default: m_rectEdge.left = m_rectEdge.right - m_nEdgeWidth; break;
    }
    m_dwStyle &= ~edgeSide;
    return client;
}

bool CDialogBarLayout::HitTestEdge(BarPoint point) const
{
    return !IsFloating() && m_rectEdge.Contains(point);
}

BarRect CDialogBarLayout::BeginEdgeDrag()
{
    m_ptTrackStart = m_rectEdge.Centre();
    m_rectTrack = m_rectEdge;
    if (m_nDockSide == AFX_IDW_DOCKBAR_LEFT || m_nDockSide == AFX_IDW_DOCKBAR_RIGHT)
        m_rectTrack.bottom -= 4;
    m_bTrackingEdge = true;
    return m_rectTrack;
}

bool CDialogBarLayout::TrackEdge(BarPoint point)
{
    if (!m_bTrackingEdge || IsFloating())
        return false;
    const BarPoint centre = m_rectTrack.Centre();
    if (IsHorizontal()) {
        const std::int32_t offset = point.y - centre.y;
        m_rectTrack.top += offset;
        m_rectTrack.bottom += offset;
        return offset != 0;
    }
    const std::int32_t offset = point.x - centre.x;
    m_rectTrack.left += offset;
    m_rectTrack.right += offset;
    return offset != 0;
}

void CDialogBarLayout::EndEdgeDrag(bool bAccept, BarSize frame)
{
    if (!m_bTrackingEdge)
        return;
    m_bTrackingEdge = false;
    if (!bAccept)
        return;
    const bool horz = IsHorizontal();
    std::int32_t& size = horz ? m_sizeDockedHorz.cy : m_sizeDockedVert.cx;
    const std::int32_t upper = (horz ? frame.cy : frame.cx) + size;
    const std::int32_t lower = horz ? m_sizeMinimum.cy : m_sizeMinimum.cx;
    const BarPoint p = m_rectTrack.Centre();
    std::int32_t wanted = size;
    switch (m_nDockSide) {
    case AFX_IDW_DOCKBAR_TOP: wanted += p.y - m_ptTrackStart.y; break;
    case AFX_IDW_DOCKBAR_BOTTOM: wanted += m_ptTrackStart.y - p.y; break;
    case AFX_IDW_DOCKBAR_LEFT: wanted += p.x - m_ptTrackStart.x; break;
    case AFX_IDW_DOCKBAR_RIGHT: wanted += m_ptTrackStart.x - p.x; break;
    default: break;
    }
    size = std::max(std::min(wanted, upper), lower);
}

BarSize CDialogBarLayout::CalcDynamicLayout(std::int32_t nLength, std::uint32_t dwMode,
                                            DockExtents docks, CornerSizing& sizing)
{
    if (dwMode & (LM_HORZDOCK | LM_VERTDOCK))
        return CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZ, docks);
    if (dwMode & LM_MRUWIDTH)
        return m_sizeFloating;
    if (dwMode & LM_COMMIT) {
        m_sizeFloating.cx = nLength;
        return m_sizeFloating;
    }
    if (IsFloating() && sizing.corner != CornerSizing::NONE) {
        const BarPoint c = sizing.cursor;
        const BarRect& r = sizing.frame;
        const bool left = sizing.corner == CornerSizing::TOP_LEFT ||
                          sizing.corner == CornerSizing::BOTTOM_LEFT;
        const bool top = sizing.corner == CornerSizing::TOP_LEFT ||
                         sizing.corner == CornerSizing::TOP_RIGHT;
        m_sizeFloating.cx = left ? std::max(r.right - c.x, m_cxMinFloat) - m_nBorderInset
                                 : std::max(c.x - r.left, m_cxMinFloat);
        m_sizeFloating.cy = top ? std::max(r.bottom - m_cySmallCaption - c.y, m_cyMinFloat) - 1
                                : std::max(c.y - m_cySmallCaption - r.top, m_cyMinFloat);
        if (top)
            sizing.dragRect.top =
                std::min(c.y, r.bottom - m_cySmallCaption - m_cyMinFloat) - m_nFloatTopAdjust;
        if (left)
            sizing.dragRect.left = std::min(c.x, r.right - m_cxMinFloat) - 1;
        return m_sizeFloating;
    }
    if (dwMode & LM_LENGTHY) {
        m_sizeFloating.cy = std::max(nLength, m_sizeMinimum.cy);
        return m_sizeFloating;
    }
    return {std::max(nLength, m_sizeMinimum.cx), m_sizeFloating.cy};
}
