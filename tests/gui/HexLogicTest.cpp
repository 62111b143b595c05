// The hex editor's rules without a widget: layout, caret moves, keys, typing, mouse,
// clipboard payloads and scrolling, on data built here. Cells are 8 x 16 pixels.
#include "HexClipboard.h"
#include "HexEditState.h"
#include "HexKeyHandler.h"
#include "HexLayout.h"
#include "HexMouseHandler.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int32_t kCw = 8;
constexpr int32_t kLh = 16;

// bytes 0, 1, 2, ... of length, shown with 4-digit addresses in a client `lines` lines
// high, laid out as the first paint does.
std::vector<uint8_t> Counting(int32_t length)
{
    std::vector<uint8_t> bytes(static_cast<std::size_t>(length));
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes;
}

void Load(CHexEditState& state, const std::vector<uint8_t>& bytes, int32_t lines)
{
    state.SetData(bytes.data(), static_cast<int32_t>(bytes.size()));
    state.m_layout.m_bWideAddress = false;
    state.m_layout.m_nCharWidth = kCw;
    state.m_layout.m_nLineHeight = kLh;
    state.m_layout.m_nClientWidth = 400;
    state.m_layout.m_nClientHeight = lines * kLh;
    state.UpdateLayout();
}

// "current area [sel start..end] [top n]", area h/l for the hex digits, a for ASCII,
// @ for the address column; the selection ends as stored, unordered.
std::string Describe(const CHexEditState& s)
{
    static constexpr char kAreas[] = {'@', 'a', 'h', 'l'};
    std::string text = std::to_string(s.m_nCurrent) + kAreas[s.m_nArea];
    if (s.HasSelection())
        text += " sel " + std::to_string(s.m_nSelStart) + ".." + std::to_string(s.m_nSelEnd);
    if (s.m_nTopIndex != 0)
        text += " top " + std::to_string(s.m_nTopIndex);
    return text;
}

// The pixel in the middle of cell column col, and of row row.
int32_t CellX(int32_t col)
{
    return col * kCw + kCw / 2;
}
int32_t RowY(int32_t row)
{
    return row * kLh + kLh / 2;
}

class HexEditorTest : public ::testing::Test {
protected:
    void SetUp() override { Load(state, Counting(64), 4); }

    // Presses each key of keys once (shift and ctrl for all) and describes the state.
    std::string Keys(std::initializer_list<HexKey> keys, bool shift = false, bool ctrl = false)
    {
        for (HexKey key : keys)
            keys_.KeyDown(key, shift, ctrl);
        return Describe(state);
    }
    void Type(const std::string& text)
    {
        for (char c : text)
            keys_.Char(static_cast<unsigned char>(c), false);
    }
    void At(int32_t current, HexArea area)
    {
        state.m_nCurrent = current;
        state.m_nArea = area;
    }
    uint8_t Byte(int32_t index) const { return state.m_pData[index]; }

    CHexEditState state;
    CHexKeyHandler keys_{state};
    CHexMouseHandler mouse{state};
    CHexClipboard clipboard{state};
};

}  // namespace

TEST(HexLayoutTest, CountsLinesOfDataThatFitsTheOldWay)
{
    CHexEditState state;
    Load(state, Counting(13), 10);
    EXPECT_EQ(state.m_layout.m_nVisibleLines, 3);
    EXPECT_TRUE(state.m_layout.m_bLastLinePartial);
    Load(state, Counting(16), 10);
    EXPECT_EQ(state.m_layout.m_nVisibleLines, 2);
    EXPECT_FALSE(state.m_layout.m_bLastLinePartial);
    Load(state, Counting(10), 10);
    EXPECT_EQ(state.m_layout.m_nVisibleLines, 2);
    // More data than fits: the client's whole lines.
    Load(state, Counting(100), 4);
    EXPECT_EQ(state.m_layout.m_nVisibleLines, 4);
    EXPECT_FALSE(state.m_layout.m_bLastLinePartial);
}

