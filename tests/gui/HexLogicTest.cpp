// The hex editor's rules without a widget, on data built here: bytes 0, 1, 2, ... in a
// client a given number of lines high, with 4-digit addresses and 8 x 16 pixel cells.
// Positions are written as "current area [sel start..end] [top n]", the area being h or l
// for the hex digits, a for ASCII and @ for the address column.
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
constexpr int kShift = 1;
constexpr int kCtrl = 2;

void Load(CHexEditState& state, int32_t length, int32_t lines)
{
    std::vector<uint8_t> bytes(static_cast<std::size_t>(length));
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    state.SetData(bytes.data(), length);
    state.m_layout.m_bWideAddress = false;
    state.m_layout.m_nCharWidth = kCw;
    state.m_layout.m_nLineHeight = kLh;
    state.m_layout.m_nClientWidth = 400;
    state.m_layout.m_nClientHeight = lines * kLh;
    state.UpdateLayout();
}

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

// The middle of cell column col, and of row row.
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
    void SetUp() override { Load(state, 64, 4); }

    void At(int32_t current, HexArea area, int32_t selStart = -1, int32_t selEnd = -1)
    {
        state.m_nCurrent = current;
        state.m_nArea = area;
        state.m_nSelStart = selStart;
        state.m_nSelEnd = selEnd;
    }
    void Type(const std::string& text)
    {
        for (char c : text)
            keys.Char(static_cast<unsigned char>(c), false);
    }
    uint8_t Byte(int32_t index) const { return state.m_pData[index]; }

    CHexEditState state;
    CHexKeyHandler keys{state};
    CHexMouseHandler mouse{state};
    CHexClipboard clipboard{state};
};

}  // namespace

TEST(HexLayoutTest, CountsLinesAndPlacesColumns)
{
    CHexEditState state;
    // Data that fits counts (length + half a line) / 8 lines, plus one when partial.
    for (const auto& [length, lines, partial] :
         {std::tuple{13, 3, true}, {16, 2, false}, {10, 2, true}, {100, 4, false}}) {
        Load(state, length, 10 - 6 * (length == 100));
        EXPECT_EQ(state.m_layout.m_nVisibleLines, lines) << length;
        EXPECT_EQ(state.m_layout.m_bLastLinePartial, partial) << length;
    }
    EXPECT_EQ(state.m_layout.m_nHexX, 5 * kCw);
    EXPECT_EQ(state.m_layout.m_nAsciiX, 29 * kCw);
    state.m_layout.m_bWideAddress = true;
    state.m_layout.Compute(64);
    EXPECT_EQ(state.m_layout.m_nAsciiX, 33 * kCw);
    state.m_layout.m_bShowAddress = false;
    state.m_layout.m_bShowHex = false;
    state.m_layout.Compute(64);
    EXPECT_EQ(state.m_layout.m_nAsciiX, 0);
    // Without a cell size nothing is visible and nothing is hit.
    state.m_layout.m_nLineHeight = 0;
    state.m_layout.Compute(64);
    EXPECT_EQ(state.m_layout.m_nVisibleLines, 0);
    EXPECT_FALSE(state.m_layout.HitTest(10, 10, 0, 64));
}

