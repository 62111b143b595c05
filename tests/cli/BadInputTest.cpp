// Hostile arguments and files: each ends with status 1 or 2, says why in one line, and
// changes no file.
#include "RqfsTest.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct BadInput {
    const char* name;
    std::vector<std::string> args;
    int status;
};

const BadInput kBadArguments[] = {
    {"EmptyComponent", {"mkdir", "card.rqfs", "/1//2", "--size", "200"}, 2},
    {"FiveDigitId", {"add", "card.rqfs", "/00001", "--type", "data", "--size", "1"}, 2},
    {"NonHexId", {"add", "card.rqfs", "/00G1", "--type", "data", "--size", "1"}, 2},
    {"SpaceInPath", {"rm", "card.rqfs", "/00 1"}, 2},
    {"DotDotInPath", {"ls", "card.rqfs", "/.."}, 2},
    {"EmptyPath", {"rm", "card.rqfs", ""}, 2},
    {"ReservedIdZero", {"mkdir", "card.rqfs", "/0", "--size", "200"}, 1},
    {"ReservedIdRoot", {"add", "card.rqfs", "/3F00", "--type", "data", "--size", "1"}, 1},
    {"NegativeOffset", {"write", "card.rqfs", "/1", "--from", "-", "--offset", "-4"}, 2},
    {"HugeSize", {"mkdir", "card.rqfs", "/2", "--size", "99999999999999999999999"}, 2},
    {"SizeWithSign", {"mkdir", "card.rqfs", "/2", "--size", "+200"}, 2},
    {"SizeWithUnit", {"mkdir", "card.rqfs", "/2", "--size", "200k"}, 2},
    {"HexSize", {"mkdir", "card.rqfs", "/2", "--size", "0x100"}, 2},
    {"SizePast32BitsByOne", {"add", "card.rqfs", "/2", "--type", "data", "--size", "4294967296"}, 2},
    {"NegativeType", {"add", "card.rqfs", "/2", "--type", "-1", "--size", "1"}, 2},
    {"UnknownType", {"add", "card.rqfs", "/2", "--type", "archive", "--size", "1"}, 2},
    {"MissingInputFile", {"write", "card.rqfs", "/1", "--from", "absent.bin"}, 1},
    {"InputIsAFolder", {"add", "card.rqfs", "/2", "--type", "data", "--from", "folder"}, 1},
    {"ExportIntoMissingFolder", {"export", "card.rqfs", "/1", "absent/out.bin"}, 1},
    {"ExportUnderAFile", {"export", "card.rqfs", "/1", "input.bin/out.bin"}, 1},
    {"MissingScript", {"batch", "card.rqfs", "absent.rqb"}, 1},
    {"MissingImage", {"info", "absent.rqfs"}, 1},
    {"ImageIsAFolder", {"ls", "folder"}, 1},
    {"ImageIsEmpty", {"tree", "empty.rqfs"}, 1},
    {"ImageIsText", {"ls", "input.bin"}, 1},
    {"ChangeOnEmptyImage", {"mkdir", "empty.rqfs", "/1", "--size", "200"}, 1},
    {"NewImageUnderAFile", {"new", "input.bin/card.rqfs"}, 1},
    {"NewImageOverAFolder", {"new", "folder", "--force"}, 1},
    {"NewImageOverExisting", {"new", "card.rqfs"}, 1},
};

void PrintTo(const BadInput& value, std::ostream* os) { *os << value.name; }

}  // namespace

class BadArguments : public RqfsTest, public ::testing::WithParamInterface<BadInput> {
protected:
    // Every file in the test's directory with its bytes, but for the harness's own
    // captures of the standard streams.
    std::map<std::string, std::vector<uint8_t>> Files() const
    {
        std::map<std::string, std::vector<uint8_t>> files;
        for (const auto& entry : std::filesystem::directory_iterator(PathOf(""))) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && !name.starts_with("."))
                files[name] = ReadBytes(name);
        }
        return files;
    }
};

TEST_P(BadArguments, FailWithAReasonAndChangeNothing)
{
    RunOk({"add", m_image, "/1", "--type", "data", "--size", "8"});
    WriteText("input.bin", "not an image at all, just some text\n");
    WriteText("empty.rqfs", "");
    std::filesystem::create_directory(PathOf("folder"));
    const auto before = Files();

    const RqfsResult result = Run(GetParam().args, "stdin bytes");
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_TRUE(result.err.starts_with("rqfs: ")) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_TRUE(Files() == before) << "a file changed";
    EXPECT_TRUE(std::filesystem::is_directory(PathOf("folder")));
}

INSTANTIATE_TEST_SUITE_P(Rqfs, BadArguments, ::testing::ValuesIn(kBadArguments),
                         [](const auto& info) { return std::string(info.param.name); });
