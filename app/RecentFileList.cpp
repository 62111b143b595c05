#include "RecentFileList.h"

#include <QSettings>

namespace {

const QString g_section = QStringLiteral("Recent File List");

QString EntryKey(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

}  // namespace

CRecentFileList::CRecentFileList(QSettings& settings, int nSize)
    : m_settings(settings), m_nSize(nSize)
{
    ReadList();
}

void CRecentFileList::Add(const QString& path)
{
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > m_nSize)
        m_files.removeLast();
    WriteList();
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= m_files.size())
        return;
    m_files.removeAt(index);
    WriteList();
}

void CRecentFileList::ReadList()
{
    m_settings.beginGroup(g_section);
    for (int index = 0; index < m_nSize; ++index) {
        const QString path = m_settings.value(EntryKey(index)).toString();
        if (!path.isEmpty())
            m_files.append(path);
    }
    m_settings.endGroup();
}

void CRecentFileList::WriteList() const
{
    m_settings.beginGroup(g_section);
    for (int index = 0; index < m_nSize; ++index) {
        if (index < m_files.size())
            m_settings.setValue(EntryKey(index), m_files[index]);
        else
            m_settings.remove(EntryKey(index));
    }
    m_settings.endGroup();
    m_settings.sync();
}
