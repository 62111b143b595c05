// The hex editor widget driven offscreen with QTest key, mouse and wheel events, the
// scroll bar's actions and the real clipboard.
#include "HexEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <memory>
#include <vector>

class HexEditTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typesDigitsAndCharacters();
    void keepsTabAndMovesWithKeys();
    void clicksShiftClicksAndDrags();
    void ignoresClicksOffTheBytes();
    void wheelReachesTheEndOfLongData();
    void scrollBarStepsMoveOnlyTheView();
    void copyAndPasteRoundTripThroughBinaryData();
    void pastesPlainTextAsCharacterCodes();
    void cutsAndClearsFromTheContextMenu();
    void emptyDataIsNeverTouched();

private:
    // Loads length bytes 0, 1, 2, ... and lays them out as the first paint does.
    void Load(int length);
    uint8_t Byte(int index) const { return m_edit->State().m_pData[index]; }
    // Middle of byte index's high digit, low digit or ASCII cell in the current view.
    QPoint Cell(int index, HexArea area) const;
    void Drag(QPoint from, QPoint to);
    void Wheel(int amount);

    std::unique_ptr<QWidget> m_window;
    CHexEdit* m_edit = nullptr;
    QLineEdit* m_other = nullptr;
};

void HexEditTest::init()
{
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_edit = new CHexEdit;
    m_other = new QLineEdit;
    layout->addWidget(m_edit);
    layout->addWidget(m_other);
    m_window->resize(420, 240);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void HexEditTest::cleanup()
{
    m_window.reset();
}

void HexEditTest::Load(int length)
{
    std::vector<uint8_t> bytes(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
    m_edit->SetData(bytes.data(), length);
    m_edit->State().m_layout.m_bWideAddress = false;
    m_edit->viewport()->repaint();
    QVERIFY(!m_edit->State().m_bLayoutDirty);
}

QPoint HexEditTest::Cell(int index, HexArea area) const
{
    const CHexLayout& layout = m_edit->State().m_layout;
    const HexPoint point = layout.CellPoint(index, m_edit->State().m_nTopIndex, area);
    return QPoint(point.x + layout.m_nCharWidth / 2, point.y + layout.m_nLineHeight / 2);
}

void HexEditTest::Drag(QPoint from, QPoint to)
{
    QWidget* viewport = m_edit->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    for (const QPoint point : {from + QPoint(0, 1), to}) {
        QMouseEvent move(QEvent::MouseMove, point, viewport->mapToGlobal(point), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
}

void HexEditTest::Wheel(int amount)
{
    const QPoint point(10, 10);
    QWheelEvent wheel(point, m_edit->viewport()->mapToGlobal(point), QPoint(), QPoint(0, amount),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_edit->viewport(), &wheel);
}

void HexEditTest::typesDigitsAndCharacters()
{
    Load(64);
    QTest::keyClicks(m_edit, QStringLiteral("41g"));
    QCOMPARE(Byte(0), uint8_t{0x41});
    QCOMPARE(Byte(1), uint8_t{1});
    QCOMPARE(m_edit->State().m_nCurrent, 1);
    QCOMPARE(m_edit->State().m_nArea, AREA_HEX_HIGH);

    QTest::keyClick(m_edit, Qt::Key_Tab);
    QTest::keyClicks(m_edit, QStringLiteral("Z"));
    QTest::keyClick(m_edit, Qt::Key_Return);
    QTest::keyClick(m_edit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(Byte(1), uint8_t{'Z'});
    QCOMPARE(Byte(2), uint8_t{0x0D});
    QCOMPARE(Byte(3), uint8_t{0x01});
    QCOMPARE(m_edit->State().m_nCurrent, 4);
}

void HexEditTest::keepsTabAndMovesWithKeys()
{
    Load(300);
    QTest::keyClick(m_edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_edit);
    QCOMPARE(m_edit->State().m_nArea, AREA_ASCII);
    QTest::keyClick(m_edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_edit, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_edit->State().m_nSelStart, 0);
    QCOMPARE(m_edit->State().m_nSelEnd, 9);
    QTest::keyClick(m_edit, Qt::Key_Left);
    QVERIFY(!m_edit->State().HasSelection());
    QTest::keyClick(m_edit, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_edit->State().m_nCurrent, 299);
    QCOMPARE(m_edit->verticalScrollBar()->value(), m_edit->State().m_nTopIndex / 8);
    QVERIFY(m_edit->State().m_nTopIndex > 0);
    QTest::keyClick(m_edit, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(m_edit->State().m_nCurrent, 0);
    QCOMPARE(m_edit->verticalScrollBar()->value(), 0);
}

void HexEditTest::clicksShiftClicksAndDrags()
{
    Load(64);
    QWidget* viewport = m_edit->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(10, AREA_HEX_LOW));
    QCOMPARE(m_edit->State().m_nCurrent, 10);
    QCOMPARE(m_edit->State().m_nArea, AREA_HEX_LOW);
    QVERIFY(!m_edit->State().HasSelection());
    QVERIFY(m_edit->State().m_caret.shown);

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, Cell(12, AREA_HEX_HIGH));
    QCOMPARE(m_edit->State().m_nSelStart, 10);
    QCOMPARE(m_edit->State().m_nSelEnd, 13);

    Drag(Cell(4, AREA_HEX_HIGH), Cell(10, AREA_HEX_HIGH));
    QCOMPARE(m_edit->State().m_nSelStart, 4);
    QCOMPARE(m_edit->State().m_nSelEnd, 11);
    Drag(Cell(10, AREA_ASCII), Cell(4, AREA_ASCII));
    QCOMPARE(m_edit->State().m_nSelStart, 10);
    QCOMPARE(m_edit->State().m_nSelEnd, 4);

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(20, AREA_ASCII));
    QVERIFY(!m_edit->State().HasSelection());
    QCOMPARE(m_edit->State().m_nCurrent, 20);
}

void HexEditTest::ignoresClicksOffTheBytes()
{
    Load(13);
    QWidget* viewport = m_edit->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(9, AREA_HEX_HIGH));
    QTest::keyClick(m_edit, Qt::Key_Right, Qt::ShiftModifier);
    const CHexEditState& state = m_edit->State();
    QCOMPARE(state.m_nSelEnd, 10);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(3, Cell(0, AREA_ASCII).y()));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(14, AREA_HEX_HIGH));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(40, AREA_ASCII));
    QCOMPARE(state.m_nCurrent, 9);
    QCOMPARE(state.m_nSelStart, 9);
    QCOMPARE(state.m_nSelEnd, 10);
}

