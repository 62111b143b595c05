// Every refusal ends with a non-zero status and leaves the image byte for byte as it was.
// The card's refusals print one line in a fixed form ending with its result code.
#include "RqfsTest.h"

#include <filesystem>
#include <string>

namespace {

struct RefusalCase {
    const char* name;
    std::vector<std::string> args;  // "IMG" stands for the image
    int status;
    const char* err;  // the exact standard error; null when only the status matters
};

// /0001 (1000 bytes) holds /0001/0002 (300 bytes), which holds file /0001/0002/0003;
// the root also holds file /000F of 4 bytes and the full folder /000E.
constexpr const char* kLayout =
    "mkdir /1 --size 1000\n"
    "mkdir /1/2 --size 300\n"
    "add /1/2/3 --type data --size 10\n"
    "add /F --type data --size 4\n"
    "mkdir /E --size 102\n";

const RefusalCase kCases[] = {
    {"MkdirExisting", {"mkdir", "IMG", "/1", "--size", "200"}, 1,
     "rqfs: mkdir /0001: 文件或子目录已存在 (result 13)\n"},
    {"MkdirBelowHeaderSize", {"mkdir", "IMG", "/5", "--size", "101"}, 1,
     "rqfs: mkdir /0005: 无效的长度 (result 4)\n"},
    {"MkdirTooLarge", {"mkdir", "IMG", "/1/5", "--size", "700"}, 1,
     "rqfs: mkdir /0001/0005: 文件夹空间不足 (result 12)\n"},
    {"MkdirFourthLevel", {"mkdir", "IMG", "/1/2/4", "--size", "102"}, 1,
     "rqfs: mkdir /0001/0002/0004: 目录深度已达限制 (result 1, detail 1)\n"},
    {"AddInMissingFolder", {"add", "IMG", "/9/1", "--type", "data", "--size", "1"}, 1,
     "rqfs: add /0009/0001: 目录不存在 (result 1, detail 2)\n"},
    {"AddBadType", {"add", "IMG", "/5", "--type", "5", "--size", "1"}, 1,
     "rqfs: add /0005: 无效的参数 (result 2)\n"},
    {"AddTooLarge", {"add", "IMG", "/1/2/5", "--type", "data", "--size", "157"}, 1,
     "rqfs: add /0001/0002/0005: 文件夹空间不足 (result 12)\n"},
    {"WritePastTheEnd", {"write", "IMG", "/F", "--from", "-", "--offset", "4294967295"}, 1,
     "rqfs: write /000F: 文件读写越界 (result 9)\n"},
    {"WriteMissingFile", {"write", "IMG", "/1/5", "--from", "-"}, 1,
     "rqfs: write /0001/0005: 文件没找到 (result 5)\n"},
    {"CatAFolder", {"cat", "IMG", "/1"}, 1, "rqfs: cat /0001: 文件没找到 (result 5)\n"},
    {"RmMissing", {"rm", "IMG", "/1/9"}, 1, "rqfs: rm /0001/0009: 文件没找到 (result 5)\n"},
    {"CpMissingSource", {"cp", "IMG", "/1/9", "/"}, 1,
     "rqfs: cp /0001/0009 /: 文件没找到 (result 5)\n"},
    {"CpMissingDestination", {"cp", "IMG", "/F", "/7"}, 1,
     "rqfs: cp /000F /0007: 目录不存在 (result 1, detail 2)\n"},
    {"CpOntoSameId", {"cp", "IMG", "/1/2", "/1"}, 1,
     "rqfs: cp /0001/0002 /0001: 文件或子目录已存在 (result 13)\n"},
    {"CpTooDeep", {"cp", "IMG", "/1", "/1"}, 1,
     "rqfs: cp /0001 /0001: 目录深度已达限制 (result 1, detail 1)\n"},
    {"CpTooLarge", {"cp", "IMG", "/F", "/E"}, 1,
     "rqfs: cp /000F /000E: 文件夹空间不足 (result 12)\n"},
    {"PasswdMissingFolder", {"passwd", "IMG", "/F", "--user-password", "x"}, 1,
     "rqfs: passwd /000F: 目录不存在 (result 1, detail 2)\n"},
    {"LsMissingFolder", {"ls", "IMG", "/8"}, 1,
     "rqfs: ls /0008: 目录不存在 (result 1, detail 2)\n"},
    {"ExportToAFolder", {"export", "IMG", "/F", "."}, 1,
     "rqfs: cannot write '.': not a regular file\n"},
    {"AddFromMissingFile", {"add", "IMG", "/5", "--type", "data", "--from", "nothing"}, 1,
     "rqfs: cannot open 'nothing' for reading: no such file or folder\n"},

    {"UnknownCommand", {"move", "IMG", "/1"}, 2, "rqfs: unknown command 'move'\n"},
    {"BadPath", {"rm", "IMG", "/00001"}, 2, nullptr},
    {"RootAsEntry", {"rm", "IMG", "/"}, 2, nullptr},
    {"MissingSize", {"mkdir", "IMG", "/5"}, 2, nullptr},
    {"NegativeSize", {"mkdir", "IMG", "/5", "--size", "-1"}, 2, nullptr},
    {"SizePast32Bits", {"add", "IMG", "/5", "--type", "data", "--size", "4294967312"}, 2,
     nullptr},
    {"OffsetPast32Bits",
     {"write", "IMG", "/F", "--from", "-", "--offset", "4294967296"}, 2, nullptr},
    {"TypePastAByte", {"add", "IMG", "/5", "--type", "256", "--size", "1"}, 2, nullptr},
    {"AddWithoutSizeOrInput", {"add", "IMG", "/5", "--type", "data"}, 2, nullptr},
    {"PasswdWithoutPasswords", {"passwd", "IMG", "/"}, 2, nullptr},
    {"ExtraArgument", {"rm", "IMG", "/F", "/1"}, 2, nullptr},
};

// gtest names the case instead of dumping its bytes.
void PrintTo(const RefusalCase& value, std::ostream* os) { *os << value.name; }

}  // namespace

