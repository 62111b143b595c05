// What went wrong with a disk file beyond a failed call, for messages that say why.
#pragma once

namespace RQ540::DiskFile {

enum class FileProblem {
    NONE,
    NOT_REGULAR,          // a folder, FIFO, device or socket where a file belongs
    NOT_WRITABLE,         // the file exists but may not be opened for writing
    FOLDER_NOT_WRITABLE,  // no file can be created in the file's folder
    HARD_LINKED,          // other names share the file
    LINK_LOOP,            // symbolic links that never reach a file
    TOO_LONG,             // more bytes than the reader was allowed to take
    OPEN_FAILED,
    READ_FAILED,
    NOT_FOUND,            // no file, or no folder on the way to it
    NO_PERMISSION,        // the system refuses this user the file or its folder
    DISK_FULL,            // no room left on the disk (or under the user's quota)
    IN_USE,               // another program holds the file open and shares it with no one
};

// One short English phrase per problem ("the folder is not writable"); empty for NONE.
const char* DescribeFileProblem(FileProblem problem);

}  // namespace RQ540::DiskFile