TEST(HexLayoutTest, PlacesColumnsByCells)
{
    CHexLayout layout;
    layout.m_nCharWidth = kCw;
    layout.m_bWideAddress = false;
    layout.Compute(64);
    EXPECT_EQ(layout.m_nHexX, 5 * kCw);
    EXPECT_EQ(layout.m_nAsciiX, 29 * kCw);
    layout.m_bWideAddress = true;
    layout.Compute(64);
    EXPECT_EQ(layout.m_nHexX, 9 * kCw);
    EXPECT_EQ(layout.m_nAsciiX, 33 * kCw);
    layout.m_bShowAddress = false;
    layout.m_bShowHex = false;
    layout.Compute(64);
    EXPECT_EQ(layout.m_nHexX, 0);
    EXPECT_EQ(layout.m_nAsciiX, 0);
    // Without a cell size nothing counts as visible and nothing is hit.
    layout.m_nCharWidth = 0;
    layout.m_nClientHeight = 100;
    layout.Compute(64);
    EXPECT_EQ(layout.m_nVisibleLines, 0);
    EXPECT_FALSE(layout.HitTest(10, 10, 0, 64));
}

TEST_F(HexEditorTest, HitTestsCellsColumnsAndBlanks)
{
    auto hit = state.m_layout.HitTest(CellX(5 + 3 * 2), RowY(1), 0, 64);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->area, AREA_HEX_HIGH);
    EXPECT_EQ(hit->index, 10);
    hit = state.m_layout.HitTest(CellX(5 + 3 * 2 + 2), RowY(1), 0, 64);  // the blank after it
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->area, AREA_HEX_LOW);
    EXPECT_EQ(hit->index, 10);
    EXPECT_EQ(hit->column, 5 + 3 * 2 + 1);
    hit = state.m_layout.HitTest(CellX(29 + 3), RowY(2), 8, 64);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->area, AREA_ASCII);
    EXPECT_EQ(hit->index, 8 + 16 + 3);
    hit = state.m_layout.HitTest(CellX(2), RowY(3), 0, 64);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->area, AREA_ADDRESS);
    EXPECT_EQ(hit->index, 24);
    // Left of the control counts as its first column; right of the ASCII cells is nothing.
    hit = state.m_layout.HitTest(-30, RowY(0), 0, 64);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->area, AREA_ADDRESS);
    EXPECT_FALSE(state.m_layout.HitTest(CellX(29 + 9), RowY(0), 0, 64));
    EXPECT_FALSE(state.m_layout.HitTest(CellX(6), RowY(4), 0, 64));  // below the last line
    EXPECT_FALSE(state.m_layout.HitTest(CellX(6), -kLh - 1, 0, 64));
}

TEST_F(HexEditorTest, HitsPastTheDataStopAtItsEnd)
{
    Load(state, Counting(13), 10);  // lines 0..7 and 8..12
    auto hit = state.m_layout.HitTest(CellX(5 + 3 * 6), RowY(1), 0, 13);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->index, 13);
    EXPECT_FALSE(state.m_layout.HitTest(CellX(6), RowY(3), 0, 13));
}

TEST_F(HexEditorTest, CellPointsOfBytesAboveTheViewLieAboveIt)
{
    EXPECT_EQ(state.m_layout.CellPoint(9, 0, AREA_HEX_LOW), (HexPoint{(5 + 4) * kCw, kLh}));
    EXPECT_EQ(state.m_layout.CellPoint(9, 0, AREA_ASCII), (HexPoint{30 * kCw, kLh}));
    EXPECT_EQ(state.m_layout.CellPoint(15, 16, AREA_HEX_HIGH).y, -kLh);
}

