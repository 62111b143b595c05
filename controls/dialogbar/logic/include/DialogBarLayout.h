// The arithmetic of a control bar that hosts one dialog: a remembered size for each
// placement (docked top or bottom, docked left or right, floating), the insets and the
// 3-pixel sizing edge of a docked bar, the drag of that edge with its tracking rectangle
// and bounds, and the sizes the bar answers when its frame lays it out. No window system:
// the widget feeds it sizes and points in the bar's own window coordinates.
#pragma once

#include "BarGeometry.h"

#include <cstdint>

// The placement is the ID of the window the bar sits in: one of the frame's dock bars,
// the dock bar of a floating frame, or anything else for a bar standing as a plain child.
enum DockBarId : std::int32_t {
    AFX_IDW_DOCKBAR_TOP = 0xE81B,
    AFX_IDW_DOCKBAR_LEFT = 0xE81C,
    AFX_IDW_DOCKBAR_RIGHT = 0xE81D,
    AFX_IDW_DOCKBAR_BOTTOM = 0xE81E,
    AFX_IDW_DOCKBAR_FLOAT = 0xE81F,
};

// Border styles of a control bar, and the mask of every bar style.
inline constexpr std::uint32_t CBRS_BORDER_LEFT = 0x0100;
inline constexpr std::uint32_t CBRS_BORDER_TOP = 0x0200;
inline constexpr std::uint32_t CBRS_BORDER_RIGHT = 0x0400;
inline constexpr std::uint32_t CBRS_BORDER_BOTTOM = 0x0800;
inline constexpr std::uint32_t CBRS_BORDER_ANY = 0x0F00;
inline constexpr std::uint32_t CBRS_ALL = 0x0040FFFF;

// Layout-mode flags of CalcDynamicLayout.
inline constexpr std::uint32_t LM_STRETCH = 0x01;
inline constexpr std::uint32_t LM_HORZ = 0x02;
inline constexpr std::uint32_t LM_MRUWIDTH = 0x04;
inline constexpr std::uint32_t LM_HORZDOCK = 0x08;
inline constexpr std::uint32_t LM_VERTDOCK = 0x10;
inline constexpr std::uint32_t LM_LENGTHY = 0x20;
inline constexpr std::uint32_t LM_COMMIT = 0x40;

// The length a bar answers for a stretching side.
inline constexpr std::int32_t STRETCH_LENGTH = 32767;

// The frame's top dock bar width and left dock bar height, for bars that do not stretch.
struct DockExtents {
    std::int32_t topWidth = 0;
    std::int32_t leftHeight = 0;
};

// A floating frame being sized from one of its corners: the cursor and the frame's window
// rectangle in screen coordinates, and the rectangle where the frame will be placed, whose
// top and left corner sizing moves.
struct CornerSizing {
    enum Corner { NONE, TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT };
    Corner corner = NONE;
    BarPoint cursor;
    BarRect frame;
    BarRect dragRect;
};

class CDialogBarLayout {
public:
    // The platform's smallest window width and height, and its small-caption height.
    CDialogBarLayout(std::int32_t cxMinFloat, std::int32_t cyMinFloat, std::int32_t cySmallCaption);

    // The sizes of a bar made around a dialog of window size dialog: floating exactly the
    // dialog, docked 6 pixels longer across (the edge and the inset beside it).
    void SetDialogSize(BarSize dialog);

    bool IsFloating() const { return m_nDockSide == AFX_IDW_DOCKBAR_FLOAT; }
    // Docked at the top or bottom; every other bar counts as vertical.
    bool IsHorizontal() const;

    BarSize CalcFixedLayout(bool bStretch, bool bHorz, DockExtents docks) const;

    // Places the insets and the sizing edge for a window of size window by m_nDockSide:
    // returns client shrunk by the insets, sets m_rectEdge (empty when not docked) and
    // m_dwStyle (all borders, less the one on the edge's side).
    BarRect CalcNcLayout(BarSize window, BarRect client);

    // A point of the bar's window on the sizing edge of a bar that is not floating.
    bool HitTestEdge(BarPoint point) const;

    // Starts an edge drag; returns the tracking rectangle to draw.
    BarRect BeginEdgeDrag();
    // Follows the mouse at point (the bar's window coordinates) along the bar's axis:
    // true when the tracking rectangle moved, so the old one is erased and the new one
    // drawn; false, drawing nothing, when its centre already is there.
    bool TrackEdge(BarPoint point);
    // Ends the drag. Accepted, the docked size across moves by the distance the tracking
    // centre travelled toward the frame's centre, bounded below by m_sizeMinimum and above
    // by frame (the docking frame's window size) plus the size before the drag; the lower
    // bound wins. Cancelled, nothing changes.
    void EndEdgeDrag(bool bAccept, BarSize frame);

    // The size for a layout in mode dwMode with length nLength; sizing is used only for a
    // floating bar sized from a corner, and its dragRect's top and left are moved.
    BarSize CalcDynamicLayout(std::int32_t nLength, std::uint32_t dwMode, DockExtents docks,
                              CornerSizing& sizing);

    BarSize m_sizeMinimum{32, 32};
    BarSize m_sizeDockedHorz{140, 140};   // only its height is used
    BarSize m_sizeDockedVert{140, 140};   // only its width is used
    BarSize m_sizeFloating{140, 140};
    BarRect m_rectEdge;
    BarRect m_rectTrack;
    std::int32_t m_nDockSide = 0;
    BarPoint m_ptTrackStart;
    bool m_bTrackingEdge = false;
    std::uint32_t m_dwStyle = 0;

    static constexpr std::int32_t m_nEdgeWidth = 3;
    static constexpr std::int32_t m_nLeadInset = 4;
    static constexpr std::int32_t m_nBorderInset = 3;
    static constexpr std::int32_t m_nFloatTopAdjust = 3;
    std::int32_t m_cxMinFloat;
    std::int32_t m_cyMinFloat;
    std::int32_t m_cySmallCaption;
};
