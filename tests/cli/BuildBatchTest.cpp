// rqfs build --params --output-dir: one image per row of a table from a template, each the
// image the template gives with its row typed in; all or nothing, and the digests that
// name each image.
#include "LayoutTest.h"

#include "ChildProcess.h"
#include "Sha256.h"

#include <cstdio>
#include <sstream>

namespace {

using RQ540::Cli::CSha256;

// A template whose root user password, whose folder's developer password and whose licence
// file come from the table; a fixed file beside the licence comes from its payload file.
const char* const kTemplate = R"({
  "model": 0,
  "userPassword": {"param": "pin"},
  "children": [
    {"id": "0001", "kind": "folder", "size": 600, "developerPassword": {"param": "developer"},
     "children": [
       {"id": "0002", "kind": "file", "type": "data", "size": 16, "payload": {"param": "licence"}},
       {"id": "0003", "kind": "file", "type": "exec", "size": 4, "payload": "files/run.bin"}
     ]}
  ]
})";

std::string Hex(const std::string& text)
{
    std::string hex;
    for (char c : text) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", static_cast<uint8_t>(c));
        hex += digits;
    }
    return hex;
}

struct Key {
    std::string name;
    std::string pin;
    std::string developer;
    std::string licence;  // the licence file, relative to the table's folder
};

// Row i of the batch. The first developer password holds a line end, so that every later
// row starts one physical line further down than its number says.
Key KeyOf(int i)
{
    char name[8];
    std::snprintf(name, sizeof name, "K%02d", i);
    return {name, "P" + std::to_string(1000 + i),
            i == 1 ? std::string("dev,\"1\"\r\nnext") : "developer-" + std::to_string(i),
            std::string("licences/") + name + ".lic"};
}

