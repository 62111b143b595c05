// The card model table, the file-type vocabulary and the two message tables through
// which every operation of the core reports its outcome.
#pragma once

#include <cstdint>

namespace RQ540 {

struct CardModel {
    uint32_t capacity;                // bytes of the whole card file system
    uint32_t fileHeaderCost;          // charged to the parent for every file, on top of its data
    uint32_t folderHeaderCost;        // a folder's own header, out of its own budget
    uint32_t maxDepth;                // longest folder path, the root counting as 1
    uint32_t maxEntries;              // a folder holding this many entries takes no more
    uint32_t reservedIdCount;
    const uint16_t* reservedIds;
    uint32_t userPasswordLength;
    const char* defaultUserPassword;
    uint32_t developerPasswordLength;
    const char* defaultDeveloperPassword;
    uint32_t fileTypeCount;
};

extern const CardModel g_cardModels[];

// The card model fresh images are made for; the only one there is.
inline constexpr int32_t NEW_CARD_MODEL = 0;

inline constexpr uint16_t ROOT_FOLDER_ID = 0x3F00;
// Type byte of a folder record in an image file; never a file type.
inline constexpr uint8_t FOLDER_TYPE_MARK = 0xFF;

// File type bytes as the card knows them.
enum FileType : uint8_t {
    FILE_TYPE_EXECUTABLE = 0,
    FILE_TYPE_DATA = 1,
    FILE_TYPE_PUBLIC_KEY = 2,
    FILE_TYPE_PRIVATE_KEY = 3,
    FILE_TYPE_INTERNAL_EXECUTABLE = 4,
};

// Result codes of the key's programming interface; 0 is success.
enum ResultCode : int32_t {
    RESULT_SUCCESS = 0,
    RESULT_UNKNOWN_ERROR = 1,  // the file system's last detail code says more
    RESULT_INVALID_PARAMETER = 2,
    RESULT_INVALID_ADDRESS = 3,
    RESULT_INVALID_LENGTH = 4,
    RESULT_FILE_NOT_FOUND = 5,
    RESULT_ACCESS_DENIED = 6,
    RESULT_TOO_MANY_OPEN_FILES = 7,
    RESULT_INVALID_HANDLE = 8,
    RESULT_OUT_OF_RANGE = 9,
    RESULT_TYPE_MISMATCH = 10,
    RESULT_LENGTH_MISMATCH = 11,
    RESULT_NO_SPACE = 12,
    RESULT_ALREADY_EXISTS = 13,
    RESULT_INVALID_RSA_KEY = 14,
    RESULT_KEY_LENGTH_MISMATCH = 15,
    RESULT_WRONG_FILE_TYPE = 16,
    RESULT_RSA_FAILED = 17,
    RESULT_SIGNATURE_FAILED = 18,
    RESULT_SHA1_FAILED = 19,
    RESULT_MD5_FAILED = 20,
    RESULT_MEMORY_OUT_OF_BOUNDS = 21,
    RESULT_CODE_COUNT = 22,
};

// Detail codes carried by result 1.
enum DetailCode : int32_t {
    DETAIL_NONE = 0,
    DETAIL_DEPTH_LIMIT = 1,
    DETAIL_FOLDER_NOT_FOUND = 2,
    DETAIL_INVALID_PATH = 3,
    DETAIL_FILE_IN_USE = 4,
    DETAIL_OPEN_FAILED = 5,
    DETAIL_FILE_OPERATION_FAILED = 6,
    DETAIL_INVALID_FORMAT = 7,
    DETAIL_CODE_COUNT = 8,
};

// Every lookup indexes the table without a range check: pass a known model.
uint32_t GetCapacity(int32_t model);
uint32_t GetFileHeaderCost(int32_t model);
uint32_t GetFolderHeaderCost(int32_t model);
uint32_t GetMaxDepth(int32_t model);
uint32_t GetMaxEntries(int32_t model);
uint32_t GetUserPasswordLength(int32_t model);
uint32_t GetDeveloperPasswordLength(int32_t model);
uint32_t GetFileTypeCount(int32_t model);
const char* GetDefaultUserPassword(int32_t model);
const char* GetDefaultDeveloperPassword(int32_t model);

// Compares only the low 16 bits of id.
bool IsReservedId(int32_t model, uint32_t id);
// Compares only the low 8 bits of type.
bool IsValidFileType(int32_t model, uint32_t type);
bool IsKnownModel(int32_t model);

// Null for a code of 22 or more, taken as unsigned (so also for negative codes).
const char* GetErrorMessage(int32_t code);
// Null outside 0 to 7.
const char* GetDetailMessage(int32_t detail);

}  // namespace RQ540