TEST_F(HexEditorTest, HitTestsCellsBlanksAndColumns)
{
    const CHexLayout& layout = state.m_layout;
    struct Case {
        int32_t x, y, top, length;
        HexArea area;
        int32_t index, column;
    };
    for (const Case& c : {
             Case{CellX(11), RowY(1), 0, 64, AREA_HEX_HIGH, 10, 11},
             Case{CellX(13), RowY(1), 0, 64, AREA_HEX_LOW, 10, 12},  // the blank after 10
             Case{CellX(32), RowY(2), 8, 64, AREA_ASCII, 27, 32},
             Case{CellX(2), RowY(3), 0, 64, AREA_ADDRESS, 24, 0},
             Case{-30, RowY(0), 0, 64, AREA_ADDRESS, 0, 0},  // left of the control
             Case{CellX(23), RowY(1), 0, 13, AREA_HEX_HIGH, 13, 23},  // past the data
         }) {
        const auto hit = layout.HitTest(c.x, c.y, c.top, c.length);
        ASSERT_TRUE(hit) << c.x << "," << c.y;
        EXPECT_EQ(hit->area, c.area) << c.x;
        EXPECT_EQ(hit->index, c.index) << c.x;
        EXPECT_EQ(hit->column, c.column) << c.x;
    }
    EXPECT_FALSE(layout.HitTest(CellX(38), RowY(0), 0, 64));  // right of the ASCII cells
    EXPECT_FALSE(layout.HitTest(CellX(6), RowY(4), 0, 64));   // below the last line
    EXPECT_FALSE(layout.HitTest(CellX(6), -kLh - 1, 0, 64));
    EXPECT_EQ(layout.CellPoint(9, 0, AREA_HEX_LOW), (HexPoint{9 * kCw, kLh}));
    EXPECT_EQ(layout.CellPoint(15, 16, AREA_ASCII).y, -kLh);  // above the view
}

TEST(HexKeysTest, MovesSelectsAndScrolls)
{
    struct Case {
        const char* what;
        int32_t length, lines, current;
        HexArea area;
        std::vector<HexKey> keys;
        int modifiers;
        const char* expected;
    };
    using K = HexKey;
    const Case cases[] = {
        {"left on byte 0", 64, 4, 0, AREA_HEX_HIGH, {K::Left}, 0, "0h"},
        {"right by nibbles", 64, 4, 0, AREA_HEX_HIGH, {K::Right, K::Right}, 0, "1h"},
        {"left into the byte before", 64, 4, 1, AREA_HEX_HIGH, {K::Left}, 0, "0l"},
        {"backspace only moves", 64, 4, 1, AREA_HEX_HIGH, {K::Backspace}, 0, "0l"},
        {"right on the last digit", 64, 4, 63, AREA_HEX_LOW, {K::Right}, 0, "63l top 8"},
        {"up on the first line", 64, 4, 3, AREA_ASCII, {K::Up}, 0, "0a"},
        {"down scrolls one line", 64, 4, 1, AREA_ASCII, {K::Down, K::Down, K::Down, K::Down},
         0, "33a top 8"},
        {"down on the last line", 64, 4, 60, AREA_ASCII, {K::Down}, 0, "60a top 8"},
        {"shift right", 64, 4, 2, AREA_HEX_HIGH, {K::Right, K::Right, K::Right}, kShift,
         "3l sel 2..4"},
        {"shift left", 64, 4, 5, AREA_HEX_HIGH, {K::Left}, kShift, "4l sel 5..4"},
        {"shift down in hex", 64, 4, 2, AREA_HEX_HIGH, {K::Down}, kShift, "10h sel 2..11"},
        {"shift up in ASCII", 64, 4, 9, AREA_ASCII, {K::Up}, kShift, "1a sel 9..1"},
        {"end of the partial last line", 13, 10, 9, AREA_HEX_LOW, {K::End}, 0, "12l"},
        {"home", 13, 10, 9, AREA_HEX_LOW, {K::Home}, 0, "8l"},
        {"end of a full line", 13, 10, 2, AREA_ASCII, {K::End}, 0, "7a"},
        {"shift end", 13, 10, 9, AREA_ASCII, {K::End}, kShift, "12a sel 9..12"},
        {"ctrl end, all fits", 20, 10, 0, AREA_HEX_HIGH, {K::End}, kCtrl, "19h"},
        {"shift ctrl end, all fits", 20, 10, 0, AREA_HEX_HIGH, {K::End}, kShift | kCtrl,
         "19h sel 0..19"},
        {"ctrl end", 100, 4, 0, AREA_HEX_HIGH, {K::End}, kCtrl, "99h top 72"},
        {"ctrl end, top rounded down", 99, 4, 0, AREA_HEX_HIGH, {K::End}, kCtrl, "98h top 72"},
        {"ctrl home", 100, 4, 50, AREA_ASCII, {K::End, K::Home}, kCtrl, "0a"},
        {"page down", 100, 4, 3, AREA_HEX_HIGH, {K::PageDown, K::PageDown}, 0, "3h top 64"},
        {"last page", 100, 4, 3, AREA_HEX_HIGH, {K::PageDown, K::PageDown, K::PageDown,
         K::PageDown}, 0, "3h top 72"},
        {"page up", 100, 4, 3, AREA_HEX_HIGH, {K::PageDown, K::PageDown, K::PageUp}, 0,
         "3h top 32"},
        {"tab to ASCII", 64, 4, 4, AREA_HEX_LOW, {K::Tab}, 0, "4a"},
        {"tab to hex", 64, 4, 4, AREA_ASCII, {K::Tab}, 0, "4h"},
        {"address column stays", 64, 4, 4, AREA_ADDRESS, {K::Right}, 0, "4@"},
        {"tab leaves it", 64, 4, 4, AREA_ADDRESS, {K::Tab}, 0, "4h"},
    };
    for (const Case& c : cases) {
        CHexEditState state;
        CHexKeyHandler keys(state);
        Load(state, c.length, c.lines);
        state.m_nCurrent = c.current;
        state.m_nArea = c.area;
        for (HexKey key : c.keys)
            keys.KeyDown(key, c.modifiers & kShift, c.modifiers & kCtrl);
        EXPECT_EQ(Describe(state), c.expected) << c.what;
    }
}

