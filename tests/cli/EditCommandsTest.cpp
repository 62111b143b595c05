// Commands that change the card, checked through the image bytes and through rqfs itself.
#include "RqfsTest.h"

#include <nlohmann/json.hpp>

#include <string>

namespace {

// Offsets in an image: the 16-byte header, then the root record, whose 47-byte fixed part
// (ID, mark, free space at 3, record length, child count, 8 + 24 password bytes at 15) is
// followed by the records of its children.
constexpr std::size_t kRootRecord = 16;
constexpr std::size_t kFirstChild = kRootRecord + 47;
constexpr std::size_t kPasswords = 15;

std::string Slice(const std::vector<uint8_t>& bytes, std::size_t offset, std::size_t length)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes.begin() + static_cast<std::ptrdiff_t>(offset + length)};
}

}  // namespace

class EditCommands : public RqfsTest {
protected:
    nlohmann::json Tree() const
    {
        return nlohmann::json::parse(RunOk({"tree", m_image, "--json"}));
    }
    uint32_t RootFree() const { return Tree()["free"].get<uint32_t>(); }
};

TEST_F(EditCommands, NewWritesAFreshRootAndReplacesOnlyWithForce)
{
    const std::vector<uint8_t> fresh = ReadBytes(m_image);
    ASSERT_EQ(fresh.size(), 63u);
    EXPECT_EQ(Slice(fresh, 0, 4), std::string("\0\0\0\0", 4));
    EXPECT_EQ(Slice(fresh, kRootRecord + 3, 4), std::string("\xBE\xF1\0\0", 4));  // 61886 free
    EXPECT_EQ(Slice(fresh, kRootRecord + kPasswords, 32), "73920184582936145829361458293614");

    RunOk({"mkdir", m_image, "/1", "--size", "200"});
    const std::vector<uint8_t> changed = ReadBytes(m_image);
    const RqfsResult refused = Run({"new", m_image});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "rqfs: new card.rqfs: the file already exists; --force replaces it\n");
    EXPECT_EQ(ReadBytes(m_image), changed);

    RunOk({"new", m_image, "--force"});
    EXPECT_EQ(ReadBytes(m_image), fresh);
}

TEST_F(EditCommands, MkdirStoresGivenPasswordsZeroFilledAndCutAndDefaultsTheRest)
{
    RunOk({"mkdir", m_image, "/1", "--size", "300", "--user-password", "abc",
           "--developer-password", "0123456789abcdefghijklmnopqrstuvwxyz"});
    RunOk({"mkdir", m_image, "/2", "--size", "102", "--user-password", "123456789"});
    const std::vector<uint8_t> image = ReadBytes(m_image);

    // Newest first: folder 0002 heads the root's list, then 0001.
    const std::size_t second = kFirstChild;
    const std::size_t first = kFirstChild + 47;
    EXPECT_EQ(Slice(image, second, 3), std::string("\x02\x00\xFF", 3));
    EXPECT_EQ(Slice(image, second + kPasswords, 8), "12345678");
    EXPECT_EQ(Slice(image, second + kPasswords + 8, 24), "582936145829361458293614");
    EXPECT_EQ(Slice(image, first + kPasswords, 8), std::string("abc\0\0\0\0\0", 8));
    EXPECT_EQ(Slice(image, first + kPasswords + 8, 24), "0123456789abcdefghijklmn");

    EXPECT_EQ(RootFree(), 61886u - 300 - 102);
    EXPECT_EQ(Tree()["children"][0]["free"], 0);
    EXPECT_EQ(Tree()["children"][1]["free"], 300 - 102);
}

TEST_F(EditCommands, AddTakesItsSizeFromTheInputOrCutsAndPadsToTheGivenSize)
{
    WriteText("hello.txt", "hello world");
    RunOk({"add", m_image, "/1", "--type", "data", "--from", "hello.txt"});
    RunOk({"add", m_image, "/2", "--type", "exec", "--size", "4", "--from", "hello.txt"});
    RunOk({"add", m_image, "/3", "--type", "2", "--size", "7", "--from", "hello.txt"});
    RunOk({"add", m_image, "/4", "--type", "private-key", "--from", "-"},
          std::string("\0\xFFz", 3));
    RunOk({"add", m_image, "/5", "--type", "internal-exec", "--size", "3"});

    EXPECT_EQ(RunOk({"cat", m_image, "/1"}), "hello world");
    EXPECT_EQ(RunOk({"cat", m_image, "/2"}), "hell");
    EXPECT_EQ(RunOk({"cat", m_image, "/3"}), "hello w");
    EXPECT_EQ(RunOk({"cat", m_image, "/4"}), std::string("\0\xFFz", 3));
    EXPECT_EQ(RunOk({"cat", m_image, "/5"}), std::string(3, '\0'));

    WriteText("ab.txt", "ab");
    RunOk({"add", m_image, "/6", "--type", "data", "--size", "5", "--from", "ab.txt"});
    EXPECT_EQ(RunOk({"cat", m_image, "/6"}), std::string("ab\0\0\0", 5));

    const nlohmann::json tree = Tree();
    EXPECT_EQ(tree["children"][1]["typeName"], "internal-exec");
    EXPECT_EQ(tree["children"][2]["type"], 3);
    EXPECT_EQ(RootFree(), 61886u - 6 * 16 - (11 + 4 + 7 + 3 + 3 + 5));
}