TEST_F(HexEditorTest, NibbleMovesStopAtBothEnds)
{
    EXPECT_EQ(Keys({HexKey::Left}), "0h");
    EXPECT_EQ(Keys({HexKey::Right}), "0l");
    EXPECT_EQ(Keys({HexKey::Right}), "1h");
    EXPECT_EQ(Keys({HexKey::Left, HexKey::Left}), "0h");
    EXPECT_EQ(Keys({HexKey::Backspace}), "0h");
    // Each move from beyond the view scrolls it one line.
    At(63, AREA_HEX_LOW);
    EXPECT_EQ(Keys({HexKey::Right}), "63l top 8");
    At(62, AREA_HEX_LOW);
    EXPECT_EQ(Keys({HexKey::Right, HexKey::Right, HexKey::Right}), "63l top 32");
}

TEST_F(HexEditorTest, LineMovesStayInTheDataAndScrollALine)
{
    At(3, AREA_ASCII);
    EXPECT_EQ(Keys({HexKey::Up}), "0a");
    EXPECT_EQ(Keys({HexKey::Down, HexKey::Down, HexKey::Down, HexKey::Down}), "32a top 8");
    At(60, AREA_ASCII);
    EXPECT_EQ(Keys({HexKey::Down}), "60a top 16");
    EXPECT_EQ(Keys({HexKey::Right, HexKey::Right, HexKey::Right, HexKey::Right}), "63a top 32");
}

TEST_F(HexEditorTest, ShiftSelectsForwardAndBackward)
{
    At(2, AREA_HEX_HIGH);
    EXPECT_EQ(Keys({HexKey::Right}, true), "2l sel 2..3");
    EXPECT_EQ(Keys({HexKey::Right, HexKey::Right}, true), "3l sel 2..4");
    EXPECT_EQ(Keys({HexKey::Left}), "3h");  // unshifted drops it

    At(5, AREA_HEX_HIGH);
    EXPECT_EQ(Keys({HexKey::Left}, true), "4l sel 5..4");
    EXPECT_EQ(clipboard.Copy()->bytes, std::vector<uint8_t>{4});

    At(1, AREA_ASCII);
    state.m_nSelStart = -1;
    EXPECT_EQ(Keys({HexKey::Down}, true), "9a sel 1..9");
    state.m_nSelStart = -1;
    EXPECT_EQ(Keys({HexKey::Up}, true), "1a sel 9..1");
    At(2, AREA_HEX_HIGH);
    state.m_nSelStart = -1;
    EXPECT_EQ(Keys({HexKey::Down}, true), "10h sel 2..11");
}

TEST_F(HexEditorTest, HomeAndEndOnFullAndPartialLines)
{
    Load(state, Counting(13), 10);
    At(9, AREA_HEX_LOW);
    EXPECT_EQ(Keys({HexKey::End}), "12l");
    EXPECT_EQ(Keys({HexKey::Home}), "8l");
    At(2, AREA_ASCII);
    EXPECT_EQ(Keys({HexKey::End}), "7a");
    EXPECT_EQ(Keys({HexKey::End}, true, true), "12a sel 7..12");
    EXPECT_EQ(Keys({HexKey::Home}, true, true), "0a sel 7..0");
}

TEST_F(HexEditorTest, CtrlEndShowsTheLastByte)
{
    Load(state, Counting(20), 10);
    EXPECT_EQ(Keys({HexKey::End}, false, true), "19h");
    At(0, AREA_HEX_HIGH);
    EXPECT_EQ(Keys({HexKey::End}, true, true), "19h sel 0..19");

    Load(state, Counting(100), 4);
    EXPECT_EQ(Keys({HexKey::End}, false, true), "99h top 72");
    EXPECT_EQ(Keys({HexKey::Home}, false, true), "0h");
    // (99 + 4) / 8 lines round down; the caret move adds the missing line.
    Load(state, Counting(99), 4);
    EXPECT_EQ(Keys({HexKey::End}, false, true), "98h top 72");
}

