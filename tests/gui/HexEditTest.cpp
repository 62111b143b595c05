// The hex editor widget driven offscreen: QTest keys and mouse, wheel events, the scroll
// bar's actions, the context menu and the real clipboard.
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
    void translatesKeysAndKeepsTab();
    void clicksAndDragsSelect();
    void wheelAndScrollBarMoveOnlyTheView();
    void copiesAndPastesThroughTheClipboard();
    void contextMenuCommands();
    void emptyDataIsNeverTouched();

private:
    // Bytes 0, 1, 2, ... laid out as the first paint does.
    void Load(int length);
    uint8_t Byte(int index) const { return m_edit->State().m_pData[index]; }
    // The middle of byte index's cell in area, in the current view.
    QPoint Cell(int index, HexArea area) const;
    void Drag(QPoint from, QPoint to);
    void Wheel(int amount);

    std::unique_ptr<QWidget> m_window;
    CHexEdit* m_edit = nullptr;
};

void HexEditTest::init()
{
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_edit = new CHexEdit;
    layout->addWidget(m_edit);
    layout->addWidget(new QLineEdit);  // somewhere else Tab could go
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

void HexEditTest::translatesKeysAndKeepsTab()
{
    Load(300);
    const CHexEditState& state = m_edit->State();
    QTest::keyClicks(m_edit, QStringLiteral("41g"));
    QCOMPARE(Byte(0), uint8_t{0x41});
    QCOMPARE(state.m_nCurrent, 1);
    QTest::keyClick(m_edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_edit);
    QCOMPARE(state.m_nArea, AREA_ASCII);
    QTest::keyClicks(m_edit, QStringLiteral("Z"));
    QTest::keyClick(m_edit, Qt::Key_Return);
    QTest::keyClick(m_edit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(Byte(1), uint8_t{'Z'});
    QCOMPARE(Byte(2), uint8_t{0x0D});
    QCOMPARE(Byte(3), uint8_t{0x01});

    QTest::keyClick(m_edit, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(state.m_nSelStart, 4);
    QCOMPARE(state.m_nSelEnd, 12);
    QTest::keyClick(m_edit, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(!state.HasSelection());
    QCOMPARE(state.m_nCurrent, 299);
    QVERIFY(state.m_nTopIndex > 0);
    QCOMPARE(m_edit->verticalScrollBar()->value(), state.m_nTopIndex / 8);
}

void HexEditTest::clicksAndDragsSelect()
{
    Load(64);
    const CHexEditState& state = m_edit->State();
    QWidget* viewport = m_edit->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(10, AREA_HEX_LOW));
    QCOMPARE(state.m_nCurrent, 10);
    QCOMPARE(state.m_nArea, AREA_HEX_LOW);
    QVERIFY(state.m_caret.shown);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, Cell(12, AREA_HEX_HIGH));
    QCOMPARE(state.m_nSelStart, 10);
    QCOMPARE(state.m_nSelEnd, 13);

    Drag(Cell(4, AREA_HEX_HIGH), Cell(10, AREA_HEX_HIGH));
    QCOMPARE(state.m_nSelStart, 4);
    QCOMPARE(state.m_nSelEnd, 11);
    Drag(Cell(10, AREA_ASCII), Cell(4, AREA_ASCII));
    QCOMPARE(state.m_nSelStart, 10);
    QCOMPARE(state.m_nSelEnd, 4);
    // Selected characters sit on the highlight, so they stay readable.
    const CHexLayout& layout = m_edit->State().m_layout;
    const HexPoint corner = layout.CellPoint(6, state.m_nTopIndex, AREA_ASCII);
    QCOMPARE(viewport->grab().toImage().pixelColor(corner.x + 1, corner.y + 1),
             m_edit->palette().color(QPalette::Highlight));
    // A press and release without moving is a click: it drops the selection.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(20, AREA_ASCII));
    QVERIFY(!state.HasSelection());
    QCOMPARE(state.m_nCurrent, 20);
}

void HexEditTest::wheelAndScrollBarMoveOnlyTheView()
{
    Load(2000);
    const CHexEditState& state = m_edit->State();
    QScrollBar* bar = m_edit->verticalScrollBar();
    Wheel(120);
    QCOMPARE(state.m_nTopIndex, 0);
    for (int i = 0; i < 200; ++i)
        Wheel(-120);
    // The wheel reaches the view that ends with the last line of data.
    QCOMPARE(state.m_nTopIndex + state.m_layout.BytesShown(), 2000);
    QCOMPARE(bar->value(), state.m_nTopIndex / 8);

    const int lines = state.m_layout.m_nVisibleLines;
    QCOMPARE(bar->maximum(), 2000 / 8 - lines + 1);
    QCOMPARE(bar->pageStep(), lines);
    bar->setSliderPosition(3);
    bar->triggerAction(QAbstractSlider::SliderMove);
    QCOMPARE(state.m_nTopIndex, 24);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(state.m_nTopIndex, 32);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(state.m_nTopIndex, 32 + 8 * lines);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);  // not a step of the editor
    QCOMPARE(state.m_nTopIndex, 32 + 8 * lines);
    QCOMPARE(bar->value(), 4 + lines);
    QCOMPARE(state.m_nCurrent, 0);
    QVERIFY(!state.m_caret.shown);
}

void HexEditTest::copiesAndPastesThroughTheClipboard()
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
    QCOMPARE(Byte(61), uint8_t{61});
    QCOMPARE(Byte(62), uint8_t{0x30});
    QCOMPARE(Byte(63), uint8_t{0x31});
    QCOMPARE(m_edit->State().m_nLength, 64);
    QCOMPARE(m_edit->State().m_nCurrent, 63);

    // Text alone is pasted as its character codes.
    QApplication::clipboard()->setText(QStringLiteral("0A"));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(0, AREA_HEX_HIGH));
    QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Byte(0), uint8_t{'0'});
    QCOMPARE(Byte(1), uint8_t{'A'});
    QCOMPARE(Byte(2), uint8_t{2});
}

void HexEditTest::contextMenuCommands()
{
    Load(64);
    QWidget* viewport = m_edit->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, Cell(6, AREA_ASCII));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, Cell(3, AREA_ASCII));
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, Cell(3, AREA_ASCII));
    auto* menu = m_edit->findChild<QMenu*>();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    QCOMPARE(texts, (QStringList{QStringLiteral("&Copy"), QStringLiteral("&Paste"),
                                 QStringLiteral("&Cut"), QStringLiteral("&Clear")}));
    menu->hide();

    menu->actions().at(2)->trigger();  // Cut, from byte 6 back to byte 3
    QCOMPARE(QApplication::clipboard()->mimeData()->text(), QStringLiteral("..."));
    QCOMPARE(Byte(3) | Byte(4) | Byte(5), 0);
    QCOMPARE(Byte(6), uint8_t{6});
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, Cell(9, AREA_ASCII));
    menu->actions().at(3)->trigger();  // Clear
    QCOMPARE(Byte(6) | Byte(7) | Byte(8), 0);
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
