// Commands that show the card: listings, totals and help.
#include "RqfsTest.h"
#include "Sha256.h"

#include <nlohmann/json.hpp>

class InspectCommands : public RqfsTest {
protected:
    void SetUp() override
    {
        RqfsTest::SetUp();
        // A folder of 1000 bytes holding a 10-byte file, then a file at the root.
        RunOk({"mkdir", m_image, "/1", "--size", "1000"});
        RunOk({"add", m_image, "/1/2", "--type", "data", "--size", "10"});
        RunOk({"add", m_image, "/a", "--type", "exec", "--size", "3"});
    }
};

TEST_F(InspectCommands, LsListsTheFolderHeadFirstWithSizesAndFreeSpace)
{
    EXPECT_EQ(RunOk({"ls", m_image}),
              "000A  exec                   3\n"
              "0001  folder              1000  free 872\n");
    EXPECT_EQ(RunOk({"ls", m_image, "/1"}), "0002  data                  10\n");

    const nlohmann::json listing = nlohmann::json::parse(RunOk({"ls", m_image, "1", "--json"}));
    EXPECT_EQ(listing["path"], "/0001");
    ASSERT_EQ(listing["entries"].size(), 1u);
    EXPECT_EQ(listing["entries"][0],
              (nlohmann::json{{"id", "0002"}, {"path", "/0001/0002"}, {"kind", "file"},
                              {"type", 1}, {"typeName", "data"}, {"size", 10}}));
}

TEST_F(InspectCommands, TreeIndentsEachLevelUnderTheRoot)
{
    EXPECT_EQ(RunOk({"tree", m_image}),
              "3F00  folder             61988  free 60867\n"
              "  000A  exec                   3\n"
              "  0001  folder              1000  free 872\n"
              "    0002  data                  10\n");
    const nlohmann::json tree = nlohmann::json::parse(RunOk({"tree", m_image, "--json"}));
    EXPECT_EQ(tree["path"], "/");
    EXPECT_EQ(tree["children"][1]["children"][0]["path"], "/0001/0002");
}

TEST_F(InspectCommands, InfoSumsUpTheRootOrAFolder)
{
    // Whichever folder it sums up, info names the whole image by its digest.
    const std::string sha = RQ540::Cli::CSha256::Hex(ReadBytes(m_image));
    EXPECT_EQ(RunOk({"info", m_image}),
              "total size      61988\n"
              "free space      60867\n"
              "folders         2\n"
              "files           2\n"
              "file data size  13\n"
              "sha256          " + sha + "\n");
    EXPECT_EQ(nlohmann::json::parse(RunOk({"info", m_image, "/1", "--json"})),
              (nlohmann::json{{"totalSize", 1000}, {"freeSpace", 872}, {"folderCount", 1},
                              {"fileCount", 1}, {"fileDataSize", 10}, {"path", "/0001"},
                              {"sha256", sha}}));
}

TEST_F(InspectCommands, HelpDescribesEveryCommandAndOption)
{
    const std::string overview = RunOk({"--help"});
    for (const char* command : {"new", "ls", "tree", "info", "mkdir", "add", "write", "cat",
                                "export", "rm", "cp", "passwd", "format", "check", "batch"}) {
        EXPECT_NE(overview.find(std::string("\n  ") + command + " "), std::string::npos) << command;
    }
    const std::string add = RunOk({"add", "--help"});
    for (const char* option : {"IMAGE", "PATH", "--type", "--size", "--from"})
        EXPECT_NE(add.find(option), std::string::npos) << option;
    const std::string mkdir = RunOk({"mkdir", "--help"});
    for (const char* option : {"--size", "--user-password", "--developer-password"})
        EXPECT_NE(mkdir.find(option), std::string::npos) << option;
    EXPECT_NE(RunOk({"write", "--help"}).find("--offset"), std::string::npos);
    EXPECT_NE(RunOk({"new", "--help"}).find("--force"), std::string::npos);
}
