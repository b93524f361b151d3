#include "board/Hiduke.h"
#include "board/WrappingButton.h"

#include <QtTest>
#include <QtWidgets>

using namespace std::chrono_literals;

namespace {

const QString Room = QStringLiteral("理科室");
const QString Changed = QStringLiteral("この駒は別のパソコンで変更されました。");
const QString ClearQuestion = QStringLiteral("クラスを消去しますか。");

QPushButton *slot(QWidget &board, int p)
{
    return board.findChild<QPushButton *>(QStringLiteral("PCclass_%1").arg(p));
}

// Answers each modal window as it opens with the next step, and keeps what
// each asked: the class dialog's name or a message box's text. A window with
// no step left is rejected, so a box too many shows in `asked` instead of
// hanging the test. A step: "L:R" picks row R of the dialog's list L, then
// "OK" or "Cancel" on either window.
class Modals : public QObject
{
public:
    explicit Modals(QStringList steps) : m_steps(std::move(steps)) { startTimer(10); }
    QStringList asked;
    std::function<void(int)> onOpen; // given how many windows came before

protected:
    void timerEvent(QTimerEvent *) override
    {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!modal || m_busy)
            return;
        const QScopedValueRollback<bool> busy(m_busy, true);
        if (onOpen)
            onOpen(asked.size());
        auto *box = qobject_cast<QMessageBox *>(modal);
        asked << (box ? box->text() : modal->objectName());
        for (const QString &token : m_steps.isEmpty() ? QStringList{"reject"} : m_steps.takeFirst().split(' ')) {
            if (token.contains(':'))
                modal->findChild<QListWidget *>("List" + token.left(1))->setCurrentRow(token.mid(2).toInt());
            else if (token == "reject")
                modal->reject();
            else if (box)
                box->button(token == "OK" ? QMessageBox::Ok : QMessageBox::Cancel)->click();
            else
                modal->findChild<QPushButton *>(token == "OK" ? "OK_BT" : "Canel_BT")->click();
        }
    }

private:
    QStringList m_steps;
    bool m_busy = false;
};

} // namespace

class TestHiduke : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void drawnBoard();
    void weekButtons();
    void unusableFileIsNotAnEmptyBoard();
    void doubleClick_data();
    void doubleClick();
    void slotClick_data();
    void slotClick();
    void boardsUpdateThemselves();
    void slotCaptionLines_data();
    void slotCaptionLines();
    void keyboard_data();
    void keyboard();
    void screenReader();

