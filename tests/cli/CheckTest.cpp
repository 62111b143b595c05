// check: the card's own verdict on an image, and for a malformed one the rule, offset and
// record the reader names. Each malformed image is a valid one with a few bytes changed.
#include "RqfsTest.h"
#include "Sha256.h"

#include <nlohmann/json.hpp>

namespace {

// Offsets in the images below: the header's words at 0 (model), 4 (folders), 8 (files),
// 12 (file data); the root record at 16 with its free space at 19, record length at 23
// and child count at 27; its first child record at 63.
enum Layout { FRESH, TWO_EMPTY_FILES, FOUR_BYTE_FILE, ONE_FOLDER };

const char* const kLayouts[] = {
    "",
    // 0002 at 63 and 0001 at 70, seven bytes each.
    "add /1 --type data --size 0\nadd /2 --type data --size 0\n",
    // Type byte at 65, size at 66.
    "add /1 --type data --size 4\n",
    // A 47-byte folder record at 63, its record length at 70.
    "mkdir /1 --size 200\n",
};

struct Corruption {
    const char* name;
    Layout layout;
    std::size_t at;
    uint32_t value;
    int width;
    const char* rule;
    uint64_t offset;
    const char* path;
    uint64_t expected;  // both 0 when the rule compares no numbers
    uint64_t actual;
};

const Corruption kCorruptions[] = {
    {"UnknownModel", FRESH, 0, 1, 4, "unknown-model", 0, "/", 0, 1},
    {"FileDataAtCapacity", FRESH, 12, 61988, 4, "file-data-size", 12, "/", 61988, 61988},
    {"TooManyFolders", FRESH, 4, 608, 4, "folder-count", 4, "/", 607, 608},
    {"TooManyFiles", FRESH, 8, 4000, 4, "file-count", 8, "/", 3867, 4000},
    {"ShorterThanItsCounts", FRESH, 8, 1, 4, "truncated", 63, "/", 70, 63},
    {"RecordShorterThanFixedPart", FRESH, 23, 46, 4, "record-too-short", 23, "/", 47, 46},
    {"RootLongerThanTheBody", FRESH, 23, 48, 4, "record-overflow", 23, "/", 47, 48},
    {"FolderLongerThanItsParentLeaves", ONE_FOLDER, 70, 48, 4, "record-overflow", 70, "/0001", 47,
     48},
    {"MoreChildrenThanTheRecordHolds", FRESH, 27, 1, 4, "child-overflow", 63, "/", 1, 0},
    {"DuplicateId", TWO_EMPTY_FILES, 70, 2, 2, "duplicate-id", 70, "/0002", 0, 0},
    {"TypeByteNotAFileType", FOUR_BYTE_FILE, 65, 5, 1, "bad-file-type", 65, "/0001", 5, 5},
    {"FileDataPastItsFolder", FOUR_BYTE_FILE, 66, 5, 4, "file-overflow", 66, "/0001", 4, 5},
    {"ChildrenShortOfTheRecord", TWO_EMPTY_FILES, 27, 1, 4, "length-mismatch", 23, "/", 61, 54},
    {"FreeSpacesOffByOne", FRESH, 19, 61887, 4, "usage-mismatch", 19, "/", 61988, 61989},
};

// gtest names the case instead of dumping its bytes.
void PrintTo(const Corruption& value, std::ostream* os) { *os << value.name; }

}  // namespace

class CheckMalformed : public RqfsTest, public ::testing::WithParamInterface<Corruption> {};

TEST_P(CheckMalformed, LocatesTheRuleTheReaderRejected)
{
    const Corruption& corruption = GetParam();
    RunOk({"batch", m_image}, kLayouts[corruption.layout]);
    Patch(m_image, corruption.at, corruption.value, corruption.width);

    const RqfsResult result = Run({"check", m_image, "--json"});
    EXPECT_EQ(result.status, 1);
    const nlohmann::json verdict = nlohmann::json::parse(result.out);
    EXPECT_EQ(verdict["valid"], false);
    EXPECT_EQ(verdict["result"], 1);
    EXPECT_EQ(verdict["detail"], 7);
    EXPECT_EQ(verdict["message"], "无效的文件格式");
    // A rejected image is named by its digest too.
    EXPECT_EQ(verdict["sha256"], RQ540::Cli::CSha256::Hex(ReadBytes(m_image)));
    const nlohmann::json& diagnostic = verdict["diagnostic"];
    EXPECT_EQ(diagnostic["rule"], corruption.rule);
    EXPECT_EQ(diagnostic["offset"], corruption.offset);
    EXPECT_EQ(diagnostic["path"], corruption.path);
    EXPECT_FALSE(diagnostic["message"].get<std::string>().empty());
    if (corruption.expected != 0 || corruption.actual != 0) {
        EXPECT_EQ(diagnostic["expected"], corruption.expected);
        EXPECT_EQ(diagnostic["actual"], corruption.actual);
    } else {
        EXPECT_FALSE(diagnostic.contains("expected"));
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, CheckMalformed, ::testing::ValuesIn(kCorruptions),
                         [](const auto& info) { return std::string(info.param.name); });

class Check : public RqfsTest {};

TEST_F(Check, AValidImageGivesItsUsageSummary)
{
    RunOk({"batch", m_image}, "mkdir /1 --size 1000\nadd /1/2 --type data --size 10\n");
    const std::string sha = RQ540::Cli::CSha256::Hex(ReadBytes(m_image));
    EXPECT_EQ(RunOk({"check", m_image}),
              "valid image of card model 0\n"
              "total size      61988\n"
              "free space      60886\n"
              "folders         2\n"
              "files           1\n"
              "file data size  10\n"
              "sha256          " + sha + "\n");
    const nlohmann::json verdict = nlohmann::json::parse(RunOk({"check", m_image, "--json"}));
    EXPECT_EQ(verdict["valid"], true);
    EXPECT_EQ(verdict["usage"]["fileDataSize"], 10);
    EXPECT_EQ(verdict["sha256"], sha);
}

TEST_F(Check, TextVerdictGivesTheCodeThenTheLocatedRule)
{
    Patch(m_image, 19, 61887, 4);
    const RqfsResult result = Run({"check", m_image});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "rqfs: check card.rqfs: 无效的文件格式 (result 1, detail 7)\n"
              "  rule:     usage-mismatch\n"
              "  problem:  the free spaces and sizes do not add up to the capacity\n"
              "  offset:   19\n"
              "  record:   /\n"
              "  expected: 61988\n"
              "  actual:   61989\n");
}

TEST_F(Check, UnreadableFilesAreFailuresWithoutALocation)
{
    const RqfsResult missing = Run({"check", "absent.rqfs", "--json"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(nlohmann::json::parse(missing.out),
              (nlohmann::json{
                  {"valid", false}, {"result", 1}, {"detail", 5}, {"message", "打开文件失败"}}));

    WriteText("short.rqfs", "0123456789");
    const RqfsResult shortFile = Run({"check", "short.rqfs"});
    EXPECT_EQ(shortFile.status, 1);
    EXPECT_EQ(shortFile.err, "rqfs: check short.rqfs: 文件操作失败 (result 1, detail 6)\n");
}
