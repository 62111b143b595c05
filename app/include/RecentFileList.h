// The most recently used document files, most recent first, kept in the settings under
// "Recent File List" as File1, File2, ...
#pragma once

#include <QStringList>

class QSettings;

class CRecentFileList {
public:
    // Reads the list from settings; at most nSize names are kept.
    CRecentFileList(QSettings& settings, int nSize);

    const QStringList& GetFiles() const { return m_files; }
    int GetSize() const { return m_nSize; }

    // Puts path first (moving it up if present, dropping the oldest beyond the size).
    void Add(const QString& path);
    // Removes the entry at index; nothing for an index outside the list.
    void Remove(int index);

private:
    void ReadList();
    void WriteList() const;

    QSettings& m_settings;
    int m_nSize;
    QStringList m_files;
};