void HexEditTest::wheelReachesTheEndOfLongData()
{
    Load(2000);
    const CHexEditState& state = m_edit->State();
    Wheel(120);
    QCOMPARE(state.m_nTopIndex, 0);
    Wheel(-120);
    QCOMPARE(state.m_nTopIndex, 16);
    for (int i = 0; i < 200; ++i)
        Wheel(-120);
    QCOMPARE(state.m_nTopIndex, state.LastTopIndex());
    QVERIFY(state.m_nTopIndex > 400);
    QCOMPARE(m_edit->verticalScrollBar()->value(), state.m_nTopIndex / 8);
    // The last line of data is the last one counted as visible.
    QCOMPARE(state.m_nTopIndex + state.m_layout.BytesShown(), 2000);
}

void HexEditTest::scrollBarStepsMoveOnlyTheView()
{
    Load(400);
    QScrollBar* bar = m_edit->verticalScrollBar();
    const CHexEditState& state = m_edit->State();
    const int lines = state.m_layout.m_nVisibleLines;
    QCOMPARE(bar->maximum(), 400 / 8 - lines + 1);
    QCOMPARE(bar->pageStep(), lines);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(state.m_nTopIndex, 8);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(state.m_nTopIndex, 8 + 8 * lines);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(state.m_nTopIndex, 8 + 8 * lines);
    QCOMPARE(bar->value(), 1 + lines);
    bar->setSliderPosition(3);
    bar->triggerAction(QAbstractSlider::SliderMove);
    QCOMPARE(state.m_nTopIndex, 24);
    QCOMPARE(state.m_nCurrent, 0);
    QVERIFY(!state.m_caret.shown);
}

