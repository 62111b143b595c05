// The edit-file dialog driven modally, as the list view runs it, with a fake file picker
// and prompter; disk files live in a temporary folder.
#include "EditFileDialog.h"
#include "Fakes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

namespace {

// Each control is named after its template's control ID: the numbers stay those of the
// template whatever the constants are called.
static_assert(CEditFileDialog::IDC_HEX_EDIT == 1004 && CEditFileDialog::IDC_EXPORT == 1005 &&
              CEditFileDialog::IDC_IMPORT == 1006);

using Bytes = std::vector<uint8_t>;

Bytes Filled(int size, uint8_t first)
{
    Bytes bytes(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(first + i);
    return bytes;
}

Bytes ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

void WriteFile(const QString& path, const Bytes& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

QAbstractButton* Button(CEditFileDialog& dialog, int id)
{
    return dialog.findChild<QAbstractButton*>(QString::number(id));
}

// What the caller finds after the dialog: its result and the buffer's first size bytes.
struct Outcome {
    int result = -1;
    Bytes buffer;
};

// Runs the dialog over bytes the way the list view does; act runs inside the modal loop
// and ends it by clicking a button.
Outcome RunDialog(const Bytes& bytes, const std::function<void(CEditFileDialog&)>& act)
{
    CEditFileDialog dialog;
    dialog.m_nSize = static_cast<int32_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), dialog.m_pBuffer.get());
    QTimer::singleShot(0, &dialog, [&dialog, &act] {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.m_hexEdit.viewport()->repaint();
        act(dialog);
        if (dialog.isVisible())
            dialog.reject();
    });
    Outcome outcome;
    outcome.result = dialog.DoModal();
    outcome.buffer.assign(dialog.m_pBuffer.get(), dialog.m_pBuffer.get() + bytes.size());
    return outcome;
}

// Clicks the high digit of byte index (on the first page) and types digits there.
void TypeAt(CEditFileDialog& dialog, int index, const char* digits)
{
    const CHexLayout& layout = dialog.m_hexEdit.State().m_layout;
    const int k = index % layout.m_nBytesPerLine;
    const QPoint cell(layout.m_nHexX + 3 * k * layout.m_nCharWidth + 2,
                      index / layout.m_nBytesPerLine * layout.m_nLineHeight + 2);
    QTest::mouseClick(dialog.m_hexEdit.viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTest::keyClicks(&dialog.m_hexEdit, QString::fromLatin1(digits));
}

}  // namespace

class EditFileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void okWithoutEditsWritesTheSameBytes();
    void importReplacesOnlyWhatTheFileHolds();
    void importDropsEditsSinceTheLastExport();
    void exportWritesTheFileSizeAndCancelReturnsNothing();
    void cancelledPickersAndFileErrorsKeepTheData();
    void editorKeepsEnterAndEscape();
    void emptyFileOpensAndCloses();
    void paintsAFileWithASelection();

private:
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    std::unique_ptr<CFakePrompter> m_prompter;
    std::unique_ptr<CFakeFileDialogs> m_files;
};

void EditFileDialogTest::init()
{
    QVERIFY(m_dir.isValid());
    m_files.reset();
    m_prompter.reset();
    m_prompter = std::make_unique<CFakePrompter>();
    m_files = std::make_unique<CFakeFileDialogs>();
}

void EditFileDialogTest::okWithoutEditsWritesTheSameBytes()
{
    {
        CEditFileDialog dialog;
        QCOMPARE(dialog.m_nSize, 64);
        QVERIFY(std::all_of(dialog.m_pBuffer.get(), dialog.m_pBuffer.get() + EDIT_BUFFER_SIZE,
                            [](uint8_t b) { return b == 0; }));
    }
    const Bytes bytes = Filled(64, 0x90);
    const Outcome outcome = RunDialog(bytes, [](CEditFileDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("编辑文件"));
        QCOMPARE(Button(dialog, CExchangeDialog::IDOK)->text(), QStringLiteral("确定"));
        QCOMPARE(Button(dialog, CExchangeDialog::IDCANCEL)->text(), QStringLiteral("取消"));
        QCOMPARE(Button(dialog, CEditFileDialog::IDC_EXPORT)->text(), QStringLiteral("导出"));
        QCOMPARE(Button(dialog, CEditFileDialog::IDC_IMPORT)->text(), QStringLiteral("导入"));
        QCOMPARE(dialog.findChild<CHexEdit*>(QString::number(CEditFileDialog::IDC_HEX_EDIT)),
                 &dialog.m_hexEdit);
        QVERIFY(dialog.m_hexEdit.geometry().bottom() <
                Button(dialog, CExchangeDialog::IDOK)->geometry().top());
        // The first control in tab order has the focus; the bar shows though all fits.
        QCOMPARE(QApplication::focusWidget(), Button(dialog, CExchangeDialog::IDOK));
        QVERIFY(dialog.m_hexEdit.verticalScrollBar()->isVisible());
        const CHexEditState& state = dialog.m_hexEdit.State();
        QCOMPARE(state.m_nLength, 64);
        QVERIFY(!state.m_layout.m_bWideAddress);
        Button(dialog, CExchangeDialog::IDOK)->click();
    });
    QCOMPARE(outcome.result, int(QDialog::Accepted));
    QVERIFY(outcome.buffer == bytes);
}

