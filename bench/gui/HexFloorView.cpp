#include "HexFloorView.h"

#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

CHexFloorView::CHexFloorView(const std::vector<uint8_t>& bytes, int bytesPerLine)
    : m_bytes(bytes), m_nBytesPerLine(std::max(bytesPerLine, 1)),
      m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
    // Whole-pixel cells, as the hex editor draws: the same text in the same places.
    const qreal advance = QFontMetricsF(m_font).horizontalAdvance(QLatin1Char('0'));
    const int cell = QFontMetrics(m_font).horizontalAdvance(QLatin1Char('0'));
    if (advance != cell)
        m_font.setLetterSpacing(QFont::AbsoluteSpacing, cell - advance);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setRange(
        0, static_cast<int>((m_bytes.size() + m_nBytesPerLine - 1) / m_nBytesPerLine));
    for (int value = 0; value < 256; ++value)
        m_hexTexts << QStringLiteral("%1 ").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

int CHexFloorView::LinesPerPage() const
{
    return std::max(viewport()->height() / QFontMetrics(m_font).height(), 1);
}

void CHexFloorView::ShowPage(int page)
{
    const int lines = static_cast<int>((m_bytes.size() + m_nBytesPerLine - 1) / m_nBytesPerLine);
    m_nTopLine = std::clamp(page * LinesPerPage(), 0, std::max(lines - LinesPerPage(), 0));
    verticalScrollBar()->setPageStep(LinesPerPage());
    verticalScrollBar()->setValue(m_nTopLine);
}

void CHexFloorView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int width = viewport()->width();
    const int height = viewport()->height();
    const QFontMetrics metrics(m_font);
    const int cell = metrics.horizontalAdvance(QLatin1Char('0'));
    const int lineHeight = metrics.height();
    painter.fillRect(viewport()->rect(), Qt::white);
    painter.fillRect(QRect(0, 0, 6 * cell, height), Qt::lightGray);
    const int asciiX = width - (m_nBytesPerLine + 1) * cell;
    painter.fillRect(QRect(asciiX, 0, width - asciiX, height), Qt::black);
    painter.setFont(m_font);
    const int size = static_cast<int>(m_bytes.size());
    for (int row = 0; row < LinesPerPage(); ++row) {
        const int first = (m_nTopLine + row) * m_nBytesPerLine;
        if (first >= size)
            break;
        const int count = std::min(m_nBytesPerLine, size - first);
        QString hex;
        QString characters;
        for (int k = 0; k < count; ++k) {
            const uint8_t byte = m_bytes[static_cast<std::size_t>(first + k)];
            hex += m_hexTexts[byte];
            characters += QChar(static_cast<char16_t>(byte >= 0x20 && byte <= 0x7E ? byte : '.'));
        }
        const int y = row * lineHeight + metrics.ascent();
        painter.setPen(Qt::black);
        painter.drawText(0, y, QStringLiteral("%1").arg(first, 5, 16, QLatin1Char('0')).toUpper());
        painter.fillRect(QRect(7 * cell, row * lineHeight, 3 * cell * count, lineHeight), Qt::white);
        painter.drawText(7 * cell, y, hex);
        painter.setPen(Qt::green);
        painter.drawText(asciiX, y, characters);
    }
}