TEST_F(HexEditorTest, PageKeysKeepTheSelectionAndHideTheCaret)
{
    At(3, AREA_HEX_HIGH, 3, 5);
    keys.KeyDown(HexKey::PageDown, false, false);
    EXPECT_EQ(Describe(state), "3h sel 3..5 top 32");
    EXPECT_FALSE(state.m_caret.shown);
    keys.KeyDown(HexKey::PageUp, false, false);
    EXPECT_EQ(Describe(state), "3h sel 3..5");
    EXPECT_TRUE(state.m_caret.shown);
    EXPECT_FALSE(keys.KeyDown(HexKey::Other, false, false));
}

TEST_F(HexEditorTest, TypesHexDigitsAndCharacters)
{
    At(0, AREA_HEX_HIGH, 3, 6);
    Type("g");  // no digit: only drops the selection
    EXPECT_EQ(Describe(state), "0h");
    EXPECT_EQ(Byte(0), 0);
    Type("41Ab");
    EXPECT_EQ(Byte(0), 0x41);
    EXPECT_EQ(Byte(1), 0xAB);
    EXPECT_EQ(Describe(state), "2h");
    At(5, AREA_HEX_LOW);
    Type("c");
    EXPECT_EQ(Byte(5), 0x0C);
    At(63, AREA_HEX_LOW);  // the last byte stays the caret byte and is paged into view
    Type("e");
    EXPECT_EQ(Byte(63), 0x3E);
    EXPECT_EQ(Describe(state), "63l top 40");

    At(10, AREA_ASCII);
    Type("A");
    keys.Char(13, false);
    keys.Char(1, true);        // Ctrl+A
    keys.Char(0x4E2D, false);  // only the low 8 bits
    EXPECT_EQ(Byte(10), 0x41);
    EXPECT_EQ(Byte(11), 0x0D);
    EXPECT_EQ(Byte(12), 0x01);
    EXPECT_EQ(Byte(13), 0x2D);
    EXPECT_EQ(state.m_nCurrent, 14);
    At(20, AREA_ADDRESS);
    Type("7");
    EXPECT_EQ(Byte(20), 20);
}

TEST_F(HexEditorTest, CtrlCharactersAskForClipboardCommands)
{
    EXPECT_EQ(keys.Char(3, true), HexCommand::None);
    EXPECT_EQ(keys.Char(24, true), HexCommand::None);
    EXPECT_EQ(keys.Char(22, true), HexCommand::Paste);
    At(0, AREA_HEX_HIGH, 1, 4);
    EXPECT_EQ(keys.Char(3, true), HexCommand::Copy);
    EXPECT_EQ(keys.Char(24, true), HexCommand::Cut);
    EXPECT_EQ(keys.Char(26, true), HexCommand::None);
    EXPECT_EQ(keys.Char('\t', false), HexCommand::None);
    EXPECT_EQ(Describe(state), "0h sel 1..4");
}

