// diff: each kind of change between a card and a changed copy of it (an image changed by
// rqfs commands, or a dump folder with its manifest edited), as text and as JSON, and the
// exit status diff scripts expect: 0 the same, 1 different, 2 trouble.
#include "LayoutTest.h"

namespace {

struct Change {
    const char* text;  // the line, without its line end
    const char* json;  // the object in "changes"
};

struct DiffCase {
    const char* name;
    // rqfs commands on a copy of the card (each without the image), or else edits of the
    // card's dump: pointer and JSON text pairs.
    std::vector<std::vector<std::string>> commands;
    std::vector<std::pair<const char*, const char*>> edits;
    std::vector<Change> changes;
};

// The card: folder /0001 (400 bytes) with data file 0010 ("twelve bytes") and private-key
// file 0011 (8 bytes); exec file /0002 (16 bytes); empty folder /0003 (200 bytes). The root
// lists 0003, 0002, 0001 and has 61254 bytes free; /0001 has 246, /0003 98.
const DiffCase kDiffCases[] = {
    {"AddedFile", {{"add", "/4", "--type", "data", "--size", "4"}}, {},
     {{"/: free space 61254 -> 61234",
       R"({"path":"/","change":"free-space","from":61254,"to":61234})"},
      {"/0004: added file (data, 4 bytes)",
       R"({"path":"/0004","change":"added","kind":"file","type":"data","size":4})"}}},
    {"RemovedFolderWithItsFiles", {{"rm", "/1"}}, {},
     {{"/: free space 61254 -> 61654",
       R"({"path":"/","change":"free-space","from":61254,"to":61654})"},
      {"/0001: removed folder (400 bytes)",
       R"({"path":"/0001","change":"removed","kind":"folder","size":400})"},
      {"/0001/0010: removed file (data, 12 bytes)",
       R"({"path":"/0001/0010","change":"removed","kind":"file","type":"data","size":12})"},
      {"/0001/0011: removed file (private-key, 8 bytes)",
       R"({"path":"/0001/0011","change":"removed","kind":"file","type":"private-key","size":8})"}}},
    {"FileBecameAFolder", {{"rm", "/2"}, {"mkdir", "/2", "--size", "200"}}, {},
     {{"/: free space 61254 -> 61086",
       R"({"path":"/","change":"free-space","from":61254,"to":61086})"},
      {"/: list order changed", R"({"path":"/","change":"order"})"},
      {"/0002: removed file (exec, 16 bytes)",
       R"({"path":"/0002","change":"removed","kind":"file","type":"exec","size":16})"},
      {"/0002: added folder (200 bytes)",
       R"({"path":"/0002","change":"added","kind":"folder","size":200})"}}},
    {"ListOrder", {{"rm", "/2"}, {"add", "/2", "--type", "exec", "--size", "16"}}, {},
     {{"/: list order changed", R"({"path":"/","change":"order"})"}}},
    {"Password", {{"passwd", "/1", "--developer-password", "x"}}, {},
     {{"/0001: developer password changed",
       R"({"path":"/0001","change":"developer-password"})"}}},
    {"Contents", {{"write", "/1/10", "--from", "-", "--offset", "2"}}, {},
     {{"/0001/0010: contents differ in 2 bytes, the first at offset 2",
       R"({"path":"/0001/0010","change":"contents","firstOffset":2,"differingBytes":2})"}}},
    {"Type", {}, {{"/children/1/type", R"("data")"}},
     {{"/0002: type exec -> data",
       R"({"path":"/0002","change":"type","from":"exec","to":"data"})"}}},
    {"FileSize", {}, {{"/children/1/size", "20"}, {"/free", "61250"}},
     {{"/: free space 61254 -> 61250",
       R"({"path":"/","change":"free-space","from":61254,"to":61250})"},
      {"/0002: size 16 -> 20", R"({"path":"/0002","change":"size","from":16,"to":20})"},
      {"/0002: contents differ in 4 bytes, the first at offset 16",
       R"({"path":"/0002","change":"contents","firstOffset":16,"differingBytes":4})"}}},
    {"CreatedSize", {},
     {{"/children/0/size", "300"}, {"/children/0/free", "198"}, {"/free", "61154"}},
     {{"/: free space 61254 -> 61154",
       R"({"path":"/","change":"free-space","from":61254,"to":61154})"},
      {"/0003: created size 200 -> 300",
       R"({"path":"/0003","change":"created-size","from":200,"to":300})"},
      {"/0003: free space 98 -> 198",
       R"({"path":"/0003","change":"free-space","from":98,"to":198})"}}},
};

void PrintTo(const DiffCase& value, std::ostream* os) { *os << value.name; }

}  // namespace

