// Batch scripts: one loaded card, written once at the end, only when every line succeeded.
#include "RqfsTest.h"
#include "Sha256.h"

class Batch : public RqfsTest {};

TEST_F(Batch, RunsEveryLineAgainstOneCardAndWritesItAtTheEnd)
{
    WriteText("key.bin", "KEY");
    WriteText("layout.txt",
              "# application folder\n"
              "\n"
              "mkdir /0001 --size 2000 --user-password \"my pin\"\n"
              "  add \\0001\\0002 --type private-key --from key.bin   # key\r\n"
              "add /1/3 --type data --size 4\n"
              "write /1/3 --from key.bin --offset 1\n"
              "ls /1\n"
              "cat /1/3\n");
    const std::string out = RunOk({"batch", m_image, "layout.txt"});
    EXPECT_EQ(out,
              "0003  data                   4\n"
              "0002  private-key            3\n" +
                  std::string("\0KEY", 4));
    EXPECT_EQ(RunOk({"cat", m_image, "/1/2"}), "KEY");
    EXPECT_EQ(RunOk({"info", m_image, "/1"}),
              "total size      2000\n"
              "free space      1859\n"
              "folders         1\n"
              "files           2\n"
              "file data size  7\n"
              "sha256          " + RQ540::Cli::CSha256::Hex(ReadBytes(m_image)) + "\n");
}