TEST_F(HexEditorTest, CopiesFromBothColumns)
{
    state.m_pData[11] = 0x41;
    state.m_pData[12] = 0xFF;
    state.m_pData[10] = 0x00;
    At(12, AREA_HEX_LOW, 10, 13);
    auto payload = clipboard.Copy();
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->bytes, (std::vector<uint8_t>{0x00, 0x41, 0xFF}));
    EXPECT_EQ(payload->text, "00 41 FF ");
    At(12, AREA_ASCII, 13, 10);
    EXPECT_EQ(clipboard.Copy()->text, ".A.");
    EXPECT_EQ(Describe(state), "12a sel 10..13");
    At(12, AREA_ASCII);
    payload = clipboard.Copy();
    EXPECT_TRUE(payload->bytes.empty() && payload->text.empty());
}

TEST_F(HexEditorTest, CutsAndClearsBackwardSelections)
{
    At(5, AREA_ASCII, 8, 5);
    EXPECT_EQ(clipboard.Cut()->bytes, (std::vector<uint8_t>{5, 6, 7}));
    EXPECT_EQ((std::vector<uint8_t>{Byte(4), Byte(5), Byte(7), Byte(8)}),
              (std::vector<uint8_t>{4, 0, 0, 8}));
    EXPECT_EQ(state.m_nLength, 64);

    At(20, AREA_ASCII, 20, 17);
    clipboard.Clear();
    EXPECT_EQ(Describe(state), "17a sel 17..20");
    EXPECT_EQ((std::vector<uint8_t>{Byte(16), Byte(17), Byte(19), Byte(20)}),
              (std::vector<uint8_t>{16, 0, 0, 20}));
    EXPECT_FALSE(state.m_caret.shown);
    At(30, AREA_ASCII);
    clipboard.Clear();
    EXPECT_EQ(Byte(30), 30);
}

