#include "DialogChecks.h"

#include <gtest/gtest.h>

#include <string>

using namespace DialogChecks;

TEST(HexIdField, KeepsOnlyHexDigitsInOrder)
{
    EXPECT_EQ(FilterHexDigits(u"12g4"), u"124");
    EXPECT_EQ(FilterHexDigits(u"x1y2"), u"12");
    EXPECT_EQ(FilterHexDigits(u"aBcDeF09"), u"aBcDeF09");
    EXPECT_EQ(FilterHexDigits(u"gG /:@`"), u"");
    // Wide characters pasted from elsewhere go too, digits around them stay.
    EXPECT_EQ(FilterHexDigits(u"文件1A\u00fe"), u"1A");
}

TEST(HexIdField, ReadsUpToFourLeadingDigits)
{
    EXPECT_EQ(ParseHexId(u"1"), 0x0001);
    EXPECT_EQ(ParseHexId(u"1A"), 0x001A);
    EXPECT_EQ(ParseHexId(u"0100"), 0x0100);
    EXPECT_EQ(ParseHexId(u"ffff"), 0xFFFF);
    EXPECT_EQ(ParseHexId(u"0"), 0x0000);
    EXPECT_EQ(ParseHexId(u"12345"), 0x1234);
    EXPECT_EQ(ParseHexId(u"3fz9"), 0x003F);
}

TEST(HexIdField, TextWithoutLeadingDigitHasNoId)
{
    EXPECT_FALSE(ParseHexId(u"").has_value());
    EXPECT_FALSE(ParseHexId(u"g1").has_value());
    EXPECT_FALSE(ParseHexId(u" 1").has_value());
}

TEST(UnsignedText, StopsAtFirstCharacterThatDoesNotFit)
{
    EXPECT_EQ(ParseUnsigned(u"10240"), 10240u);
    EXPECT_EQ(ParseUnsigned(u"12abc"), 12u);
    EXPECT_EQ(ParseUnsigned(u"  \t7"), 7u);
    EXPECT_EQ(ParseUnsigned(u"+5"), 5u);
    EXPECT_EQ(ParseUnsigned(u"4294967295"), 4294967295u);
}

TEST(UnsignedText, MinusWrapsAndOverflowSaturates)
{
    EXPECT_EQ(ParseUnsigned(u"-1"), 4294967295u);
    EXPECT_EQ(ParseUnsigned(u"-16"), 4294967280u);
    EXPECT_EQ(ParseUnsigned(u"-0"), 0u);
    EXPECT_EQ(ParseUnsigned(u"4294967296"), 4294967295u);
    EXPECT_EQ(ParseUnsigned(u"99999999999999999999999"), 4294967295u);
}

TEST(UnsignedText, NoDigitGivesNoNumber)
{
    EXPECT_FALSE(ParseUnsigned(u"").has_value());
    EXPECT_FALSE(ParseUnsigned(u"   ").has_value());
    EXPECT_FALSE(ParseUnsigned(u"abc").has_value());
    EXPECT_FALSE(ParseUnsigned(u"-").has_value());
    EXPECT_FALSE(ParseUnsigned(u"- 5").has_value());
    EXPECT_FALSE(ParseUnsigned(u"\uff15").has_value());  // full-width five
}

TEST(FileSizeRule, BoundaryAtFreeSpaceLessHeader)
{
    EXPECT_TRUE(IsFileSizeAccepted(984, 1000, 16));
    EXPECT_FALSE(IsFileSizeAccepted(985, 1000, 16));
    EXPECT_FALSE(IsFileSizeAccepted(0, 1000, 16));
    EXPECT_TRUE(IsFileSizeAccepted(1, 17, 16));
    EXPECT_EQ(LargestFileSize(1000, 16), 984u);
}

TEST(FileSizeRule, SumDoesNotWrapAround)
{
    EXPECT_FALSE(IsFileSizeAccepted(4294967295u, 1000, 16));
    EXPECT_FALSE(IsFileSizeAccepted(4294967290u, 61886, 16));
}

TEST(FileSizeRule, FreeSpaceBelowHeaderAcceptsNothing)
{
    for (uint32_t size : {0u, 1u, 15u, 16u, 4294967295u})
        EXPECT_FALSE(IsFileSizeAccepted(size, 15, 16)) << size;
    EXPECT_FALSE(IsFileSizeAccepted(1, 16, 16));
    EXPECT_EQ(LargestFileSize(15, 16), 0u);
    EXPECT_EQ(LargestFileSize(16, 16), 0u);
}

