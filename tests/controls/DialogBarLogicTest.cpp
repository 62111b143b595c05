// The dialog bar's arithmetic without widgets: sizes per placement, insets and sizing
// edge, the edge drag with its bounds and cancellation, and the layout answers.
#include "DialogBarLayout.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr BarSize kFrame{800, 600};

// A bar made around a 200 x 400 dialog, placed at side and laid out at its placement's size.
CDialogBarLayout DockedBar(std::int32_t side)
{
    CDialogBarLayout bar(112, 27, 18);
    bar.SetDialogSize({200, 400});
    bar.m_nDockSide = side;
    const bool horz = bar.IsHorizontal();
    const BarSize window{horz ? 500 : bar.m_sizeDockedVert.cx, horz ? bar.m_sizeDockedHorz.cy : 500};
    bar.CalcNcLayout(window, {0, 0, window.cx, window.cy});
    return bar;
}

// Drags the edge of bar from its centre by (dx, dy) and releases it (or loses the capture).
void DragEdge(CDialogBarLayout& bar, std::int32_t dx, std::int32_t dy, bool accept = true,
              BarSize frame = kFrame)
{
    bar.BeginEdgeDrag();
    const BarPoint start = bar.m_ptTrackStart;
    bar.TrackEdge({start.x + dx, start.y + dy});
    bar.EndEdgeDrag(accept, frame);
}

std::int32_t DockedSize(const CDialogBarLayout& bar)
{
    return bar.IsHorizontal() ? bar.m_sizeDockedHorz.cy : bar.m_sizeDockedVert.cx;
}

}  // namespace

TEST(DialogBarSizes, StartFromTheDialog)
{
    CDialogBarLayout bar(112, 27, 18);
    EXPECT_EQ(bar.m_sizeFloating, (BarSize{140, 140}));
    EXPECT_EQ(bar.m_sizeMinimum, (BarSize{32, 32}));
    bar.SetDialogSize({200, 400});
    EXPECT_EQ(bar.m_sizeFloating, (BarSize{200, 400}));
    EXPECT_EQ(bar.m_sizeDockedHorz.cy, 406);
    EXPECT_EQ(bar.m_sizeDockedVert.cx, 206);
}

TEST(DialogBarInsets, EdgeFacesTheFrameCentreAndItsBorderGoes)
{
    struct Case {
        std::int32_t side;
        BarRect client;
        BarRect edge;
        std::uint32_t borderGone;
    };
    const Case cases[] = {
        {AFX_IDW_DOCKBAR_TOP, {4, 3, 97, 47}, {0, 47, 100, 50}, CBRS_BORDER_BOTTOM},
        {AFX_IDW_DOCKBAR_BOTTOM, {4, 3, 97, 47}, {0, 0, 100, 3}, CBRS_BORDER_TOP},
        {AFX_IDW_DOCKBAR_LEFT, {3, 4, 97, 47}, {97, 0, 100, 50}, CBRS_BORDER_RIGHT},
        {AFX_IDW_DOCKBAR_RIGHT, {3, 4, 97, 47}, {0, 0, 3, 50}, CBRS_BORDER_LEFT},
        {AFX_IDW_DOCKBAR_FLOAT, {0, 0, 100, 50}, {}, 0},
        {0, {0, 0, 100, 50}, {}, 0},   // standing as a plain child of the frame
    };
    for (const Case& c : cases) {
        CDialogBarLayout bar(112, 27, 18);
        bar.m_dwStyle = 0x1404;
        bar.m_nDockSide = c.side;
        EXPECT_EQ(bar.CalcNcLayout({100, 50}, {0, 0, 100, 50}), c.client) << c.side;
        EXPECT_EQ(bar.m_rectEdge, c.edge) << c.side;
        EXPECT_EQ(bar.m_dwStyle, (0x1404 | CBRS_BORDER_ANY) & ~c.borderGone) << c.side;
        EXPECT_EQ(bar.HitTestEdge({c.edge.left, c.edge.top}), !c.edge.IsEmpty()) << c.side;
        EXPECT_FALSE(bar.HitTestEdge({50, 25}));
    }
}