private:
    // Boards look at their file when a test says so, unless asked to poll.
    std::unique_ptr<Hiduke> makeBoard(std::chrono::milliseconds poll = 1h, const QString &room = Room)
    {
        return std::make_unique<Hiduke>(BoardEnvironment{
            [] { return QDate(2018, 8, 1); }, [=, this] { return RoomLocation{m_dir->path(), room}; }, poll});
    }
    QString path(const QString &room = Room) { return m_dir->filePath(room + ".dat"); }
    QByteArray fileBytes()
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    void append(const QByteArray &bytes, const QString &room = Room)
    {
        QFile file(path(room));
        QVERIFY(file.open(QIODevice::Append) && file.write(bytes) == bytes.size());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

// Reference points of the design, its fonts, white surfaces and the
// instructions in two lines.
void TestHiduke::drawnBoard()
{
    auto board = makeBoard();
    QCOMPARE(board->size(), QSize(1311, 887));
    QCOMPARE(slot(*board, 7)->geometry(), QRect(96, 592, 97, 65));
    QCOMPARE(slot(*board, 36)->geometry(), QRect(648, 200, 97, 65));
    QCOMPARE(slot(*board, 69)->geometry(), QRect(1032, 520, 97, 65));
    // Beyond the design width: only a wider window shows it.
    QCOMPARE(board->findChild<QWidget *>("A")->geometry(), QRect(1648, 80, 25, 25));

    const QStringList japanese{"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "MS PGothic", "MS Gothic",
                               "IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "Noto Sans Mono CJK JP"};
    for (const auto &[name, pixels] : {std::pair{"RoomName", 64}, {"Label2", 48}, {"Hiduke_0", 32},
                                       {"TodayBT", 24}, {"mess", 21}, {"PCclass_70", 27}, {"Tuki", 24}}) {
        const QFontInfo info(board->findChild<QWidget *>(name)->font());
        QVERIFY2(info.pixelSize() == pixels && japanese.contains(info.family()), name);
        QVERIFY2(!info.bold() && !info.italic() && !info.underline() && !info.strikeOut(), name);
    }

    const QImage surface = board->grab().toImage(), a = board->findChild<QWidget *>("A")->grab().toImage();
    for (const QColor &pixel : {surface.pixelColor(600, 800), a.pixelColor(24, 0), a.pixelColor(24, 24)})
        QCOMPARE(pixel, QColor(Qt::white));
    const QImage mess = board->findChild<QWidget *>("mess")->grab().toImage();
    int inkInSecondLine = 0;
    for (int y = mess.height() / 2 + 2; y < mess.height(); ++y)
        for (int x = 0; x < mess.width(); ++x)
            inkInSecondLine += qGray(mess.pixel(x, y)) < 128;
    QVERIFY(inkInSecondLine > 50);
}

void TestHiduke::weekButtons()
{
    append("\"07/30-1\",\"this\"\r\n\"08/06-1\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n\"08/13-1\",\"after\"\r\n");
    auto board = makeBoard();
    QVERIFY(board->Form_Load());
    const auto shown = [&board] {
        QStringList texts;
        for (const char *name : {"Tuki", "Hiduke_0", "Hiduke_4", "Hiduke_5"})
            texts << board->findChild<QLabel *>(name)->text();
        return texts << slot(*board, 1)->text() << slot(*board, 36)->text();
    };
    const QStringList thisWeek{"7", "30", "3", "6", "this", "１-２　数学"};
    QCOMPARE(shown(), thisWeek);
    // The numbered label read last sets the naming mode.
    QCOMPARE(board->findChild<QCheckBox *>("A")->checkState(), Qt::Checked);

    for (int press = 0; press < 2; ++press) { // twice shows the same window
        QTest::mouseClick(board->findChild<QPushButton *>("NextBT"), Qt::LeftButton);
        QCOMPARE(shown(), (QStringList{"8", "6", "10", "13", "１-２　数学", "after"}));
    }
    QTest::mouseClick(board->findChild<QPushButton *>("TodayBT"), Qt::LeftButton);
    QCOMPARE(shown(), thisWeek);
}

void TestHiduke::unusableFileIsNotAnEmptyBoard()
{
    QVERIFY(QDir(m_dir->path()).mkdir(Room + ".dat"));
    auto board = makeBoard();
    QSignalSpy failed(board.get(), &Hiduke::failed);
    QVERIFY(!board->Form_Load());
    QCOMPARE(failed.count(), 1);
    QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("理科室.dat")));
    QVERIFY(!slot(*board, 1)->isEnabled());
}

void TestHiduke::doubleClick_data()
{
    QTest::addColumn<QString>("target"); // the board: its surface below the grid
    QTest::addColumn<bool>("shown");
    QTest::newRow("surface") << "Hiduke" << true;
    QTest::newRow("room name") << "RoomName" << false;
    QTest::newRow("empty transparent label") << "YYMMDD_0" << false;
    QTest::newRow("slot button") << "PCclass_12" << false;
}

void TestHiduke::doubleClick()
{
    QFETCH(QString, target);
    QFETCH(bool, shown);
    auto board = makeBoard();
    board->show();
    QVERIFY(QTest::qWaitForWindowExposed(board.get()));
    QWidget *receiver = board->objectName() == target ? board.get() : board->findChild<QWidget *>(target);
    QTest::mouseDClick(receiver, Qt::LeftButton, {}, receiver == board.get() ? QPoint(600, 800) : QPoint(2, 2));
    QCOMPARE(board->findChild<QLabel *>("C")->isVisible(), shown);
}

