#include "board/BoardPrint.h"
#include "board/BoardSheet.h"
#include "board/Hiduke.h"
#include "board/SlotHistoryDialog.h"
#include "core/BoardView.h"
#include "core/Cp932.h"
#include "core/QtTranslation.h"
#include "../support/ModalDriver.h"
#include "../support/TestFiles.h"

// The board, its dialogs, a message box and the printed pages as drawn, pixel for pixel,
// against the images in tests/board/reference. With ROOMBOARD_WRITE_REFERENCES
// set the images are written there instead (`make reference-images`).
namespace {

// Before QApplication reads any font: only the IPA faces, whatever else the
// machine has installed.
const bool fontsPinned = qputenv("FONTCONFIG_FILE", ROOMBOARD_REFERENCE_DIR "/fonts.conf");

// Numbered and lettered labels, a label of spaces, captions of one to three
// lines, a word too long for a line; the numbered one last, so the dialog
// opens numbered.
const QString Bookings = QStringLiteral("\"07/30-1\",\"１-２　数学\"\r\n\"07/31-3\",\"３Ｃ　　国語\"\r\n"
                                        "\"08/01-0\",\"１Ａ　　理科\"\r\n\"08/03-2\",\"その他　委員会\"\r\n"
                                        "\"08/06-5\",\"Lab work day\"\r\n\"08/08-4\",\"Laboratory\"\r\n"
                                        "\"08/09-6\",\"　　　総合\"\r\n\"08/10-0\",\"２-４　技術\"\r\n");

} // namespace

class TestRendering : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(fontsPinned);
        QApplication::setStyle(QStringLiteral("Fusion"));
        QVERIFY(QtTranslation::install(QtTranslation::folders()));
    }
    void boardDialogAndBox();
    void namingModeBoxOnTintedSurface();
    void printedPagesAndHistory();

private:
    void compare(const QImage &drawn, const QString &name);
};

// Exact: the same packages draw the same pixels. After an update of Qt or
// FreeType that moves glyphs by a shade, `make reference-images` and a look.
void TestRendering::compare(const QImage &drawn, const QString &name)
{
    const QImage image = drawn.convertToFormat(QImage::Format_RGB32);
    const QString reference = QStringLiteral(ROOMBOARD_REFERENCE_DIR "/%1.png").arg(name);
    if (qEnvironmentVariableIsSet("ROOMBOARD_WRITE_REFERENCES"))
        QVERIFY2(image.save(reference), qPrintable(reference));
    const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
    const QString actual = QStringLiteral(ROOMBOARD_RENDERING_OUT "/%1-actual.png").arg(name);
    if (image == expected)
        return;
    QVERIFY(QDir().mkpath(QStringLiteral(ROOMBOARD_RENDERING_OUT)) && image.save(actual));
    QFAIL(qPrintable(QStringLiteral("%1 differs from %2: see %3").arg(name, reference, actual)));
}

// Today is Wednesday 1 August 2018. A free slot opens the dialog, where
// ２年 ３組 数学 is chosen and then shows as it stands right after booking;
// a booked slot asks before clearing, and Cancel leaves the naming mode half
// checked.
void TestRendering::boardDialogAndBox()
{
    QTemporaryDir dir;
    QVERIFY(writeAll(dir.filePath("理科室.dat"), *Cp932::encode(Bookings)));
    Hiduke board({[] { return QDate(2018, 8, 1); }, [&dir] { return RoomLocation{dir.path(), "理科室"}; }, std::chrono::hours(1)});
    QVERIFY(board.Form_Load());
    const auto slot = [&board](int p) { return board.findChild<QPushButton *>(QStringLiteral("PCclass_%1").arg(p)); };

    // Each window drawn once active, then closed by what it shows.
    ModalDriver driver;
    driver.answerNext([this](QDialog &dialog) {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (const auto &[list, row] : {std::pair{"List1", 1}, {"List2", 3}, {"List3", 7}})
            dialog.findChild<QListWidget *>(list)->setCurrentRow(row);
        compare(dialog.grab().toImage(), QStringLiteral("classmenu"));
        dialog.findChild<QPushButton *>(QStringLiteral("OK_BT"))->click();
    });
    driver.answerNext([this](QDialog &box) {
        QVERIFY(QTest::qWaitForWindowActive(&box));
        compare(box.grab().toImage(), QStringLiteral("messagebox"));
        static_cast<QMessageBox &>(box).button(QMessageBox::Cancel)->click();
    });
    QTest::mouseClick(slot(2), Qt::LeftButton);
    QTest::mouseClick(slot(1), Qt::LeftButton);
    QCOMPARE(driver.takeAsked().size(), 2); // both opened, nothing left unanswered
    // Wide enough to show the check box beyond the design width.
    board.resize(1680, board.height());
    compare(board.grab().toImage(), QStringLiteral("board"));
}

// Where the desktop's highlighted-text and field colours are not white, the
// surface takes the first and the naming-mode box stays white.
void TestRendering::namingModeBoxOnTintedSurface()
{
    const QPalette standard = QApplication::palette();
    const auto restore = qScopeGuard([&standard] { QApplication::setPalette(standard); });
    QPalette tinted = standard;
    tinted.setColor(QPalette::HighlightedText, QColor(255, 240, 160));
    tinted.setColor(QPalette::Base, QColor(224, 224, 255));
    QApplication::setPalette(tinted);
    Hiduke board({[] { return QDate(2018, 8, 1); }, [] { return RoomLocation{}; }, std::chrono::hours(1)});
    board.resize(1680, board.height());
    compare(board.grab(QRect(1640, 72, 41, 41)).toImage(), QStringLiteral("namingmode"));
}

// Both printed pages as poppler draws the PDF at 60 dots an inch, one with a
// fresh booking of the board's own, its class label on a line of its own; the
// PDF holds text, not pictures of it. Then a slot's history, booked, cleared
// and booked again.
void TestRendering::printedPagesAndHistory()
{
    QTemporaryDir dir;
    QVERIFY(writeAll(dir.filePath("理科室.dat"), *Cp932::encode(Bookings)));
    BoardSession session([] { return QDate(2018, 8, 1); }, [&dir] { return RoomLocation{dir.path(), "理科室"}; });
    session.load();
    const BoardView dialog{[](const BoardSession::Result &) {},
                           [](NamingMode) { return BoardView::ClassAnswer{NamingMode::Lettered, "１Ａ　", "理科"}; },
                           [] { return false; }};
    session.click(36, dialog);
    const QString pdf = dir.filePath(QStringLiteral("board.pdf")), page = dir.filePath(QStringLiteral("page"));
    {
        QPdfWriter writer(pdf);
        writer.setPageLayout(BoardPrint::pageLayout());
        BoardPrint::print(writer, BoardSheet::of(session));
    }
    QCOMPARE(QProcess::execute("pdftoppm", {"-r", "60", "-png", pdf, page}), 0);
    QVERIFY(!QFile::exists(page + "-3.png"));
    compare(QImage(page + "-1.png"), QStringLiteral("printedpage"));
    compare(QImage(page + "-2.png"), QStringLiteral("printedpage2"));
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    QVERIFY(text.waitForFinished() && QString::fromUtf8(text.readAllStandardOutput()).contains("１Ａ\n理科"));

    SlotHistoryDialog history(session.slotName(3), {{1, "１-２　数学", true}, {4, {}, false}, {9, "３Ｃ　　国語", false}});
    history.show();
    QVERIFY(QTest::qWaitForWindowExposed(&history));
    compare(history.grab().toImage(), QStringLiteral("history"));
}

QTEST_MAIN(TestRendering)
#include "tst_rendering.moc"
