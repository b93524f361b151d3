#include "board/BookingRecord.h"
#include "board/DateWindow.h"
#include "board/SlotKey.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

const DateWindow Window = DateWindow::current(QDate(2018, 8, 1));

// The file's lines, split at LF, CR kept.
QByteArrayList fileLines(const QString &path)
{
    QFile file(path);
    QByteArrayList lines = file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QByteArrayList{};
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The records a writer reports on disk, as lines of the file.
QByteArrayList won(QProcess &writer)
{
    QByteArrayList records;
    for (const QByteArray &line : writer.readAllStandardOutput().split('\n')) {
        const QByteArrayList words = line.split(' ');
        if (words.size() == 3 && words[0] == "won")
            records << '"' + words[1] + "\",\"" + words[2] + "\"\r";
    }
    return records;
}

} // namespace

class TestBookingRace : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // Writers start at once, all going for the same slots in the same order
    // and each for some of its own in between: every slot has one winner,
    // and the file holds one whole line a slot.
    void sameSlotHasOneWinner()
    {
        const QString start = m_dir.filePath("go");
        QStringList shared;
        for (int slot = 1; slot <= 20; ++slot)
            shared << SlotKey::make(Window, slot);
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int i = 0; i < 8; ++i) {
            QStringList keys = shared;
            for (int k = 0; k < 5; ++k)
                keys.insert(5 * k + 2, SlotKey::make(Window, 21 + 5 * i + k));
            writers.push_back(std::make_unique<QProcess>());
            writers.back()->start(QStringLiteral(BOOKING_WRITER),
                                  QStringList{m_dir.path(), "理科室", QString("P%1").arg(i), start} + keys);
            QVERIFY(writers.back()->waitForStarted());
        }
        QTest::qWait(300); // every writer has read the file and waits for the start
        QFile(start).open(QIODevice::WriteOnly);

        QMap<QByteArray, int> winners, inFile;
        for (auto &process : writers) {
            QVERIFY(process->waitForFinished(30000));
            QCOMPARE(process->exitCode(), 0);
            for (const QByteArray &record : won(*process))
                ++winners[record.mid(1, 7)];
        }
        for (const QByteArray &line : fileLines(m_dir.filePath("理科室.dat"))) {
            const auto record = BookingRecord::parse(line.chopped(1));
            QVERIFY2(record && line.endsWith('\r'), line.constData());
            ++inFile[record->key.toByteArray()];
        }
        QCOMPARE(inFile.size(), 60);
        QCOMPARE(winners, inFile);
        QCOMPARE(std::count(inFile.cbegin(), inFile.cend(), 1), 60);
    }

    // SIGKILL at random moments of a writer's work: every record reported
    // saved is in the file, in order, and nothing but the very last line may
    // be cut off.
    void killedWriterLosesNothing()
    {
        QStringList keys;
        for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
            keys << SlotKey::make(Window, slot);
        QByteArrayList saved;
        for (int round = 0; round < 15; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(BOOKING_WRITER), QStringList{m_dir.path(), "音楽室", "loop", m_dir.path()} + keys);
            QVERIFY(writer.waitForStarted() && writer.waitForReadyRead(10000));
            QThread::usleep(QRandomGenerator::global()->bounded(0, 30000));
            writer.kill();
            QVERIFY(writer.waitForFinished(5000));
            saved << won(writer);
            const QByteArrayList lines = fileLines(m_dir.filePath("音楽室.dat"));
            for (qsizetype i = 0; i + 1 < lines.size(); ++i)
                QVERIFY2(BookingRecord::parse(lines[i].chopped(1)), lines[i].constData());
            qsizetype at = 0;
            for (const QByteArray &record : saved) {
                while (at < lines.size() && lines[at] != record)
                    ++at;
                QVERIFY2(at++ < lines.size(), record.constData());
            }
        }
        QVERIFY2(saved.size() > 15, "the writer should get some records done between kills");
    }
};

QTEST_GUILESS_MAIN(TestBookingRace)
#include "tst_bookingrace.moc"
