// plan: the script it writes, applied with batch to a copy of the old card from another
// folder, gives the new card byte for byte; what --keep protects; and the inline bytes and
// passwords that make a script need no file beside it.
#include "LayoutTest.h"
#include "RandomCard.h"

#include "rq540/CardModel.h"

#include <iostream>
#include <random>

namespace {

using Json = nlohmann::ordered_json;

// Bytes the plans' add and write steps carry, and bytes of file contents that differ
// between the old and the new cards as diff counts them (an added file's bytes all count).
struct PlanTotals {
    uint64_t written = 0;
    uint64_t differing = 0;
};

}  // namespace

class LayoutPlanPairs : public LayoutTest, public ::testing::WithParamInterface<unsigned> {
protected:
    static void TearDownTestSuite()
    {
        for (const auto& [kind, totals] : {std::pair{"an update", s_totals[1]},
                                           std::pair{"cards made apart", s_totals[0]}})
            std::cout << "pairs of " << kind << ": the plans write " << totals.written
                      << " bytes of file contents, " << totals.differing << " differ\n";
    }

    // By the seed's parity: [1] a card and its update, [0] two cards made apart.
    static inline PlanTotals s_totals[2];
};

// Odd seeds pair a card with an update of it, even ones two cards made apart.
TEST_P(LayoutPlanPairs, BatchOfThePlanOnACopyOfOldGivesNewByteForByte)
{
    const unsigned seed = GetParam();
    RandomCard(seed).Make(PathOf("old.rqfs"));
    if (seed % 2 == 1) {
        std::filesystem::copy_file(PathOf("old.rqfs"), PathOf("new.rqfs"));
        RandomCard(seed + 1000).Change(PathOf("new.rqfs"), 40);
    } else {
        RandomCard(seed + 1000).Make(PathOf("new.rqfs"));
    }
    RunOk({"plan", "old.rqfs", "new.rqfs", "--output", "plan.rqb"});
    std::filesystem::create_directories(PathOf("elsewhere"));
    std::filesystem::copy_file(PathOf("old.rqfs"), PathOf("elsewhere/copy.rqfs"));
    RunOptions elsewhere;
    elsewhere.dir = "elsewhere";
    const RqfsResult applied = RunWith({"batch", "copy.rqfs", "../plan.rqb"}, elsewhere);
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_TRUE(ReadBytes("elsewhere/copy.rqfs") == ReadBytes("new.rqfs"));

    const Json plan = Json::parse(RunOk({"plan", "old.rqfs", "new.rqfs", "--json"}));
    for (const Json& operation : plan["operations"]) {
        if (operation.contains("hex"))
            s_totals[seed % 2].written += operation["hex"].get<std::string>().size() / 2;
    }
    const Json diff = Json::parse(Run({"diff", "old.rqfs", "new.rqfs", "--json"}).out);
    for (const Json& change : diff["changes"]) {
        if (change["change"] == "contents")
            s_totals[seed % 2].differing += change["differingBytes"].get<uint64_t>();
        else if (change["change"] == "added" && change["kind"] == "file")
            s_totals[seed % 2].differing += change["size"].get<uint64_t>();
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LayoutPlanPairs, ::testing::Range(1u, 7u));

class LayoutPlan : public LayoutTest {
protected:
    // The card: folder /0001 (400 bytes, user password 1234) with data file 0010 ("twelve
    // bytes"), and exec file /0002 (16 bytes); the root lists 0002, 0001. new.rqfs starts as
    // a copy of it.
    void SetUp() override
    {
        LayoutTest::SetUp();
        RunOk({"batch", m_image},
              "mkdir /1 --size 400 --user-password 1234\n"
              "add /1/10 --type data --hex 7477656C7665206279746573\n"
              "add /2 --type exec --size 16\n");
        std::filesystem::copy_file(PathOf(m_image), PathOf("new.rqfs"));
    }

    void ChangeNew(const std::string& script) { RunOk({"batch", "new.rqfs"}, script); }
};

TEST_F(LayoutPlan, WritesOnlyWhatDiffersAndSaysWhyAnEntryIsCreatedAgain)
{
    ChangeNew("write /1/10 --offset 2 --hex 5858\n"
              "rm /2\nadd /2 --type data --size 16\n"
              "passwd /1 --developer-password-hex 00FF\n"
              "add /3 --type exec --size 4 --hex 01\n");
    const std::string reason = "its type changes exec -> data, which the card fixes at creation";
    EXPECT_EQ(RunOk({"plan", m_image, "new.rqfs"}),
              "# deleted to be created again: " + reason + "\n"
              "rm /0002\n"
              "passwd /0001 --developer-password-hex 00FF" + std::string(44, '0') + "\n"
              "write /0001/0010 --offset 2 --hex 5858\n"
              "# created again: " + reason + "\n"
              "add /0002 --type data --size 16\n"
              "add /0003 --type exec --size 4 --hex 01\n");

    const Json expected = Json::parse(R"({"operations": [
        {"op": "rm", "path": "/0002", "reason": ")" + reason + R"("},
        {"op": "passwd", "path": "/0001",
         "developerPassword": "00FF)" + std::string(44, '0') + R"("},
        {"op": "write", "path": "/0001/0010", "offset": 2, "hex": "5858"},
        {"op": "add", "path": "/0002", "type": "data", "size": 16, "reason": ")" + reason + R"("},
        {"op": "add", "path": "/0003", "type": "exec", "size": 4, "hex": "01"}]})");
    EXPECT_EQ(Json::parse(RunOk({"plan", m_image, "new.rqfs", "--json"})), expected);
}