TEST_F(HexEditorTest, PageKeysScrollWithoutMovingTheCaretByte)
{
    Load(state, Counting(100), 4);
    At(3, AREA_HEX_HIGH);
    state.m_nSelStart = 3;
    state.m_nSelEnd = 5;
    EXPECT_EQ(Keys({HexKey::PageDown}), "3h sel 3..5 top 32");
    EXPECT_EQ(Keys({HexKey::PageDown}), "3h sel 3..5 top 64");
    // The last page ends with the last line of data.
    EXPECT_EQ(Keys({HexKey::PageDown}), "3h sel 3..5 top 72");
    EXPECT_EQ(Keys({HexKey::PageDown}), "3h sel 3..5 top 72");
    EXPECT_FALSE(state.m_caret.shown);
    EXPECT_EQ(Keys({HexKey::PageUp, HexKey::PageUp}), "3h sel 3..5 top 8");
    EXPECT_EQ(Keys({HexKey::PageUp, HexKey::PageUp}), "3h sel 3..5");
    EXPECT_TRUE(state.m_caret.shown);
}

TEST_F(HexEditorTest, TabSwitchesBetweenHexAndAscii)
{
    EXPECT_EQ(Keys({HexKey::Tab}), "0a");
    EXPECT_EQ(Keys({HexKey::Tab}), "0h");
    At(4, AREA_ADDRESS);
    EXPECT_EQ(Keys({HexKey::Right}), "4@");  // the address column does not move
    EXPECT_EQ(Keys({HexKey::Tab}), "4h");
    EXPECT_FALSE(keys_.KeyDown(HexKey::Other, false, false));
}

TEST_F(HexEditorTest, TypingHexDigitsOverwritesNibbles)
{
    state.m_pData[0] = 0x00;
    state.m_nSelStart = 3;
    state.m_nSelEnd = 6;
    Type("g");
    EXPECT_EQ(Byte(0), 0x00);
    EXPECT_EQ(Describe(state), "0h");  // the selection is gone
    Type("41");
    EXPECT_EQ(Byte(0), 0x41);
    EXPECT_EQ(Describe(state), "1h");
    Type("Ab");
    EXPECT_EQ(Byte(1), 0xAB);
    At(5, AREA_HEX_LOW);  // byte 5 holds 0x05
    Type("c");
    EXPECT_EQ(Byte(5), 0x0C);
    EXPECT_EQ(Describe(state), "6h");
    // The last byte stays the caret byte; the view pages down to it.
    At(63, AREA_HEX_LOW);
    Type("e");
    EXPECT_EQ(Byte(63), 0x3E);
    EXPECT_EQ(Describe(state), "63l top 40");
}

TEST_F(HexEditorTest, TypingCharactersInTheAsciiColumn)
{
    At(0, AREA_ASCII);
    Type("A");
    keys_.Char(13, false);
    keys_.Char(1, true);        // Ctrl+A
    keys_.Char(0x4E2D, false);  // only the low 8 bits are kept
    EXPECT_EQ(Byte(0), 0x41);
    EXPECT_EQ(Byte(1), 0x0D);
    EXPECT_EQ(Byte(2), 0x01);
    EXPECT_EQ(Byte(3), 0x2D);
    EXPECT_EQ(Describe(state), "4a");
    At(5, AREA_ADDRESS);
    Type("7");
    EXPECT_EQ(Byte(5), 5);
}

TEST_F(HexEditorTest, CtrlCharactersAskForClipboardCommands)
{
    EXPECT_EQ(keys_.Char(3, true), HexCommand::None);
    EXPECT_EQ(keys_.Char(24, true), HexCommand::None);
    EXPECT_EQ(keys_.Char(22, true), HexCommand::Paste);
    state.m_nSelStart = 1;
    state.m_nSelEnd = 4;
    EXPECT_EQ(keys_.Char(3, true), HexCommand::Copy);
    EXPECT_EQ(keys_.Char(24, true), HexCommand::Cut);
    EXPECT_EQ(keys_.Char(26, true), HexCommand::None);
    EXPECT_EQ(keys_.Char('\t', false), HexCommand::None);
    EXPECT_EQ(Describe(state), "0h sel 1..4");
    EXPECT_EQ(Byte(0), 0);
}

