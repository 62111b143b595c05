// Base of the dialogs built from dialog-unit layouts: it places controls the way the
// Windows dialog manager would, names each after its control ID, moves data between
// members and controls through CDataExchange, and runs the OK and Cancel buttons.
#pragma once

#include <QDialog>
#include <QString>

class CDataExchange;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

class CExchangeDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_STATIC = -1;

    // width and height are the client size in dialog units.
    CExchangeDialog(QWidget* parent, const QString& title, int width, int height);

    int DoModal() { return exec(); }

    // Controls to members when save is true (validating; a failure has been shown and
    // focused), members to controls otherwise. False when a field failed.
    bool UpdateData(bool save);

    // A warning box with an OK button, captioned like the program's other messages.
    void Warn(const QString& text);

    // Dialog units to pixels: x and width by the font's average character width / 4,
    // y and height by its height / 8.
    QRect MapDialogRect(int x, int y, int width, int height) const;

protected:
    virtual void DoDataExchange(CDataExchange& dx) = 0;
    // Runs each time the dialog is shown, before it appears: members into the controls.
    virtual void OnInitDialog();
    // Exchanges and validates, then closes with OK.
    virtual void OnOK();

    QPushButton* AddButton(int id, const QString& text, int x, int y, int width, int height);
    QLineEdit* AddEdit(int id, int x, int y, int width, int height);
    QLabel* AddLabel(const QString& text, int x, int y, int width, int height);
    // A word-wrapped label; it grows downwards when its lines need more room than the
    // template gives, as glyphs of the fallback Chinese font run taller than the
    // template font's.
    QLabel* AddNote(const QString& text, int x, int y, int width, int height);
    QGroupBox* AddGroupBox(const QString& title, int x, int y, int width, int height);
    // height is that of the dropped-down list; the closed box keeps its natural height.
    QComboBox* AddComboBox(int id, int x, int y, int width, int height);

    // Keeps only hexadecimal digits in edit and puts the caret at the end of its text.
    static void FilterHexDigits(QLineEdit* edit);

    void showEvent(QShowEvent* event) override;

private:
    // Titles can run taller than the template allows for: a group box whose inside would
    // start below a control it surrounds grows upwards over it, the controls staying where
    // the template puts them.
    void FitGroupBoxes();
    // Unless the dialog placed the focus itself: the first control in tab order gets it,
    // an edit field with its text selected.
    void FocusFirstControl();

    int m_nBaseUnitX;
    int m_nBaseUnitY;
};