TEST_F(HexEditorTest, PastesCutOffAtTheEndAndOverSelections)
{
    At(59, AREA_HEX_HIGH);
    clipboard.Paste(std::vector<uint8_t>(10, 0xEE));
    EXPECT_EQ(Byte(58), 58);
    EXPECT_EQ(Byte(59), 0xEE);
    EXPECT_EQ(Byte(63), 0xEE);
    EXPECT_EQ(Describe(state), "63h");

    At(10, AREA_ASCII);
    clipboard.Paste(std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(Byte(12), 3);
    EXPECT_EQ(Describe(state), "13a");
    clipboard.Paste({});
    EXPECT_EQ(Describe(state), "13a");

    At(0, AREA_HEX_HIGH, 6, 2);
    clipboard.Paste(std::vector<uint8_t>{0xAA, 0xBB});
    EXPECT_EQ((std::vector<uint8_t>{Byte(1), Byte(2), Byte(3), Byte(4), Byte(5), Byte(6)}),
              (std::vector<uint8_t>{1, 0xAA, 0xBB, 0, 0, 6}));
    EXPECT_EQ(Describe(state), "4h");
}

TEST_F(HexEditorTest, ClicksAndDragsSelect)
{
    EXPECT_TRUE(mouse.Press(CellX(15), RowY(1), false));
    mouse.EndClick();
    EXPECT_EQ(Describe(state), "11l");
    EXPECT_EQ(state.m_caret.point, (HexPoint{15 * kCw, kLh}));
    EXPECT_FALSE(mouse.Press(CellX(8), RowY(0), true));
    EXPECT_EQ(Describe(state), "1h sel 11..2");

    // Ignored: the address column, below the last line, past the data.
    EXPECT_FALSE(mouse.Press(CellX(1), RowY(2), false));
    EXPECT_FALSE(mouse.Press(CellX(6), RowY(4), false));
    EXPECT_EQ(Describe(state), "1h sel 11..2");

    ASSERT_TRUE(mouse.Press(CellX(17), RowY(0), false));  // byte 4
    mouse.StartDrag();
    mouse.Drag(CellX(11), RowY(1));  // byte 10
    EXPECT_EQ(Describe(state), "10h sel 4..11");
    EXPECT_FALSE(state.m_caret.shown);
    ASSERT_TRUE(mouse.Press(CellX(11), RowY(1), false));
    mouse.StartDrag();
    mouse.Drag(CellX(17), RowY(0));
    EXPECT_EQ(clipboard.Copy()->bytes, (std::vector<uint8_t>{5, 6, 7, 8, 9}));
    // Copy left the selection ordered; over the address column the end goes to the start
    // of that line.
    mouse.Drag(CellX(1), RowY(2));
    EXPECT_EQ(Describe(state), "16@ sel 5..16");

    Load(state, 13, 10);
    EXPECT_FALSE(mouse.Press(CellX(29 + 6), RowY(1), false));
    EXPECT_EQ(Describe(state), "0h");
}

TEST_F(HexEditorTest, DragsPastTheEdgesScrollALine)
{
    state.ScrollToLine(2);
    ASSERT_TRUE(mouse.Press(CellX(29), RowY(0), false));
    mouse.StartDrag();
    mouse.Drag(CellX(29), -40);
    EXPECT_EQ(Describe(state), "8a sel 16..8 top 8");
    for (int i = 0; i < 3; ++i)
        mouse.Drag(CellX(36), 4 * kLh + 40);
    EXPECT_EQ(Describe(state), "63a sel 16..63 top 32");
}

TEST_F(HexEditorTest, WheelAndStepsReachTheEndOfLongData)
{
    Load(state, 1001, 4);
    state.Wheel(120);
    EXPECT_EQ(state.m_nTopIndex, 0);
    state.Wheel(-120);
    EXPECT_EQ(state.m_nTopIndex, 16);
    for (int i = 0; i < 100; ++i)
        state.Wheel(-240);
    EXPECT_EQ(state.m_nTopIndex, 976);  // 4 lines from there end with byte 1000
    state.Wheel(360);
    state.Wheel(60);  // less than a notch
    EXPECT_EQ(state.m_nTopIndex, 928);
    state.ScrollToLine(124);  // past the end, with the thumb
    state.Wheel(-120);
    EXPECT_EQ(state.m_nTopIndex, 992);

    for (int i = 0; i < 200; ++i)
        state.LineDown();
    EXPECT_EQ(state.m_nTopIndex, 992);
    state.ScrollToLine(0);
    for (int i = 0; i < 200; ++i)
        state.LineDown();
    EXPECT_EQ(state.m_nTopIndex, state.LastTopIndex());

    Load(state, 20, 10);  // everything fits
    state.Wheel(-120);
    EXPECT_EQ(state.m_nTopIndex, 0);
}

TEST_F(HexEditorTest, TypingEndsWhenLessThanALineFits)
{
    Load(state, 64, 0);
    ASSERT_EQ(state.m_layout.m_nVisibleLines, 0);
    At(0, AREA_HEX_HIGH);
    state.ScrollToLine(3);
    Type("5");
    EXPECT_EQ(Byte(0), 0x50);
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
    EXPECT_FALSE(clipboard.Copy());  // no data at all yet

    Load(state, 0, 4);
    EXPECT_FALSE(state.m_caret.shown);
    for (HexKey key : {HexKey::Right, HexKey::End, HexKey::PageDown, HexKey::Down})
        for (bool ctrl : {false, true})
            EXPECT_FALSE(keys.KeyDown(key, true, ctrl));
    for (HexArea area : {AREA_HEX_HIGH, AREA_ASCII}) {
        state.m_nArea = area;
        EXPECT_EQ(keys.Char('a', false), HexCommand::None);
    }
    clipboard.Paste(std::vector<uint8_t>{1, 2, 3});
    EXPECT_FALSE(mouse.Press(CellX(6), RowY(0), false));
    state.SelectAll();
    EXPECT_TRUE(clipboard.Cut()->bytes.empty());
    clipboard.Clear();
    state.Wheel(-120);
    EXPECT_EQ(Describe(state), "0a sel 0..0");
    EXPECT_FALSE(state.m_caret.shown);
    EXPECT_EQ(state.m_nLength, 0);
}