TEST_F(EditCommands, WriteOverwritesInPlaceAndExportCopiesTheBytes)
{
    RunOk({"add", m_image, "/1", "--type", "data", "--size", "8"});
    WriteText("tail.bin", "AB");
    RunOk({"write", m_image, "/1", "--from", "tail.bin", "--offset", "6"});
    RunOk({"write", m_image, "/1", "--from", "-"}, "xy");
    EXPECT_EQ(RunOk({"cat", m_image, "/1"}), std::string("xy\0\0\0\0AB", 8));

    RunOk({"export", m_image, "/1", "out.bin"});
    EXPECT_EQ(ReadBytes("out.bin"), (std::vector<uint8_t>{'x', 'y', 0, 0, 0, 0, 'A', 'B'}));
}

TEST_F(EditCommands, RmGivesBackAFolderWithItsSubtreeOrAFile)
{
    RunOk({"mkdir", m_image, "/1", "--size", "1000"});
    RunOk({"mkdir", m_image, "/1/2", "--size", "300"});
    RunOk({"add", m_image, "/1/2/3", "--type", "data", "--size", "50"});
    RunOk({"add", m_image, "/7", "--type", "data", "--size", "9"});

    RunOk({"rm", m_image, "/1"});
    EXPECT_EQ(RootFree(), 61886u - 16 - 9);
    RunOk({"rm", m_image, "7"});
    EXPECT_EQ(RootFree(), 61886u);
    EXPECT_TRUE(Tree()["children"].empty());
}

TEST_F(EditCommands, CpPastesADeepCopyWithDataIntoTheDestination)
{
    RunOk({"mkdir", m_image, "/1", "--size", "500"});
    RunOk({"add", m_image, "/1/A", "--type", "data", "--from", "-"}, "first");
    RunOk({"add", m_image, "/1/B", "--type", "exec", "--from", "-"}, "second");
    RunOk({"mkdir", m_image, "/2", "--size", "1000"});

    RunOk({"cp", m_image, "/1", "/2"});
    RunOk({"cp", m_image, "/1/B", "/"});
    const nlohmann::json tree = Tree();
    const nlohmann::json& copy = tree["children"][1]["children"][0];
    EXPECT_EQ(copy["path"], "/0002/0001");
    EXPECT_EQ(copy["size"], 500);
    // The copy holds its children in the reverse of the source's list order.
    EXPECT_EQ(copy["children"][0]["id"], "000A");
    EXPECT_EQ(copy["children"][1]["id"], "000B");
    EXPECT_EQ(RunOk({"cat", m_image, "/2/1/B"}), "second");
    EXPECT_EQ(RunOk({"cat", m_image, "/B"}), "second");
    EXPECT_EQ(tree["children"][1]["free"], 1000 - 102 - 500);
}

TEST_F(EditCommands, PasswdChangesOnlyTheGivenPasswordsOfTheRootOrAFolder)
{
    RunOk({"passwd", m_image, "/", "--user-password", "u"});
    std::vector<uint8_t> image = ReadBytes(m_image);
    EXPECT_EQ(Slice(image, kRootRecord + kPasswords, 32),
              std::string("u\0\0\0\0\0\0\0", 8) + "582936145829361458293614");

    RunOk({"mkdir", m_image, "/1", "--size", "200"});
    RunOk({"passwd", m_image, "/1", "--developer-password", ""});
    image = ReadBytes(m_image);
    EXPECT_EQ(Slice(image, kFirstChild + kPasswords, 32), "73920184" + std::string(24, '\0'));
}

TEST_F(EditCommands, FormatErasesTheCardToAFreshRoot)
{
    const std::vector<uint8_t> fresh = ReadBytes(m_image);
    RunOk({"mkdir", m_image, "/1", "--size", "200"});
    RunOk({"passwd", m_image, "/", "--user-password", "x"});
    RunOk({"format", m_image});
    EXPECT_EQ(ReadBytes(m_image), fresh);
}