class LayoutDiff : public LayoutTest {
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        RunOk({"mkdir", m_image, "/1", "--size", "400"});
        RunOk({"add", m_image, "/1/10", "--type", "data", "--from", "-"}, "twelve bytes");
        RunOk({"add", m_image, "/1/11", "--type", "private-key", "--size", "8"});
        RunOk({"add", m_image, "/2", "--type", "exec", "--size", "16"});
        RunOk({"mkdir", m_image, "/3", "--size", "200"});
    }
};

class LayoutDiffCases : public LayoutDiff, public ::testing::WithParamInterface<DiffCase> {};

TEST_P(LayoutDiffCases, ReportsTheChangeAsTextAndJson)
{
    std::string changed = "b.rqfs";
    std::filesystem::copy_file(PathOf(m_image), PathOf(changed));
    for (std::vector<std::string> command : GetParam().commands) {
        command.insert(command.begin() + 1, changed);
        RunOk(command, "XY");
    }
    if (!GetParam().edits.empty()) {
        changed = "dump";
        Dump(m_image, changed);
        auto manifest = ReadManifest(changed);
        for (const auto& [pointer, value] : GetParam().edits)
            manifest[nlohmann::ordered_json::json_pointer(pointer)] =
                nlohmann::ordered_json::parse(value);
        WriteManifest(changed, manifest);
    }
    std::string text;
    nlohmann::json changes = nlohmann::json::array();
    for (const Change& change : GetParam().changes) {
        text += std::string(change.text) + "\n";
        changes.push_back(nlohmann::json::parse(change.json));
    }

    const RqfsResult lines = Run({"diff", m_image, changed});
    EXPECT_EQ(lines.status, 1) << lines.err;
    EXPECT_EQ(lines.out, text);
    const RqfsResult json = Run({"diff", m_image, changed, "--json"});
    EXPECT_EQ(json.status, 1) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out),
              (nlohmann::json{{"same", false}, {"changes", changes}}));
}

INSTANTIATE_TEST_SUITE_P(Rqfs, LayoutDiffCases, ::testing::ValuesIn(kDiffCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutDiff, TheSameCardsExitZeroAndTroubleExitsTwo)
{
    Dump(m_image, "dump");
    EXPECT_EQ(RunOk({"diff", "dump", m_image}), "");
    EXPECT_EQ(nlohmann::json::parse(RunOk({"diff", m_image, "dump", "--json"})),
              (nlohmann::json{{"same", true}, {"changes", nlohmann::json::array()}}));

    const RqfsResult missing = Run({"diff", m_image, "absent.rqfs"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "rqfs: load absent.rqfs: no such file or folder: 打开文件失败 (result 1, detail 5)\n");
    // A dump the card refuses is trouble too, named where it goes wrong.
    auto manifest = ReadManifest("dump");
    manifest["children"][0]["size"] = 99999;
    WriteManifest("dump", manifest);
    const RqfsResult refused = Run({"diff", m_image, "dump"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err,
              "rqfs: diff dump/card.json: /children/0/size: 文件夹空间不足 (result 12)\n");
    // Its reports are written like every other: one line, control characters escaped,
    // whether they come from the manifest or, on POSIX, from a name.
    WriteText("dump/card.json", "{\"model\": 0, \"a\\tb\\u0001\": 1}");
    const RqfsResult unknown = Run({"diff", m_image, "dump"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "rqfs: diff dump/card.json: /a\\tb\\x01: unknown key\n");
#ifndef _WIN32
    std::filesystem::rename(PathOf("dump"), PathOf("dump\x01"));
    WriteText("dump\x01/card.json", R"({"model": 0, "free": 1e400})");
    const RqfsResult overflow = Run({"diff", m_image, "dump\x01"});
    EXPECT_EQ(overflow.status, 2);
    EXPECT_EQ(overflow.err,
              "rqfs: diff dump\\x01/card.json: /free: number overflow parsing '1e400'\n");
#endif
}
