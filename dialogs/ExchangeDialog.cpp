#include "ExchangeDialog.h"

#include "DataExchange.h"
#include "DialogChecks.h"
#include "Prompter.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

// Rounded a * b / c, as the dialog manager scales its units.
int MulDiv(int a, int b, int c)
{
    return (a * b + (a * b >= 0 ? c / 2 : -c / 2)) / c;
}

}  // namespace

CExchangeDialog::CExchangeDialog(QWidget* parent, const QString& title, int width, int height)
    : QDialog(parent)
{
    // The templates ask for a 9-point sans-serif font; the family falls back to the
    // system's, which also supplies the Chinese glyphs.
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPointSize(9);
    dialogFont.setStyleHint(QFont::SansSerif);
    setFont(dialogFont);

    const QFontMetrics metrics(dialogFont);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseUnitX = (alphabetWidth / 26 + 1) / 2;
    m_nBaseUnitY = metrics.height();

    setWindowTitle(title);
    const QRect client = MapDialogRect(0, 0, width, height);
    setFixedSize(client.size());
}

bool CExchangeDialog::UpdateData(bool save)
{
    CDataExchange dx(this, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CExchangeDialog::Warn(const QString& text)
{
    ShowWarning(this, text);
}

QRect CExchangeDialog::MapDialogRect(int x, int y, int width, int height) const
{
    return QRect(MulDiv(x, m_nBaseUnitX, 4), MulDiv(y, m_nBaseUnitY, 8),
                 MulDiv(width, m_nBaseUnitX, 4), MulDiv(height, m_nBaseUnitY, 8));
}

void CExchangeDialog::OnInitDialog()
{
    UpdateData(false);
}

void CExchangeDialog::OnOK()
{
    if (UpdateData(true))
        accept();
}

QPushButton* CExchangeDialog::AddButton(int id, const QString& text, int x, int y, int width,
                                        int height)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    button->setGeometry(MapDialogRect(x, y, width, height));
    // Enter presses the focused button; elsewhere it presses OK, the default button.
    button->setAutoDefault(true);
    if (id == IDOK) {
        button->setDefault(true);
        connect(button, &QPushButton::clicked, this, &CExchangeDialog::OnOK);
    } else if (id == IDCANCEL) {
        connect(button, &QPushButton::clicked, this, &QDialog::reject);
    }
    return button;
}

QLineEdit* CExchangeDialog::AddEdit(int id, int x, int y, int width, int height)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    edit->setGeometry(MapDialogRect(x, y, width, height));
    return edit;
}

QLabel* CExchangeDialog::AddLabel(const QString& text, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::number(IDC_STATIC));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(MapDialogRect(x, y, width, height));
    return label;
}

QLabel* CExchangeDialog::AddNote(const QString& text, int x, int y, int width, int height)
{
    QLabel* label = AddLabel(text, x, y, width, height);
    label->setWordWrap(true);
    const QRect rect = label->geometry();
    label->resize(rect.width(), qMax(rect.height(), label->heightForWidth(rect.width())));
    return label;
}

QGroupBox* CExchangeDialog::AddGroupBox(const QString& title, int x, int y, int width,
                                        int height)
{
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QString::number(IDC_STATIC));
    group->setGeometry(MapDialogRect(x, y, width, height));
    // A group box only frames: it lies under the controls it surrounds, whatever its
    // place in the template, so clicks reach them.
    group->lower();
    return group;
}

QComboBox* CExchangeDialog::AddComboBox(int id, int x, int y, int width, int height)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::number(id));
    const QRect rect = MapDialogRect(x, y, width, height);
    combo->setGeometry(rect.x(), rect.y(), rect.width(), combo->sizeHint().height());
    combo->setMaxVisibleItems(qMax(1, rect.height() / qMax(1, combo->sizeHint().height())));
    return combo;
}

void CExchangeDialog::FilterHexDigits(QLineEdit* edit)
{
    const QString text = edit->text();
    const std::u16string kept = DialogChecks::FilterHexDigits(text.toStdU16String());
    if (kept.size() != static_cast<std::size_t>(text.size())) {
        // Setting the text notifies again; the second pass finds nothing to remove.
        edit->setText(QString::fromStdU16String(kept));
    }
    edit->setCursorPosition(edit->text().size());
}

void CExchangeDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        OnInitDialog();
        FitGroupBoxes();
        FocusFirstControl();
    }
    QDialog::showEvent(event);
}

void CExchangeDialog::FitGroupBoxes()
{
    const QList<QWidget*> controls = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QGroupBox* group : findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
        int top = group->geometry().bottom();
        for (QWidget* control : controls) {
            if (control != group && !qobject_cast<QGroupBox*>(control) &&
                group->geometry().contains(control->geometry().center()))
                top = qMin(top, control->y());
        }
        // The frame rises above its top control, no higher than the dialog's edge.
        const int rise = qMin(group->y() + group->contentsRect().top() - top, group->y());
        if (rise > 0)
            group->setGeometry(group->geometry().adjusted(0, -rise, 0, 0));
    }
}

void CExchangeDialog::FocusFirstControl()
{
    if (focusWidget())
        return;
    for (QWidget* control = nextInFocusChain(); control != this;
         control = control->nextInFocusChain()) {
        if (control->isVisibleTo(this) && control->isEnabled() &&
            (control->focusPolicy() & Qt::TabFocus)) {
            control->setFocus(Qt::TabFocusReason);
            // Typing then replaces the text, as in a field reached with Tab.
            if (auto* edit = qobject_cast<QLineEdit*>(control))
                edit->selectAll();
            return;
        }
    }
}