std::string Quoted(const std::string& field)
{
    std::string quoted = "\"";
    for (char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

class BuildBatch : public LayoutTest {
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        Put("tpl/card.json", kTemplate);
        Put("tpl/files/run.bin", "RUN!");
    }

    // Writes a file of the test's directory, making the folders on its way.
    void Put(const std::string& name, const std::string& text) const
    {
        std::filesystem::create_directories(PathOf(name).parent_path());
        WriteText(name, text);
    }

    // units.csv with columns, rows 1 to count and the licence file of each; a column that
    // is no field of a key holds "x".
    void WriteTable(int count, const std::vector<std::string>& columns = {"name", "pin",
                                                                          "developer", "licence"})
    {
        std::string table;
        for (const std::string& column : columns)
            table += (table.empty() ? "" : ",") + column;
        table += "\r\n";
        for (int i = 1; i <= count; ++i) {
            const Key key = KeyOf(i);
            std::string row;
            for (const std::string& column : columns) {
                const std::string field = column == "name"        ? key.name
                                          : column == "pin"       ? key.pin
                                          : column == "developer" ? Quoted(key.developer)
                                          : column == "licence"   ? key.licence
                                                                  : "x";
                row += (row.empty() ? "" : ",") + field;
            }
            table += row + "\r\n";
            Put(key.licence, "licence of " + key.name.substr(0, 3) + "..");
        }
        WriteText("units.csv", table);
    }

    std::string ReadText(const std::string& name) const
    {
        const std::vector<uint8_t> bytes = ReadBytes(name);
        return {bytes.begin(), bytes.end()};
    }

    // The image rqfs build makes of the template with key's row typed into it.
    std::vector<uint8_t> BuildByHand(const Key& key)
    {
        nlohmann::ordered_json manifest = nlohmann::ordered_json::parse(kTemplate);
        manifest["userPassword"] = Hex(key.pin);
        manifest["children"][0]["developerPassword"] = Hex(key.developer);
        manifest["children"][0]["children"][0]["payload"] = "files/licence.bin";
        Put("hand/files/run.bin", "RUN!");
        WriteManifest("hand", manifest);
        WriteBytes("hand/files/licence.bin", ReadBytes(key.licence));
        RunOk({"build", "hand", "hand.rqfs", "--force"});
        return ReadBytes("hand.rqfs");
    }

    RqfsResult RunBatch(const std::vector<std::string>& extra = {})
    {
        std::vector<std::string> args{"build", "tpl", "--params", "units.csv", "--output-dir",
                                      "out"};
        args.insert(args.end(), extra.begin(), extra.end());
        return Run(args);
    }

    std::vector<std::string> Listing(const std::string& dir) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(PathOf(dir)))
            names.push_back(RQ540::DiskFile::Utf8FromPath(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(BuildBatch, FiftyRowsGiveFiftyImagesEachAsIfItsRowWereTypedIn)
{
    Keep("tpl", "dumps");
    WriteTable(50);
    EXPECT_EQ(RunBatch().err, "");

    std::vector<std::string> expected{"SHA256SUMS"};
    for (int i = 1; i <= 50; ++i)
        expected.push_back(KeyOf(i).name + ".rqfs");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listing("out"), expected);

    std::istringstream sums(ReadText("out/SHA256SUMS"));
    std::string line;
    int row = 0;
    while (std::getline(sums, line)) {
        const std::string image = KeyOf(++row).name + ".rqfs";
        EXPECT_EQ(line, CSha256::Hex(ReadBytes("out/" + image)) + "  " + image);
    }
    EXPECT_EQ(row, 50);

    for (int i : {1, 27, 50})
        EXPECT_EQ(ReadBytes("out/" + KeyOf(i).name + ".rqfs"), BuildByHand(KeyOf(i))) << i;

#ifndef _WIN32
    // The list is the one sha256sum -c reads, where that tool is at hand.
    if (std::filesystem::exists("/usr/bin/sha256sum")) {
        EXPECT_EQ(RunChild({.program = "/usr/bin/sha256sum",
                            .args = {"-c", "--quiet", "SHA256SUMS"},
                            .dir = PathOf("out"),
                            .in = PathOf("units.csv"),
                            .out = PathOf("sums.out"),
                            .err = PathOf("sums.err")}),
                  0);
    }
#endif
}

TEST_F(BuildBatch, ABadRowNamesItsLineAndJsonLocationAndLeavesNoImage)
{
    WriteTable(50);
    // Row 25 starts on line 27: the header and row 1's quoted line end come before it.
    WriteText(KeyOf(25).licence, "short licence");
    const std::string refusal =
        "rqfs: build units.csv line 27: tpl/card.json: /children/0/children/0/payload: "
        "'licences/K25.lic' holds 13 bytes, not 16\n";
    const RqfsResult made = RunBatch();
    EXPECT_EQ(made.status, 1);
    EXPECT_EQ(made.err, refusal);
    EXPECT_FALSE(std::filesystem::exists(PathOf("out")));

    // An empty folder that was there stays, empty.
    std::filesystem::create_directory(PathOf("out"));
    EXPECT_EQ(RunBatch().err, refusal);
    EXPECT_EQ(Listing("out"), std::vector<std::string>{});
}

TEST_F(BuildBatch, AFolderThatIsNotEmptyTakesImagesOnlyWithForce)
{
    WriteTable(2);
    Put("out/notes.txt", "kept");
    const RqfsResult refused = RunBatch();
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "rqfs: build out: the folder is not empty; --force builds into it\n");
    EXPECT_EQ(Listing("out"), std::vector<std::string>{"notes.txt"});

    EXPECT_EQ(RunBatch({"--force"}).status, 0);
    EXPECT_EQ(Listing("out"),
              (std::vector<std::string>{"K01.rqfs", "K02.rqfs", "SHA256SUMS", "notes.txt"}));
}

TEST_F(BuildBatch, AnImageThatCannotBeMovedIntoPlaceGivesBackWhatTheOthersReplaced)
{
    WriteTable(2);
    Put("out/K01.rqfs", "the last batch's K01");
    // A folder that holds a file: no image can be moved over it.
    Put("out/K02.rqfs/notes.txt", "kept");
    const RqfsResult result = RunBatch({"--force"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot move 'K02.rqfs' into place"), std::string::npos)
        << result.err;
    EXPECT_EQ(Listing("out"), (std::vector<std::string>{"K01.rqfs", "K02.rqfs"}));
    EXPECT_EQ(ReadText("out/K01.rqfs"), "the last batch's K01");
}

TEST_F(BuildBatch, ATemplateWithoutATableIsRefusedNamingTheParameter)
{
    const RqfsResult result = Run({"build", "tpl", "one.rqfs"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "rqfs: build tpl/card.json: /userPassword/param: the parameter 'pin' "
                          "takes its value from a table; give --params and --output-dir\n");
    EXPECT_FALSE(std::filesystem::exists(PathOf("one.rqfs")));

    // A parameter's name is text; the schema refuses another value as build does.
    nlohmann::ordered_json manifest = ReadManifest("tpl");
    manifest["userPassword"] = {{"param", 7}};
    WriteManifest("tpl", manifest);
    WriteTable(1);
    EXPECT_EQ(RunBatch().err,
              "rqfs: build tpl/card.json: /userPassword/param: expected a string\n");
    Keep("tpl", "refused");
}

TEST_F(BuildBatch, ATemplateIsAFolderOrAOneFileManifestButNotStandardInput)
{
    WriteTable(2);
    Put("tpl/one.json", kTemplate);
    RunOk({"build", "tpl", "--params", "units.csv", "--output-dir", "folder"});
    RunOk({"build", "tpl/one.json", "--params", "units.csv", "--output-dir", "file"});
    EXPECT_EQ(ReadText("file/SHA256SUMS"), ReadText("folder/SHA256SUMS"));

    const RqfsResult piped =
        Run({"build", "-", "--params", "units.csv", "--output-dir", "piped"}, kTemplate);
    EXPECT_EQ(piped.status, 2);
    EXPECT_EQ(piped.err, "rqfs: build -: a template is read once per row of --params; give its "
                         "folder or file\n");
    EXPECT_FALSE(std::filesystem::exists(PathOf("piped")));
}

struct TableRefusal {
    const char* name;
    std::vector<std::string> columns;
    std::string extraRow;  // appended to two good rows
    const char* message;
};

void PrintTo(const TableRefusal& value, std::ostream* os) { *os << value.name; }

class BuildBatchRefuses : public BuildBatch, public ::testing::WithParamInterface<TableRefusal> {};

TEST_P(BuildBatchRefuses, BeforeBuildingAnything)
{
    WriteTable(2, GetParam().columns);
    WriteText("units.csv", ReadText("units.csv") + GetParam().extraRow);
    const RqfsResult result = RunBatch();
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, GetParam().message);
    EXPECT_FALSE(std::filesystem::exists(PathOf("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, BuildBatchRefuses,
    ::testing::Values(
        TableRefusal{"MissingColumn", {"name", "pin", "licence"}, "",
                     "rqfs: build units.csv: tpl/card.json uses the parameters 'developer', "
                     "which the table has no columns for\n"},
        TableRefusal{"UnusedColumn", {"name", "pin", "developer", "licence", "colour"}, "",
                     "rqfs: build units.csv: the columns 'colour' are parameters tpl/card.json "
                     "never uses\n"},
        TableRefusal{"RepeatedName", {"name", "pin", "developer", "licence"},
                     "k01,1,2,licences/K01.lic\r\n",
                     "rqfs: build units.csv line 5: the name 'k01' repeats the one of line 2\n"},
        TableRefusal{"BadName", {"name", "pin", "developer", "licence"},
                     "CON,1,2,licences/K01.lic\r\n",
                     "rqfs: build units.csv line 5: 'CON' cannot name an image: Windows keeps "
                     "the name for a device\n"}),
    [](const ::testing::TestParamInfo<TableRefusal>& info) { return info.param.name; });

// The value is fixed rather than computed by the test: the suite runs natively and under
// Wine, so a build on either system must give these very bytes, and so must every release.
TEST_F(LayoutTest, BuildGivesTheSameBytesOnEverySystem)
{
    std::filesystem::create_directories(PathOf("fixed/files"));
    WriteText("fixed/card.json", R"({"model": 0, "userPassword": "31323334",
        "children": [{"id": "0001", "kind": "folder", "size": 300, "children": [
          {"id": "0002", "kind": "file", "type": "data", "size": 5, "payload": "files/a.bin"}]},
          {"id": "0010", "kind": "file", "type": "exec", "size": 8, "zero": true}]})");
    WriteText("fixed/files/a.bin", "hello");
    RunOk({"build", "fixed", "fixed.rqfs"});
    const std::string sha = "4cfd509516886dbf37d52ace47de2e5923388883f0eae71f87babc519a6c36c5";
    EXPECT_EQ(CSha256::Hex(ReadBytes("fixed.rqfs")), sha);
    const std::string info = RunOk({"info", "fixed.rqfs"});
    EXPECT_EQ(info.substr(info.find("sha256")), "sha256          " + sha + "\n");
    EXPECT_EQ(nlohmann::json::parse(RunOk({"check", "fixed.rqfs", "--json"}))["sha256"], sha);
}

TEST_F(RqfsTest, InfoOnABatchLineGivesTheDigestTheImageWillHave)
{
    const std::string out =
        RunOk({"batch", "--new", "b.rqfs"}, "mkdir /1 --size 300\ninfo --json\n");
    const std::string sha = CSha256::Hex(ReadBytes("b.rqfs"));
    EXPECT_EQ(nlohmann::json::parse(out)["sha256"], sha);
    EXPECT_NE(CSha256::Hex(ReadBytes(m_image)), sha);
}

}  // namespace
