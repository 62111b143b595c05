// The parameter table's reader: the fields and starting lines it gives, and the line and
// reason of what it refuses.
#include "CsvTable.h"

#include "CliError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using RQ540::Cli::CCliError;
using RQ540::Cli::CCsvTable;

using Fields = std::vector<std::string>;

struct Read {
    const char* name;
    std::string text;
    Fields header;
    std::vector<CCsvTable::Row> rows;
};

void PrintTo(const Read& value, std::ostream* os) { *os << value.name; }

class CsvTableReads : public ::testing::TestWithParam<Read> {};

TEST_P(CsvTableReads, GivesEachRowWithTheLineItStartsOn)
{
    const CCsvTable table = CCsvTable::Parse(GetParam().text, "build t.csv");
    EXPECT_EQ(table.GetHeader(), GetParam().header);
    ASSERT_EQ(table.GetRows().size(), GetParam().rows.size());
    for (std::size_t i = 0; i < table.GetRows().size(); ++i) {
        EXPECT_EQ(table.GetRows()[i].line, GetParam().rows[i].line) << i;
        EXPECT_EQ(table.GetRows()[i].fields, GetParam().rows[i].fields) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvTableReads,
    ::testing::Values(
        Read{"HeaderOnly", "name,pin\n", {"name", "pin"}, {}},
        Read{"NoFinalLineEnd", "name,pin\nk1,12", {"name", "pin"}, {{2, {"k1", "12"}}}},
        Read{"EmptyFields", "a,b,c\n,,\n", {"a", "b", "c"}, {{2, {"", "", ""}}}},
        Read{"CrLfAndByteOrderMark", "\xEF\xBB\xBFname,pin\r\nk1,12\r\nk2,34\r\n",
             {"name", "pin"}, {{2, {"k1", "12"}}, {3, {"k2", "34"}}}},
        Read{"CrAloneEndsALine", "name\rk1\rk2", {"name"}, {{2, {"k1"}}, {3, {"k2"}}}},
        Read{"QuotedCommasAndDoubledQuotes", "name,text\n\"k,1\",\"say \"\"hi\"\"\"\n",
             {"name", "text"}, {{2, {"k,1", "say \"hi\""}}}},
        Read{"QuotedLineEndsCountAsLines", "name,text\nk1,\"a\r\nb\nc\"\nk2,d\n",
             {"name", "text"}, {{2, {"k1", "a\r\nb\nc"}}, {5, {"k2", "d"}}}},
        Read{"EmptyQuotedField", "name,text\nk1,\"\"\n", {"name", "text"}, {{2, {"k1", ""}}}},
        Read{"BlankLinesAreSkipped", "name\n\nk1\r\n\r\nk2\n\n", {"name"},
             {{3, {"k1"}}, {5, {"k2"}}}},
        Read{"SpacesAndBytesKept", "name\n k1 \n\xE5\xAF\x86\n", {"name"},
             {{2, {" k1 "}}, {3, {"\xE5\xAF\x86"}}}}),
    [](const ::testing::TestParamInfo<Read>& info) { return info.param.name; });

struct Refusal {
    const char* name;
    std::string text;
    const char* message;
};

void PrintTo(const Refusal& value, std::ostream* os) { *os << value.name; }

class CsvTableRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(CsvTableRefuses, NamingTheLine)
{
    try {
        CCsvTable::Parse(GetParam().text, "build t.csv");
        ADD_FAILURE() << "accepted";
    } catch (const CCliError& error) {
        EXPECT_EQ(error.GetMessage(), GetParam().message);
        EXPECT_EQ(error.GetExitStatus(), RQ540::Cli::STATUS_FAILURE);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvTableRefuses,
    ::testing::Values(
        Refusal{"Empty", "", "build t.csv line 1: no header row naming the columns"},
        Refusal{"EmptyColumnName", "name,,pin\n", "build t.csv line 1: column 2 has no name"},
        Refusal{"ColumnNamedTwice", "name,pin,pin\n",
                "build t.csv line 1: the column pin is named twice"},
        Refusal{"TooFewFields", "name,pin\nk1,1\nk2\n",
                "build t.csv line 3: 1 fields, but the header names 2 columns"},
        Refusal{"TooManyFields", "name\nk1,1\n",
                "build t.csv line 2: 2 fields, but the header names 1 columns"},
        Refusal{"QuoteInsideAField", "name\nk\"1\n",
                "build t.csv line 2: a quote inside a field that does not start with one"},
        Refusal{"TextAfterAClosingQuote", "name\n\"k1\"x\n",
                "build t.csv line 2: a closing quote followed by something other than a comma "
                "or a line end"},
        Refusal{"QuoteLeftOpen", "name,text\nk1,\"a\nb\n",
                "build t.csv line 2: a quoted field is not closed"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

}  // namespace