TEST(DialogBarEdgeDrag, EachEdgeGrowsTowardTheFrameCentre)
{
    struct Case {
        std::int32_t side;
        std::int32_t dx, dy;
        std::int32_t size;
    };
    const Case cases[] = {
        {AFX_IDW_DOCKBAR_LEFT, 50, 0, 256},
        {AFX_IDW_DOCKBAR_RIGHT, 50, 0, 156},
        {AFX_IDW_DOCKBAR_TOP, 0, 30, 436},
        {AFX_IDW_DOCKBAR_BOTTOM, 0, 30, 376},
        {AFX_IDW_DOCKBAR_LEFT, 0, 70, 206},   // across the axis: no change
    };
    for (const Case& c : cases) {
        CDialogBarLayout bar = DockedBar(c.side);
        DragEdge(bar, c.dx, c.dy);
        EXPECT_EQ(DockedSize(bar), c.size) << c.side;
        EXPECT_FALSE(bar.m_bTrackingEdge);
    }
}

TEST(DialogBarEdgeDrag, SizeStaysWithinItsBoundsAndTheLowerBoundWins)
{
    CDialogBarLayout bar = DockedBar(AFX_IDW_DOCKBAR_LEFT);
    DragEdge(bar, -1000, 0);
    EXPECT_EQ(DockedSize(bar), 32);

    bar = DockedBar(AFX_IDW_DOCKBAR_TOP);
    DragEdge(bar, 0, 5000, true, {800, 300});
    EXPECT_EQ(DockedSize(bar), 300 + 406);

    bar = DockedBar(AFX_IDW_DOCKBAR_RIGHT);
    bar.m_sizeDockedVert.cx = 10;   // upper bound 0 + 10, below the lower bound
    DragEdge(bar, -100, 0, true, {0, 0});
    EXPECT_EQ(DockedSize(bar), 32);
}

TEST(DialogBarEdgeDrag, CancelledDragChangesNothing)
{
    CDialogBarLayout bar = DockedBar(AFX_IDW_DOCKBAR_LEFT);
    DragEdge(bar, 80, 0, false);
    EXPECT_EQ(DockedSize(bar), 206);
    EXPECT_FALSE(bar.m_bTrackingEdge);
}

