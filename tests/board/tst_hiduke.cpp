#include "board/Hiduke.h"
#include "core/QtTranslation.h"
#include "../support/ModalDriver.h"
#include "../support/TestFiles.h"

#include <QPrintPreviewWidget>

using namespace std::chrono_literals;

namespace {

// Markup in a room name shows as written (no file name holds '<' on Windows).
#ifdef Q_OS_WIN
const QString Room = QStringLiteral("理科室");
#else
const QString Room = QStringLiteral("<i>理科室");
#endif
// As a box asks: its text, then its buttons, in Qt's Japanese words without icons.
const QString ClearQuestion = QStringLiteral("クラスを消去しますか。 [OK] [キャンセル]");
const QByteArray X = "\"07/30-4\",\"x\"\r\n";
std::unique_ptr<QTemporaryDir> dir;

// As on a GNOME desktop: Cancel left of OK, with a cross and a tick on them.
class GnomeStyle : public QProxyStyle
{
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons ? 1
            : hint == SH_DialogButtonLayout                ? QDialogButtonBox::GnomeLayout
                                                           : QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

QString bookingFile() { return dir->filePath(Room + ".dat"); }

QPushButton *slot(QWidget &board, int p)
{
    return board.findChild<QPushButton *>(QStringLiteral("PCclass_%1").arg(p));
}

} // namespace

class TestHiduke : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QApplication::setStyle(new GnomeStyle);
        QVERIFY(QtTranslation::install(QtTranslation::folders()));
    }
    void init() { dir = std::make_unique<QTemporaryDir>(); }
    // Every window a test did not answer as it expected is one too many.
    void cleanup() { QCOMPARE(m_driver.takeAsked(), QStringList()); }
    void board();
    void roomHeading_data();
    void roomHeading();
    void boardsUpdateThemselves();
    void historyAndPrint();
    void keyboard_data();
    void keyboard();

private:
    // Boards look at their file when a test says so, unless asked to poll.
    std::unique_ptr<Hiduke> makeBoard(std::chrono::milliseconds poll = 1h, const QString &room = Room)
    {
        return std::make_unique<Hiduke>(BoardEnvironment{
            [] { return QDate(2018, 8, 1); }, [room] { return RoomLocation{dir->path(), room}; }, poll});
    }

    ModalDriver m_driver;
};

// What the board shows and a screen reader says of the week it is moved to
// (where its controls stand and how they look is the rendering test's), the
// authorship notice, and a file it cannot read.
void TestHiduke::board()
{
    change(bookingFile(), "\xEF\xBB\xBF\"08/06-1\",\"z\"\r\n"); // saved again as UTF-8: shown, not written
    auto board = makeBoard();
    QTest::mouseDClick(board.get(), Qt::LeftButton, {}, QPoint(600, 800));
    QVERIFY(!board->findChild<QLabel *>("C")->isHidden());
    QSignalSpy failed(board.get(), &Hiduke::failed);
    QVERIFY(board->Form_Load());
    QVERIFY(m_driver.takeAsked().join('|').endsWith("予約や消去はできません。 [OK] (information)"));
    QCOMPARE(QAccessible::queryAccessibleInterface(board.get())->role(), QAccessible::Window);
    QCOMPARE(QAccessible::queryAccessibleInterface(slot(*board, 1))->role(), QAccessible::Button);
    auto *a = board->findChild<QCheckBox *>("A"); // turns the naming mode and shows it
    a->click();
    QCOMPARE(a->checkState(), Qt::Checked);
    a->click();
    QCOMPARE(a->checkState(), Qt::Unchecked);
    QCOMPARE(QAccessible::queryAccessibleInterface(board->findChild<QLabel *>("RoomName"))->text(QAccessible::Name), Room);
    QTest::mouseClick(board->findChild<QPushButton *>("NextBT"), Qt::LeftButton);
    QCOMPARE(board->findChild<QLabel *>("Tuki")->text() + board->findChild<QLabel *>("Hiduke_9")->text(), "817");
    QCOMPARE(slot(*board, 1)->accessibleName() + slot(*board, 1)->text(), "8月6日(月) 1時間目 zz");
    change(bookingFile(), "folder");
    QTest::mouseClick(board->findChild<QPushButton *>("TodayBT"), Qt::LeftButton);
    QVERIFY(!board->Form_Load());
    QCOMPARE(failed.count(), 2);
    QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("理科室.dat")));
    QVERIFY(!slot(*board, 70)->isEnabled() && slot(*board, 1)->text().isEmpty());
}

