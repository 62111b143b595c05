// build refuses every bad manifest with status 1, one line naming the manifest and the JSON
// location, and no output file. Each case damages a good dump of this card: empty folder
// /0003 (200 bytes), exec file /0002 (16 zero bytes), folder /0001 (400 bytes) holding data
// file /0001/0010 (12 bytes, payload files/0001/0010.bin); the root lists them in that order.
#include "../PosixOnly.h"
#include "LayoutTest.h"

#include <set>

namespace {

enum Damage { EDIT, MANIFEST_TEXT, REPEATED_KEY, PAYLOAD_TEXT, PAYLOAD_LINKED_OUT, FILLS_THE_CAP };

struct BadManifest {
    const char* name;
    Damage damage;
    const char* pointer;  // EDIT: where value goes; without a value the key goes
    const char* value;    // EDIT: JSON text; *_TEXT: the file's text, none to remove it
    const char* message;  // what follows "rqfs: build dump/card.json"
    bool schemaRefuses;   // the schema alone sees the fault
};

const BadManifest kBadManifests[] = {
    {"NotJson", MANIFEST_TEXT, "", "{ not json }",
     ": not JSON: parse error at line 1, column 4: syntax error while parsing object key - "
     "invalid literal; last read: '{ no'; expected string literal", false},
    {"SizeBeyondADouble", MANIFEST_TEXT, "",
     R"({"model": 0, "children": [{"id": "1", "kind": "file", "type": "data", "size": 1e400,
                                  "zero": true}]})",
     ": /children/0/size: number overflow parsing '1e400'", true},
    {"SizeAsText", EDIT, "/children/1/size", R"("16")",
     ": /children/1/size: expected a whole number from 0 to 4294967295", true},
    {"ChildrenNotAList", EDIT, "/children/0/children", "{}",
     ": /children/0/children: expected an array", true},
    {"UnknownModel", EDIT, "/model", "1", ": /model: expected a known card model (0)", true},
    {"UnknownKey", EDIT, "/children/1/owner", "1", ": /children/1/owner: unknown key", true},
    {"NulInAKey", MANIFEST_TEXT, "", R"({"model": 0, "chil\u0000dren": []})",
     ": /chil\\x00dren: unknown key", true},
    {"MissingKey", EDIT, "/children/1/kind", nullptr,
     ": /children/1: the key \"kind\" is missing", true},
    {"RepeatedKey", REPEATED_KEY, "", nullptr, ": /children/1: the key \"kind\" appears twice",
     false},
    // As long as card.json may be, and read whole before its unknown key is refused.
    {"EmptyObjectsUpToTheCap", FILLS_THE_CAP, "", nullptr, ": /x: unknown key", false},
    {"IdNotHex", EDIT, "/children/1/id", R"("00G2")",
     ": /children/1/id: expected an ID of 1 to 4 hexadecimal digits", true},
    {"UnknownTypeName", EDIT, "/children/1/type", R"("archive")",
     ": /children/1/type: expected exec, data, public-key, private-key, internal-exec or a "
     "number from 0 to 255", true},
    {"PasswordTooLong", EDIT, "/children/0/userPassword", R"("303132333435363738")",
     ": /children/0/userPassword: expected at most 8 bytes as pairs of hexadecimal digits",
     true},
    {"PasswordRedacted", EDIT, "/developerPassword", R"({"redacted": true})",
     ": /developerPassword: the password is redacted; --allow-redacted stores zeros", false},
    {"PasswordFromUnsetVariable", EDIT, "/userPassword", R"({"env": "RQFS_TEST_UNSET"})",
     ": /userPassword/env: the environment variable RQFS_TEST_UNSET is not set", false},
    {"PasswordFromANameWithANul", EDIT, "/userPassword", R"({"env": "PATH\u0000X"})",
     ": /userPassword/env: 'PATH\\x00X' may not hold a NUL byte", false},
    {"ZeroAndPayload", EDIT, "/children/1/payload", R"("files/0002.bin")",
     ": /children/1: give either \"payload\" or \"zero\", not both", true},
    {"PayloadMissing", PAYLOAD_TEXT, "", nullptr,
     ": /children/2/children/0/payload: 'dump/files/0001/0010.bin' is missing", false},
    {"PayloadTooShort", PAYLOAD_TEXT, "", "eleven byte",
     ": /children/2/children/0/payload: 'dump/files/0001/0010.bin' holds 11 bytes, not 12",
     false},
    {"PayloadUpAndOut", EDIT, "/children/2/children/0/payload", R"("files/../../outside.bin")",
     ": /children/2/children/0/payload: 'files/../../outside.bin' may not step up with '..'",
     true},
    {"PayloadWithANul", EDIT, "/children/2/children/0/payload",
     R"("files/0001/0010.bin\u0000.x")",
     ": /children/2/children/0/payload: 'files/0001/0010.bin\\x00.x' may not hold a NUL byte",
     true},
    {"PayloadAbsolute", EDIT, "/children/2/children/0/payload", R"("/etc/hostname")",
     ": /children/2/children/0/payload: expected a path relative to the dump folder, with '/' "
     "between folder names", true},
    {"InlineBytesNotHex", EDIT, "/children/2/children/0/payload",
     R"({"hex": ["7477656C7665", "2062797465G"]})",
     ": /children/2/children/0/payload/hex/1: expected pairs of hexadecimal digits", true},
    {"InlineBytesTooFew", EDIT, "/children/2/children/0/payload", R"({"hex": "7477656C7665"})",
     ": /children/2/children/0/payload/hex: holds 6 bytes, not 12", false},
    {"PayloadLinkedOut", PAYLOAD_LINKED_OUT, "", nullptr,
     ": /children/2/children/0/payload: 'dump/files/0001/0010.bin' leads out of the dump "
     "folder through a symbolic link", false},
    // The card's own rules, in the card's words.
    {"DuplicateId", EDIT, "/children/0/id", R"("0002")",
     ": /children/0/id: 文件或子目录已存在 (result 13)", false},
    {"TypeTheCardRefuses", EDIT, "/children/1/type", R"("5")",
     ": /children/1/type: 无效的参数 (result 2)", false},
    {"FileLargerThanTheCard", EDIT, "/children/1/size", "70000",
     ": /children/1/size: 文件夹空间不足 (result 12)", false},
    {"FourFoldersDeep", EDIT, "/children/2/children",
     R"([{"id": "1", "kind": "folder", "size": 200,
          "children": [{"id": "2", "kind": "folder", "size": 102}]}])",
     ": /children/2/children/0/children/0: 目录深度已达限制 (result 1, detail 1)", false},
    {"FreeSpaceThatDoesNotAddUp", EDIT, "/children/0/free", "99",
     ": /children/0/free: the free space comes out as 98, not 99", false},
};

