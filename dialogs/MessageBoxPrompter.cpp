#include "MessageBoxPrompter.h"

#include "Resource.h"
#include "StringTable.h"

#include <QMessageBox>

namespace {

IPrompter* g_installedPrompter = nullptr;

QMessageBox::Icon ToQt(IPrompter::Icon icon)
{
    switch (icon) {
    case IPrompter::Icon::Information: return QMessageBox::Information;
    case IPrompter::Icon::Warning: return QMessageBox::Warning;
    case IPrompter::Icon::Question: return QMessageBox::Question;
    case IPrompter::Icon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(IPrompter::Buttons buttons)
{
    switch (buttons) {
    case IPrompter::Buttons::Ok: return QMessageBox::Ok;
    case IPrompter::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case IPrompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

}  // namespace

IPrompter::Answer CMessageBoxPrompter::Show(QWidget* parent, const QString& caption,
                                            const QString& text, Icon icon, Buttons buttons)
{
    QMessageBox box(ToQt(icon), caption, text, ToQt(buttons), parent);
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

IPrompter& Prompter()
{
    static CMessageBoxPrompter messageBoxes;
    return g_installedPrompter ? *g_installedPrompter : messageBoxes;
}

IPrompter* SetPrompter(IPrompter* prompter)
{
    IPrompter* previous = g_installedPrompter;
    g_installedPrompter = prompter;
    return previous;
}

void ShowWarning(QWidget* parent, const QString& text)
{
    Prompter().Show(parent, LoadResString(IDS_APP_TITLE), text, IPrompter::Icon::Warning,
                    IPrompter::Buttons::Ok);
}
