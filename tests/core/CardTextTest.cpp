// The card's own text rules: paths, ID texts and password fields.
#include "rq540/CardPath.h"
#include "rq540/HexDigits.h"
#include "rq540/PasswordField.h"
#include "rq540/RQ540Vfs.h"

#include <gtest/gtest.h>

#include <string>

using namespace RQ540;

namespace {

CCardPath Path(std::initializer_list<uint16_t> ids) { return CCardPath(std::vector<uint16_t>(ids)); }

}  // namespace

TEST(CardPath, ChangeDirectoryTextJoinsWithOneBackslash)
{
    EXPECT_EQ(CCardPath().GetChild(0x0001).ToChangeDirectoryText(), "\\0001");
    EXPECT_EQ(Path({0x0001}).GetChild(0x00A2).ToChangeDirectoryText(), "\\0001\\00A2");
    EXPECT_EQ(Path({0x0001, 0x00A2}).GetChild(0xBEEF).ToChangeDirectoryText(),
              "\\0001\\00A2\\BEEF");
    EXPECT_EQ(CCardPath().ToChangeDirectoryText(), "\\");
}

TEST(CardPath, ChangeDirectoryTextAcceptsOnlyTheAbsoluteForm)
{
    ASSERT_TRUE(CCardPath::ParseChangeDirectoryText("\\").has_value());
    EXPECT_TRUE(CCardPath::ParseChangeDirectoryText("\\")->IsRoot());
    EXPECT_EQ(CCardPath::ParseChangeDirectoryText("\\0001\\00a2")->GetIds(),
              (std::vector<uint16_t>{0x0001, 0x00A2}));
    for (const char* bad : {"", "0001", "\\001", "\\0001\\", "\\00010002", "\\00G1", "\\\\0001",
                            "/0001"})
        EXPECT_FALSE(CCardPath::ParseChangeDirectoryText(bad).has_value()) << bad;
}

TEST(CardPath, TypedTextTakesShortIdsAndEitherSeparator)
{
    for (const char* same : {"/0001/0003", "/1/3", "1/3", "\\0001\\0003", "/1\\3", "0001/3"})
        EXPECT_EQ(CCardPath::Parse(same), Path({0x0001, 0x0003})) << same;
    EXPECT_EQ(CCardPath::Parse("/aBcD"), Path({0xABCD}));
    EXPECT_EQ(CCardPath::Parse("/"), CCardPath());
    EXPECT_EQ(CCardPath::Parse("\\"), CCardPath());
    for (const char* bad : {"", "//", "/1/", "1//2", "/12345", "/g", "/1 ", " /1", "/-1"})
        EXPECT_FALSE(CCardPath::Parse(bad).has_value()) << '"' << bad << '"';
}

TEST(CardPath, ParentChildAndDisplayText)
{
    const CCardPath path = Path({0x0001, 0x0010});
    EXPECT_EQ(path.ToString(), "/0001/0010");
    EXPECT_EQ(path.GetId(), 0x0010);
    EXPECT_EQ(path.GetParent(), Path({0x0001}));
    EXPECT_EQ(path.GetParent().GetParent(), CCardPath());
    EXPECT_EQ(CCardPath().GetParent(), CCardPath());
    EXPECT_EQ(CCardPath().ToString(), "/");
    // Each form reads back what it wrote.
    EXPECT_EQ(CCardPath::Parse(path.ToString()), path);
    EXPECT_EQ(CCardPath::ParseChangeDirectoryText(path.ToChangeDirectoryText()), path);
}

TEST(CardPath, CurrentPathFollowsChangeDirectory)
{
    CRQ540Vfs vfs(NEW_CARD_MODEL);
    ASSERT_EQ(vfs.CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), RESULT_SUCCESS);
    ASSERT_EQ(vfs.CreateFolder(0x00A2, 200), RESULT_SUCCESS);
    ASSERT_EQ(vfs.ChangeDirectory("00A2"), RESULT_SUCCESS);
    EXPECT_EQ(vfs.GetCurrentPath(), Path({0x0001, 0x00A2}));
    ASSERT_EQ(vfs.ChangeDirectory(".."), RESULT_SUCCESS);
    EXPECT_EQ(vfs.GetCurrentPath().ToChangeDirectoryText(), "\\0001");
    ASSERT_EQ(vfs.ChangeDirectory("\\"), RESULT_SUCCESS);
    EXPECT_TRUE(vfs.GetCurrentPath().IsRoot());
}

