#include "rq540/CardModel.h"

namespace RQ540 {

namespace {

constexpr uint16_t kModel0ReservedIds[] = {0x0000, 0x3F00, 0x3F01};

const char* const kErrorMessages[RESULT_CODE_COUNT] = {
    "没有错误",
    "未知错误",
    "无效的参数",
    "无效的地址",
    "无效的长度",
    "文件没找到",
    "文件访问失败",
    "文件打开个数已达上限",
    "无效的文件句柄",
    "文件读写越界",
    "文件存在但类型不匹配",
    "文件存在但长度不匹配",
    "文件夹空间不足",
    "文件或子目录已存在",
    "无效的RSA密钥文件格式",
    "用户传入的密钥长度与实际长度不匹配",
    "文件类型不符合要求",
    "RSA加密解密失败",
    "RSA签名验证失败",
    "SHA1运算错误",
    "MD5运算错误",
    "内存越界",
};

const char* const kDetailMessages[DETAIL_CODE_COUNT] = {
    "没有错误",
    "目录深度已达限制",
    "目录不存在",
    "无效的路径",
    "文件正在使用",
    "打开文件失败",
    "文件操作失败",
    "无效的文件格式",
};

}  // namespace

const CardModel g_cardModels[] = {
    {
        .capacity = 61988,
        .fileHeaderCost = 16,
        .folderHeaderCost = 102,
        .maxDepth = 3,
        .maxEntries = 255,
        .reservedIdCount = 3,
        .reservedIds = kModel0ReservedIds,
        .userPasswordLength = 8,
        .defaultUserPassword = "73920184",
        .developerPasswordLength = 24,
        .defaultDeveloperPassword = "582936145829361458293614",
        .fileTypeCount = 5,
    },
};

uint32_t GetCapacity(int32_t model) { return g_cardModels[model].capacity; }
uint32_t GetFileHeaderCost(int32_t model) { return g_cardModels[model].fileHeaderCost; }
uint32_t GetFolderHeaderCost(int32_t model) { return g_cardModels[model].folderHeaderCost; }
uint32_t GetMaxDepth(int32_t model) { return g_cardModels[model].maxDepth; }
uint32_t GetMaxEntries(int32_t model) { return g_cardModels[model].maxEntries; }
uint32_t GetUserPasswordLength(int32_t model) { return g_cardModels[model].userPasswordLength; }
uint32_t GetDeveloperPasswordLength(int32_t model)
{
    return g_cardModels[model].developerPasswordLength;
}
uint32_t GetFileTypeCount(int32_t model) { return g_cardModels[model].fileTypeCount; }
const char* GetDefaultUserPassword(int32_t model) { return g_cardModels[model].defaultUserPassword; }
const char* GetDefaultDeveloperPassword(int32_t model)
{
    return g_cardModels[model].defaultDeveloperPassword;
}

bool IsReservedId(int32_t model, uint32_t id)
{
    const CardModel& card = g_cardModels[model];
    const uint16_t id16 = static_cast<uint16_t>(id);
    for (uint32_t i = 0; i < card.reservedIdCount; ++i) {
        if (card.reservedIds[i] == id16)
            return true;
    }
    return false;
}

bool IsValidFileType(int32_t model, uint32_t type)
{
    return static_cast<uint8_t>(type) < g_cardModels[model].fileTypeCount;
}

bool IsKnownModel(int32_t model) { return model == 0; }

const char* GetErrorMessage(int32_t code)
{
    const auto index = static_cast<uint32_t>(code);
    return index < RESULT_CODE_COUNT ? kErrorMessages[index] : nullptr;
}

const char* GetDetailMessage(int32_t detail)
{
    const auto index = static_cast<uint32_t>(detail);
    return index < DETAIL_CODE_COUNT ? kDetailMessages[index] : nullptr;
}

}  // namespace RQ540
