// A table of comma-separated values with a header row that names the columns, as
// spreadsheets write it: fields in double quotes may hold commas, line ends and doubled
// quotes (""), records end in LF or CR LF (a CR alone ends one too), and a UTF-8
// byte-order mark at the start is skipped. Lines with nothing on them are skipped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace RQ540::Cli {

class CCsvTable {
public:
    struct Row {
        std::size_t line = 0;  // the physical line where the row starts, the header being 1
        std::vector<std::string> fields;
    };

    // Parses text; where ("build units.csv") begins every message. A quote inside a field
    // that does not start with one, anything but a comma or a line end after a closing
    // quote, a quote left open at the end, a row with another count of fields than the
    // header, and a header without names, with an empty name or with a name twice are a
    // failure CCliError: "where line 3: why".
    static CCsvTable Parse(std::string_view text, const std::string& where);

    const std::vector<std::string>& GetHeader() const { return m_header; }
    const std::vector<Row>& GetRows() const { return m_rows; }

private:
    std::vector<std::string> m_header;
    std::vector<Row> m_rows;
};

}  // namespace RQ540::Cli