class Refusal : public RqfsTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusal, ReportsTheCodeAndLeavesTheImageUntouched)
{
    const RefusalCase& refusal = GetParam();
    RunOk({"batch", m_image}, kLayout);
    const std::vector<uint8_t> before = ReadBytes(m_image);

    std::vector<std::string> args = refusal.args;
    for (std::string& arg : args)
        arg = arg == "IMG" ? m_image : arg;
    const RqfsResult result = Run(args);
    EXPECT_EQ(result.status, refusal.status);
    if (refusal.err)
        EXPECT_EQ(result.err, refusal.err);
    else
        EXPECT_TRUE(result.err.starts_with("rqfs: ")) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(ReadBytes(m_image), before);
}

INSTANTIATE_TEST_SUITE_P(Commands, Refusal, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RqfsTest, AnInputPast32BitsIsAUsageErrorAndIsNotRead)
{
    // Sparse, so it costs no disk; rqfs must measure it rather than read it.
    WriteText("huge.bin", "");
    std::filesystem::resize_file(PathOf("huge.bin"), 4294967296ULL);
    const std::vector<uint8_t> before = ReadBytes(m_image);
    const RqfsResult result = Run({"add", m_image, "/1", "--type", "data", "--from", "huge.bin"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "rqfs: 'huge.bin' is longer than 4294967295 bytes\n");
    EXPECT_EQ(ReadBytes(m_image), before);
}

TEST_F(RqfsTest, AnImageThatCannotBeLoadedIsAFailureThatSaysWhy)
{
    const RqfsResult result = Run({"ls", "missing.rqfs"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "rqfs: load missing.rqfs: no such file or folder: 打开文件失败 (result 1, detail 5)\n");
}
