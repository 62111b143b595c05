#include "rq540/FolderHeader.h"

#include "rq540/CardModel.h"
#include "rq540/FileHeader.h"

#include <algorithm>

namespace RQ540 {

CFolderHeader::CFolderHeader(uint16_t id, uint32_t freeSpace, const uint8_t* userPassword,
                             const uint8_t* developerPassword, int32_t model, CUnknownHeader* next)
    : CUnknownHeader(id, next),
      m_freeSpace(freeSpace),
      m_userPassword(userPassword, userPassword + GetUserPasswordLength(model)),
      m_developerPassword(developerPassword,
                          developerPassword + GetDeveloperPasswordLength(model))
{
}

CFolderHeader::CFolderHeader(const CFolderHeader& source, CUnknownHeader* next)
    : CUnknownHeader(source.GetId(), next),
      m_freeSpace(source.m_freeSpace),
      m_userPassword(source.m_userPassword),
      m_developerPassword(source.m_developerPassword)
{
    // Each copy goes to the head of the list, which reverses the children's order.
    try {
        for (const CUnknownHeader* child = source.m_firstChild; child; child = child->GetNext()) {
            if (child->IsFolder())
                m_firstChild = new CFolderHeader(static_cast<const CFolderHeader&>(*child), m_firstChild);
            else
                m_firstChild = new CFileHeader(static_cast<const CFileHeader&>(*child), m_firstChild);
        }
    } catch (...) {
        DeleteChildren();
        throw;
    }
}

CFolderHeader::~CFolderHeader() { DeleteChildren(); }

void CFolderHeader::DeleteChildren()
{
    while (m_firstChild) {
        CUnknownHeader* next = m_firstChild->GetNext();
        delete m_firstChild;
        m_firstChild = next;
    }
}

void CFolderHeader::SetUserPassword(const uint8_t* source)
{
    std::copy_n(source, m_userPassword.size(), m_userPassword.begin());
}

void CFolderHeader::SetDeveloperPassword(const uint8_t* source)
{
    std::copy_n(source, m_developerPassword.size(), m_developerPassword.begin());
}

void CFolderHeader::GetUserPassword(uint8_t* destination) const
{
    std::copy(m_userPassword.begin(), m_userPassword.end(), destination);
}

void CFolderHeader::GetDeveloperPassword(uint8_t* destination) const
{
    std::copy(m_developerPassword.begin(), m_developerPassword.end(), destination);
}

}  // namespace RQ540