void EditFileDialogTest::importReplacesOnlyWhatTheFileHolds()
{
    WriteFile(Path("ten.bin"), Bytes(10, 0xEE));
    WriteFile(Path("hundred.bin"), Bytes(100, 0x77));
    m_files->QueuePath(Path("ten.bin"));
    Outcome outcome = RunDialog(Filled(64, 0), [](CEditFileDialog& dialog) {
        Button(dialog, CEditFileDialog::IDC_IMPORT)->click();
        QCOMPARE(dialog.m_hexEdit.State().m_pData[9], uint8_t{0xEE});
        Button(dialog, CExchangeDialog::IDOK)->click();
    });
    Bytes expected = Filled(64, 0);
    std::fill(expected.begin(), expected.begin() + 10, uint8_t{0xEE});
    QVERIFY(outcome.buffer == expected);

    m_files->QueuePath(Path("hundred.bin"));
    outcome = RunDialog(Filled(64, 0), [](CEditFileDialog& dialog) {
        Button(dialog, CEditFileDialog::IDC_IMPORT)->click();
        QCOMPARE(dialog.m_hexEdit.State().m_nLength, 64);
        Button(dialog, CExchangeDialog::IDOK)->click();
    });
    QVERIFY(outcome.buffer == Bytes(64, 0x77));
    QVERIFY(m_prompter->ShownBoxes().empty());
    QCOMPARE(m_files->AskedDialogs().back().filter,
             QStringLiteral("All Files (*);;Bin files (*.bin)"));
}

void EditFileDialogTest::importDropsEditsSinceTheLastExport()
{
    WriteFile(Path("ten.bin"), Bytes(10, 0xEE));
    m_files->QueuePath(Path("ten.bin"));
    Outcome outcome = RunDialog(Filled(64, 0), [](CEditFileDialog& dialog) {
        TypeAt(dialog, 20, "ab");
        Button(dialog, CEditFileDialog::IDC_IMPORT)->click();
        // The editor starts over at byte 0 without a selection.
        QCOMPARE(dialog.m_hexEdit.State().m_nCurrent, 0);
        QVERIFY(!dialog.m_hexEdit.State().HasSelection());
        Button(dialog, CExchangeDialog::IDOK)->click();
    });
    QCOMPARE(outcome.buffer[20], uint8_t{20});

    m_files->QueuePath(Path("export.bin"));
    m_files->QueuePath(Path("ten.bin"));
    outcome = RunDialog(Filled(64, 0), [](CEditFileDialog& dialog) {
        TypeAt(dialog, 20, "ab");
        Button(dialog, CEditFileDialog::IDC_EXPORT)->click();
        Button(dialog, CEditFileDialog::IDC_IMPORT)->click();
        Button(dialog, CExchangeDialog::IDOK)->click();
    });
    QCOMPARE(outcome.buffer[20], uint8_t{0xAB});
    QCOMPARE(outcome.buffer[9], uint8_t{0xEE});
}

void EditFileDialogTest::exportWritesTheFileSizeAndCancelReturnsNothing()
{
    WriteFile(Path("export.bin"), Bytes(500, 0x11));  // longer: truncated
    m_files->QueuePath(Path("export.bin"));
    const Outcome outcome = RunDialog(Filled(64, 0), [](CEditFileDialog& dialog) {
        TypeAt(dialog, 3, "c");
        Button(dialog, CEditFileDialog::IDC_EXPORT)->click();
        Button(dialog, CExchangeDialog::IDCANCEL)->click();
    });
    Bytes expected = Filled(64, 0);
    expected[3] = 0xC3;
    QVERIFY(ReadFile(Path("export.bin")) == expected);
    QVERIFY(m_files->AskedDialogs().front().save);
    // The caller writes nothing back after Cancel.
    QCOMPARE(outcome.result, int(QDialog::Rejected));
}

