#include "rq540/CardModel.h"
#include "rq540/VirtualFileSystem.h"

#include <gtest/gtest.h>

#include <string>

using namespace RQ540;

TEST(CardModel, Model0Parameters)
{
    EXPECT_EQ(GetCapacity(0), 61988u);
    EXPECT_EQ(GetFileHeaderCost(0), 16u);
    EXPECT_EQ(GetFolderHeaderCost(0), 102u);
    EXPECT_EQ(GetMaxDepth(0), 3u);
    EXPECT_EQ(GetMaxEntries(0), 255u);
    EXPECT_EQ(GetUserPasswordLength(0), 8u);
    EXPECT_EQ(GetDeveloperPasswordLength(0), 24u);
    EXPECT_EQ(GetFileTypeCount(0), 5u);
    EXPECT_STREQ(GetDefaultUserPassword(0), "73920184");
    EXPECT_STREQ(GetDefaultDeveloperPassword(0), "582936145829361458293614");
    EXPECT_TRUE(IsKnownModel(0));
    EXPECT_FALSE(IsKnownModel(1));
    EXPECT_FALSE(IsKnownModel(-1));
}

TEST(CardModel, ReservedIdsCompareLow16Bits)
{
    EXPECT_TRUE(IsReservedId(0, 0x0000));
    EXPECT_TRUE(IsReservedId(0, 0x3F00));
    EXPECT_TRUE(IsReservedId(0, 0x3F01));
    EXPECT_TRUE(IsReservedId(0, 0x12343F00));
    EXPECT_TRUE(IsReservedId(0, 0x10000));
    EXPECT_FALSE(IsReservedId(0, 0x0001));
    EXPECT_FALSE(IsReservedId(0, 0x3F02));
}

TEST(CardModel, FileTypesCompareLow8Bits)
{
    for (uint32_t type = 0; type < 5; ++type)
        EXPECT_TRUE(IsValidFileType(0, type)) << type;
    EXPECT_TRUE(IsValidFileType(0, 0xABCD0004));
    EXPECT_FALSE(IsValidFileType(0, 5));
    EXPECT_FALSE(IsValidFileType(0, 0xFF));
    EXPECT_FALSE(IsValidFileType(0, 0x105));
}

TEST(CardModel, MessagesOfResultAndDetailCodes)
{
    EXPECT_STREQ(GetErrorMessage(0), "没有错误");
    EXPECT_STREQ(GetErrorMessage(12), "文件夹空间不足");
    EXPECT_STREQ(GetErrorMessage(13), "文件或子目录已存在");
    EXPECT_STREQ(GetErrorMessage(21), "内存越界");
    EXPECT_EQ(GetErrorMessage(22), nullptr);
    EXPECT_EQ(GetErrorMessage(-1), nullptr);
    EXPECT_STREQ(GetDetailMessage(1), "目录深度已达限制");
    EXPECT_STREQ(GetDetailMessage(7), "无效的文件格式");
    EXPECT_EQ(GetDetailMessage(8), nullptr);
    for (int32_t code = 0; code < RESULT_CODE_COUNT; ++code)
        EXPECT_NE(GetErrorMessage(code), nullptr) << code;
}

TEST(CardModel, ErrorTextOfCode1IsTheLastDetail)
{
    CVirtualFileSystem vfs(0);
    EXPECT_STREQ(vfs.GetErrorText(1), "没有错误");
    ASSERT_EQ(vfs.ChangeDirectory("0009"), 1);
    EXPECT_STREQ(vfs.GetErrorText(1), "目录不存在");
    EXPECT_STREQ(vfs.GetErrorText(5), "文件没找到");
    // A later success keeps the detail.
    ASSERT_EQ(vfs.CreateFolder(1, 200), 0);
    EXPECT_STREQ(vfs.GetErrorText(1), "目录不存在");
}