TEST(IdText, FourUpperCaseDigits)
{
    EXPECT_EQ(FormatId(0x0000), "0000");
    EXPECT_EQ(FormatId(0x00ab), "00AB");
    EXPECT_EQ(FormatId(0xFFFF), "FFFF");
    EXPECT_EQ(FormatHex(0xABCDEF01, 8), "ABCDEF01");
    EXPECT_EQ(FormatHex(0x1FF, 2), "FF");
}

TEST(IdText, DigitValuesOfEitherCaseOnly)
{
    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue('9'), 9);
    EXPECT_EQ(HexDigitValue('a'), 10);
    EXPECT_EQ(HexDigitValue('F'), 15);
    for (char32_t c : {U'g', U'G', U'/', U':', U'@', U'`', U' ', U'\uff11', U'\u0660'})
        EXPECT_EQ(HexDigitValue(c), -1) << static_cast<uint32_t>(c);
    // A byte above 0x7F in a plain char is no digit either.
    EXPECT_EQ(HexDigitValue(static_cast<char>(0xB1)), -1);
}

TEST(PasswordField, ShortTextIsZeroPadded)
{
    const PasswordBuffer field = PasswordField("abcde", 24);
    EXPECT_EQ(std::string(field.begin(), field.begin() + 5), "abcde");
    for (std::size_t i = 5; i < field.size(); ++i)
        ASSERT_EQ(field[i], 0) << i;
}

TEST(PasswordField, LongTextIsCutAtTheLength)
{
    const PasswordBuffer field = PasswordField("123456789", 8);
    EXPECT_EQ(std::string(field.begin(), field.begin() + 8), "12345678");
    EXPECT_EQ(field[8], 0);
    const PasswordBuffer all = PasswordField(std::string(200, 'x'), 1000);
    EXPECT_EQ(all.back(), 'x');
}

TEST(PasswordField, ModelLengthsFitTheBuffer)
{
    EXPECT_LE(GetUserPasswordLength(NEW_CARD_MODEL), PASSWORD_BUFFER_SIZE);
    EXPECT_LE(GetDeveloperPasswordLength(NEW_CARD_MODEL), PASSWORD_BUFFER_SIZE);
}

// Every stored field, whatever its bytes, comes back from its text unchanged once padded.
TEST(PasswordField, TextGivesBackTheStoredBytes)
{
    const std::string fields[] = {
        std::string(8, '\xFF'),                       // an 8-bit code page
        "ab\xE5\xAF\x86\xE7\xA0",                     // "ab密" and a character cut at the end
        "\xE5\xAF\x86\xE7\xA0\x81",                   // "密码", valid
        std::string("a\0b", 3),                        // a zero inside the field
        "\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80",     // overlong, surrogate, beyond U+10FFFF
        "\xF0\x90\x80\x80\xDC",                       // U+10000 before a lone byte
        "",
    };
    for (const std::string& bytes : fields) {
        const std::u16string text = PasswordFieldText(
            std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_EQ(PasswordFieldBytes(text), bytes) << testing::PrintToString(bytes);
    }
}

TEST(PasswordField, TextDecodesUtf8AndEscapesTheRest)
{
    const std::string bytes = "\xE5\xAF\x86\xFF";
    EXPECT_EQ(PasswordFieldText(std::span(reinterpret_cast<const uint8_t*>(bytes.data()),
                                          bytes.size())),
              u"\u5BC6\xDCFF");
    const uint8_t padded[8] = {'1', '2', 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(PasswordFieldText(padded), u"12");
}

TEST(PasswordField, LimitCountsBytesNotCharacters)
{
    EXPECT_TRUE(FitsPasswordField(u"密码", 8));
    EXPECT_FALSE(FitsPasswordField(u"密码一", 8));   // 9 bytes
    EXPECT_TRUE(FitsPasswordField(u"12345678", 8));
    EXPECT_FALSE(FitsPasswordField(u"123456789", 8));
    EXPECT_TRUE(FitsPasswordField(u"密码一二三四五六", 24));
    EXPECT_FALSE(FitsPasswordField(u"密码一二三四五六七", 24));
}