TEST_F(HexEditorTest, CopyPayloadsFromBothColumns)
{
    state.m_pData[10] = 0x00;
    state.m_pData[11] = 0x41;
    state.m_pData[12] = 0xFF;
    state.m_nSelStart = 10;
    state.m_nSelEnd = 13;
    At(12, AREA_HEX_LOW);
    auto payload = clipboard.Copy();
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->bytes, (std::vector<uint8_t>{0x00, 0x41, 0xFF}));
    EXPECT_EQ(payload->text, "00 41 FF ");
    At(12, AREA_ASCII);
    EXPECT_EQ(clipboard.Copy()->text, ".A.");
    state.m_nSelStart = state.m_nSelEnd = -1;
    payload = clipboard.Copy();
    ASSERT_TRUE(payload);
    EXPECT_TRUE(payload->bytes.empty());
    EXPECT_TRUE(payload->text.empty());
}

TEST_F(HexEditorTest, BackwardSelectionsCopyCutAndClearLikeForwardOnes)
{
    At(5, AREA_ASCII);
    state.m_nSelStart = 8;  // dragged from 8 back to 5
    state.m_nSelEnd = 5;
    EXPECT_EQ(clipboard.Copy()->bytes, (std::vector<uint8_t>{5, 6, 7}));
    EXPECT_EQ(Describe(state), "5a sel 5..8");

    state.m_nSelStart = 8;
    state.m_nSelEnd = 5;
    EXPECT_EQ(clipboard.Cut()->bytes, (std::vector<uint8_t>{5, 6, 7}));
    EXPECT_EQ(Byte(4), 4);
    EXPECT_EQ(Byte(5) | Byte(6) | Byte(7), 0);
    EXPECT_EQ(Byte(8), 8);
    EXPECT_EQ(state.m_nLength, 64);

    state.m_nSelStart = 20;
    state.m_nSelEnd = 17;
    At(20, AREA_ASCII);
    clipboard.Clear();
    EXPECT_EQ(Describe(state), "17a sel 17..20");
    EXPECT_EQ(Byte(16), 16);
    EXPECT_EQ(Byte(17) | Byte(18) | Byte(19), 0);
    EXPECT_EQ(Byte(20), 20);
    EXPECT_FALSE(state.m_caret.shown);
}

TEST_F(HexEditorTest, ClearWithoutSelectionChangesNothing)
{
    At(7, AREA_HEX_HIGH);
    clipboard.Clear();
    EXPECT_EQ(Describe(state), "7h");
    EXPECT_EQ(Byte(7), 7);
}

