// A card folder: free space left of its budget, the owned child list and its two
// fixed-length passwords (raw bytes, zero-padded by whoever sets them).
#pragma once

#include "rq540/UnknownHeader.h"

#include <cstdint>
#include <vector>

namespace RQ540 {

class CFolderHeader : public CUnknownHeader {
public:
    // Copies exactly the model's password lengths from the two sources.
    CFolderHeader(uint16_t id, uint32_t freeSpace, const uint8_t* userPassword,
                  const uint8_t* developerPassword, int32_t model, CUnknownHeader* next);
    // Deep copy. Each child copy is inserted at the head of the new list, so the copy
    // holds its children in the reverse of the source's order, at every level.
    CFolderHeader(const CFolderHeader& source, CUnknownHeader* next);
    // Deletes every child in list order, whole subtrees included.
    ~CFolderHeader() override;

    bool IsFolder() const override { return true; }

    uint32_t GetFreeSpace() const { return m_freeSpace; }
    void SetFreeSpace(uint32_t freeSpace) { m_freeSpace = freeSpace; }
    CUnknownHeader* GetFirstChild() const { return m_firstChild; }
    CUnknownHeader** GetFirstChildLink() { return &m_firstChild; }

    // Copy exactly the array's size from / to the caller's buffer.
    void SetUserPassword(const uint8_t* source);
    void SetDeveloperPassword(const uint8_t* source);
    void GetUserPassword(uint8_t* destination) const;
    void GetDeveloperPassword(uint8_t* destination) const;
    uint32_t GetUserPasswordSize() const { return m_userPasswordSize; }
    uint32_t GetDeveloperPasswordSize() const
    {
        return static_cast<uint32_t>(m_passwords.size()) - m_userPasswordSize;
    }

private:
    void DeleteChildren();

    uint32_t m_freeSpace;
    CUnknownHeader* m_firstChild = nullptr;
    // The user password, then the developer password: one allocation for both.
    std::vector<uint8_t> m_passwords;
    uint32_t m_userPasswordSize;
};

}  // namespace RQ540
