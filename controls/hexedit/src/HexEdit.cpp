#include "HexEdit.h"

#include "ShellTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <span>
#include <vector>

namespace {

const QColor kAddressBand(182, 186, 190);
const QColor kAsciiText(97, 140, 250);
// The grey address band and the black ASCII band are measured in pixels of the 8-pixel
// cells they were drawn for; they scale with the cell width of the font in use.
constexpr double kReferenceCellWidth = 8.0;
constexpr double kAddressBandWidth = 37.0;
constexpr double kAsciiBandWidth = 75.6;

HexKey ToHexKey(int key)
{
    switch (key) {
    case Qt::Key_Backspace: return HexKey::Backspace;
    case Qt::Key_Left: return HexKey::Left;
    case Qt::Key_Right: return HexKey::Right;
    case Qt::Key_Up: return HexKey::Up;
    case Qt::Key_Down: return HexKey::Down;
    case Qt::Key_PageUp: return HexKey::PageUp;
    case Qt::Key_PageDown: return HexKey::PageDown;
    case Qt::Key_Home: return HexKey::Home;
    case Qt::Key_End: return HexKey::End;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return HexKey::Tab;
    default: return HexKey::Other;
    }
}

// The characters a key press types, as the editor counts them: Enter, Escape, Tab and
// Backspace as their control codes, Ctrl with a letter as that letter's control code,
// nothing for other Ctrl or Alt combinations, otherwise the event's text.
std::vector<uint32_t> TypedCharacters(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::AltModifier)
        return {};
    const int key = event.key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return {13};
    case Qt::Key_Escape: return {27};
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return {9};
    case Qt::Key_Backspace: return {8};
    default: break;
    }
    if (modifiers & Qt::ControlModifier) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return {static_cast<uint32_t>(key - Qt::Key_A + 1)};
        return {};
    }
    std::vector<uint32_t> characters;
    for (const QChar c : event.text()) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            characters.push_back(c.unicode());
    }
    return characters;
}

}  // namespace

CHexEdit::CHexEdit(QWidget* parent)
    : QAbstractScrollArea(parent), m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont)),
      m_menu(this)
{
    // Cells must be whole pixels so that a line drawn as one text lines up with the
    // bytes drawn one by one and with the caret.
    const qreal advance = QFontMetricsF(m_font).horizontalAdvance(QLatin1Char('0'));
    const int cellWidth = QFontMetrics(m_font).horizontalAdvance(QLatin1Char('0'));
    if (advance != cellWidth)
        m_font.setLetterSpacing(QFont::AbsoluteSpacing, cellWidth - advance);
    m_state.m_layout.m_nCharWidth = cellWidth;
    m_state.m_layout.m_nLineHeight = QFontMetrics(m_font).height();

    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &CHexEdit::OnScrollAction);

    m_menu.addAction(QString::fromUtf8(Texts::HEX_COPY), this, &CHexEdit::Copy);
    m_menu.addAction(QString::fromUtf8(Texts::HEX_PASTE), this, &CHexEdit::Paste);
    m_menu.addAction(QString::fromUtf8(Texts::HEX_CUT), this, &CHexEdit::Cut);
    m_menu.addAction(QString::fromUtf8(Texts::HEX_CLEAR), this, &CHexEdit::Clear);
    UpdateScrollBar();
}

void CHexEdit::SetData(const uint8_t* source, int32_t length)
{
    m_state.SetData(source, length);
    setFocus();
    Refresh();
}

QString CHexEdit::BinaryDataFormat()
{
#ifdef Q_OS_WIN
    // The registered clipboard format named exactly "BinaryData".
    return QStringLiteral("application/x-qt-windows-mime;value=\"BinaryData\"");
#else
    return QStringLiteral("BinaryData");
#endif
}

void CHexEdit::Copy()
{
    if (const auto payload = m_clipboard.Copy())
        PutOnClipboard(*payload);
    Refresh();
}

void CHexEdit::Cut()
{
    if (const auto payload = m_clipboard.Cut())
        PutOnClipboard(*payload);
    Refresh();
}

void CHexEdit::Paste()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!m_state.m_pData || !mime)
        return;
    QByteArray bytes;
    if (mime->hasFormat(BinaryDataFormat()))
        bytes = mime->data(BinaryDataFormat());
    else if (mime->hasText())
        bytes = mime->text().toLocal8Bit();
    else
        return;
    m_clipboard.Paste(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                static_cast<std::size_t>(bytes.size())));
    Refresh();
}

void CHexEdit::Clear()
{
    m_clipboard.Clear();
    Refresh();
}

void CHexEdit::SelectAll()
{
    m_state.SelectAll();
    Refresh();
}

