// The texts rqfs takes apart itself: card paths, numbers and script lines.
#include "CliError.h"
#include "OptionValues.h"
#include "ScriptLine.h"

#include <gtest/gtest.h>

using namespace RQ540::Cli;

TEST(CardPathText, AcceptsShortUpperLowerAndBackslashForms)
{
    EXPECT_EQ(ParseCardPath("/1/a2").ToString(), "/0001/00A2");
    EXPECT_EQ(ParseCardPath("1/A2").ToString(), "/0001/00A2");
    EXPECT_EQ(ParseCardPath("\\0001\\3f01").ToString(), "/0001/3F01");
    EXPECT_EQ(ParseCardPath("0001\\0002/0003").ToString(), "/0001/0002/0003");
    EXPECT_TRUE(ParseCardPath("/").IsRoot());
    EXPECT_TRUE(ParseCardPath("\\").IsRoot());
}

TEST(CardPathText, RejectsEmptyLongAndForeignComponents)
{
    for (const char* text : {"", "//", "/0001/", "/0001//0002", "/00001", "/00g1", "/ 0001",
                             "/0001 ", "..", "/-1"}) {
        EXPECT_THROW(ParseCardPath(text), CCliError) << "'" << text << "'";
    }
}

TEST(NumberText, TakesEveryUnsigned32BitValueAndNothingElse)
{
    EXPECT_EQ(ParseUint32("0"), 0u);
    EXPECT_EQ(ParseUint32("0100"), 100u);  // decimal, never octal
    EXPECT_EQ(ParseUint32("4294967295"), 4294967295u);
    for (const char* text : {"", "4294967296", "18446744073709551617", "-1", "+1", " 1", "1 ",
                             "0x10", "1e3"}) {
        EXPECT_FALSE(ParseUint32(text)) << "'" << text << "'";
    }
}

TEST(ScriptLineText, SplitsOnBlanksKeepingQuotedTextAndBackslashPaths)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(SplitScriptLine("  mkdir \\0001\\0002\t--size 200\r"),
              (Words{"mkdir", "\\0001\\0002", "--size", "200"}));
    EXPECT_EQ(SplitScriptLine("passwd / --user-password 'a b' --developer-password \"\""),
              (Words{"passwd", "/", "--user-password", "a b", "--developer-password", ""}));
    EXPECT_EQ(SplitScriptLine(R"(x "say \"hi\" \\ \n" a'b c'd a#b # comment)"),
              (Words{"x", R"(say "hi" \ \n)", "ab cd", "a#b"}));
    EXPECT_TRUE(SplitScriptLine("   # only a comment").empty());
    EXPECT_TRUE(SplitScriptLine("").empty());
    EXPECT_THROW(SplitScriptLine("add 'open"), CCliError);
}
