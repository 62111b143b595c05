#include "CsvTable.h"

#include "CliError.h"

#include <algorithm>

namespace RQ540::Cli {

namespace {

// Reads records one by one, counting physical lines, quoted line ends included.
class CCsvReader {
public:
    CCsvReader(std::string_view text, const std::string& where) : m_text(text), m_where(where)
    {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (m_text.starts_with(kByteOrderMark))
            m_next = kByteOrderMark.size();
    }

    // The next record that is not an empty line, with the line it starts on; false at the
    // end of the text.
    bool ReadRecord(CCsvTable::Row& row)
    {
        while (m_next < m_text.size() && SkipLineEnd()) {
        }
        if (m_next >= m_text.size())
            return false;
        row.line = m_line;
        row.fields.clear();
        for (;;) {
            row.fields.push_back(ReadField());
            if (m_next >= m_text.size() || SkipLineEnd())
                return true;
            ++m_next;  // the comma
        }
    }

    [[noreturn]] void Fail(std::size_t line, const std::string& why) const
    {
        throw CCliError::Failure(m_where + " line " + std::to_string(line) + ": " + why);
    }

private:
    // Steps over a line end at the reading position, if there is one.
    bool SkipLineEnd()
    {
        const char c = m_text[m_next];
        if (c != '\n' && c != '\r')
            return false;
        ++m_next;
        if (c == '\r' && m_next < m_text.size() && m_text[m_next] == '\n')
            ++m_next;
        ++m_line;
        return true;
    }

    // A field up to the comma or line end that ends it, which is left unread.
    std::string ReadField()
    {
        const auto isEnd = [](char c) { return c == ',' || c == '\n' || c == '\r'; };
        std::string field;
        if (m_next >= m_text.size() || m_text[m_next] != '"') {
            while (m_next < m_text.size() && !isEnd(m_text[m_next])) {
                if (m_text[m_next] == '"')
                    Fail(m_line, "a quote inside a field that does not start with one");
                field += m_text[m_next++];
            }
            return field;
        }
        const std::size_t opened = m_line;
        ++m_next;
        for (;;) {
            if (m_next >= m_text.size())
                Fail(opened, "a quoted field is not closed");
            const char c = m_text[m_next];
            if (c == '"') {
                ++m_next;
                if (m_next < m_text.size() && m_text[m_next] == '"') {
                    field += '"';
                    ++m_next;
                    continue;
                }
                if (m_next < m_text.size() && !isEnd(m_text[m_next]))
                    Fail(m_line, "a closing quote followed by something other than a comma or "
                                 "a line end");
                return field;
            }
            // A line end inside quotes is part of the field, as it stands.
            const bool crLf = c == '\r' && m_next + 1 < m_text.size() && m_text[m_next + 1] == '\n';
            if (c == '\n' || (c == '\r' && !crLf))
                ++m_line;
            field += c;
            ++m_next;
        }
    }

    std::string_view m_text;
    const std::string& m_where;
    std::size_t m_next = 0;
    std::size_t m_line = 1;
};

}  // namespace

CCsvTable CCsvTable::Parse(std::string_view text, const std::string& where)
{
    CCsvReader reader(text, where);
    Row header;
    if (!reader.ReadRecord(header))
        reader.Fail(1, "no header row naming the columns");
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string& name = header.fields[i];
        if (name.empty())
            reader.Fail(header.line, "column " + std::to_string(i + 1) + " has no name");
        const auto before = header.fields.begin() + static_cast<std::ptrdiff_t>(i);
        if (std::find(header.fields.begin(), before, name) != before)
            reader.Fail(header.line, "the column " + name + " is named twice");
    }
    CCsvTable table;
    table.m_header = std::move(header.fields);
    Row row;
    while (reader.ReadRecord(row)) {
        if (row.fields.size() != table.m_header.size())
            reader.Fail(row.line, std::to_string(row.fields.size()) +
                                      " fields, but the header names " +
                                      std::to_string(table.m_header.size()) + " columns");
        table.m_rows.push_back(std::move(row));
    }
    return table;
}

}  // namespace RQ540::Cli