void PrintTo(const BadManifest& value, std::ostream* os) { *os << value.name; }

}  // namespace

class LayoutBadInput : public LayoutTest, public ::testing::WithParamInterface<BadManifest> {
protected:
    // {"model": 0, "x": [{}, {}, ...]} of exactly length bytes: the most objects a text of
    // that length can hold.
    static std::string EmptyObjects(std::size_t length)
    {
        std::string text = R"({"model": 0, "x": [{})";
        text.reserve(length);
        while (text.size() + 3 + 2 <= length)
            text += ",{}";
        text.append(length - 2 - text.size(), ' ');
        return text + "]}";
    }

    void Damage(const BadManifest& bad)
    {
        const std::string payload = "dump/files/0001/0010.bin";
        auto manifest = ReadManifest("dump");
        const nlohmann::ordered_json::json_pointer pointer(bad.pointer);
        std::string text = manifest.dump(2);
        const std::string kind = "\"kind\": \"file\",";
        switch (bad.damage) {
        case EDIT:
            if (bad.value)
                manifest[pointer] = nlohmann::ordered_json::parse(bad.value);
            else
                manifest[pointer.parent_pointer()].erase(pointer.back());
            WriteManifest("dump", manifest);
            break;
        case MANIFEST_TEXT:
            WriteText("dump/card.json", bad.value);
            break;
        case REPEATED_KEY:
            WriteText("dump/card.json", text.insert(text.find(kind), kind + " "));
            break;
        case PAYLOAD_TEXT:
            std::filesystem::remove(PathOf(payload));
            if (bad.value)
                WriteText(payload, bad.value);
            break;
        case PAYLOAD_LINKED_OUT:
            std::filesystem::remove(PathOf(payload));
            std::filesystem::create_symlink("../../../outside.bin", PathOf(payload));
            break;
        case FILLS_THE_CAP:
            WriteText("dump/card.json", EmptyObjects(64 << 20));
            break;
        }
    }

    // The names in the test's directory, where the image or its temporary file would go.
    std::set<std::string> Files() const
    {
        std::set<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(PathOf("")))
            files.insert(entry.path().filename().string());
        return files;
    }
};

TEST_P(LayoutBadInput, RefusedInOneLineWithNoOutputFile)
{
    if (GetParam().damage == PAYLOAD_LINKED_OUT)
        RQ_POSIX_ONLY("symbolic links any user may make");
    RunOk({"mkdir", m_image, "/1", "--size", "400"});
    RunOk({"add", m_image, "/1/10", "--type", "data", "--from", "-"}, "twelve bytes");
    RunOk({"add", m_image, "/2", "--type", "exec", "--size", "16"});
    RunOk({"mkdir", m_image, "/3", "--size", "200"});
    Dump(m_image, "dump");
    WriteText("outside.bin", "twelve bytes");
    Damage(GetParam());
    if (GetParam().schemaRefuses)
        Keep("dump", "refused");

    const auto before = Files();
    const RqfsResult result = Run({"build", "dump", "out.rqfs"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string("rqfs: build dump/card.json") + GetParam().message + "\n");
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_TRUE(Files() == before) << "a file was written";
}

INSTANTIATE_TEST_SUITE_P(Rqfs, LayoutBadInput, ::testing::ValuesIn(kBadManifests),
                         [](const auto& info) { return std::string(info.param.name); });
