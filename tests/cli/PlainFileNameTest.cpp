// Which first-column values may name a batch's image alike on every system.
#include "LayoutBatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using RQ540::Cli::WhyNotPlainFileName;

struct Name {
    const char* name;
    std::string text;
    const char* why;  // empty for a name that is taken
};

void PrintTo(const Name& value, std::ostream* os) { *os << value.name; }

class PlainFileNames : public ::testing::TestWithParam<Name> {};

TEST_P(PlainFileNames, AreTakenOrRefusedWithTheReason)
{
    EXPECT_EQ(WhyNotPlainFileName(GetParam().text), GetParam().why);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PlainFileNames,
    ::testing::Values(
        Name{"Plain", "K0001", ""},
        Name{"DotsAndSpacesInside", "key 1.v2", ""},
        Name{"Chinese", "\xE5\xAF\x86\xE9\x92\xA5", ""},
        Name{"DeviceNameInsideAWord", "CONSOLE", ""},
        Name{"LongestThatFits", std::string(250, 'k'), ""},
        Name{"Empty", "", "it is empty"},
        Name{"Dot", ".", "it names a folder"},
        Name{"DotDot", "..", "it names a folder"},
        Name{"Slash", "a/b", "it holds a folder separator"},
        Name{"Backslash", "a\\b", "it holds a folder separator"},
        Name{"Nul", std::string("a\0b", 3), "it holds a NUL byte"},
        Name{"LineEnd", "a\nb", "it holds a control character"},
        Name{"Delete", "a\x7F", "it holds a control character"},
        Name{"Colon", "c:x", "it holds one of < > : \" | ? *, which Windows refuses"},
        Name{"Star", "k*", "it holds one of < > : \" | ? *, which Windows refuses"},
        Name{"NotUtf8", "k\xFF", "it is not UTF-8 text"},
        Name{"Overlong", "k\xC0\xAF", "it is not UTF-8 text"},
        Name{"Surrogate", "k\xED\xA0\x80", "it is not UTF-8 text"},
        Name{"CutCharacter", "k\xE5\xAF", "it is not UTF-8 text"},
        Name{"Console", "con", "Windows keeps the name for a device"},
        Name{"PortWithExtension", "COM1.key", "Windows keeps the name for a device"},
        Name{"PrinterWithSpaces", "LPT9  .x", "Windows keeps the name for a device"},
        Name{"SuperscriptPort", "COM\xC2\xB9", "Windows keeps the name for a device"},
        Name{"TooLong", std::string(251, 'k'),
             "with .rqfs it is longer than 255 bytes"}),
    [](const ::testing::TestParamInfo<Name>& info) { return info.param.name; });

}  // namespace