void TestHiduke::roomHeading_data()
{
    QTest::addColumn<QString>("room");
    QTest::addColumn<QString>("heading");
    QTest::newRow("too wide at the designed size") << "コンピュータ室" << "コンピュータ室";
#ifndef Q_OS_WIN
    QTest::newRow("too wide, with a line break") << "コンピュータ\n室" << "コンピュータ⏎室";
#endif
}

// The whole name on one line in the largest size of the designed face that
// fits; the booking file named after the name as it is.
void TestHiduke::roomHeading()
{
    QFETCH(QString, room);
    QFETCH(QString, heading);
    auto board = makeBoard(1h, room);
    QVERIFY(board->Form_Load());
    const QLabel *label = board->findChild<QLabel *>("RoomName");
    QFont font = label->font();
    QCOMPARE(label->text(), heading);
    QVERIFY(QFontMetricsF(font, label).horizontalAdvance(heading) <= label->width());
    font.setPixelSize(font.pixelSize() + 1);
    QVERIFY(QFontMetricsF(font, label).horizontalAdvance(heading) > label->width());
    QVERIFY(QFileInfo::exists(dir->filePath(room + ".dat")));
}

// What another computer books shows within two seconds without a click, but
// not while a box is open here; a file that cannot be read then is left for
// the next click to tell.
void TestHiduke::boardsUpdateThemselves()
{
    change(bookingFile(), X);
    auto board = makeBoard(20ms);
    QVERIFY(board->Form_Load());
    QString shownMeanwhile;
    m_driver.answerNext([&](QDialog &box) {
        change(bookingFile(), "\"07/30-1\",\"y\"\r\n");
        QTest::qWait(200);
        shownMeanwhile = slot(*board, 1)->text();
        box.reject();
    });
    QTest::mouseClick(slot(*board, 4), Qt::LeftButton);
    QCOMPARE(shownMeanwhile, QString());
    QTRY_COMPARE_WITH_TIMEOUT(slot(*board, 1)->text(), QStringLiteral("y"), 2000);
    change(bookingFile(), "folder");
    QTest::qWait(100);
    QCOMPARE(m_driver.takeAsked(), QStringList{ClearQuestion});
    QCOMPARE(slot(*board, 1)->text(), QStringLiteral("y"));
}

// Ctrl+P previews both weeks, as the print button tells a screen reader; the
// context-menu key on a slot opens its history, from which a clearing is
// undone, or says why it cannot be read.
void TestHiduke::historyAndPrint()
{
    const QByteArray cleared = X + "\"07/30-4\",\"\"\r\n";
    change(bookingFile(), cleared);
    auto board = makeBoard();
    QVERIFY(board->Form_Load());
    board->show();
    QVERIFY(QTest::qWaitForWindowActive(board.get()));
    int pages = 0;
    m_driver.answerNext([&pages](QDialog &preview) {
        pages = preview.findChild<QPrintPreviewWidget *>()->pageCount();
        preview.reject();
    });
    QTest::keyClick(board.get(), Qt::Key_P, Qt::ControlModifier);
    QTRY_COMPARE(pages, 2);
    QVERIFY(QAccessible::queryAccessibleInterface(board->findChild<QWidget *>("PrintBT"))->text(QAccessible::Description).contains("Ctrl+P"));
    m_driver.answerNext([](QDialog &history) { history.findChild<QPushButton *>("rebookButton")->click(); });
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, {}, {});
    QApplication::sendEvent(slot(*board, 4), &menuKey);
    QCOMPARE(readAll(bookingFile()), cleared + X);
    QCOMPARE(slot(*board, 4)->text(), "x");
    change(bookingFile(), "folder");
    QApplication::sendEvent(slot(*board, 4), &menuKey);
    const QStringList asked = m_driver.takeAsked();
    QCOMPARE(asked.mid(0, 2), (QStringList{"printPreview", "SlotHistoryDialog"}));
    QVERIFY2(asked.size() == 3 && asked[2].endsWith("同じ名前のフォルダーがあります。 [OK] (warning)"),
             qPrintable(asked.join('|')));
}