void TestHiduke::slotClick_data()
{
    QTest::addColumn<QByteArray>("file");
    // What happens to the file before the click, or, after "|", once the
    // first window is open: another board's records, or "folder" in its place.
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<int>("p");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("asked"); // each within what was asked
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<Qt::CheckState>("mode");

    const QByteArray x = "\"07/30-4\",\"x\"\r\n", y = "\"07/30-4\",\"y\"\r\n", none;
    const QStringList dialog{"ClassMenu"}, clear{ClearQuestion}, changed{Changed};
    QTest::newRow("book 1A science after lessons")
        << none << none << 7 << QStringList{"1:0 2:1 3:8 OK"} << dialog << "１Ａ　理科"
        << QByteArray("\"07/30-0\",\"\x82\x50\x82\x60\x81\x40\x81\x40\x97\x9D\x89\xC8\"\r\n") << Qt::Unchecked;
    QTest::newRow("book numbered by the toggle, second week")
        << none << none << 36 << QStringList{"2:11 1:1 2:3 3:7 OK"} << dialog << "２-３数学"
        << QByteArray("\"08/06-1\",\"\x82\x51-\x82\x52\x81\x40\x90\x94\x8A\x77\"\r\n") << Qt::Checked;
    QTest::newRow("dialog cancelled")
        << none << none << 20 << QStringList{"1:0 3:2 Cancel"} << dialog << QString() << none << Qt::Unchecked;
    QTest::newRow("clearing confirmed")
        << x << none << 4 << QStringList{"OK"} << clear << QString() << QByteArray("\"07/30-4\",\"\"\r\n") << Qt::Checked;
    QTest::newRow("clearing cancelled")
        << x << none << 4 << QStringList{"Cancel"} << clear << "x" << none << Qt::PartiallyChecked;
    // What the teacher never saw is neither booked nor cleared.
    QTest::newRow("booked elsewhere, free here")
        << none << y << 4 << QStringList{"OK"} << changed << "y" << none << Qt::Unchecked;
    QTest::newRow("cleared elsewhere, booked here")
        << x << QByteArray("\"07/30-4\",\"\"\r\n") << 4 << QStringList{"OK"} << changed << QString() << none
        << Qt::Unchecked;
    QTest::newRow("booked elsewhere while the dialog is open")
        << none << "|" + y << 4 << QStringList{"1:0 OK", "OK"} << dialog + changed << "y" << none << Qt::Unchecked;
    QTest::newRow("file saved again as UTF-8: shown, never written")
        << "\xEF\xBB\xBF" + y << none << 5 << QStringList{"OK", "OK"} << QStringList{"UTF-8", "UTF-8"} << QString()
        << none << Qt::Unchecked;
    QTest::newRow("file turned into a folder")
        << x << QByteArray("folder") << 4 << QStringList{"OK"} << QStringList{"フォルダー"} << "x" << none
        << Qt::Unchecked;
    QTest::newRow("file turned into a folder while the dialog is open")
        << none << QByteArray("|folder") << 4 << QStringList{"1:0 OK", "OK"}
        << dialog + QStringList{"この変更は保存されていません。"} << QString() << none << Qt::Unchecked;
}

void TestHiduke::slotClick()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, other);
    QFETCH(int, p);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, asked);
    QFETCH(QString, caption);
    QFETCH(QByteArray, written);
    QFETCH(Qt::CheckState, mode);

    append(file);
    auto board = makeBoard();
    Modals modals(steps);
    const bool meanwhile = other.startsWith('|');
    const auto change = [&, bytes = other.mid(meanwhile)] {
        if (bytes != "folder")
            return append(bytes);
        QVERIFY(QFile::remove(path()) && QDir(m_dir->path()).mkdir(Room + ".dat"));
    };
    modals.onOpen = [&](int before) {
        if (before == 0 && meanwhile)
            change();
    };
    QVERIFY(board->Form_Load());
    if (!meanwhile)
        change();
    QTest::mouseClick(slot(*board, p), Qt::LeftButton);

    QCOMPARE(modals.asked.size(), asked.size());
    for (int i = 0; i < asked.size(); ++i)
        QVERIFY2(modals.asked.at(i).contains(asked.at(i)), qPrintable(modals.asked.at(i)));
    QCOMPARE(slot(*board, p)->text(), caption);
    if (!other.endsWith("folder"))
        QCOMPARE(fileBytes(), file + other.mid(meanwhile) + written);
    QCOMPARE(board->findChild<QCheckBox *>("A")->checkState(), mode);
}

