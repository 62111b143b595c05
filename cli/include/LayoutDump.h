// rqfs dump: writes a card's layout into a folder as reviewable text, card.json and one
// payload file per card file whose bytes are not all zero; or as one JSON document.
#pragma once

#include "rq540/VirtualFileSystem.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace RQ540::Cli {

struct DumpOptions {
    bool redactPasswords = false;  // {"redacted": true} instead of the password bytes
    bool force = false;            // a folder that is not empty loses its card.json and files/
};

// Writes the whole dump into a hidden folder inside dir and moves it into place once it is
// complete, so that a failed dump leaves dir as it was (and removes dir again if it made
// it). A root whose ID is not the card's root ID is refused: the card's operations could
// not rebuild it. Failures are CCliErrors beginning with operation, or naming the file
// that could not be written.
void DumpLayout(const CVirtualFileSystem& vfs, const std::filesystem::path& dir,
                const DumpOptions& options, const std::string& operation);

// The whole card as one manifest on out, each file's bytes inline in hexadecimal; force
// has no meaning here. Refuses what DumpLayout refuses, before writing anything.
void DumpLayoutAsOneFile(const CVirtualFileSystem& vfs, std::ostream& out,
                         const DumpOptions& options, const std::string& operation);

}  // namespace RQ540::Cli
