#include "core/BoardSession.h"
#include "core/BoardView.h"
#include "../support/TestFiles.h"

#include <QtTest>

using Outcome = BoardSession::Result::Outcome;

namespace {

const QString Room = QStringLiteral("理科室"), IS(QChar(0x3000)), Changed = "別のパソコンで変更されました";
const QByteArray X = "\"07/30-4\",\"x\"\r\n", Y = "\"07/30-4\",\"y\"\r\n", Cleared = X + "\"07/30-4\",\"\"\r\n";
constexpr NamingMode Lettered = NamingMode::Lettered, Numbered = NamingMode::Numbered,
                     Grayed = NamingMode::LetteredAfterCancelledClearing;
std::unique_ptr<QTemporaryDir> dir;

QString bookingFile() { return dir->filePath(Room + ".dat"); }

BoardSession loaded()
{
    BoardSession session([] { return QDate(2018, 8, 1); }, [] { return RoomLocation{dir->path(), Room}; });
    session.load();
    return session;
}

// The teacher at the board: answers what a click asks while others append
// `meanwhile`, and sees each changed slot as "slot caption".
struct Teacher
{
    BoardView::ClassAnswer classAnswer{};
    bool confirms = false;
    QByteArray meanwhile{};
    QString asked{};
    QStringList seen{};
    BoardSession::Result last{};
    const BoardView view{[this](const BoardSession::Result &result) { sees(result); },
                         [this](NamingMode mode) {
                             asked = "class " + QString::number(int(mode));
                             change(bookingFile(), meanwhile);
                             return classAnswer;
                         },
                         [this] {
                             asked = "clearing";
                             change(bookingFile(), meanwhile);
                             return confirms;
                         }};

    void sees(const BoardSession::Result &result)
    {
        for (const BoardSession::ShownSlot &shown : result.changedSlots)
            seen << QString::number(shown.slot) + ' ' + shown.caption.text;
        last = result;
    }
};

void book(BoardSession &session, int slot, const QString &label, const QString &subject)
{
    Teacher teacher;
    teacher.classAnswer = {Lettered, label, subject};
    session.click(slot, teacher.view);
}

// A click on slot p of a session loaded from `file`, after others appended
// `other`, or the undoing of a clearing there: what it asks, answered as
// the teacher does; then what the session tells, shows, writes after the
// file and its mode.
struct Click
{
    QByteArray file{}, other{};
    int p = 4;
    QString rebook{};
    QString asks{};
    BoardView::ClassAnswer answer{};
    bool confirms = false;
    QByteArray meanwhile{};
    Outcome then = Outcome::Done;
    QString told{};
    QStringList seen{};
    QByteArray written{};
    NamingMode mode = Lettered;
};

} // namespace

class TestBoardSession : public QObject
{
    Q_OBJECT
private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }
    void click_data();
    void click();
    void weeks();
    void polls();
    void unusableFiles();
};

void TestBoardSession::click_data()
{
    QTest::addColumn<Click>("click");
    const Outcome notice = Outcome::Notice;
    const QString lettered = "class 0", clearing = "clearing";
    QTest::newRow("book 1A science after lessons") << Click{.p = 7, .asks = lettered,
        .answer = {Lettered, "１Ａ" + IS, "理科"}, .seen = {"7 １Ａ　理科"},
        .written = "\"07/30-0\",\"\x82\x50\x82\x60\x81\x40\x81\x40\x97\x9D\x89\xC8\"\r\n"};
    QTest::newRow("book numbered, second week") << Click{.p = 36, .asks = lettered,
        .answer = {Numbered, "２-３", "数学"}, .seen = {"36 ２-３数学"},
        .written = "\"08/06-1\",\"\x82\x51-\x82\x52\x81\x40\x90\x94\x8A\x77\"\r\n", .mode = Numbered};
    QTest::newRow("dialog toggled, then cancelled") << Click{.asks = lettered, .answer = {Numbered}, .mode = Numbered};
    QTest::newRow("clearing confirmed") << Click{.file = X, .asks = clearing, .confirms = true, .seen = {"4 "},
        .written = "\"07/30-4\",\"\"\r\n", .mode = Numbered};
    QTest::newRow("clearing cancelled") << Click{.file = X, .asks = clearing, .mode = Grayed};
    // What the teacher never saw is neither booked nor cleared.
    QTest::newRow("booked elsewhere") << Click{.other = Y, .then = notice, .told = Changed, .seen = {"4 y"}};
    QTest::newRow("booked elsewhere while the dialog is open") << Click{.asks = lettered,
        .answer = {Lettered, "１Ａ" + IS}, .meanwhile = Y, .then = notice, .told = Changed, .seen = {"4 y"}};
    // Others' records read on the way set the mode, where the own label cannot tell.
    QTest::newRow("booked numbered elsewhere while booking その他") << Click{.asks = lettered,
        .answer = {Lettered, "その他"}, .meanwhile = "\"07/31-1\",\"\x82\x50-\x82\x51\x81\x40\"\r\n",
        .seen = {"4 その他", "8 １-２　"}, .written = "\"07/30-4\",\"\x82\xBB\x82\xCC\x91\xBC\x81\x40\"\r\n",
        .mode = Numbered};
    // A clearing undone, here one made elsewhere, is an ordinary booking of the text as stored; the mode stays.
    QTest::newRow("clearing undone") << Click{.file = X, .other = Cleared.mid(X.size()), .rebook = "１-２　数学",
        .seen = {"4 １-２　数学"}, .written = "\"07/30-4\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n"};
    QTest::newRow("undo refused: booked elsewhere since") << Click{.file = Cleared, .other = Y, .rebook = "x",
        .then = notice, .told = Changed, .seen = {"4 y"}};
    QTest::newRow("undo refused: file saved again as UTF-8") << Click{.file = "\xEF\xBB\xBF" + Cleared, .rebook = "x",
        .then = notice, .told = "UTF-8"};
    QTest::newRow("file saved again as UTF-8") << Click{.file = "\xEF\xBB\xBF" + Y, .p = 5, .then = notice,
                                                        .told = "UTF-8"};
    QTest::newRow("file turned into a folder") << Click{.file = X, .other = "folder", .then = Outcome::Error,
                                                        .told = "フォルダー"};
    QTest::newRow("file turned into a folder while the dialog is open") << Click{.asks = lettered,
        .answer = {Lettered, "１Ａ" + IS}, .meanwhile = "folder", .then = Outcome::Error,
        .told = "この変更は保存されていません。"};
}

