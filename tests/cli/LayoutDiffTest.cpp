// diff: each kind of change between a card and a changed copy of it (an image changed by
// rqfs commands, or a dump folder with its manifest edited), as text and as JSON, and the
// exit status diff scripts expect: 0 the same, 1 different, 2 trouble.
#include "LayoutTest.h"

namespace {

struct Edit {
    const char* pointer;
    const char* value;  // JSON text
};

struct DiffCase {
    const char* name;
    // rqfs commands on a copy of the card (each without the image), or else ...
    std::vector<std::vector<std::string>> commands;
    // ... edits of the card's dump.
    std::vector<Edit> edits;
    const char* text;
    const char* json;  // the "changes" array
};

// The card: folder /0001 (400 bytes) with data file 0010 ("twelve bytes") and private-key
// file 0011 (8 bytes); exec file /0002 (16 bytes); empty folder /0003 (200 bytes). The root
// lists 0003, 0002, 0001 and has 61254 bytes free; /0001 has 246, /0003 98.
const DiffCase kDiffCases[] = {
    {"AddedFile", {{"add", "/4", "--type", "data", "--size", "4"}}, {},
     "/: free space 61254 -> 61234\n"
     "/0004: added file (data, 4 bytes)\n",
     R"([{"path":"/","change":"free-space","from":61254,"to":61234},
         {"path":"/0004","change":"added","kind":"file","type":"data","size":4}])"},
    {"RemovedFolderWithItsFiles", {{"rm", "/1"}}, {},
     "/: free space 61254 -> 61654\n"
     "/0001: removed folder (400 bytes)\n"
     "/0001/0010: removed file (data, 12 bytes)\n"
     "/0001/0011: removed file (private-key, 8 bytes)\n",
     R"([{"path":"/","change":"free-space","from":61254,"to":61654},
         {"path":"/0001","change":"removed","kind":"folder","size":400},
         {"path":"/0001/0010","change":"removed","kind":"file","type":"data","size":12},
         {"path":"/0001/0011","change":"removed","kind":"file","type":"private-key","size":8}])"},
    {"FileBecameAFolder", {{"rm", "/2"}, {"mkdir", "/2", "--size", "200"}}, {},
     "/: free space 61254 -> 61086\n"
     "/: list order changed\n"
     "/0002: removed file (exec, 16 bytes)\n"
     "/0002: added folder (200 bytes)\n",
     R"([{"path":"/","change":"free-space","from":61254,"to":61086},
         {"path":"/","change":"order"},
         {"path":"/0002","change":"removed","kind":"file","type":"exec","size":16},
         {"path":"/0002","change":"added","kind":"folder","size":200}])"},
    {"ListOrder", {{"rm", "/2"}, {"add", "/2", "--type", "exec", "--size", "16"}}, {},
     "/: list order changed\n", R"([{"path":"/","change":"order"}])"},
    {"Password", {{"passwd", "/1", "--developer-password", "x"}}, {},
     "/0001: developer password changed\n",
     R"([{"path":"/0001","change":"developer-password"}])"},
    {"Contents", {{"write", "/1/10", "--from", "-", "--offset", "2"}}, {},
     "/0001/0010: contents differ in 2 bytes, the first at offset 2\n",
     R"([{"path":"/0001/0010","change":"contents","firstOffset":2,"differingBytes":2}])"},
    {"Type", {}, {{"/children/1/type", R"("data")"}}, "/0002: type exec -> data\n",
     R"([{"path":"/0002","change":"type","from":"exec","to":"data"}])"},
    {"FileSize", {}, {{"/children/1/size", "20"}, {"/free", "61250"}},
     "/: free space 61254 -> 61250\n"
     "/0002: size 16 -> 20\n"
     "/0002: contents differ in 4 bytes, the first at offset 16\n",
     R"([{"path":"/","change":"free-space","from":61254,"to":61250},
         {"path":"/0002","change":"size","from":16,"to":20},
         {"path":"/0002","change":"contents","firstOffset":16,"differingBytes":4}])"},
    {"CreatedSize", {}, {{"/children/0/size", "300"}, {"/children/0/free", "198"}, {"/free", "61154"}},
     "/: free space 61254 -> 61154\n"
     "/0003: created size 200 -> 300\n"
     "/0003: free space 98 -> 198\n",
     R"([{"path":"/","change":"free-space","from":61254,"to":61154},
         {"path":"/0003","change":"created-size","from":200,"to":300},
         {"path":"/0003","change":"free-space","from":98,"to":198}])"},
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
    const DiffCase& change = GetParam();
    std::string changed = "b.rqfs";
    std::filesystem::copy_file(PathOf(m_image), PathOf(changed));
    for (std::vector<std::string> command : change.commands) {
        command.insert(command.begin() + 1, changed);
        RunOk(command, "XY");
    }
    if (!change.edits.empty()) {
        changed = "dump";
        Dump(m_image, changed);
        auto manifest = ReadManifest(changed);
        for (const Edit& edit : change.edits)
            manifest[nlohmann::ordered_json::json_pointer(edit.pointer)] =
                nlohmann::ordered_json::parse(edit.value);
        WriteManifest(changed, manifest);
    }

    const RqfsResult text = Run({"diff", m_image, changed});
    EXPECT_EQ(text.status, 1) << text.err;
    EXPECT_EQ(text.out, change.text);
    const RqfsResult json = Run({"diff", m_image, changed, "--json"});
    EXPECT_EQ(json.status, 1) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out),
              (nlohmann::json{{"same", false}, {"changes", nlohmann::json::parse(change.json)}}));
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
    EXPECT_EQ(missing.err, "rqfs: load absent.rqfs: 打开文件失败 (result 1, detail 5)\n");
    // A dump the card refuses is trouble too, named where it goes wrong.
    auto manifest = ReadManifest("dump");
    manifest["children"][0]["size"] = 99999;
    WriteManifest("dump", manifest);
    const RqfsResult refused = Run({"diff", m_image, "dump"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err,
              "rqfs: diff dump/card.json: /children/0/size: 文件夹空间不足 (result 12)\n");
}
