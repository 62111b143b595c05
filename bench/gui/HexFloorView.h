// The least a widget does to show a page of a hex dump: a white page with the address
// band and the dark text band, and per line one text each for the address, the hex bytes
// and the characters, formatted from a table, in the system's fixed font spaced to
// whole-pixel cells as the hex editor's is; a vertical scroll bar follows the page.
#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

#include <cstdint>
#include <vector>

class CHexFloorView : public QAbstractScrollArea {
public:
    CHexFloorView(const std::vector<uint8_t>& bytes, int bytesPerLine);

    // Shows the page-th page from the top (pages of as many whole lines as fit) and moves
    // the scroll bar there; a page beyond the end shows the last lines.
    void ShowPage(int page);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int LinesPerPage() const;

    const std::vector<uint8_t>& m_bytes;
    int m_nBytesPerLine;
    int m_nTopLine = 0;
    QFont m_font;
    QStringList m_hexTexts;
};
