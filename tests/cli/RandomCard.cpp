#include "RandomCard.h"

#include "CliError.h"
#include "LayoutManifest.h"

#include <algorithm>
#include <iterator>

using RQ540::CCardPath;
using RQ540::Cli::CCardSession;

void RandomCard::Make(const std::filesystem::path& image)
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

void RandomCard::Change(const std::filesystem::path& image, int steps)
{
    CCardSession card(image);
    for (int step = 0; step < steps; ++step) {
        // Every entry as it stands now, the root first.
        const RQ540::Cli::CardLayout layout = RQ540::Cli::LayoutFromCard(card.GetVfs());
        std::vector<std::pair<CCardPath, const RQ540::Cli::LayoutEntry*>> entries;
        const auto collect = [&entries](const auto& self, const RQ540::Cli::LayoutEntry& entry,
                                        const CCardPath& path) -> void {
            entries.emplace_back(path, &entry);
            for (const RQ540::Cli::LayoutEntry& child : entry.children)
                self(self, child, path.GetChild(child.id));
        };
        collect(collect, layout.root, CCardPath());
        std::vector<std::pair<CCardPath, const RQ540::Cli::LayoutEntry*>> files;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(files),
                     [](const auto& pair) {
                         return !pair.second->folder && pair.second->size > 1;
                     });
        const auto& [path, chosen] = entries[Below(static_cast<uint32_t>(entries.size()))];
        const RQ540::Cli::LayoutEntry& entry = *chosen;
        // Some of these the card refuses (too deep, too big, an ID in use).
        try {
            switch (Below(5)) {
            case 0:
                if (!path.IsRoot())
                    card.Remove(path, "");
                break;
            case 1:
                if (entry.folder) {
                    card.SetPasswords(path, NextPasswords(), "");
                } else if (!files.empty()) {
                    // Most files are a byte or none; the write goes to one that is not.
                    const auto& [written, file] = files[Below(static_cast<uint32_t>(files.size()))];
                    const uint32_t offset = Below(file->size);
                    card.WriteFile(written, offset, Bytes(file->size - offset), "");
                }
                break;
            case 2:
                if (entry.folder)
                    card.MakeFolder(path.GetChild(static_cast<uint16_t>(1 + Below(0x30))),
                                    102 + Below(400), NextPasswords(), "");
                break;
            case 3:
                if (entry.folder) {
                    const uint32_t size = Below(300);
                    card.AddFile(path.GetChild(static_cast<uint16_t>(1 + Below(0x30))),
                                 static_cast<uint8_t>(Below(5)), size, Bytes(size), "");
                }
                break;
            default:
                // The same file again, at the head of its list, perhaps of another size or type.
                if (!path.IsRoot() && !entry.folder) {
                    card.Remove(path, "");
                    const uint32_t size = Below(2) == 0 ? entry.size : Below(300);
                    card.AddFile(path, Below(2) == 0 ? entry.type : static_cast<uint8_t>(Below(5)),
                                 size, entry.data, "");
                }
                break;
            }
        } catch (const RQ540::Cli::CCliError&) {
        }
    }
    card.Save();
}

uint32_t RandomCard::Below(uint32_t bound)
{
    return std::uniform_int_distribution<uint32_t>(0, bound - 1)(m_random);
}

std::vector<uint8_t> RandomCard::Bytes(uint32_t size)
{
    std::vector<uint8_t> bytes(Below(3) == 0 ? 0 : Below(size + 1));
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(Below(256));
    return bytes;
}

CCardSession::Passwords RandomCard::NextPasswords()
{
    const unsigned turn = m_passwordTurn++;
    return {Text(turn % 9), Text(turn % 25)};
}

std::string RandomCard::Text(std::size_t length)
{
    std::string text(length, ' ');
    for (char& c : text)
        c = static_cast<char>(1 + Below(255));
    return text;
}