TEST(DialogBarEdgeDrag, TrackingRectangleFollowsOnlyWhenItsCentreMoves)
{
    CDialogBarLayout left = DockedBar(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(left.BeginEdgeDrag(), (BarRect{203, 0, 206, 496}));   // 4 short of the bottom
    EXPECT_EQ(left.m_ptTrackStart, (BarPoint{204, 250}));

    CDialogBarLayout bar = DockedBar(AFX_IDW_DOCKBAR_BOTTOM);
    const BarRect start = bar.BeginEdgeDrag();
    EXPECT_EQ(start, (BarRect{0, 0, 500, 3}));
    EXPECT_FALSE(bar.TrackEdge({bar.m_ptTrackStart.x + 40, bar.m_ptTrackStart.y}));
    EXPECT_EQ(bar.m_rectTrack, start);
    EXPECT_TRUE(bar.TrackEdge({0, bar.m_ptTrackStart.y + 9}));
    EXPECT_EQ(bar.m_rectTrack, (BarRect{0, 9, 500, 12}));
    EXPECT_FALSE(bar.TrackEdge({0, bar.m_ptTrackStart.y + 9}));
}

TEST(DialogBarLayoutAnswers, FixedLayoutByPlacement)
{
    CDialogBarLayout bar = DockedBar(AFX_IDW_DOCKBAR_TOP);
    const DockExtents docks{700, 450};
    EXPECT_EQ(bar.CalcFixedLayout(true, true, docks), (BarSize{STRETCH_LENGTH, 406}));
    EXPECT_EQ(bar.CalcFixedLayout(false, true, docks), (BarSize{704, 406}));
    EXPECT_EQ(bar.CalcFixedLayout(true, false, docks), (BarSize{206, STRETCH_LENGTH}));
    EXPECT_EQ(bar.CalcFixedLayout(false, false, docks), (BarSize{206, 454}));
    bar.m_nDockSide = AFX_IDW_DOCKBAR_FLOAT;
    EXPECT_EQ(bar.CalcFixedLayout(false, true, docks), (BarSize{200, 400}));
}

TEST(DialogBarLayoutAnswers, DynamicLayoutModes)
{
    CDialogBarLayout bar = DockedBar(AFX_IDW_DOCKBAR_LEFT);
    CornerSizing none;
    EXPECT_EQ(bar.CalcDynamicLayout(0, LM_VERTDOCK | LM_STRETCH, {}, none),
              (BarSize{206, STRETCH_LENGTH}));
    EXPECT_EQ(bar.CalcDynamicLayout(0, LM_HORZDOCK | LM_HORZ, {700, 0}, none), (BarSize{704, 406}));
    EXPECT_EQ(bar.CalcDynamicLayout(5, LM_MRUWIDTH | LM_COMMIT, {}, none), (BarSize{200, 400}));
    EXPECT_EQ(bar.CalcDynamicLayout(20, LM_LENGTHY, {}, none), (BarSize{200, 32}));
    EXPECT_EQ(bar.CalcDynamicLayout(90, LM_LENGTHY, {}, none), (BarSize{200, 90}));
    // A plain length is answered but only a commit stores it.
    EXPECT_EQ(bar.CalcDynamicLayout(10, LM_HORZ, {}, none), (BarSize{32, 90}));
    EXPECT_EQ(bar.m_sizeFloating.cx, 200);
    EXPECT_EQ(bar.CalcDynamicLayout(250, LM_HORZ | LM_COMMIT, {}, none), (BarSize{250, 90}));
    // Corner sizing applies only to a floating bar.
    CornerSizing corner{CornerSizing::TOP_LEFT, {150, 120}, {100, 100, 400, 500}, {}};
    EXPECT_EQ(bar.CalcDynamicLayout(300, LM_LENGTHY, {}, corner), (BarSize{250, 300}));
}

TEST(DialogBarLayoutAnswers, FloatingFrameSizedFromEachCorner)
{
    struct Case {
        CornerSizing::Corner corner;
        BarPoint cursor;
        BarSize size;
        BarRect dragRect;
    };
    // Frame (100, 100) - (400, 500); minimum 112 x 27; caption 18; drag rectangle starts 0.
    const Case cases[] = {
        {CornerSizing::TOP_LEFT, {150, 120}, {247, 361}, {149, 117, 0, 0}},
        {CornerSizing::TOP_LEFT, {390, 490}, {109, 26}, {287, 452, 0, 0}},   // held at the minimum
        {CornerSizing::TOP_RIGHT, {350, 120}, {250, 361}, {0, 117, 0, 0}},
        {CornerSizing::BOTTOM_LEFT, {150, 450}, {247, 332}, {149, 0, 0, 0}},
        {CornerSizing::BOTTOM_RIGHT, {350, 450}, {250, 332}, {}},
        {CornerSizing::BOTTOM_RIGHT, {110, 110}, {112, 27}, {}},
    };
    for (const Case& c : cases) {
        CDialogBarLayout bar = DockedBar(AFX_IDW_DOCKBAR_FLOAT);
        CornerSizing sizing{c.corner, c.cursor, {100, 100, 400, 500}, {}};
        EXPECT_EQ(bar.CalcDynamicLayout(0, LM_HORZ, {}, sizing), c.size) << c.corner;
        EXPECT_EQ(bar.m_sizeFloating, c.size);
        EXPECT_EQ(sizing.dragRect, c.dragRect) << c.corner;
    }
}
