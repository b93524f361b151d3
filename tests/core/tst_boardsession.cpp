#include "core/BoardSession.h"

#include <QtTest>

using Outcome = BoardSession::Result::Outcome;
using Answer = std::function<BoardSession::Result(BoardSession &, int slot)>;

namespace {

const QString Room = QStringLiteral("理科室"), IS(QChar(0x3000)), Changed = "別のパソコンで変更されました";
const QByteArray X = "\"07/30-4\",\"x\"\r\n", Y = "\"07/30-4\",\"y\"\r\n", Cleared = X + "\"07/30-4\",\"\"\r\n";
constexpr NamingMode Numbered = NamingMode::Numbered, Grayed = NamingMode::LetteredAfterCancelledClearing;
std::unique_ptr<QTemporaryDir> dir;

Answer book(const QString &label, const QString &subject, NamingMode mode = NamingMode::Lettered)
{
    return [=](BoardSession &session, int slot) { return session.book(slot, mode, label, subject); };
}
const Answer clear = [](BoardSession &session, int slot) { return session.clearSlot(slot); };
const Answer cancel = [](BoardSession &session, int) { return session.cancelClearing(); };
Answer rebook(const QString &text)
{
    return [=](BoardSession &session, int slot) { return session.rebook(slot, text); };
}

QByteArray fileBytes()
{
    QFile file(dir->filePath(Room + ".dat"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void change(const QByteArray &bytes) // another board's records, or a folder in the file's place
{
    QFile file(dir->filePath(Room + ".dat"));
    if (bytes == "folder")
        QVERIFY(file.remove() && QDir(dir->path()).mkdir(Room + ".dat"));
    else
        QVERIFY(file.open(QIODevice::Append) && file.write(bytes) == bytes.size());
}

BoardSession loaded()
{
    BoardSession session([] { return QDate(2018, 8, 1); }, [] { return RoomLocation{dir->path(), Room}; });
    session.load();
    return session;
}

// A click on slot p of a session loaded from `file`, after others appended
// `other`: what it asks; the answer, given while others append `meanwhile`;
// then what the session tells, shows, writes after the file, its mode and the
// slots that changed on the way.
struct Click
{
    QByteArray file{}, other{};
    int p = 4;
    Outcome asks = Outcome::AskClass;
    QByteArray meanwhile{};
    Answer answer{};
    Outcome then = Outcome::Done;
    QString told{}, caption{};
    QByteArray written{};
    NamingMode mode = NamingMode::Lettered;
    QList<int> changed{};
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
    const Outcome clearing = Outcome::AskClearing, notice = Outcome::Notice;
    QTest::newRow("book 1A science after lessons") << Click{.p = 7, .answer = book("１Ａ" + IS, "理科"),
        .caption = "１Ａ　理科", .written = "\"07/30-0\",\"\x82\x50\x82\x60\x81\x40\x81\x40\x97\x9D\x89\xC8\"\r\n",
        .changed = {7}};
    QTest::newRow("book numbered, second week") << Click{.p = 36, .answer = book("２-３", "数学", Numbered),
        .caption = "２-３数学", .written = "\"08/06-1\",\"\x82\x51-\x82\x52\x81\x40\x90\x94\x8A\x77\"\r\n",
        .mode = Numbered, .changed = {36}};
    QTest::newRow("dialog toggled, then cancelled") << Click{.answer = book("", "", Numbered), .mode = Numbered};
    QTest::newRow("clearing confirmed") << Click{.file = X, .asks = clearing, .answer = clear,
        .written = "\"07/30-4\",\"\"\r\n", .mode = Numbered, .changed = {4}};
    QTest::newRow("clearing cancelled") << Click{.file = X, .asks = clearing, .answer = cancel, .caption = "x",
                                                 .mode = Grayed};
    // What the teacher never saw is neither booked nor cleared.
    QTest::newRow("booked elsewhere") << Click{.other = Y, .asks = notice, .told = Changed, .caption = "y",
                                               .changed = {4}};
    QTest::newRow("booked elsewhere while the dialog is open") << Click{.meanwhile = Y, .answer = book("１Ａ" + IS, ""),
        .then = notice, .told = Changed, .caption = "y", .changed = {4}};
    // Others' records read on the way set the mode, where the own label cannot tell.
    QTest::newRow("booked numbered elsewhere while booking その他") << Click{
        .meanwhile = "\"07/31-1\",\"\x82\x50-\x82\x51\x81\x40\"\r\n", .answer = book("その他", ""), .caption = "その他",
        .written = "\"07/30-4\",\"\x82\xBB\x82\xCC\x91\xBC\x81\x40\"\r\n", .mode = Numbered, .changed = {4, 8}};
    // A clearing undone, here one made elsewhere, is an ordinary booking of the text as stored; the mode stays.
    QTest::newRow("clearing undone") << Click{.file = X, .asks = clearing, .meanwhile = Cleared.mid(X.size()),
        .answer = rebook("１-２　数学"), .caption = "１-２　数学",
        .written = "\"07/30-4\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n", .changed = {4}};
    QTest::newRow("undo refused: booked elsewhere since") << Click{.file = Cleared, .meanwhile = Y, .answer = rebook("x"),
        .then = notice, .told = Changed, .caption = "y", .changed = {4}};
    QTest::newRow("undo refused: file saved again as UTF-8") << Click{.file = "\xEF\xBB\xBF" + Cleared, .asks = notice,
        .answer = rebook("x"), .then = notice, .told = "UTF-8"};
    QTest::newRow("file saved again as UTF-8") << Click{.file = "\xEF\xBB\xBF" + Y, .p = 5, .asks = notice,
                                                        .told = "UTF-8"};
    QTest::newRow("file turned into a folder") << Click{.file = X, .other = "folder", .asks = Outcome::Error,
                                                        .told = "フォルダー", .caption = "x"};
    QTest::newRow("file turned into a folder while the dialog is open") << Click{.meanwhile = "folder",
        .answer = book("１Ａ" + IS, ""), .then = Outcome::Error, .told = "この変更は保存されていません。"};
}

void TestBoardSession::click()
{
    QFETCH(Click, click);
    change(click.file);
    BoardSession board = loaded();
    change(click.other);
    BoardSession::Result result = board.click(click.p);
    QCOMPARE(result.outcome, click.asks);
    QList<int> changed = result.changedSlots;
    if (click.answer) {
        change(click.meanwhile);
        result = click.answer(board, click.p);
        QCOMPARE(result.outcome, click.then);
        changed += result.changedSlots;
    }
    QVERIFY2(result.message.contains(click.told) && result.message.isEmpty() == click.told.isEmpty(),
             qPrintable(result.message));
    QCOMPARE(changed, click.changed);
    QCOMPARE(board.caption(click.p).text, click.caption);
    if (!(click.other + click.meanwhile).endsWith("folder"))
        QCOMPARE(fileBytes(), click.file + click.other + click.meanwhile + click.written);
    QCOMPARE(board.namingMode(), click.mode);
}

// Both weeks from today's, however often a week button is pressed; the
// session's own booking shows its label on a line of its own until read back.
void TestBoardSession::weeks()
{
    change("\"07/30-1\",\"this\"\r\n\"08/06-1\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n\"08/17-0\",\"z\"\r\n");
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

    board.book(2, NamingMode::Lettered, "１Ａ" + IS, "理科");
    QCOMPARE(board.spokenSlot(2), "7月30日(月) 2時間目 １Ａ　理科");
    board.thisWeek();
    QCOMPARE(board.spokenSlot(2), "7月30日(月) 2時間目 １Ａ　　理科");
}

// What others append shows at the next look, once; what changes elsewhere
// leaves the session's own fresh booking as it shows.
void TestBoardSession::polls()
{
    BoardSession board = loaded();
    board.book(1, NamingMode::Lettered, "１Ａ" + IS, "理科");
    QCOMPARE(board.poll().changedSlots, QList<int>());
    change("\"08/10-0\",\"z\"\r\n\"07/30-2\",\"\x82\x50-\x82\x51\x81\x40\"\r\n");
    QCOMPARE(board.poll().changedSlots, (QList<int>{2, 70}));
    QCOMPARE(board.caption(1).text + board.caption(2).text, "１Ａ　理科１-２　");
    QCOMPARE(board.namingMode(), Numbered);
    QCOMPARE(board.poll().changedSlots, QList<int>());
    change("\"07/30-1\",\"\"\r\n");
    QCOMPARE(board.poll().changedSlots, QList<int>{1});
    QCOMPARE(board.caption(1).text, QString());
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
    change("\xEF\xBB\xBF" + X);
    result = board.thisWeek();
    QCOMPARE(result.outcome, Outcome::Notice);
    QVERIFY(result.message.contains("UTF-8") && result.message.contains(Room + ".dat") && board.isUsable());
    QCOMPARE(board.nextWeek().outcome, Outcome::Done);
}

QTEST_GUILESS_MAIN(TestBoardSession)
#include "tst_boardsession.moc"
