#include "board/BookingRecord.h"
#include "board/DateWindow.h"
#include "board/SlotKey.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

const QString Room = QStringLiteral("理科室");
const QString Writer = QStringLiteral(BOOKING_WRITER);

QList<QByteArray> fileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray whole(const QString &key, const QString &text)
{
    return BookingRecord::format(key, text).value().chopped(1); // as split at LF
}

} // namespace

class TestBookingRace : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void sameSlotHasOneWinner();
    void differentSlotsAllLand();
    void killedWriterLosesNothing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestBookingRace::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// Every writer goes for the same slots in the same order: each slot has one
// winner, the others are told, and the file holds one whole line a slot.
void TestBookingRace::sameSlotHasOneWinner()
{
    constexpr int Writers = 8;
    constexpr int Slots = 20;
    const QString start = m_dir->filePath("go");
    QStringList keys;
    for (int slot = 1; slot <= Slots; ++slot)
        keys << SlotKey::make(DateWindow::current(QDate(2018, 8, 1)), slot);

    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 0; i < Writers; ++i) {
        auto process = std::make_unique<QProcess>();
        process->start(Writer, QStringList{m_dir->path(), Room, "race", QString("P%1").arg(i), start} + keys);
        QVERIFY(process->waitForStarted());
        writers.push_back(std::move(process));
    }
    QTest::qWait(300); // every writer has read the file and waits for the start
    QFile(start).open(QIODevice::WriteOnly);

    QMap<QByteArray, int> winners;
    for (auto &process : writers) {
        QVERIFY(process->waitForFinished(30000));
        QCOMPARE(process->exitCode(), 0);
        for (const QByteArray &line : process->readAllStandardOutput().split('\n')) {
            if (line.startsWith("won "))
                ++winners[line.mid(4)];
        }
    }
    QCOMPARE(winners.size(), Slots);
    for (auto it = winners.cbegin(); it != winners.cend(); ++it)
        QVERIFY2(it.value() == 1, it.key().constData());

    const auto lines = fileLines(m_dir->filePath(Room + ".dat"));
    QCOMPARE(lines.size(), Slots);
    for (const QByteArray &line : lines)
        QVERIFY2(BookingRecord::parse(line.chopped(1)).has_value(), line.constData());
}

void TestBookingRace::differentSlotsAllLand()
{
    constexpr int Writers = 6;
    constexpr int SlotsEach = 10;
    std::vector<std::unique_ptr<QProcess>> writers;
    QSet<QByteArray> expected;
    for (int i = 0; i < Writers; ++i) {
        QStringList args{m_dir->path(), Room, "many", QString("P%1").arg(i)};
        for (int k = 0; k < SlotsEach; ++k) {
            const int slot = i * SlotsEach + k + 1;
            const QString key = SlotKey::make(DateWindow::current(QDate(2018, 8, 1)), slot);
            args << key;
            expected.insert(whole(key, QString("P%1").arg(i)));
        }
        auto process = std::make_unique<QProcess>();
        process->start(Writer, args);
        QVERIFY(process->waitForStarted());
        writers.push_back(std::move(process));
    }
    for (auto &process : writers) {
        QVERIFY(process->waitForFinished(30000));
        QCOMPARE(process->exitCode(), 0);
    }

    const auto lines = fileLines(m_dir->filePath(Room + ".dat"));
    QCOMPARE(lines.size(), Writers * SlotsEach);
    QCOMPARE(QSet<QByteArray>(lines.begin(), lines.end()), expected);
}

// SIGKILL at random moments: every record reported saved is in the file,
// and nothing but the very last line may be cut off.
void TestBookingRace::killedWriterLosesNothing()
{
    const QString path = m_dir->filePath(Room + ".dat");
    QList<QByteArray> saved;
    int kills = 0;
    for (int round = 0; round < 15; ++round) {
        QProcess writer;
        writer.start(Writer, {m_dir->path(), Room, "loop"});
        QVERIFY(writer.waitForStarted());
        // Once it is under way, at a random moment of its work.
        QVERIFY(writer.waitForReadyRead(10000));
        QThread::usleep(QRandomGenerator::global()->bounded(0, 30000));
        writer.kill();
        QVERIFY(writer.waitForFinished(5000));
        ++kills;
        for (const QByteArray &line : writer.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() >= 2 && parts[0] == "saved")
                saved << whole(QString::fromLatin1(parts[1]),
                               parts.size() > 2 ? QString::fromLatin1(parts[2]) : QString());
        }

        const auto lines = fileLines(path);
        int cut = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!BookingRecord::parse(QByteArray(lines[i]).chopped(lines[i].endsWith('\r') ? 1 : 0))) {
                ++cut;
                QCOMPARE(i, lines.size() - 1);
            }
        }
        QVERIFY(cut <= 1);
        // Every saved record, in the order it was reported.
        qsizetype at = 0;
        for (const QByteArray &record : saved) {
            while (at < lines.size() && lines[at] != record)
                ++at;
            QVERIFY2(at < lines.size(), record.constData());
            ++at;
        }
    }
    QVERIFY2(saved.size() > kills, "the writer should get some records done between kills");
    qInfo("%d kills, %lld records reported saved, all present", kills, qlonglong(saved.size()));
}

QTEST_GUILESS_MAIN(TestBookingRace)
#include "tst_bookingrace.moc"