void HexEditTest::copyAndPasteRoundTripThroughBinaryData()
{
    Load(64);
    QWidget* viewport = m_edit->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(0x30, AREA_HEX_HIGH));
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(m_edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_edit, Qt::Key_C, Qt::ControlModifier);

    const QMimeData* mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->data(CHexEdit::BinaryDataFormat()), QByteArray("\x30\x31\x32", 3));
    QCOMPARE(mime->text(), QStringLiteral("30 31 32 "));

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(62, AREA_ASCII));
    QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Byte(62), uint8_t{0x30});
    QCOMPARE(Byte(63), uint8_t{0x31});
    QCOMPARE(Byte(61), uint8_t{61});
    QCOMPARE(m_edit->State().m_nLength, 64);
    QCOMPARE(m_edit->State().m_nCurrent, 63);
}

void HexEditTest::pastesPlainTextAsCharacterCodes()
{
    Load(64);
    QApplication::clipboard()->setText(QStringLiteral("0A!"));
    QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Byte(0), uint8_t{'0'});
    QCOMPARE(Byte(1), uint8_t{'A'});
    QCOMPARE(Byte(2), uint8_t{'!'});
    QCOMPARE(Byte(3), uint8_t{3});
    QCOMPARE(m_edit->State().m_nCurrent, 3);
}

void HexEditTest::cutsAndClearsFromTheContextMenu()
{
    Load(64);
    QTest::keyClick(m_edit, Qt::Key_Tab);
    QTest::keyClick(m_edit, Qt::Key_Right);
    QTest::keyClick(m_edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->mimeData()->text(), QStringLiteral(".."));
    QCOMPARE(Byte(1), uint8_t{0});
    QCOMPARE(Byte(2), uint8_t{0});
    QCOMPARE(Byte(3), uint8_t{3});

    QTest::mouseClick(m_edit->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      Cell(6, AREA_ASCII));
    QTest::mouseClick(m_edit->viewport(), Qt::RightButton, Qt::NoModifier, Cell(6, AREA_ASCII));
    auto* menu = m_edit->findChild<QMenu*>();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    QCOMPARE(texts, (QStringList{QStringLiteral("&Copy"), QStringLiteral("&Paste"),
                                 QStringLiteral("&Cut"), QStringLiteral("&Clear")}));
    menu->actions().at(3)->trigger();
    menu->hide();
    // The selection ran from byte 3 back to byte 6; Clear puts the caret on its start.
    QCOMPARE(Byte(2), uint8_t{0});
    QCOMPARE(Byte(3) | Byte(4) | Byte(5), 0);
    QCOMPARE(Byte(6), uint8_t{6});
    QCOMPARE(m_edit->State().m_nCurrent, 3);
}

void HexEditTest::emptyDataIsNeverTouched()
{
    Load(0);
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    QTest::keyClicks(m_edit, QStringLiteral("12"));
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Tab})
        QTest::keyClick(m_edit, key, Qt::ShiftModifier);
    QTest::keyClick(m_edit, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
    QTest::mouseClick(m_edit->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 5));
    Wheel(-120);
    m_edit->SelectAll();
    m_edit->Cut();
    m_edit->viewport()->repaint();
    const CHexEditState& state = m_edit->State();
    QCOMPARE(state.m_nLength, 0);
    QCOMPARE(state.m_nCurrent, 0);
    QCOMPARE(state.m_nTopIndex, 0);
    QVERIFY(!state.m_caret.shown);
    QVERIFY(QApplication::clipboard()->mimeData()->data(CHexEdit::BinaryDataFormat()).isEmpty());
}

QTEST_MAIN(HexEditTest)
#include "HexEditTest.moc"
