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
    void killedWriterLosesNothing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestBookingRace::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// Writers start at once, all going for the same slots in the same order and
// each for some of its own in between: every slot has one winner, the others
// are told, and the file holds one whole line a slot.
void TestBookingRace::sameSlotHasOneWinner()
{
    constexpr int Writers = 8;
    constexpr int Slots = 20;
    constexpr int Own = 5;
    const DateWindow window = DateWindow::current(QDate(2018, 8, 1));
    const QString start = m_dir->filePath("go");
    QStringList keys;
    for (int slot = 1; slot <= Slots; ++slot)
        keys << SlotKey::make(window, slot);
    QSet<QByteArray> all;
    for (int slot = 1; slot <= Slots + Writers * Own; ++slot)
        all.insert(SlotKey::make(window, slot).toLatin1());

    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 0; i < Writers; ++i) {
        QStringList mine = keys;
        for (int k = 0; k < Own; ++k)
            mine.insert(5 * k + 2, SlotKey::make(window, Slots + 1 + Own * i + k));
        auto process = std::make_unique<QProcess>();
        process->start(Writer, QStringList{m_dir->path(), Room, "race", QString("P%1").arg(i), start} + mine);
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
    QCOMPARE(winners.size(), all.size());
    for (auto it = winners.cbegin(); it != winners.cend(); ++it)
        QVERIFY2(it.value() == 1, it.key().constData());

    QSet<QByteArray> inFile;
    const auto lines = fileLines(m_dir->filePath(Room + ".dat"));
    for (const QByteArray &line : lines) {
        const QByteArray withoutCr = line.chopped(1);
        const auto record = BookingRecord::parse(withoutCr);
        QVERIFY2(record && line.endsWith('\r'), line.constData());
        inFile.insert(record->key.toByteArray());
    }
    QCOMPARE(lines.size(), all.size());
    QCOMPARE(inFile, all);
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
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            QVERIFY2(BookingRecord::parse(lines[i].chopped(1)), lines[i].constData());
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
}

QTEST_GUILESS_MAIN(TestBookingRace)
#include "tst_bookingrace.moc"