void TestBoardSession::click()
{
    QFETCH(Click, click);
    change(bookingFile(), click.file);
    BoardSession board = loaded();
    change(bookingFile(), click.other);
    Teacher teacher;
    teacher.classAnswer = click.answer;
    teacher.confirms = click.confirms;
    teacher.meanwhile = click.meanwhile;
    if (click.rebook.isEmpty())
        board.click(click.p, teacher.view);
    else
        teacher.sees(board.rebook(click.p, click.rebook));
    QCOMPARE(teacher.asked, click.asks);
    QCOMPARE(teacher.last.outcome, click.then);
    QVERIFY2(teacher.last.message.contains(click.told) && teacher.last.message.isEmpty() == click.told.isEmpty(),
             qPrintable(teacher.last.message));
    QCOMPARE(teacher.seen, click.seen);
    if (!(click.other + click.meanwhile).endsWith("folder"))
        QCOMPARE(readAll(bookingFile()), click.file + click.other + click.meanwhile + click.written);
    QCOMPARE(teacher.last.namingMode, click.mode);
}

// Both weeks from today's, however often a week button is pressed; the
// session's own booking shows its label on a line of its own until read back.
void TestBoardSession::weeks()
{
    change(bookingFile(), "\"07/30-1\",\"this\"\r\n\"08/06-1\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n\"08/17-0\",\"z\"\r\n");
    BoardSession board = loaded();
    const auto shown = [&board] {
        return QStringList{board.month(), board.dayNumber(0), board.dayNumber(4), board.dayNumber(5),
                           board.spokenSlot(1), board.spokenSlot(36), board.spokenSlot(70)};
    };
    const QStringList thisWeek{"7", "30", "3", "6", "7月30日(月) 1時間目 this", "8月6日(月) 1時間目 １-２　数学",
                               "8月10日(金) 授業後 空き"};
    QCOMPARE(shown(), thisWeek);
    QCOMPARE(board.namingMode(), Numbered); // the numbered label read last
    for (int press = 0; press < 2; ++press) {
        QCOMPARE(board.nextWeek().changedSlots.size(), 70);
        QCOMPARE(shown(), (QStringList{"8", "6", "10", "13", "8月6日(月) 1時間目 １-２　数学",
                                       "8月13日(月) 1時間目 空き", "8月17日(金) 授業後 z"}));
    }
    QCOMPARE(board.thisWeek().changedSlots.size(), 70);
    QCOMPARE(shown(), thisWeek);

    book(board, 2, "１Ａ" + IS, "理科");
    QCOMPARE(board.spokenSlot(2), "7月30日(月) 2時間目 １Ａ　理科");
    board.thisWeek();
    QCOMPARE(board.spokenSlot(2), "7月30日(月) 2時間目 １Ａ　　理科");
}

// What others append shows at the next look, once; what changes elsewhere
// leaves the session's own fresh booking as it shows.
void TestBoardSession::polls()
{
    BoardSession board = loaded();
    book(board, 1, "１Ａ" + IS, "理科");
    Teacher teacher;
    teacher.sees(board.poll());
    change(bookingFile(), "\"08/10-0\",\"z\"\r\n\"07/30-2\",\"\x82\x50-\x82\x51\x81\x40\"\r\n");
    teacher.sees(board.poll());
    QCOMPARE(board.caption(1).text, "１Ａ　理科");
    QCOMPARE(teacher.last.namingMode, Numbered);
    teacher.sees(board.poll());
    change(bookingFile(), "\"07/30-1\",\"\"\r\n");
    teacher.sees(board.poll());
    QCOMPARE(teacher.seen, (QStringList{"2 １-２　", "70 z", "1 "}));
}

// A file that cannot be read stops the board; one saved again in another
// encoding is told of once at loading, then at every click.
void TestBoardSession::unusableFiles()
{
    QVERIFY(QDir(dir->path()).mkdir(Room + ".dat"));
    BoardSession board = loaded();
    QVERIFY(!board.isUsable());
    BoardSession::Result result = board.thisWeek();
    QCOMPARE(result.outcome, Outcome::Unreadable);
    QVERIFY(result.message.contains(Room + ".dat"));
    QVERIFY(QDir(dir->path()).rmdir(Room + ".dat"));
    change(bookingFile(), "\xEF\xBB\xBF" + X);
    result = board.thisWeek();
    QCOMPARE(result.outcome, Outcome::Notice);
    QVERIFY(result.message.contains("UTF-8") && result.message.contains(Room + ".dat") && board.isUsable());
    QCOMPARE(board.nextWeek().outcome, Outcome::Done);
}

QTEST_GUILESS_MAIN(TestBoardSession)
#include "tst_boardsession.moc"
