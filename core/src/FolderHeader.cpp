#include "rq540/FolderHeader.h"

#include "rq540/CardModel.h"
#include "rq540/FileHeader.h"

#include <algorithm>

namespace RQ540 {

CFolderHeader::CFolderHeader(uint16_t id, uint32_t freeSpace, const uint8_t* userPassword,
                             const uint8_t* developerPassword, int32_t model, CUnknownHeader* next)
    : CUnknownHeader(id, next),
      m_freeSpace(freeSpace),
      m_userPasswordSize(GetUserPasswordLength(model))
{
    m_passwords.reserve(m_userPasswordSize + GetDeveloperPasswordLength(model));
    m_passwords.insert(m_passwords.end(), userPassword, userPassword + m_userPasswordSize);
    m_passwords.insert(m_passwords.end(), developerPassword,
                       developerPassword + GetDeveloperPasswordLength(model));
}

CFolderHeader::CFolderHeader(const CFolderHeader& source, CUnknownHeader* next)
    : CUnknownHeader(source.GetId(), next),
      m_freeSpace(source.m_freeSpace),
      m_passwords(source.m_passwords),
      m_userPasswordSize(source.m_userPasswordSize)
{
    // Each copy goes to the head of the list, which reverses the children's order.
    try {
        for (const CUnknownHeader* child = source.m_firstChild; child; child = child->GetNext()) {
            if (child->IsFolder())
                m_firstChild = new CFolderHeader(static_cast<const CFolderHeader&>(*child), m_firstChild);
            else
                m_firstChild = CFileHeader::Copy(static_cast<const CFileHeader&>(*child), m_firstChild);
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
    std::copy_n(source, m_userPasswordSize, m_passwords.begin());
}

void CFolderHeader::SetDeveloperPassword(const uint8_t* source)
{
    std::copy_n(source, GetDeveloperPasswordSize(), m_passwords.begin() + m_userPasswordSize);
}

void CFolderHeader::GetUserPassword(uint8_t* destination) const
{
    std::copy_n(m_passwords.begin(), m_userPasswordSize, destination);
}

void CFolderHeader::GetDeveloperPassword(uint8_t* destination) const
{
    std::copy(m_passwords.begin() + m_userPasswordSize, m_passwords.end(), destination);
}

}  // namespace RQ540