void TestHiduke::keyboard_data()
{
    // Keys from slot 1: L R U D arrows, T Tab, B Shift+Tab, S Shift, M a click on TodayBT.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("frame"); // highlight pixels inward from each edge
    QTest::addColumn<QString>("where"); // what Return then books, or the button focused

    QTest::newRow("at start-up") << "" << 0 << "07/30-1";
    QTest::newRow("any key at start-up") << "S" << 3 << "07/30-1";
    QTest::newRow("right past the first friday") << "RRRRR" << 3 << "08/06-1";
    QTest::newRow("right and down stop at the end") << "RRRRRRRRRRRRDDDDDDDDD" << 3 << "08/10-0";
    QTest::newRow("left and up stop at the start") << "LU" << 3 << "07/30-1";
    QTest::newRow("across and back") << "DDRRRRRRLU" << 3 << "08/06-2";
    QTest::newRow("tab goes down the day") << "TT" << 3 << "07/30-3";
    QTest::newRow("tab from the last slot") << "RRRRRRRRRDDDDDDT" << 3 << "NextBT";
    QTest::newRow("print button by shift+tab") << "B" << 3 << "PrintBT";
    QTest::newRow("week button by shift+tab") << "BBB" << 3 << "TodayBT";
    QTest::newRow("mouse after keys") << "TM" << 0 << "TodayBT";
}

// Where the keys take the focus, and whether it shows.
void TestHiduke::keyboard()
{
    QFETCH(QString, keys);
    QFETCH(int, frame);
    QFETCH(QString, where);
    auto board = makeBoard();
    QVERIFY(board->Form_Load());
    board->show();
    QVERIFY(QTest::qWaitForWindowActive(board.get()));
    const Qt::Key keyOf[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Shift};
    for (const QChar k : keys) {
        const int at = QStringLiteral("LRUDTBS").indexOf(k);
        const Qt::KeyboardModifiers modifiers = k == 'B' ? Qt::ShiftModifier : Qt::NoModifier;
        if (at < 0) {
            QTest::mouseClick(board->findChild<QPushButton *>("TodayBT"), Qt::LeftButton);
            continue;
        }
        // As from a keyboard: a key's release goes where its press took the focus.
        QTest::keyPress(QApplication::focusWidget(), keyOf[at], modifiers);
        QTest::keyRelease(QApplication::focusWidget(), keyOf[at], modifiers);
    }
    QWidget *button = QApplication::focusWidget();

    // The frame as drawn, inward from the middle of each side.
    const QImage image = button->grab().toImage();
    const QColor highlight = button->palette().color(QPalette::Active, QPalette::Highlight);
    const int w = image.width() - 2, h = image.height() - 2;
    for (auto [at, step] : {std::pair{QPoint(1, h / 2), QPoint(1, 0)}, {{w, h / 2}, {-1, 0}}, {{w / 2, 1}, {0, 1}}, {{w / 2, h}, {0, -1}}}) {
        int drawn = 0;
        for (; image.pixelColor(at) == highlight; at += step)
            ++drawn;
        QCOMPARE(drawn, frame);
    }

    if (!where.contains('/')) {
        QCOMPARE(button->objectName(), where);
        return;
    }
    m_driver.answerNext([](QDialog &menu) { menu.findChild<QPushButton *>("OK_BT")->click(); });
    QTest::keyClick(button, Qt::Key_Return);
    QTRY_VERIFY(readAll(bookingFile()).startsWith('"' + where.toLatin1() + "\","));
    QCOMPARE(m_driver.takeAsked(), QStringList{"ClassMenu"});
}

QTEST_MAIN(TestHiduke)
#include "tst_hiduke.moc"
