// Recording stand-ins for message boxes and file dialogs, installed for the life of a
// test object so that GUI tests never block on a modal window.
#pragma once

#include "FileDialogs.h"
#include "Prompter.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <vector>

class CFakePrompter : public IPrompter {
public:
    struct Shown {
        QString caption;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    CFakePrompter() : m_previous(SetPrompter(this)) {}
    ~CFakePrompter() override { SetPrompter(m_previous); }
    CFakePrompter(const CFakePrompter&) = delete;
    CFakePrompter& operator=(const CFakePrompter&) = delete;

    // Answers given in order; when none are queued, Ok for an OK box and No otherwise.
    void QueueAnswer(Answer answer) { m_answers.push_back(answer); }

    Answer Show(QWidget*, const QString& caption, const QString& text, Icon icon,
                Buttons buttons) override
    {
        m_shown.push_back({caption, text, icon, buttons});
        if (!m_answers.empty()) {
            Answer answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        }
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }

    const std::vector<Shown>& ShownBoxes() const { return m_shown; }
    QString LastText() const { return m_shown.empty() ? QString() : m_shown.back().text; }
    void Clear() { m_shown.clear(); }

private:
    IPrompter* m_previous;
    std::deque<Answer> m_answers;
    std::vector<Shown> m_shown;
};

class CFakeFileDialogs : public IFileDialogs {
public:
    struct Asked {
        bool save;
        QString caption;
        QString directory;
        QString filter;
    };

    // Dialogs start where the caller says: no folder is left over from an earlier test.
    CFakeFileDialogs() : m_previous(SetFileDialogs(this)) { SetStartFolder(QString()); }
    ~CFakeFileDialogs() override { SetFileDialogs(m_previous); }
    CFakeFileDialogs(const CFakeFileDialogs&) = delete;
    CFakeFileDialogs& operator=(const CFakeFileDialogs&) = delete;

    // Paths returned in order; an empty string (or none queued) means the user cancelled.
    void QueuePath(const QString& path) { m_paths.push_back(path); }

    QString GetOpenFileName(QWidget*, const QString& caption, const QString& directory,
                            const QString& filter) override
    {
        return Next({false, caption, directory, filter});
    }
    QString GetSaveFileName(QWidget*, const QString& caption, const QString& directory,
                            const QString& filter) override
    {
        return Next({true, caption, directory, filter});
    }

    const std::vector<Asked>& AskedDialogs() const { return m_asked; }

private:
    QString Next(const Asked& asked)
    {
        m_asked.push_back(asked);
        if (m_paths.empty())
            return QString();
        QString path = m_paths.front();
        m_paths.pop_front();
        return path;
    }

    IFileDialogs* m_previous;
    std::deque<QString> m_paths;
    std::vector<Asked> m_asked;
};

// Points the application's settings (recent files, last folders) at a scratch folder of its
// own for the life of the test object, so tests never read or change the user's settings.
inline bool UseScratchSettings(const QTemporaryDir& folder)
{
    if (!folder.isValid())
        return false;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    return true;
}