TEST_F(HexEditorTest, PasteIsCutOffAtTheEnd)
{
    const std::vector<uint8_t> ten(10, 0xEE);
    At(59, AREA_HEX_HIGH);
    clipboard.Paste(ten);
    EXPECT_EQ(Byte(58), 58);
    for (int32_t i = 59; i < 64; ++i)
        EXPECT_EQ(Byte(i), 0xEE) << i;
    EXPECT_EQ(state.m_nLength, 64);
    EXPECT_EQ(Describe(state), "63h");

    At(10, AREA_ASCII);
    clipboard.Paste(std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(Describe(state), "13a");
    EXPECT_EQ(Byte(12), 3);
    EXPECT_EQ(Byte(13), 13);
    clipboard.Paste({});
    EXPECT_EQ(Describe(state), "13a");
}

TEST_F(HexEditorTest, PasteOverASelectionZeroesItFirst)
{
    state.m_nSelStart = 6;
    state.m_nSelEnd = 2;
    clipboard.Paste(std::vector<uint8_t>{0xAA, 0xBB});
    EXPECT_EQ(Byte(1), 1);
    EXPECT_EQ(Byte(2), 0xAA);
    EXPECT_EQ(Byte(3), 0xBB);
    EXPECT_EQ(Byte(4) | Byte(5), 0);
    EXPECT_EQ(Byte(6), 6);
    EXPECT_EQ(Describe(state), "4h");
    EXPECT_TRUE(state.m_bLayoutDirty);
}

TEST_F(HexEditorTest, ClicksPlaceTheCaretOrAreIgnored)
{
    EXPECT_TRUE(mouse.Press(CellX(5 + 3 * 3 + 1), RowY(1), false));
    mouse.EndClick();
    EXPECT_EQ(Describe(state), "11l");
    EXPECT_TRUE(state.m_caret.shown);
    EXPECT_EQ(state.m_caret.point, (HexPoint{(5 + 3 * 3 + 1) * kCw, kLh}));

    state.m_nSelStart = 2;
    state.m_nSelEnd = 4;
    EXPECT_FALSE(mouse.Press(CellX(1), RowY(2), false));  // address column
    EXPECT_FALSE(mouse.Press(CellX(6), RowY(4), false));  // below the last line
    EXPECT_EQ(Describe(state), "11l sel 2..4");

    Load(state, Counting(13), 10);
    EXPECT_FALSE(mouse.Press(CellX(29 + 6), RowY(1), false));  // past the data
    EXPECT_EQ(Describe(state), "0h");
}

TEST_F(HexEditorTest, ShiftClickSelectsFromTheCaretByte)
{
    At(3, AREA_HEX_HIGH);
    EXPECT_FALSE(mouse.Press(CellX(5 + 3 * 1), RowY(1), true));
    EXPECT_EQ(Describe(state), "9h sel 3..10");
    At(20, AREA_ASCII);
    state.m_nSelStart = -1;
    EXPECT_FALSE(mouse.Press(CellX(29 + 2), RowY(1), true));
    EXPECT_EQ(Describe(state), "10a sel 20..10");
}

TEST_F(HexEditorTest, DragsSelectInBothDirections)
{
    ASSERT_TRUE(mouse.Press(CellX(5 + 3 * 4), RowY(0), false));
    mouse.StartDrag();
    mouse.Drag(CellX(5 + 3 * 2), RowY(1));
    EXPECT_EQ(Describe(state), "10h sel 4..11");  // bytes 4 to 10
    EXPECT_FALSE(state.m_caret.shown);

    ASSERT_TRUE(mouse.Press(CellX(5 + 3 * 2), RowY(1), false));
    mouse.StartDrag();
    mouse.Drag(CellX(5 + 3 * 4), RowY(0));
    EXPECT_EQ(Describe(state), "4h sel 10..5");  // bytes 5 to 9
    EXPECT_EQ(clipboard.Copy()->bytes, (std::vector<uint8_t>{5, 6, 7, 8, 9}));

    // Over the address column the end goes to the start of that line.
    ASSERT_TRUE(mouse.Press(CellX(5 + 3 * 2), RowY(1), false));
    mouse.StartDrag();
    mouse.Drag(CellX(1), RowY(2));
    EXPECT_EQ(Describe(state), "16@ sel 10..16");
}

TEST_F(HexEditorTest, DragsPastTheEdgesScrollALine)
{
    state.ScrollToLine(2);
    ASSERT_TRUE(mouse.Press(CellX(29), RowY(0), false));
    mouse.StartDrag();
    mouse.Drag(CellX(29), -40);
    EXPECT_EQ(Describe(state), "8a sel 16..8 top 8");
    mouse.Drag(CellX(29 + 7), 4 * kLh + 40);
    EXPECT_EQ(Describe(state), "47a sel 16..47 top 16");
    mouse.Drag(CellX(29 + 7), 4 * kLh + 40);
    mouse.Drag(CellX(29 + 7), 4 * kLh + 40);
    EXPECT_EQ(Describe(state), "63a sel 16..63 top 32");
}

TEST_F(HexEditorTest, WheelReachesTheEndOfLongData)
{
    Load(state, Counting(1001), 4);
    state.Wheel(120);
    EXPECT_EQ(state.m_nTopIndex, 0);
    state.Wheel(-120);
    EXPECT_EQ(state.m_nTopIndex, 16);
    for (int i = 0; i < 100; ++i)
        state.Wheel(-240);
    // The view ends with the last, partial line: 976 + 4 lines of 8 bytes covers 1000.
    EXPECT_EQ(state.m_nTopIndex, 976);
    EXPECT_EQ(state.m_nTopIndex, state.LastTopIndex());
    state.Wheel(-120);
    EXPECT_EQ(state.m_nTopIndex, 976);
    state.Wheel(360);
    EXPECT_EQ(state.m_nTopIndex, 928);
    state.Wheel(60);  // less than a notch
    EXPECT_EQ(state.m_nTopIndex, 928);
    state.ScrollToLine(124);  // beyond, with the thumb
    state.Wheel(-120);
    EXPECT_EQ(state.m_nTopIndex, 992);
    state.Wheel(120);
    EXPECT_EQ(state.m_nTopIndex, 976);

    Load(state, Counting(20), 10);  // everything fits
    state.Wheel(-120);
    EXPECT_EQ(state.m_nTopIndex, 0);
}

TEST_F(HexEditorTest, LineAndPageStepsStopAtTheEnd)
{
    Load(state, Counting(61), 4);
    for (int i = 0; i < 10; ++i)
        state.LineDown();
    EXPECT_EQ(state.m_nTopIndex, 32);
    state.ScrollToLine(0);
    state.PageDown();
    state.PageDown();
    EXPECT_EQ(state.m_nTopIndex, 32);
    state.PageUp();
    EXPECT_EQ(state.m_nTopIndex, 0);
    state.LineUp();
    EXPECT_EQ(state.m_nTopIndex, 0);
}

TEST_F(HexEditorTest, TypingEndsWhenLessThanALineFits)
{
    Load(state, Counting(64), 0);
    ASSERT_EQ(state.m_layout.m_nVisibleLines, 0);
    At(0, AREA_HEX_HIGH);
    state.ScrollToLine(3);
    Type("5");
    EXPECT_EQ(Byte(0), 0x50);
    EXPECT_EQ(state.m_nCurrent, 0);

    At(40, AREA_ASCII);
    state.ScrollToLine(0);
    Type("x");
    EXPECT_EQ(Byte(40), 'x');
    EXPECT_EQ(state.m_nCurrent, 41);
}

TEST(HexEmptyDataTest, NothingIsReadOrWritten)
{
    CHexEditState state;
    CHexKeyHandler keys(state);
    CHexMouseHandler mouse(state);
    CHexClipboard clipboard(state);
    EXPECT_FALSE(keys.KeyDown(HexKey::Right, false, false));  // no data at all yet
    EXPECT_FALSE(clipboard.Copy());

    Load(state, {}, 4);
    EXPECT_FALSE(state.m_caret.shown);
    for (HexKey key : {HexKey::Right, HexKey::End, HexKey::PageDown, HexKey::Down})
        for (bool ctrl : {false, true})
            EXPECT_FALSE(keys.KeyDown(key, true, ctrl));
    EXPECT_EQ(keys.Char('a', false), HexCommand::None);
    state.m_nArea = AREA_ASCII;
    EXPECT_EQ(keys.Char('a', false), HexCommand::None);
    clipboard.Paste(std::vector<uint8_t>{1, 2, 3});
    EXPECT_FALSE(mouse.Press(CellX(6), RowY(0), false));
    state.SelectAll();
    const auto payload = clipboard.Copy();
    ASSERT_TRUE(payload);
    EXPECT_TRUE(payload->bytes.empty());
    clipboard.Clear();
    state.Wheel(-120);
    EXPECT_EQ(Describe(state), "0a sel 0..0");
    EXPECT_FALSE(state.m_caret.shown);
    EXPECT_EQ(state.m_nLength, 0);
}
