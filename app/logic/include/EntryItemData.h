// The record attached to every sub-folder node of the tree panel and to every row of the
// folder list. It refers to its entry, never owns it.
#pragma once

#include "rq540/UnknownHeader.h"

#include <string>

struct EntryItemData {
    RQ540::CUnknownHeader* pHeader = nullptr;
    // Absolute path of the entry in the syntax of ChangeDirectory, e.g. \0001\0002. A
    // growable string: images read from disk may nest folders to any depth.
    std::string szPath;
};