// Two computers on one room: what one books or clears shows on the other
// within two seconds, without a click, but not while a box is open there.
void TestHiduke::boardsUpdateThemselves()
{
    auto first = makeBoard();
    auto second = makeBoard(20ms);
    QVERIFY(first->Form_Load());
    QVERIFY(second->Form_Load());
    {
        Modals modals({"1:0 2:1 3:8 OK", "OK", "1:0 2:1 3:8 OK"});
        QTest::mouseClick(slot(*first, 7), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(slot(*second, 7)->text(), QStringLiteral("１Ａ　　理科"), 2000);
        QTest::mouseClick(slot(*first, 7), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(slot(*second, 7)->text(), QString(), 2000);
        QTest::mouseClick(slot(*first, 7), Qt::LeftButton); // numbered now, after the clearing
        QTRY_VERIFY_WITH_TIMEOUT(!slot(*second, 7)->text().isEmpty(), 2000);
        QCOMPARE(second->findChild<QCheckBox *>("A")->checkState(), Qt::Checked);
    }

    Modals modals({"Cancel"});
    QString shownMeanwhile;
    modals.onOpen = [&](int) {
        append("\"07/30-1\",\"y\"\r\n");
        QTest::qWait(200);
        shownMeanwhile = slot(*second, 1)->text();
    };
    QTest::mouseClick(slot(*second, 7), Qt::LeftButton);
    QCOMPARE(shownMeanwhile, QString());
    QTRY_COMPARE_WITH_TIMEOUT(slot(*second, 1)->text(), QStringLiteral("y"), 2000);
    // A file it cannot read now is left for the next click to tell.
    QVERIFY(QFile::remove(path()) && QDir(m_dir->path()).mkdir(Room + ".dat"));
    QTest::qWait(100);
    QCOMPARE(modals.asked, QStringList{ClearQuestion});
    QCOMPARE(slot(*second, 1)->text(), QStringLiteral("y"));
}

void TestHiduke::slotCaptionLines_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("breakAfter"); // the label's length right after booking
    QTest::addColumn<QStringList>("lines");

    // Two lines of three full-width characters: the class label, then the
    // subject, right after booking (joined) as when read back (stored), for
    // every form a label takes and subjects of 0 to 3 characters.
    for (const QString label : {"１Ａ　", "１-２", "その他", "ＪＫ-", "１ 　", "１- ", "　　", "- 　"}) {
        QString shown = label; // spaces that end a line show nothing
        while (!shown.isEmpty() && shown.back().isSpace())
            shown.chop(1);
        for (const QString subject : {"", "技", "数学", "委員会"}) {
            const QStringList lines = subject.isEmpty() ? QStringList{shown} : QStringList{shown, subject};
            const QByteArray name = (label + "|" + subject).toUtf8();
            QTest::addRow("booked %s", name.data()) << label + subject << int(label.size()) << lines;
            QTest::addRow("stored %s", name.data()) << label + QChar(0x3000) + subject << -1 << lines;
        }
    }
    // Texts from elsewhere keep their words whole where they can; where a
    // word wider than a line breaks depends on the font (no lines given).
    QTest::newRow("words") << "Lab work" << -1 << QStringList{"Lab", "work"};
    QTest::newRow("a word wider than a line") << "Laboratory" << -1 << QStringList();
}

void TestHiduke::slotCaptionLines()
{
    QFETCH(QString, caption);
    QFETCH(int, breakAfter);
    QFETCH(QStringList, lines);
    auto board = makeBoard();
    auto *button = qobject_cast<WrappingButton *>(slot(*board, 1));
    button->setCaption(caption, breakAfter);
    const QStringList shown = button->lines();
    if (lines.isEmpty())
        lines = shown.size() == 2 && shown.join(QString()) == caption ? shown : QStringList{"not two parts"};
    QCOMPARE(shown, lines);

    // As painted: a band of ink for each line that shows anything, centred
    // (to 10 pixels: a glyph's ink need not be centred in its cell).
    const QImage image = button->grab().toImage();
    int bands = 0, left = image.width(), right = image.width();
    for (int y = 4, inkAbove = 0; y < image.height() - 4; ++y) {
        int ink = 0;
        for (int x = 4; x < image.width() - 4; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink = 1;
                left = std::min(left, x);
                right = std::min(right, image.width() - 1 - x);
            }
        }
        bands += ink > inkAbove;
        inkAbove = ink;
    }
    QCOMPARE(bands, int(lines.size() - lines.count(QString())));
    QVERIFY2(bands == 0 || std::abs(left - right) <= 10, qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
}

void TestHiduke::keyboard_data()
{
    // Keys from slot 1: L R U D arrows, T Tab, B Shift+Tab, S Shift, M a click on TodayBT.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("frame"); // highlight pixels inward from each edge
    QTest::addColumn<QString>("key"); // what Return then books

    QTest::newRow("at start-up") << "" << "PCclass_1" << 0 << "07/30-1";
    QTest::newRow("any key at start-up") << "S" << "PCclass_1" << 3 << "07/30-1";
    QTest::newRow("right past the first friday") << "RRRRR" << "PCclass_36" << 3 << "08/06-1";
    QTest::newRow("right stops at the end") << "RRRRRRRRRRRR" << "PCclass_64" << 3 << "08/10-1";
    QTest::newRow("left stops at the first monday") << "L" << "PCclass_1" << 3 << "07/30-1";
    QTest::newRow("down stops after lessons") << "DDDDDDDDD" << "PCclass_7" << 3 << "07/30-0";
    QTest::newRow("up stops at lesson 1") << "U" << "PCclass_1" << 3 << "07/30-1";
    QTest::newRow("across and back") << "DDRRRRRRLU" << "PCclass_37" << 3 << "08/06-2";
    QTest::newRow("tab goes down the day") << "TT" << "PCclass_3" << 3 << "07/30-3";
    QTest::newRow("tab from the last slot") << "RRRRRRRRRDDDDDDT" << "NextBT" << 3 << "";
    QTest::newRow("week button by shift+tab") << "BB" << "TodayBT" << 3 << "";
    QTest::newRow("mouse after keys") << "TM" << "TodayBT" << 0 << "";
}

// Where the keys take the focus, whether it shows, and what Return books there.
void TestHiduke::keyboard()
{
    QFETCH(QString, keys);
    QFETCH(QString, focused);
    QFETCH(int, frame);
    QFETCH(QString, key);
    auto board = makeBoard();
    QVERIFY(board->Form_Load());
    board->show();
    QVERIFY(QTest::qWaitForWindowActive(board.get()));

    const QMap<QChar, Qt::Key> keyOf{{'L', Qt::Key_Left}, {'R', Qt::Key_Right}, {'U', Qt::Key_Up},
                                     {'D', Qt::Key_Down}, {'T', Qt::Key_Tab}, {'B', Qt::Key_Tab},
                                     {'S', Qt::Key_Shift}};
    for (const QChar k : keys) {
        if (k == 'M')
            QTest::mouseClick(board->findChild<QPushButton *>("TodayBT"), Qt::LeftButton);
        else
            QTest::keyClick(QApplication::focusWidget(), keyOf.value(k), k == 'B' ? Qt::ShiftModifier : Qt::NoModifier);
    }
    QWidget *button = QApplication::focusWidget();
    QCOMPARE(button->objectName(), focused);

    // The frame as on screen, on each side of the button.
    QCoreApplication::processEvents();
    const QImage image = board->screen()->grabWindow(board->winId()).toImage().copy(button->geometry());
    const QColor highlight = button->palette().color(QPalette::Active, QPalette::Highlight);
    const auto inward = [&](QPoint at, QPoint step) {
        int width = 0;
        for (; image.pixelColor(at) == highlight; at += step)
            ++width;
        return width;
    };
    const int w = image.width() - 2, h = image.height() - 2, x = w / 2, y = h / 2;
    const QList<int> sides{inward({1, y}, {1, 0}), inward({w, y}, {-1, 0}), inward({x, 1}, {0, 1}),
                           inward({x, h}, {0, -1})};
    QCOMPARE(sides, QList<int>(4, frame));

    if (key.isEmpty())
        return;
    Modals modals({"OK"});
    QTest::keyClick(button, Qt::Key_Return);
    QTRY_VERIFY(fileBytes().startsWith('"' + key.toLatin1() + "\","));
}

// What a screen reader says: the board as a window by its caption, the room
// name as written (never read as markup), each slot's day, lesson and booking.
void TestHiduke::screenReader()
{
#ifdef Q_OS_WIN
    const QString room = Room; // no file name holds a '<' there
#else
    const QString room = "<i>" + Room;
#endif
    append("\"07/30-3\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n", room);
    auto board = makeBoard(1h, room);
    QVERIFY(board->Form_Load());
    const auto said = [](QObject *object) {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    };
    QCOMPARE(QAccessible::queryAccessibleInterface(board.get())->role(), QAccessible::Window);
    QCOMPARE(said(board.get()), QStringLiteral("特別教室予約ボード        Ver.20180729"));
    QCOMPARE(said(board->findChild<QLabel *>("RoomName")), room);
    QCOMPARE(said(slot(*board, 3)), QStringLiteral("7月30日(月) 3時間目 １-２　数学"));
    QCOMPARE(said(slot(*board, 70)), QStringLiteral("8月10日(金) 授業後 空き"));
}

QTEST_MAIN(TestHiduke)
#include "tst_hiduke.moc"