void EditFileDialogTest::cancelledPickersAndFileErrorsKeepTheData()
{
    m_files->QueuePath(QString());
    m_files->QueuePath(QString());
    m_files->QueuePath(Path("no-such-folder/export.bin"));
    m_files->QueuePath(Path("missing.bin"));
    const Outcome outcome = RunDialog(Filled(64, 0), [](CEditFileDialog& dialog) {
        TypeAt(dialog, 5, "f");
        for (int i = 0; i < 2; ++i) {
            Button(dialog, CEditFileDialog::IDC_EXPORT)->click();
            Button(dialog, CEditFileDialog::IDC_IMPORT)->click();
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.m_hexEdit.State().m_pData[5], uint8_t{0xF5});
        QCOMPARE(dialog.m_pBuffer[5], uint8_t{5});
        Button(dialog, CExchangeDialog::IDOK)->click();
    });
    QCOMPARE(outcome.buffer[5], uint8_t{0xF5});
    const auto& shown = m_prompter->ShownBoxes();
    QCOMPARE(shown.size(), std::size_t{2});
    // The same wording as the list's export and import.
    QCOMPARE(shown[0].text, QStringLiteral("无法创建文件 %1 !\n原因：文件或文件夹不存在")
                                .arg(Path("no-such-folder/export.bin")));
    QCOMPARE(shown[1].text,
             QStringLiteral("无法打开文件 %1 !\n原因：文件或文件夹不存在").arg(Path("missing.bin")));
    QCOMPARE(shown[0].icon, IPrompter::Icon::Warning);
}

void EditFileDialogTest::editorKeepsEnterAndEscape()
{
    const Outcome outcome = RunDialog(Filled(64, 0), [](CEditFileDialog& dialog) {
        TypeAt(dialog, 0, "");
        QTest::keyClick(&dialog.m_hexEdit, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), &dialog.m_hexEdit);
        QTest::keyClick(&dialog.m_hexEdit, Qt::Key_Escape);
        QTest::keyClick(&dialog.m_hexEdit, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        Button(dialog, CExchangeDialog::IDOK)->click();
    });
    QCOMPARE(outcome.result, int(QDialog::Accepted));
    QCOMPARE(outcome.buffer[0], uint8_t{0x1B});
    QCOMPARE(outcome.buffer[1], uint8_t{0x0D});
}

void EditFileDialogTest::emptyFileOpensAndCloses()
{
    m_files->QueuePath(Path("export.bin"));
    const Outcome outcome = RunDialog({}, [](CEditFileDialog& dialog) {
        TypeAt(dialog, 0, "12");
        QTest::keyClick(&dialog.m_hexEdit, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(dialog.m_hexEdit.State().m_nLength, 0);
        Button(dialog, CEditFileDialog::IDC_EXPORT)->click();
        Button(dialog, CExchangeDialog::IDOK)->click();
    });
    QCOMPARE(outcome.result, int(QDialog::Accepted));
    QVERIFY(QFile::exists(Path("export.bin")));
    QCOMPARE(QFile(Path("export.bin")).size(), 0);
}

void EditFileDialogTest::paintsAFileWithASelection()
{
    QImage image;
    int32_t hexX = 0;
    int32_t asciiX = 0;
    int32_t cw = 0;
    int32_t lh = 0;
    RunDialog(Filled(300, 0x20), [&](CEditFileDialog& dialog) {
        CHexEdit& edit = dialog.m_hexEdit;
        const CHexLayout& layout = edit.State().m_layout;
        TypeAt(dialog, 9, "");
        for (int i = 0; i < 13; ++i)
            QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(edit.State().m_nSelStart, 9);
        hexX = layout.m_nHexX;
        asciiX = layout.m_nAsciiX;
        cw = layout.m_nCharWidth;
        lh = layout.m_nLineHeight;
        image = edit.viewport()->grab().toImage();
        if (const QByteArray dir = qgetenv("RQ_SCREENSHOT_DIR"); !dir.isEmpty())
            dialog.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/edit-file.png"));
    });
    QVERIFY(!image.isNull());
    const int bottom = image.height() - 2;
    // Address band, white hex area and black ASCII band, below the last line of text.
    QCOMPARE(image.pixelColor(2, bottom), QColor(182, 186, 190));
    QCOMPARE(image.pixelColor(hexX + cw, bottom), QColor(Qt::white));
    QCOMPARE(image.pixelColor(image.width() - 2, bottom), QColor(Qt::black));
    // The blank after byte 10's digits is highlighted; byte 8's is not.
    const QColor highlight = QApplication::palette().color(QPalette::Highlight);
    QCOMPARE(image.pixelColor(hexX + (3 * 2 + 2) * cw + cw / 2, lh + lh / 2), highlight);
    QCOMPARE(image.pixelColor(hexX + (3 * 0 + 2) * cw + cw / 2, lh + lh / 2), QColor(Qt::white));
    // Row 4 holds "@ABCDEFG" in the ASCII column, drawn in light blue.
    bool blue = false;
    for (int x = asciiX; x < asciiX + 8 * cw && !blue; ++x)
        for (int y = 4 * lh; y < 5 * lh && !blue; ++y)
            blue = image.pixelColor(x, y) == QColor(97, 140, 250);
    QVERIFY(blue);
}

QTEST_MAIN(EditFileDialogTest)
#include "EditFileDialogTest.moc"
