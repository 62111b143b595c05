// Loads an image, then runs a short sequence of operations decoded from the input. After
// every operation the card must still add up, a refused operation must have changed
// nothing, and the tree must survive a save and a load byte for byte.
//
// Input: two bytes of image length (little-endian), the image, then operations, each an
// opcode byte followed by the argument bytes it takes.
#include "FuzzSupport.h"

#include "rq540/RQ540Vfs.h"
#include "rq540/VfsArchive.h"

#include <string>
#include <vector>

namespace {

using namespace RQ540;

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Done() const { return m_position >= m_size; }
    uint8_t U8() { return m_position < m_size ? m_data[m_position++] : 0; }
    uint16_t U16() { return static_cast<uint16_t>(U8() | (U8() << 8)); }
    uint32_t U32() { return U16() | (static_cast<uint32_t>(U16()) << 16); }
    size_t Position() const { return m_position; }
    void Skip(size_t count) { m_position += count; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

struct State {
    std::vector<uint8_t> image;
    std::vector<CFolderHeader*> path;

    explicit State(const CVirtualFileSystem& vfs)
        : image(VfsArchive::SerializeImage(vfs.GetRoot(), vfs.GetModel())), path(vfs.GetPath())
    {
    }
    bool operator==(const State&) const = default;
};

// IDs drawn from a small set so that operations meet each other's entries.
uint16_t SmallId(Reader& in)
{
    static const uint16_t ids[] = {0x0001, 0x0002, 0x0003, 0x0010, 0x3F00, 0x0000, 0x3F01, 0xFFFF};
    return ids[in.U8() % (sizeof ids / sizeof ids[0])];
}

// Any entry of the current folder or of the root, by index.
const CUnknownHeader* PickEntry(const CVirtualFileSystem& vfs, Reader& in)
{
    const uint8_t choice = in.U8();
    const CFolderHeader* folder = (choice & 0x80) ? vfs.GetRoot() : vfs.GetCurrentFolder();
    const CUnknownHeader* entry = folder->GetFirstChild();
    for (int i = choice & 0x7F; entry && i > 0; --i)
        entry = entry->GetNext();
    return entry;
}

std::string PathText(Reader& in)
{
    static const char* const pieces[] = {"0001", "0002", "0003", "0010", "\\", "..", " ", "\t",
                                         "x",    "00",   "FFFF", "3f00"};
    std::string text;
    for (int n = in.U8() % 6; n > 0; --n)
        text += pieces[in.U8() % (sizeof pieces / sizeof pieces[0])];
    return text;
}

void CheckRoundTrip(CRQ540Vfs& vfs)
{
    const auto path = fuzz_rq::ScratchPath("ops-save");
    CRQ540Vfs copy(0);
    fuzz_rq::Require(vfs.SaveImage(path) == 0);
    fuzz_rq::Require(copy.LoadImage(path) == 0);
    fuzz_rq::Require(VfsArchive::SerializeImage(copy.GetRoot(), 0) ==
                     VfsArchive::SerializeImage(vfs.GetRoot(), 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in(data, size);
    const size_t imageSize = in.U16();
    if (size - in.Position() < imageSize)
        return 0;
    fuzz_rq::WriteFile(fuzz_rq::ScratchPath("ops"), data + in.Position(), imageSize);
    in.Skip(imageSize);

    CRQ540Vfs vfs;
    if (vfs.LoadImage(fuzz_rq::ScratchPath("ops")) != 0)
        return 0;

    std::vector<FileHandle> handles;
    for (int step = 0; step < 64 && !in.Done(); ++step) {
        const State before(vfs);
        int32_t result = 0;
        switch (in.U8() % 11) {
        case 0: {
            const uint16_t id = SmallId(in);
            result = vfs.CreateFolder(id, in.U16());
            break;
        }
        case 1: {
            const uint16_t id = SmallId(in);
            const uint8_t type = in.U8() % 7;
            FileHandle handle = nullptr;
            result = vfs.CreateFile(id, type, in.U16(), (in.U8() & 1) ? &handle : nullptr);
            if (handle)
                handles.push_back(handle);
            break;
        }
        case 2:
            result = vfs.DeleteFile(SmallId(in));
            break;
        case 3:
            try {
                result = vfs.DeleteFolder(SmallId(in));
            } catch (uint16_t) {
                // Stopped part way at an open file: the tree changed, but must still add up.
                fuzz_rq::Require(GetFolderTotalSize64(vfs.GetRoot(), 0) == GetCapacity(0));
                continue;
            }
            break;
        case 4:
            result = vfs.ChangeDirectory(PathText(in));
            break;
        case 5:
            if (const CUnknownHeader* entry = PickEntry(vfs, in))
                result = vfs.PasteEntry(entry);
            break;
        case 6: {
            FileHandle handle = nullptr;
            result = vfs.OpenFile(SmallId(in), &handle);
            if (result == 0)
                handles.push_back(handle);
            break;
        }
        case 7:
            if (!handles.empty()) {
                result = vfs.CloseFile(handles.back());
                handles.pop_back();
            }
            break;
        case 8:
            if (!handles.empty()) {
                const uint32_t offset = in.U16();
                const uint32_t length = in.U8();
                const std::vector<uint8_t> bytes(length, in.U8());
                result = vfs.WriteFile(handles.back(), offset, length, bytes.data());
            }
            break;
        case 9:
            if (!handles.empty()) {
                const uint32_t offset = in.U32();
                const uint32_t length = in.U8();
                std::vector<uint8_t> bytes(length);
                result = vfs.ReadFile(handles.back(), offset, length, bytes.data());
            }
            break;
        default:
            vfs.Format(true);
            handles.clear();
            break;
        }
        fuzz_rq::Require(GetFolderTotalSize64(vfs.GetRoot(), 0) == GetCapacity(0));
        if (result != 0)
            fuzz_rq::Require(State(vfs) == before);
    }
    CheckRoundTrip(vfs);
    return 0;
}