TEST_F(LayoutPlan, AFullSizeFileFitsTheScriptsLines)
{
    // The largest file a fresh card holds, no byte of it zero.
    std::vector<uint8_t> bytes(RQ540::GetCapacity(0) - RQ540::GetFolderHeaderCost(0) -
                               RQ540::GetFileHeaderCost(0));
    std::mt19937 random(7);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(1 + random() % 255);
    WriteBytes("big.bin", bytes);
    RunOk({"new", "big.rqfs"});
    RunOk({"add", "big.rqfs", "/9", "--type", "data", "--from", "big.bin"});
    RunOk({"rm", m_image, "/1"});
    RunOk({"rm", m_image, "/2"});

    RunOk({"plan", m_image, "big.rqfs", "--output", "plan.rqb"});
    RunOk({"batch", m_image, "plan.rqb"});
    EXPECT_TRUE(ReadBytes(m_image) == ReadBytes("big.rqfs"));
}

TEST_F(LayoutPlan, KeptEntriesAreNeverTouched)
{
    ChangeNew("rm /2\nadd /3 --type data --size 8 --hex 0102\npasswd / --user-password x\n");
    const std::string plan = RunOk({"plan", m_image, "new.rqfs", "--keep", "/1"});
    EXPECT_EQ(plan.find("/0001"), std::string::npos) << plan;
    RunOk({"batch", m_image}, plan);
    EXPECT_TRUE(ReadBytes(m_image) == ReadBytes("new.rqfs"));
}

TEST_F(LayoutPlan, RefusesANewCardThatNeedsAKeptEntryTouched)
{
    ChangeNew("write /1/10 --hex 00\n");
    const RqfsResult written = Run({"plan", m_image, "new.rqfs", "--keep", "/1"});
    EXPECT_EQ(written.status, 1);
    EXPECT_EQ(written.err, "rqfs: plan: --keep /0001: the new card can be reached only by "
                           "writing /0001/0010\n");
    EXPECT_EQ(written.out, "");

    // /0001 made again stands at the head, before /0002.
    ChangeNew("rm /1\nmkdir /1 --size 400 --user-password 1234\n"
              "add /1/10 --type data --hex 7477656C7665206279746573\n");
    const RqfsResult moved = Run({"plan", m_image, "new.rqfs", "--keep", "/1/10"});
    EXPECT_EQ(moved.status, 1);
    EXPECT_EQ(moved.err, "rqfs: plan: --keep /0001/0010: the new card can be reached only by "
                         "deleting and re-creating /0001: list order: it comes after /0002 in "
                         "the old list and before it in the new one\n");
}

TEST_F(LayoutPlan, RefusesANewCardWithAStepTheCardWouldRefuse)
{
    // An image may hold an entry of reserved ID 0000, which no card operation makes. The
    // file's record follows the 16-byte header and the root's 47-byte fixed part.
    RunOk({"new", "reserved.rqfs"});
    RunOk({"add", "reserved.rqfs", "/1", "--type", "data", "--size", "0"});
    Patch("reserved.rqfs", 16 + 47, 0, 2);
    const RqfsResult refused = Run({"plan", m_image, "reserved.rqfs"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "rqfs: plan: the card would refuse a step the new card needs: add "
                           "/0000: 文件或子目录已存在 (result 13)\n");
    EXPECT_EQ(refused.out, "");
}

TEST_F(LayoutPlan, RefusesARedactedPassword)
{
    Dump(m_image, "dump", {"--redact-passwords"});
    const RqfsResult refused = Run({"plan", "dump", "new.rqfs"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "rqfs: plan: dump: /: the user password is redacted; a plan needs its stored "
              "bytes\n");
}

using InlineBytes = LayoutTest;

TEST_F(InlineBytes, AddAndWriteTakeTheirBytesInHexadecimal)
{
    RunOk({"add", m_image, "/5", "--type", "data", "--hex", "00ff10"});
    RunOk({"write", m_image, "/5", "--offset", "1", "--hex", "41"});
    EXPECT_EQ(RunOk({"cat", m_image, "/5"}), std::string("\0A\x10", 3));

    const RqfsResult odd = Run({"add", m_image, "/6", "--type", "data", "--hex", "0"});
    EXPECT_EQ(odd.status, 2);
    EXPECT_EQ(odd.err,
              "rqfs: --hex: expected bytes as pairs of hexadecimal digits, such as 00FF7A\n");
    const RqfsResult both = Run({"write", m_image, "/5", "--hex", "41", "--from", "x.bin"});
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(both.err, "rqfs: --from excludes --hex\n");
}

TEST_F(InlineBytes, PasswordsTakeTheExactBytesOfTheirFields)
{
    RunOk({"mkdir", m_image, "/7", "--size", "200", "--user-password-hex", "00FF",
           "--developer-password-hex", "C3" + std::string(44, '0') + "80"});
    RunOk({"passwd", m_image, "/", "--user-password-hex", "FFFFFFFFFFFFFFFF"});
    Dump(m_image, "dump");
    const Json manifest = ReadManifest("dump");
    EXPECT_EQ(manifest["userPassword"], "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(manifest["children"][0]["userPassword"], "00FF000000000000");
    EXPECT_EQ(manifest["children"][0]["developerPassword"], "C3" + std::string(44, '0') + "80");

    const RqfsResult tooLong =
        Run({"mkdir", m_image, "/8", "--size", "200", "--user-password-hex", "000000000000000000"});
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_EQ(tooLong.err, "rqfs: --user-password-hex: 9 bytes, but the field holds 8\n");
    const RqfsResult both =
        Run({"passwd", m_image, "/", "--user-password", "x", "--user-password-hex", "00"});
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(both.err, "rqfs: --user-password excludes --user-password-hex\n");
}
