// dump then build gives back the very image, and diff sees nothing between the two. The
// cards come from random operations through the card: folders three deep, empty and full
// (255-entry) folders, passwords of every length, zero, partly zero and random contents.
#include "LayoutTest.h"

#include "CardSession.h"
#include "CliError.h"

#include <cstdlib>
#include <random>

namespace {

using RQ540::CCardPath;
using RQ540::Cli::CCardSession;

// Sets a variable of this process's environment, which the rqfs it runs inherits; a null
// value removes it.
void SetEnvironment(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

class RandomCard {
public:
    explicit RandomCard(unsigned seed) : m_random(seed) {}

    void Make(const std::filesystem::path& image)
    {
        CCardSession card(image, 0);
        card.SetPasswords(CCardPath(), NextPasswords(), "");
        // Three folders deep with the deepest left empty, and a folder of 255 entries.
        const CCardPath chain = CCardPath().GetChild(0x1000);
        card.MakeFolder(chain, 1200, NextPasswords(), "");
        card.MakeFolder(chain.GetChild(0x1001), 102 + Below(50), NextPasswords(), "");
        const CCardPath full = CCardPath().GetChild(0x2000);
        card.MakeFolder(full, 102 + 255 * 17, NextPasswords(), "");
        for (uint16_t id = 1; id <= 255; ++id)
            card.AddFile(full.GetChild(id), 1, Below(2), Bytes(1), "");

        std::vector<CCardPath> folders{CCardPath(), chain};
        for (int step = 0; step < 60; ++step) {
            const CCardPath folder = folders[Below(static_cast<uint32_t>(folders.size()))];
            const CCardPath path = folder.GetChild(static_cast<uint16_t>(1 + Below(0x30)));
            const uint32_t size = Below(600);
            // Some of these the card refuses (an ID in use, too deep, too big); that is part
            // of the sequence.
            try {
                if (Below(3) == 0) {
                    card.MakeFolder(path, 102 + size, NextPasswords(), "");
                    folders.push_back(path);
                } else if (Below(2) == 0) {
                    const uint8_t type = static_cast<uint8_t>(Below(5));
                    card.AddFile(path, type, size / 2, Bytes(size / 2), "");
                } else {
                    card.SetPasswords(folder, NextPasswords(), "");
                }
            } catch (const RQ540::Cli::CCliError&) {
            }
        }
        card.Save();
    }

private:
    uint32_t Below(uint32_t bound)
    {
        return std::uniform_int_distribution<uint32_t>(0, bound - 1)(m_random);
    }

    // None (all zero), or random up to a point and zero after it.
    std::vector<uint8_t> Bytes(uint32_t size)
    {
        std::vector<uint8_t> bytes(Below(3) == 0 ? 0 : Below(size + 1));
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(Below(256));
        return bytes;
    }

    // Each call takes the next length of both fields, so every length comes round.
    CCardSession::Passwords NextPasswords()
    {
        const unsigned turn = m_passwordTurn++;
        return {Text(turn % 9), Text(turn % 25)};
    }

    std::string Text(std::size_t length)
    {
        std::string text(length, ' ');
        for (char& c : text)
            c = static_cast<char>(1 + Below(255));
        return text;
    }

    std::mt19937 m_random;
    unsigned m_passwordTurn = 0;
};

}  // namespace

class LayoutRoundTrip : public LayoutTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(LayoutRoundTrip, BuildGivesBackTheImageByteForByteFromEitherDumpAndDiffSeesNothing)
{
    RandomCard(GetParam()).Make(PathOf("random.rqfs"));
    Dump("random.rqfs", "dump");
    RunOk({"build", "dump", "rebuilt.rqfs"});
    EXPECT_TRUE(ReadBytes("rebuilt.rqfs") == ReadBytes("random.rqfs"));
    // The same card as one JSON document, its bytes inline.
    WriteText("card.json", RunOk({"dump", "random.rqfs", "-"}));
    Keep("card.json", "dumps");
    RunOk({"build", "card.json", "from-one-file.rqfs"});
    EXPECT_TRUE(ReadBytes("from-one-file.rqfs") == ReadBytes("random.rqfs"));
    for (const char* other : {"rebuilt.rqfs", "dump", "card.json"}) {
        const RqfsResult diff = Run({"diff", "random.rqfs", other});
        EXPECT_EQ(diff.status, 0) << other << "\n" << diff.out << diff.err;
        EXPECT_EQ(diff.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LayoutRoundTrip, ::testing::Range(1u, 13u));

class LayoutDump : public LayoutTest {
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        RunOk({"mkdir", m_image, "/1", "--size", "400", "--user-password", "1234"});
        RunOk({"add", m_image, "/1/10", "--type", "data", "--from", "-"}, "twelve bytes");
        RunOk({"add", m_image, "/2", "--type", "exec", "--size", "16"});
    }
};

TEST_F(LayoutDump, WritesPayloadsOnlyForFilesThatAreNotAllZero)
{
    Dump(m_image, "dump");
    EXPECT_EQ(ReadBytes("dump/files/0001/0010.bin").size(), 12u);
    EXPECT_FALSE(std::filesystem::exists(PathOf("dump/files/0002.bin")));
    const auto manifest = ReadManifest("dump");
    EXPECT_EQ(manifest["children"][0]["zero"], true);
    EXPECT_EQ(manifest["children"][1]["userPassword"], "3132333400000000");
    EXPECT_EQ(manifest["children"][1]["children"][0]["payload"], "files/0001/0010.bin");
}

TEST_F(LayoutDump, RefusesAFolderThatIsNotEmptyUnlessForced)
{
    std::filesystem::create_directories(PathOf("dump/files"));
    WriteText("dump/files/0009.bin", "left by an earlier dump");
    WriteText("dump/notes.txt", "kept");
    const RqfsResult refused = Run({"dump", m_image, "dump"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "rqfs: dump card.rqfs dump: the folder is not empty; --force "
                           "replaces its card.json and files/\n");
    EXPECT_FALSE(std::filesystem::exists(PathOf("dump/card.json")));

    Dump(m_image, "dump", {"--force"});
    EXPECT_FALSE(std::filesystem::exists(PathOf("dump/files/0009.bin")));
    EXPECT_TRUE(std::filesystem::exists(PathOf("dump/files/0001/0010.bin")));
    EXPECT_TRUE(std::filesystem::exists(PathOf("dump/notes.txt")));
}

TEST_F(LayoutDump, PasswordsLeftOutOfTheDumpAreRedactedOrTakenFromTheEnvironment)
{
    Dump(m_image, "dump", {"--redact-passwords"});
    auto manifest = ReadManifest("dump");
    EXPECT_EQ(manifest["children"][1]["userPassword"],
              (nlohmann::ordered_json{{"redacted", true}}));
    // Never compared, so the dump is the same card.
    EXPECT_EQ(Run({"diff", m_image, "dump"}).status, 0);
    EXPECT_EQ(Run({"build", "dump", "out.rqfs"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(PathOf("out.rqfs")));

    manifest["userPassword"] = {{"env", "RQFS_TEST_USER_PASSWORD"}};
    WriteManifest("dump", manifest);
    SetEnvironment("RQFS_TEST_USER_PASSWORD", "abc");
    RunOk({"build", "dump", "out.rqfs", "--allow-redacted"});
    SetEnvironment("RQFS_TEST_USER_PASSWORD", nullptr);
    Dump("out.rqfs", "again");
    const auto rebuilt = ReadManifest("again");
    EXPECT_EQ(rebuilt["userPassword"], "6162630000000000");
    EXPECT_EQ(rebuilt["children"][1]["userPassword"], "0000000000000000");
}