TEST(FolderSizeRule, BoundaryAtFreeSpace)
{
    EXPECT_TRUE(IsFolderSizeAccepted(5000, 5000));
    EXPECT_FALSE(IsFolderSizeAccepted(5001, 5000));
    EXPECT_FALSE(IsFolderSizeAccepted(0, 5000));
    EXPECT_TRUE(IsFolderSizeAccepted(1, 5000));
    EXPECT_FALSE(IsFolderSizeAccepted(1, 0));
}

TEST(ImportSize, DiskLengthAgainstFreeSpace)
{
    EXPECT_EQ(SizeFromDiskLength(100, 5000, 16), 100u);
    EXPECT_EQ(SizeFromDiskLength(6000, 5000, 16), 4984u);
    EXPECT_EQ(SizeFromDiskLength(4990, 5000, 16), 4990u);
    EXPECT_EQ(SizeFromDiskLength(5000, 5000, 16), 5000u);
    EXPECT_EQ(SizeFromDiskLength(5001, 5000, 16), 4984u);
    // A file beyond 4 GiB whose low 32 bits are small is still too large.
    EXPECT_EQ(SizeFromDiskLength(0x100000064ull, 5000, 16), 4984u);
    EXPECT_EQ(SizeFromDiskLength(20, 10, 16), 0u);
}

TEST(ImportSize, LengthAsSizeSaturates)
{
    EXPECT_EQ(DiskLengthAsSize(10), 10u);
    EXPECT_EQ(DiskLengthAsSize(0x100000064ull), 4294967295u);
}

TEST(TypeList, PositionToTypeByte)
{
    EXPECT_EQ(TypeFromListIndex(0), 0);
    EXPECT_EQ(TypeFromListIndex(1), 4);
    EXPECT_EQ(TypeFromListIndex(2), 1);
    EXPECT_EQ(TypeFromListIndex(3), 2);
    EXPECT_EQ(TypeFromListIndex(4), 3);
    EXPECT_EQ(TypeFromListIndex(-1), 0);
    EXPECT_EQ(TypeFromListIndex(5), 0);
}

TEST(HardwareText, CanonicalForm)
{
    EXPECT_EQ(FormatSerialNumber({0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xFF}),
              "00112233445566FF");
    EXPECT_EQ(FormatSerialNumber({}), "0000000000000000");
    EXPECT_EQ(FormatCustomerNumber(0), "00000000");
    EXPECT_EQ(FormatCustomerNumber(0xABCDEF01), "ABCDEF01");
    EXPECT_EQ(FormatCustomerNumber(65535), "0000FFFF");
}

TEST(HardwareText, SerialScanAcceptsEitherCase)
{
    const SerialNumber expected{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xFF};
    EXPECT_EQ(ScanSerialNumber(u"00112233445566FF"), expected);
    EXPECT_EQ(ScanSerialNumber(u"00112233445566ff"), expected);
}

TEST(HardwareText, ShortSerialIsPaddedOnTheRight)
{
    EXPECT_EQ(ScanSerialNumber(u"ABC"), (SerialNumber{0xAB, 0xC0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ScanSerialNumber(u""), SerialNumber{});
    EXPECT_EQ(ScanSerialNumber(u"123456789abcdef"),
              (SerialNumber{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}));
}

TEST(HardwareText, PairNotStartingWithHexDigitStoresZero)
{
    // "G1" and " 2" give 0; "3X" gives the single digit 3.
    EXPECT_EQ(ScanSerialNumber(u"11G1 23X44556677"),
              (SerialNumber{0x11, 0x00, 0x00, 0x03, 0x44, 0x55, 0x66, 0x77}));
}

TEST(HardwareText, CustomerNumberPaddedAndScanned)
{
    EXPECT_EQ(ScanCustomerNumber(u"12"), 0x12000000u);
    EXPECT_EQ(ScanCustomerNumber(u"0000ffff"), 65535u);
    EXPECT_EQ(ScanCustomerNumber(u"FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ScanCustomerNumber(u""), 0u);
    EXPECT_EQ(ScanCustomerNumber(u"1234z678"), 0x1234u);
    EXPECT_EQ(ScanCustomerNumber(u"-1"), 0u);
}

TEST(HardwareText, ScanOfFormattedTextRoundTrips)
{
    const SerialNumber serial{0xDE, 0xAD, 0xBE, 0xEF, 0x01, 0x23, 0x45, 0x67};
    const std::string text = FormatSerialNumber(serial);
    EXPECT_EQ(ScanSerialNumber(std::u16string(text.begin(), text.end())), serial);
    const std::string customer = FormatCustomerNumber(0x00C0FFEE);
    EXPECT_EQ(ScanCustomerNumber(std::u16string(customer.begin(), customer.end())), 0x00C0FFEEu);
}