TEST_F(Batch, HelpOnALineListsEveryCommandBetweenOtherLines)
{
    const std::string out = RunOk({"batch", m_image},
                                  "add /1 --type data --size 4\n"
                                  "--help\n"
                                  "mkdir /2 --size 300\n"
                                  "add /3 --type exec --size 2\n");
    for (const char* command : {"ls", "mkdir", "add", "format"})
        EXPECT_NE(out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
    EXPECT_EQ(RunOk({"ls", m_image, "/"}),
              "0003  exec                   2\n"
              "0002  folder               300  free 198\n"
              "0001  data                   4\n");
}

TEST_F(Batch, ARefusedLineIsNamedAndNothingIsWritten)
{
    const std::vector<uint8_t> before = ReadBytes(m_image);
    const RqfsResult refused = Run({"batch", m_image},
                                   "mkdir /1 --size 200\n"
                                   "# the same again\n"
                                   "mkdir /1 --size 300\n"
                                   "mkdir /2 --size 200\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "rqfs: line 3: mkdir /0001: 文件或子目录已存在 (result 13)\n");
    EXPECT_EQ(ReadBytes(m_image), before);

    const RqfsResult misspelt = Run({"batch", m_image}, "mkdir /1 --size 200\nmkdri /2\n");
    EXPECT_EQ(misspelt.status, 2);
    EXPECT_EQ(misspelt.err, "rqfs: line 2: unknown command 'mkdri'\n");
    EXPECT_EQ(ReadBytes(m_image), before);

    const RqfsResult badValue = Run({"batch", m_image}, "add /1 --type data --size 1 --from '\n");
    EXPECT_EQ(badValue.status, 2);
    EXPECT_EQ(badValue.err, "rqfs: line 1: unterminated ' quote\n");
    EXPECT_EQ(ReadBytes(m_image), before);

    // A NUL byte is written escaped, and the report goes on past it.
    const RqfsResult nulInPath =
        Run({"batch", m_image}, std::string("add /00\0" "02 --type data --size 1\n", 32));
    EXPECT_EQ(nulInPath.status, 2);
    EXPECT_EQ(nulInPath.err, "rqfs: line 1: bad card path '/00\\x0002': expected IDs of 1 to 4 "
                             "hexadecimal digits separated by '/'\n");
    const RqfsResult nulAlone = Run({"batch", m_image}, std::string("ls\n\0\n", 5));
    EXPECT_EQ(nulAlone.status, 2);
    EXPECT_EQ(nulAlone.err, "rqfs: line 2: unknown command '\\x00'\n");
    // The system would take a file name only up to a NUL, so another file.
    WriteText("in", "");
    const RqfsResult nulInInput =
        Run({"batch", m_image}, std::string("add /1 --type data --from 'in\0.bin'\n", 36));
    EXPECT_EQ(nulInInput.status, 2);
    EXPECT_EQ(nulInInput.err,
              "rqfs: line 1: 'in\\x00.bin': a file name may not hold a NUL byte\n");
    EXPECT_EQ(ReadBytes(m_image), before);
}

TEST_F(Batch, CommandsThatNameAnImageAreNotScriptLines)
{
    for (const char* line : {"new x.rqfs", "check", "batch other.txt"}) {
        const RqfsResult result = Run({"batch", m_image}, line);
        EXPECT_EQ(result.status, 2) << line;
        EXPECT_NE(result.err.find("cannot run inside a batch script"), std::string::npos) << line;
    }
    EXPECT_EQ(Run({"batch", m_image}, "ls card.rqfs").status, 2);
}

TEST_F(Batch, StandardInputFeedsFilesOnlyWhenTheScriptComesFromAFile)
{
    const std::vector<uint8_t> before = ReadBytes(m_image);
    const RqfsResult taken = Run({"batch", m_image}, "add /1 --type data --from -\n");
    EXPECT_EQ(taken.status, 2);
    EXPECT_EQ(ReadBytes(m_image), before);

    WriteText("script.txt", "add /1 --type data --from -\n");
    RunOk({"batch", m_image, "script.txt"}, "piped");
    EXPECT_EQ(RunOk({"cat", m_image, "/1"}), "piped");
}

TEST_F(Batch, AMissingScriptLeavesTheImageAlone)
{
    const std::vector<uint8_t> before = ReadBytes(m_image);
    const RqfsResult result = Run({"batch", m_image, "absent.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "rqfs: cannot open 'absent.txt' for reading: no such file or folder\n");
    EXPECT_EQ(ReadBytes(m_image), before);
}

TEST_F(Batch, EachLineStartsFromTheDefaultsOfItsCommand)
{
    // Every option below is left out on a later line of the same command.
    WriteText("three.bin", "KEY");
    const std::string out = RunOk({"batch", m_image},
                                  "add /1 --type data --size 4\n"
                                  "add /2 --type exec --from three.bin\n"
                                  "mkdir /3 --size 500\n"
                                  "ls /3 --json\n"
                                  "ls\n");
    EXPECT_EQ(out,
              "{\n"
              "  \"path\": \"/0003\",\n"
              "  \"entries\": []\n"
              "}\n"
              "0003  folder               500  free 398\n"
              "0002  exec                   3\n"
              "0001  data                   4\n");
}

TEST_F(Batch, NewStartsFromAFreshCardAndWritesOnlyAWholeScript)
{
    WriteText("layout.txt", "mkdir /1 --size 300\nadd /1/2 --type data --size 5\n");
    RunOk({"batch", "--new", "made.rqfs", "layout.txt"});
    EXPECT_EQ(RunOk({"tree", "made.rqfs"}),
              "3F00  folder             61988  free 61586\n"
              "  0001  folder               300  free 177\n"
              "    0002  data                   5\n");

    // An existing image is replaced only when forced, and then by the script's card alone.
    RunOk({"mkdir", m_image, "/7", "--size", "200"});
    const std::vector<uint8_t> before = ReadBytes(m_image);
    const RqfsResult kept = Run({"batch", "--new", m_image, "layout.txt"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_EQ(kept.err, "rqfs: new card.rqfs: the file already exists; --force replaces it\n");
    EXPECT_EQ(ReadBytes(m_image), before);
    RunOk({"batch", "--new", "--force", m_image, "layout.txt"});
    EXPECT_EQ(ReadBytes(m_image), ReadBytes("made.rqfs"));

    // A failed line leaves no image behind, and --force means nothing without --new.
    const RqfsResult failed = Run({"batch", "--new", "never.rqfs"}, "mkdir /1 --size 10\n");
    EXPECT_EQ(failed.status, 1);
    EXPECT_FALSE(std::filesystem::exists(PathOf("never.rqfs")));
    EXPECT_EQ(Run({"batch", "--force", m_image, "layout.txt"}).status, 2);
    EXPECT_EQ(ReadBytes(m_image), ReadBytes("made.rqfs"));
}
