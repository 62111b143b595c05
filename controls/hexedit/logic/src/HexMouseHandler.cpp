#include "HexMouseHandler.h"

#include "HexEditState.h"

namespace {

// Clicks from this cell column on are ignored: the widest layout (8-digit addresses) ends
// its ASCII cells one column before.
constexpr int32_t kFirstIgnoredColumn = 41;

}  // namespace

bool CHexMouseHandler::Press(int32_t x, int32_t y, bool shift)
{
    CHexEditState& s = m_state;
    if (!s.m_pData)
        return false;
    const auto hit = s.m_layout.HitTest(x, y, s.m_nTopIndex, s.m_nLength);
    if (!hit || hit->area == AREA_ADDRESS || hit->column >= kFirstIgnoredColumn ||
        hit->index >= s.m_nLength)
        return false;

    const int32_t before = s.m_nCurrent;
    s.m_nCurrent = hit->index;
    s.m_nArea = hit->area;
    s.m_ptCaret = {hit->column * s.m_layout.m_nCharWidth, hit->row * s.m_layout.m_nLineHeight};
    s.m_caret = HexCaret{s.m_ptCaret, 1, false};
    if (shift) {
        s.m_nSelStart = before;
        FollowCaret();
        return false;
    }
    return true;
}

void CHexMouseHandler::StartDrag()
{
    m_state.m_nSelStart = m_state.m_nSelEnd = m_state.m_nCurrent;
}

void CHexMouseHandler::EndClick()
{
    m_state.m_nSelStart = m_state.m_nSelEnd = -1;
    m_state.m_caret.shown = true;
}

void CHexMouseHandler::Drag(int32_t x, int32_t y)
{
    CHexEditState& s = m_state;
    if (!s.m_pData || !s.HasSelection())
        return;
    const int32_t height = s.m_layout.m_nClientHeight;
    if (y < 0) {
        s.LineUp();
        s.PlaceCaret(s.m_nCurrent);
        y = 0;
    } else if (y > height) {
        s.LineDown();
        s.PlaceCaret(s.m_nCurrent);
        y = height - 1;
    }
    if (const auto hit = s.m_layout.HitTest(x, y, s.m_nTopIndex, s.m_nLength)) {
        s.m_nCurrent = hit->index;
        s.m_nArea = hit->area;
        FollowCaret();
    }
    s.m_caret.shown = false;
}

void CHexMouseHandler::FollowCaret()
{
    m_state.SetSelEnd(m_state.m_nCurrent + (IsHexArea(m_state.m_nArea) ? 1 : 0));
}
