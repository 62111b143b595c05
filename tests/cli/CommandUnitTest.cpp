// What the properties of every command unit promise, held against the real binary: a
// command that writes an image waits for its lock, one that creates an image refuses an
// existing one without --force, and a batch line runs only on the script's loaded card.
#include "RqfsTest.h"

#include "Subcommands.h"

#include "rq540/ImageLock.h"

#include <chrono>
#include <map>

namespace {

using RQ540::Cli::CommandUnit;
using RQ540::Cli::GetSubcommands;
using RQ540::Cli::ImageUse;

bool Writes(const CommandUnit& unit)
{
    return unit.image == ImageUse::CHANGES || unit.image == ImageUse::CREATES ||
           unit.image == ImageUse::CHANGES_OR_CREATES;
}

// A run of each command that writes an image, on "OUT"; every one succeeds on the card
// holding the file /F and the folder /E, with the dump folder "dump" and the script
// "script.rqb" beside it.
const std::map<std::string, std::vector<std::string>> kWritingRuns = {
    {"new", {"new", "OUT"}},
    {"mkdir", {"mkdir", "OUT", "/1", "--size", "200"}},
    {"add", {"add", "OUT", "/2", "--type", "data", "--size", "4"}},
    {"write", {"write", "OUT", "/F", "--from", "script.rqb"}},
    {"rm", {"rm", "OUT", "/F"}},
    {"cp", {"cp", "OUT", "/F", "/E"}},
    {"passwd", {"passwd", "OUT", "/", "--user-password", "1"}},
    {"format", {"format", "OUT"}},
    {"batch", {"batch", "OUT", "script.rqb"}},
    {"build", {"build", "dump", "OUT"}},
};

std::vector<std::string> On(std::vector<std::string> args, const std::string& image)
{
    for (std::string& arg : args) {
        if (arg == "OUT")
            arg = image;
    }
    return args;
}

class CommandUnitTest : public RqfsTest {
protected:
    void SetUp() override
    {
        RqfsTest::SetUp();
        RunOk({"new", "out.rqfs"});
        RunOk({"add", "out.rqfs", "/F", "--type", "data", "--size", "64"});
        RunOk({"mkdir", "out.rqfs", "/E", "--size", "200"});
        RunOk({"dump", m_image, "dump"});
        WriteText("script.rqb", "mkdir /3 --size 200\n");
    }
};

// The run of unit in kWritingRuns on out.rqfs, with --force for one that creates it.
std::vector<std::string> WritingRun(const CommandUnit& unit)
{
    const auto run = kWritingRuns.find(unit.name);
    EXPECT_NE(run, kWritingRuns.end()) << unit.name << " has no run here";
    return run == kWritingRuns.end() ? std::vector<std::string>{} : On(run->second, "out.rqfs");
}

TEST_F(CommandUnitTest, EveryCommandThatWritesAnImageWaitsForItsLock)
{
    RQ540::CImageLock held;
    ASSERT_EQ(held.Acquire(PathOf("out.rqfs"), std::chrono::milliseconds(0)),
              RQ540::CImageLock::ACQUIRED);
    const std::vector<uint8_t> before = ReadBytes("out.rqfs");
    for (const CommandUnit& unit : GetSubcommands()) {
        if (!Writes(unit))
            continue;
        std::vector<std::string> args = WritingRun(unit);
        args.insert(args.end(), {"--lock-timeout", "0"});
        const RqfsResult result = Run(args);
        EXPECT_EQ(result.status, 1) << unit.name;
        EXPECT_EQ(result.err, "rqfs: out.rqfs is being changed by another program; gave up "
                              "after 0 s (lock file 'out.rqfs.lock')\n")
            << unit.name;
        EXPECT_EQ(ReadBytes("out.rqfs"), before) << unit.name;
    }
    // Once the lock is free, each of those runs succeeds.
    held.Release();
    for (const CommandUnit& unit : GetSubcommands()) {
        if (!Writes(unit))
            continue;
        std::vector<std::string> args = WritingRun(unit);
        if (unit.image == ImageUse::CREATES)
            args.push_back("--force");
        WriteBytes("out.rqfs", before);
        RunOk(args);
    }
}

TEST_F(CommandUnitTest, EveryCommandThatCreatesAnImageReplacesOneOnlyWithForce)
{
    const std::vector<uint8_t> before = ReadBytes("out.rqfs");
    for (const CommandUnit& unit : GetSubcommands()) {
        if (unit.image != ImageUse::CREATES && unit.image != ImageUse::CHANGES_OR_CREATES)
            continue;
        std::vector<std::string> args = WritingRun(unit);
        // batch --new refuses in the words of new.
        std::string operation = unit.name;
        if (unit.image == ImageUse::CHANGES_OR_CREATES) {
            args.push_back("--new");
            operation = "new";
        }
        WriteBytes("out.rqfs", before);
        const RqfsResult refused = Run(args);
        EXPECT_EQ(refused.status, 1) << unit.name;
        EXPECT_EQ(refused.err, "rqfs: " + operation +
                                   " out.rqfs: the file already exists; --force replaces it\n")
            << unit.name;
        EXPECT_EQ(ReadBytes("out.rqfs"), before) << unit.name;

        args.push_back("--force");
        RunOk(args);
        EXPECT_NE(ReadBytes("out.rqfs"), before) << unit.name;
    }
}

TEST(CommandUnits, ABatchLineRunsOnlyOnTheScriptsLoadedCard)
{
    for (const CommandUnit& unit : GetSubcommands()) {
        if (unit.batchLine) {
            EXPECT_TRUE(unit.image == ImageUse::READS || unit.image == ImageUse::CHANGES)
                << unit.name;
        }
    }
}

// build --output-dir writes images of its own in OUT's stead: no OUT is locked, and the
// options of OUT's lock and OUT itself go only without it.
TEST_F(CommandUnitTest, AnOptionInTheImagesSteadTakesNoLock)
{
    WriteText("units.csv", "name\nK1\n");
    RQ540::CImageLock held;
    ASSERT_EQ(held.Acquire(PathOf("keys"), std::chrono::milliseconds(0)),
              RQ540::CImageLock::ACQUIRED);
    RunOk({"build", "dump", "--params", "units.csv", "--output-dir", "keys"});
    RunOk({"build", "dump", "one.rqfs"});
    EXPECT_EQ(ReadBytes("keys/K1.rqfs"), ReadBytes("one.rqfs"));

    const std::vector<std::string> batch{"build", "dump", "--params", "units.csv",
                                         "--output-dir", "more"};
    auto with = [&batch](std::vector<std::string> extra) {
        extra.insert(extra.begin(), batch.begin(), batch.end());
        return extra;
    };
    EXPECT_EQ(Run(with({"--lock-timeout", "1"})).err,
              "rqfs: --output-dir excludes --lock-timeout\n");
    EXPECT_EQ(Run(with({"x.rqfs"})).status, 2);
    EXPECT_EQ(Run({"build", "dump"}).err, "rqfs: OUT is required\n");
    EXPECT_FALSE(std::filesystem::exists(PathOf("more")));
}

}  // namespace
