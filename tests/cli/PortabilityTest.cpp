// What scripts rely on wherever rqfs runs: names in any language wherever a file is named,
// every byte unchanged through standard input and output, and scripts and manifests as
// editors on Windows write them.
#include "LayoutTest.h"

#include <algorithm>

namespace {

std::string EveryByte()
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes += static_cast<char>(value);
    // Line ends and the byte where a text stream on Windows would end.
    return bytes + "\r\n\x1A\n\r";
}

}  // namespace

TEST_F(LayoutTest, ChineseNamesWorkWhereverAFileIsNamed)
{
    const std::string image = "卡片.rqfs";
    RunOk({"new", image});
    WriteText("输入.bin", "licence");
    RunOk({"add", image, "/1", "--type", "data", "--from", "输入.bin"});
    WriteText("脚本.rqb", "mkdir /2 --size 200\nexport /1 导出.bin\n");
    RunOk({"batch", image, "脚本.rqb"});
    EXPECT_EQ(ReadBytes("导出.bin"), ReadBytes("输入.bin"));
    Dump(image, "转储");
    RunOk({"build", "转储", "重建.rqfs"});
    EXPECT_EQ(ReadBytes("重建.rqfs"), ReadBytes(image));
    EXPECT_EQ(RunOk({"diff", image, "转储"}), "");

    // The names on disk are the names given, and messages give them back as they were typed.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf("")))
        names.push_back(RQ540::DiskFile::Utf8FromPath(entry.path().filename()));
    for (const char* name : {"卡片.rqfs", "输入.bin", "导出.bin", "转储", "重建.rqfs"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    EXPECT_EQ(Run({"ls", "缺失.rqfs"}).err,
              "rqfs: load 缺失.rqfs: no such file or folder: 打开文件失败 (result 1, detail 5)\n");
}

TEST_F(RqfsTest, StandardInputAndOutputCarryEveryByteUnchanged)
{
    const std::string bytes = EveryByte();
    RunOk({"add", m_image, "/1", "--type", "data", "--from", "-"}, bytes);
    EXPECT_EQ(RunOk({"cat", m_image, "/1"}), bytes);
    EXPECT_EQ(RunOk({"export", m_image, "/1", "-"}), bytes);
    // A script on standard input goes on past a 0x1A byte.
    RunOk({"batch", m_image}, "# \x1A\nmkdir /2 --size 200\n");
    EXPECT_NE(RunOk({"ls", m_image}).find("0002  folder"), std::string::npos);
}

TEST_F(LayoutTest, ScriptsAndManifestsWrittenOnWindowsReadAsAnyOther)
{
    // A byte-order mark, CR LF line ends and, from an older editor, a CR alone.
    WriteText("windows.rqb", "\xEF\xBB\xBFmkdir /1 --size 300\r\nadd /1/2 --type data --size 4\r\n"
                             "\r\n# a comment\r\nmkdir /3 --size 200\rmkdir /4 --size 200\r\n");
    RunOk({"batch", m_image, "windows.rqb"});
    WriteText("unix.rqb", "mkdir /1 --size 300\nadd /1/2 --type data --size 4\nmkdir /3 --size 200\n"
                          "mkdir /4 --size 200\n");
    RunOk({"new", "unix.rqfs"});
    RunOk({"batch", "unix.rqfs", "unix.rqb"});
    EXPECT_EQ(ReadBytes(m_image), ReadBytes("unix.rqfs"));

    Dump(m_image, "dump");
    const std::vector<uint8_t> manifest = ReadBytes("dump/card.json");
    std::string windows = "\xEF\xBB\xBF";
    for (const uint8_t byte : manifest)
        windows += byte == '\n' ? std::string("\r\n") : std::string(1, static_cast<char>(byte));
    WriteText("dump/card.json", windows);
    RunOk({"build", "dump", "again.rqfs"});
    EXPECT_EQ(ReadBytes("again.rqfs"), ReadBytes(m_image));
}
