#include "board/Hiduke.h"
#include "core/Cp932.h"
#include "core/QtTranslation.h"

#include <QtTest>
#include <QtWidgets>

// The board, the class dialog and a message box as drawn, pixel for pixel,
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

// A pixel differs when a colour channel is off by more than this: room for
// rounding in blending, none for a glyph, a line or a colour.
constexpr int Tolerance = 2;

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

private:
    // Clicks `button` and hands the modal window it opens, once active, to `act`.
    void onModal(QAbstractButton *button, const std::function<void(QWidget *)> &act)
    {
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !QTest::qWaitForWindowActive(modal))
                return;
            poll.stop();
            act(modal);
            if (modal->isVisible())
                static_cast<QDialog *>(modal)->reject();
        });
        poll.start(10);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY2(!poll.isActive(), "no modal window opened");
    }
    void compare(const QImage &drawn, const QString &name);
};

void TestRendering::compare(const QImage &drawn, const QString &name)
{
    const QImage image = drawn.convertToFormat(QImage::Format_RGB32);
    const QString reference = QStringLiteral(ROOMBOARD_REFERENCE_DIR "/%1.png").arg(name);
    if (qEnvironmentVariableIsSet("ROOMBOARD_WRITE_REFERENCES")) {
        QVERIFY2(image.save(reference), qPrintable(reference));
        return;
    }
    const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
    // What differs in red over the reference faded out.
    QImage diff = expected.size() == image.size() ? expected : image;
    int differing = expected.size() == image.size() ? 0 : -1;
    for (int y = 0; differing >= 0 && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = expected.pixel(x, y);
            const bool differs = qAbs(qRed(a) - qRed(b)) > Tolerance || qAbs(qGreen(a) - qGreen(b)) > Tolerance
                || qAbs(qBlue(a) - qBlue(b)) > Tolerance;
            differing += differs;
            const int faded = 192 + qGray(b) / 4;
            diff.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(faded, faded, faded));
        }
    }
    const QDir out(QStringLiteral(ROOMBOARD_RENDERING_OUT));
    const QString actual = out.filePath(name + "-actual.png"), map = out.filePath(name + "-diff.png");
    if (differing == 0) { // what an earlier failure left would mislead
        QFile::remove(actual);
        QFile::remove(map);
        return;
    }
    QVERIFY(out.mkpath(QStringLiteral(".")));
    QVERIFY(image.save(actual) && diff.save(map));
    QFAIL(qPrintable(QStringLiteral("%1 differs from %2 (%3): see %4 and %5")
                         .arg(name, reference,
                              differing < 0 ? QStringLiteral("size %1×%2").arg(image.width()).arg(image.height())
                                            : QStringLiteral("%1 pixels").arg(differing),
                              actual, map)));
}

// Today is Wednesday 1 August 2018. A free slot opens the dialog, which books
// "２-３数学" as it stands right after booking; a booked slot asks before
// clearing, and Cancel leaves the naming mode half checked.
void TestRendering::boardDialogAndBox()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("理科室.dat")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(*Cp932::encode(Bookings)) > 0);
    file.close();
    Hiduke board({[] { return QDate(2018, 8, 1); }, [&dir] { return RoomLocation{dir.path(), "理科室"}; }, std::chrono::hours(1)});
    QVERIFY(board.Form_Load());
    const auto slot = [&board](int p) { return board.findChild<QPushButton *>(QStringLiteral("PCclass_%1").arg(p)); };

    onModal(slot(2), [this](QWidget *dialog) {
        compare(dialog->grab().toImage(), QStringLiteral("classmenu"));
        for (const auto &[list, row] : {std::pair{"List1", 1}, {"List2", 3}, {"List3", 7}})
            dialog->findChild<QListWidget *>(list)->setCurrentRow(row);
        dialog->findChild<QPushButton *>(QStringLiteral("OK_BT"))->click();
    });
    onModal(slot(1), [this](QWidget *box) {
        compare(box->grab().toImage(), QStringLiteral("messagebox"));
        static_cast<QMessageBox *>(box)->button(QMessageBox::Cancel)->click();
    });
    // Wide enough to show the check box beyond the design width.
    board.resize(1680, board.height());
    compare(board.grab().toImage(), QStringLiteral("board"));
}

QTEST_MAIN(TestRendering)
#include "tst_rendering.moc"