bool CHexEdit::event(QEvent* event)
{
    // Every key belongs to the editor, Tab, Enter and Escape included: neither focus
    // changes nor the dialog's buttons nor shortcuts take them away.
    if (event->type() == QEvent::ShortcutOverride) {
        if (!(static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier)) {
            event->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CHexEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QRect client = viewport()->rect();
    const double scale = m_state.m_layout.m_nCharWidth / kReferenceCellWidth;
    painter.fillRect(client, Qt::white);
    painter.fillRect(QRect(0, 0, static_cast<int>(kAddressBandWidth * scale), client.height()),
                     kAddressBand);
    const int bandLeft = static_cast<int>(client.width() - kAsciiBandWidth * scale);
    painter.fillRect(QRect(bandLeft, 0, client.width() - bandLeft, client.height()), Qt::black);
    if (!m_state.m_pData)
        return;

    if (m_state.m_bLayoutDirty) {
        m_state.UpdateLayout();
        UpdateScrollBar();
    }
    painter.setFont(m_font);
    PaintRows(painter);

    const HexCaret& caret = m_state.m_caret;
    if (hasFocus() && caret.shown && m_bBlinkOn) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(QRect(caret.point.x, caret.point.y,
                               caret.cells * m_state.m_layout.m_nCharWidth,
                               m_state.m_layout.m_nLineHeight),
                         Qt::white);
    }
}

void CHexEdit::PaintRows(QPainter& painter)
{
    const CHexLayout& layout = m_state.m_layout;
    const int32_t cw = layout.m_nCharWidth;
    const int32_t lh = layout.m_nLineHeight;
    const int32_t bpl = layout.m_nBytesPerLine;
    const int32_t length = m_state.m_nLength;
    const uint8_t* data = m_state.m_pData.get();
    const int rows = lh > 0 ? viewport()->height() / lh : 0;
    const int ascent = QFontMetrics(m_font).ascent();
    const bool selection = m_state.HasSelection();
    const int32_t lo = std::min(m_state.m_nSelStart, m_state.m_nSelEnd);
    const int32_t hi = std::max(m_state.m_nSelStart, m_state.m_nSelEnd);
    const QPalette colours = palette();

    // Text in cells from (x, y), on background when it is given.
    auto draw = [&](int x, int y, const QString& text, const QColor& pen,
                    const QColor& background = QColor()) {
        if (background.isValid())
            painter.fillRect(QRect(x, y, cw * static_cast<int>(text.size()), lh), background);
        painter.setPen(pen);
        painter.drawText(x, y + ascent, text);
    };
    // Two upper-case digits and a space per byte, appended in place: a page of text is
    // built without a string per byte.
    auto appendHex = [](QString& text, uint8_t byte) {
        static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        const QChar cell[3] = {QChar(kDigits[byte >> 4]), QChar(kDigits[byte & 15]), QChar(u' ')};
        text.append(cell, 3);
    };
    auto asciiChar = [](uint8_t byte) {
        return QChar(static_cast<char16_t>(byte >= 0x20 && byte <= 0x7E ? byte : '.'));
    };
    auto hexText = [&](uint8_t byte) {
        QString text;
        appendHex(text, byte);
        return text;
    };

    for (int row = 0; row < rows; ++row) {
        const int32_t first = m_state.m_nTopIndex + row * bpl;
        const int y = row * lh;
        const int32_t count = std::clamp(length - first, 0, bpl);

        if (layout.m_bShowAddress && first < length) {
            const int digits = layout.AddressDigits();
            const QString address =
                QStringLiteral("%1").arg(first, digits, 16, QLatin1Char('0')).toUpper();
            draw(0, y, address.left(digits), Qt::black);
        }

        if (layout.m_bShowHex) {
            if (selection && IsHexArea(m_state.m_nArea)) {
                for (int32_t k = 0; k < count; ++k) {
                    const int32_t index = first + k;
                    const int x = layout.m_nHexX + 3 * k * cw;
                    if (index < lo)
                        draw(x, y, hexText(data[index]), Qt::black, Qt::white);
                    else if (index < hi)
                        draw(x, y, hexText(data[index]), colours.color(QPalette::HighlightedText),
                             colours.color(QPalette::Highlight));
                    else
                        draw(x, y, hexText(data[index]), colours.color(QPalette::Text),
                             colours.color(QPalette::Base));
                }
            } else {
                QString line;
                line.reserve(3 * bpl);
                for (int32_t k = 0; k < count; ++k)
                    appendHex(line, data[first + k]);
                line.resize(3 * bpl, QChar(u' '));
                draw(layout.m_nHexX, y, line, Qt::black, Qt::white);
            }
        }

        if (layout.m_bShowAscii) {
            if (selection && m_state.m_nArea == AREA_ASCII) {
                for (int32_t k = 0; k < count; ++k) {
                    const int32_t index = first + k;
                    // Selected characters get the highlight behind them: in the
                    // highlight-text colour alone they vanish on the column's background.
                    if (index >= lo && index < hi)
                        draw(layout.m_nAsciiX + k * cw, y, QString(asciiChar(data[index])),
                             colours.color(QPalette::HighlightedText),
                             colours.color(QPalette::Highlight));
                    else
                        draw(layout.m_nAsciiX + k * cw, y, QString(asciiChar(data[index])),
                             kAsciiText);
                }
            } else {
                QString line;
                line.reserve(count);
                for (int32_t k = 0; k < count; ++k)
                    line += asciiChar(data[first + k]);
                draw(layout.m_nAsciiX, y, line, kAsciiText);
            }
        }
    }
}

void CHexEdit::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    m_keys.KeyDown(ToHexKey(event->key()), shift, ctrl);
    for (const uint32_t c : TypedCharacters(*event))
        RunCommand(m_keys.Char(c, ctrl));
    Refresh();
    event->accept();
}

void CHexEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        m_menu.popup(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    m_ptPress = point;
    m_bDragPending =
        m_mouse.Press(point.x(), point.y(), event->modifiers() & Qt::ShiftModifier);
    Refresh();
}

void CHexEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    if (m_bDragPending) {
        if ((point - m_ptPress).manhattanLength() < QApplication::startDragDistance())
            return;
        m_bDragPending = false;
        m_mouse.StartDrag();
    }
    m_mouse.Drag(point.x(), point.y());
    Refresh();
}

void CHexEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bDragPending)
        return;
    m_bDragPending = false;
    m_mouse.EndClick();
    Refresh();
}

void CHexEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click does nothing.
    event->accept();
}

void CHexEdit::wheelEvent(QWheelEvent* event)
{
    m_state.Wheel(event->angleDelta().y());
    Refresh();
    event->accept();
}

void CHexEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu comes with the right button press; the menu key shows nothing.
    event->accept();
}

void CHexEdit::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    m_state.FocusIn();
    Refresh();
}

void CHexEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_state.FocusOut();
    m_blinkTimer.stop();
    viewport()->update();
}

void CHexEdit::resizeEvent(QResizeEvent* event)
{
    // The client size decides whether the caret is visible; the line count waits for
    // the next layout.
    QAbstractScrollArea::resizeEvent(event);
    m_state.m_layout.m_nClientWidth = viewport()->width();
    m_state.m_layout.m_nClientHeight = viewport()->height();
}

void CHexEdit::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_blinkTimer.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    m_bBlinkOn = !m_bBlinkOn;
    viewport()->update();
}

void CHexEdit::scrollContentsBy(int, int)
{
    // Rows are painted from the top byte; nothing is scrolled pixel by pixel.
    viewport()->update();
}

void CHexEdit::OnScrollAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: m_state.LineUp(); break;
    case QAbstractSlider::SliderSingleStepAdd: m_state.LineDown(); break;
    case QAbstractSlider::SliderPageStepSub: m_state.PageUp(); break;
    case QAbstractSlider::SliderPageStepAdd: m_state.PageDown(); break;
    case QAbstractSlider::SliderMove:
        m_state.ScrollToLine(verticalScrollBar()->sliderPosition());
        break;
    default: break;
    }
    m_state.PlaceCaret(m_state.m_nCurrent);
    // The bar shows where the steps above put the top, not where it would have gone.
    verticalScrollBar()->setSliderPosition(m_state.ScrollPosition());
    viewport()->update();
}

void CHexEdit::UpdateScrollBar()
{
    // The range covers every line of data, the page is the visible lines, so the last
    // position shows the last line at the top of a full page; the bar stays enabled.
    const int32_t bpl = m_state.m_layout.m_nBytesPerLine;
    const int32_t lines = m_state.m_layout.m_nVisibleLines;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, m_state.m_nLength / bpl - lines + 1));
    bar->setPageStep(std::max(lines, 1));
    bar->setValue(m_state.ScrollPosition());
    bar->setEnabled(true);
}

void CHexEdit::Refresh()
{
    verticalScrollBar()->setValue(m_state.ScrollPosition());
    m_bBlinkOn = true;
    const int flashTime = QApplication::cursorFlashTime();
    if (hasFocus() && flashTime > 0)
        m_blinkTimer.start(flashTime / 2, this);
    viewport()->update();
}

void CHexEdit::RunCommand(HexCommand command)
{
    switch (command) {
    case HexCommand::Copy: Copy(); break;
    case HexCommand::Cut: Cut(); break;
    case HexCommand::Paste: Paste(); break;
    case HexCommand::None: break;
    }
}

void CHexEdit::PutOnClipboard(const HexClipboardPayload& payload)
{
    auto* mime = new QMimeData;
    mime->setData(BinaryDataFormat(),
                  QByteArray(reinterpret_cast<const char*>(payload.bytes.data()),
                             static_cast<qsizetype>(payload.bytes.size())));
    mime->setText(QString::fromLatin1(payload.text));
    QGuiApplication::clipboard()->setMimeData(mime);
}
