// The booking file only grows, and the board replays all of it at every
// start and week switch. These benchmarks generate files of a room's
// lifetime and beyond, and set replay against the bare cost of reading the
// file (replay can never beat that), one booking against the file's size,
// start-up against an empty file, peak memory against a small file, and
// what an idle board's look at its file every second costs: one look, with
// and without a new record, against the file's size, and the idle board's
// CPU over a minute.
// Google Benchmark's own lines go to stderr; stdout gets one summary table.
#include "BenchFiles.h"

#include "core/BookingLog.h"
#include "core/BookingRecord.h"
#include "core/BookingReplay.h"
#include "core/DateWindow.h"
#include "core/LineReader.h"
#include "core/SlotKey.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <sys/statfs.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr qint64 Sizes[] = {1000, 10000, 100000, 1000000};
// Start-up and memory are also measured on an empty file, the reference for
// start-up.
constexpr qint64 ProbeSizes[] = {0, 1000, 10000, 100000, 1000000};
constexpr int StartupRounds = 21; // the first is a warm-up and not counted
constexpr int MemoryRuns = 3;
constexpr int BookingRoundsOnDisk = 1000;
constexpr int BookingRoundsOnTmpfs = 20000;
constexpr int TickRounds = 2000;
// An idle board is watched for a minute, beside the other benchmarks: its
// own CPU time is what counts, not the time it waits.
constexpr int IdleSeconds = 60;
constexpr qint64 IdleRecords = 1000000;
// Replay and baseline are repeated in short runs that Google Benchmark
// shuffles among each other, so that a slow spell of a shared machine falls
// on both alike; the table takes the median.
constexpr int Repetitions = 9;
constexpr double RepetitionSeconds = 0.2;

struct Folders
{
    std::unique_ptr<QTemporaryDir> disk;
    std::unique_ptr<QTemporaryDir> tmpfs; // absent when there is no /dev/shm
};
Folders folders;

QString sourceFolder(qint64 records)
{
    return folders.disk->filePath(QStringLiteral("records-%1").arg(records));
}

QString sourceFile(qint64 records)
{
    return QDir(sourceFolder(records)).filePath(BenchFiles::roomName() + QStringLiteral(".dat"));
}

std::string fileSystemName(const QString &path)
{
    struct statfs info {};
    if (statfs(QFile::encodeName(path).constData(), &info) != 0)
        return "?";
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x01021994UL: return "tmpfs";
    case 0xEF53UL: return "ext4";
    case 0x58465342UL: return "xfs";
    case 0x9123683EUL: return "btrfs";
    case 0x794C7630UL: return "overlayfs";
    default: {
        char hex[32];
        std::snprintf(hex, sizeof hex, "fs 0x%lx", static_cast<unsigned long>(info.f_type));
        return hex;
    }
    }
}

// --- child processes ---------------------------------------------------------

struct ChildRun
{
    bool ok = false;
    double seconds = 0;
    QByteArray out;
    QByteArray err;
};

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// A child on its way, started by QProcess. Against the posix_spawn this used
// before, on a shared two-core machine: /bin/true started 400 times each in
// turn, median 5.4-7.3 ms against 7.7-7.9 ms; the start-up benchmark whole,
// five pairs, 1.02x the wall time (0.94-1.07x), where a board's start-up is
// some 200 ms. No hand-written spawning is worth keeping for that.
struct Child
{
    std::unique_ptr<QProcess> process;
    double start = 0;
};

Child startChild(const char *program, const QStringList &arguments, bool captureOut)
{
    Child child{std::make_unique<QProcess>(), 0};
    if (!captureOut)
        child.process->setStandardOutputFile(QProcess::nullDevice());
    child.start = now();
    child.process->start(QFile::decodeName(program), arguments, QIODevice::ReadOnly);
    return child;
}

// Wall time from just before the start to the child's exit.
ChildRun finishChild(Child &child)
{
    ChildRun run;
    const bool finished = child.process->waitForFinished(-1);
    run.seconds = now() - child.start;
    run.ok = finished && child.process->exitStatus() == QProcess::NormalExit
        && child.process->exitCode() == 0;
    run.out = child.process->readAllStandardOutput();
    run.err = child.process->readAllStandardError();
    if (!finished)
        run.err += child.process->errorString().toUtf8();
    return run;
}

// Its stdout is captured only when asked for, so a timed run does no extra
// work.
ChildRun runChild(const char *program, const QString &argument, bool captureOut)
{
    Child child = startChild(program, {argument}, captureOut);
    return finishChild(child);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::map<qint64, double> startupSeconds;
std::map<qint64, double> peakKiB;

// --- benchmarks ----------------------------------------------------------------

void baseline(benchmark::State &state, qint64 records)
{
    const QString path = sourceFile(records);
    qint64 lines = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot open the booking file");
            return;
        }
        bytes = file.size();
        LineReader reader(file, 0, bytes);
        QByteArrayView line;
        lines = 0;
        while (reader.next(line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["lines"] = double(lines);
}

void replay(benchmark::State &state, qint64 records)
{
    const QString folder = sourceFolder(records);
    const DateWindow window = DateWindow::current(BenchFiles::today());
    int booked = 0;
    for (auto _ : state) {
        BookingLog log(folder, BenchFiles::roomName());
        BookingReplay replay(window);
        QString error;
        if (!log.replay(replay, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        booked = 0;
        for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
            booked += replay.slotText(slot).isEmpty() ? 0 : 1;
        benchmark::DoNotOptimize(booked);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(sourceFile(records)).size());
    state.counters["booked"] = booked;
}

std::map<qint64, double> bookingFsyncSeconds;
std::map<qint64, double> bookingTmpfsSeconds;

// One booking on a log the board has already replayed: the lock, the read of
// whatever others appended (nothing here), the append and fsync. Each size
// works on its own copy of its file. The sizes take turns write by write and
// each write is timed alone: the cost of fsync on a shared disk swings by
// whole milliseconds from one second to the next, and taking turns lets every
// size meet the same swings.
void bookings(benchmark::State &state, QTemporaryDir *root, int rounds,
              std::map<qint64, double> *results)
{
    struct Board
    {
        qint64 records;
        QString path;
        BookingLog log;
        BookingReplay replay;
        std::vector<double> seconds;
    };
    const DateWindow window = DateWindow::current(BenchFiles::today());
    const int slot = 1;
    const QString text = QStringLiteral("１-２\u3000数学");

    std::vector<std::unique_ptr<Board>> boards;
    for (qint64 records : Sizes) {
        const QString folder = root->filePath(QStringLiteral("booking-%1").arg(records));
        const QString path = QDir(folder).filePath(BenchFiles::roomName() + QStringLiteral(".dat"));
        QDir().mkpath(folder);
        QFile::remove(path);
        if (!QFile::copy(sourceFile(records), path)) {
            state.SkipWithError("cannot copy a booking file");
            return;
        }
        // The copy goes to disk now, not in the first timed fsync.
        {
            QFile copy(path);
            if (!copy.open(QIODevice::ReadWrite) || ::fsync(copy.handle()) != 0) {
                state.SkipWithError("cannot sync a copied booking file");
                return;
            }
        }
        boards.push_back(std::unique_ptr<Board>(new Board{
            records, path, BookingLog(folder, BenchFiles::roomName()), BookingReplay(window), {}}));
        QString error;
        if (!boards.back()->log.replay(boards.back()->replay, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
    }

    for (auto _ : state) {
        // Round 0 warms up and is not counted.
        for (int round = 0; round <= rounds; ++round) {
            for (const auto &board : boards) {
                // Book and clear in turn, so every write is one a teacher could make.
                const QString expected = board->replay.slotText(slot);
                QString error;
                const double start = now();
                const auto outcome = board->log.write(board->replay, slot, expected,
                                                      expected.isEmpty() ? text : QString(), &error);
                const double seconds = now() - start;
                if (outcome != BookingLog::Outcome::Written) {
                    state.SkipWithError(qPrintable(QStringLiteral("booking not written: ") + error));
                    return;
                }
                if (round > 0)
                    board->seconds.push_back(seconds);
            }
        }
    }
    for (const auto &board : boards) {
        (*results)[board->records] = median(board->seconds);
        state.counters["us_" + std::to_string(board->records)] = (*results)[board->records] * 1e6;
        QFile::remove(board->path);
    }
}

std::map<qint64, double> idleTickSeconds;
std::map<qint64, double> newRecordTickSeconds;

// What an idle board does every second: one look at its file. With nothing
// changed that is a stat; after another board appended a record, a
// catch-up that reads that record. Each size works on its own copy, the
// sizes take turns, and each look is timed alone; the appends are not timed.
void ticks(benchmark::State &state)
{
    struct Board
    {
        Board(qint64 n, const QString &folder, const DateWindow &window)
            : records(n)
            , log(folder, BenchFiles::roomName())
            , replay(window)
            , appender(QDir(folder).filePath(BenchFiles::roomName() + QStringLiteral(".dat")))
        {
        }
        qint64 records;
        BookingLog log;
        BookingReplay replay;
        QFile appender;
        std::vector<double> idle;
        std::vector<double> fresh;
    };
    const DateWindow window = DateWindow::current(BenchFiles::today());
    const QString key = SlotKey::make(window, 1);

    std::vector<std::unique_ptr<Board>> boards;
    for (qint64 records : Sizes) {
        const QString folder = folders.disk->filePath(QStringLiteral("ticks-%1").arg(records));
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(BenchFiles::roomName() + QStringLiteral(".dat"));
        QFile::remove(path);
        if (!QFile::copy(sourceFile(records), path)) {
            state.SkipWithError("cannot copy a booking file");
            return;
        }
        boards.push_back(std::make_unique<Board>(records, folder, window));
        QString error;
        if (!boards.back()->log.replay(boards.back()->replay, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        if (!boards.back()->appender.open(QIODevice::Append | QIODevice::Unbuffered)) {
            state.SkipWithError("cannot open a booking file for appending");
            return;
        }
    }

    for (auto _ : state) {
        // Round 0 warms up and is not counted.
        for (int round = 0; round <= TickRounds; ++round) {
            for (const auto &board : boards) {
                const QString text = round % 2 ? QString() : QStringLiteral("１-２\u3000数学");
                const QByteArray record = BookingRecord::format(key, text).value();
                if (board->appender.write(record) != record.size()) {
                    state.SkipWithError("cannot append to a booking file");
                    return;
                }
                QString error;
                const double start = now();
                const auto found = board->log.poll(board->replay, &error);
                const double middle = now();
                const auto again = board->log.poll(board->replay, &error);
                const double end = now();
                if (found != BookingLog::Poll::Read || again != BookingLog::Poll::Unchanged
                    || board->replay.slotText(1) != text) {
                    state.SkipWithError(qPrintable(QStringLiteral("a look missed the record ") + error));
                    return;
                }
                if (round > 0) {
                    board->fresh.push_back(middle - start);
                    board->idle.push_back(end - middle);
                }
            }
        }
    }
    for (const auto &board : boards) {
        newRecordTickSeconds[board->records] = median(board->fresh);
        idleTickSeconds[board->records] = median(board->idle);
        state.counters["new_us_" + std::to_string(board->records)] = newRecordTickSeconds[board->records] * 1e6;
        state.counters["idle_us_" + std::to_string(board->records)] = idleTickSeconds[board->records] * 1e6;
    }
}

// All files in turn within each round, so that a burst of load from
// elsewhere hits every size alike rather than one of them.
void startup(benchmark::State &state)
{
    std::map<qint64, std::vector<double>> times;
    for (auto _ : state) {
        for (int round = 0; round < StartupRounds; ++round) {
            for (qint64 records : ProbeSizes) {
                const ChildRun run = runChild(ROOMBOARD_STARTUP_PROBE, sourceFolder(records), false);
                if (!run.ok) {
                    state.SkipWithError(("start-up probe failed: " + run.err.toStdString()).c_str());
                    return;
                }
                if (round > 0)
                    times[records].push_back(run.seconds);
            }
        }
    }
    for (const auto &[records, seconds] : times) {
        startupSeconds[records] = median(seconds);
        state.counters["ms_" + std::to_string(records)] = startupSeconds[records] * 1e3;
    }
}

void peakMemory(benchmark::State &state)
{
    for (auto _ : state) {
        for (qint64 records : ProbeSizes) {
            std::vector<double> peaks;
            for (int i = 0; i < MemoryRuns; ++i) {
                const ChildRun run = runChild(ROOMBOARD_REPLAY_PROBE, sourceFolder(records), true);
                const double kib = run.out.split(' ').value(0).toDouble();
                if (!run.ok || kib <= 0) {
                    state.SkipWithError(("replay probe failed: " + run.err.toStdString()).c_str());
                    return;
                }
                peaks.push_back(kib);
            }
            peakKiB[records] = median(peaks);
            state.counters["KiB_" + std::to_string(records)] = peakKiB[records];
        }
    }
}

// --- the summary table -------------------------------------------------------------

// Keeps the time per iteration of every benchmark (the median when repeated)
// for the table, and passes everything on to the usual console output.
class Collector : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            const std::string &name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median")
                    medians[name] = run.real_accumulated_time / double(run.iterations);
            } else {
                single[name] = run.real_accumulated_time / double(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::optional<double> seconds(const std::string &name) const
    {
        if (auto it = medians.find(name); it != medians.end())
            return it->second;
        if (auto it = single.find(name); it != single.end())
            return it->second;
        return std::nullopt;
    }

private:
    std::map<std::string, double> medians;
    std::map<std::string, double> single;
};

std::string name(const char *kind, qint64 records)
{
    return std::string(kind) + "/" + std::to_string(records);
}

std::string formatTime(std::optional<double> seconds)
{
    if (!seconds)
        return "-";
    char text[32];
    if (*seconds >= 1)
        std::snprintf(text, sizeof text, "%.2f s", *seconds);
    else if (*seconds >= 1e-3)
        std::snprintf(text, sizeof text, "%.2f ms", *seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.1f µs", *seconds * 1e6);
    return text;
}

std::string formatRatio(std::optional<double> a, std::optional<double> b)
{
    if (!a || !b || *b <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f×", *a / *b);
    return text;
}

std::string formatBytes(double bytes)
{
    char text[32];
    if (bytes >= 1 << 20)
        std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1 << 20));
    else if (bytes >= 1 << 10)
        std::snprintf(text, sizeof text, "%.0f KiB", bytes / (1 << 10));
    else
        std::snprintf(text, sizeof text, "%.0f B", bytes);
    return text;
}

std::optional<double> idleCpuPercent;

template <typename Map>
std::optional<double> lookup(const Map &map, qint64 key)
{
    const auto it = map.find(key);
    return it == map.end() ? std::nullopt : std::optional<double>(it->second);
}

// Markdown, so the README can take it as it is.
void printTable(const Collector &collector)
{
    std::printf("\n| records | file | replay | baseline | replay/baseline | booking, fsync | "
                "booking, tmpfs | start-up | peak RSS | look, unchanged | look, new record | "
                "idle CPU |\n");
    std::printf("|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
    for (qint64 records : ProbeSizes) {
        const bool timed = records > 0;
        const auto replay = timed ? collector.seconds(name("replay", records)) : std::nullopt;
        const auto base = timed ? collector.seconds(name("baseline", records)) : std::nullopt;
        const auto disk = lookup(bookingFsyncSeconds, records);
        const auto shm = lookup(bookingTmpfsSeconds, records);
        const auto peak = lookup(peakKiB, records);
        char idle[32] = "-";
        if (records == IdleRecords && idleCpuPercent)
            std::snprintf(idle, sizeof idle, "%.3f %%", *idleCpuPercent);
        std::printf("| %lld | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n",
                    static_cast<long long>(records),
                    formatBytes(double(QFileInfo(sourceFile(records)).size())).c_str(),
                    formatTime(replay).c_str(), formatTime(base).c_str(),
                    formatRatio(replay, base).c_str(), formatTime(disk).c_str(),
                    formatTime(shm).c_str(), formatTime(lookup(startupSeconds, records)).c_str(),
                    peak ? formatBytes(*peak * 1024).c_str() : "-",
                    formatTime(lookup(idleTickSeconds, records)).c_str(),
                    formatTime(lookup(newRecordTickSeconds, records)).c_str(), idle);
    }
}

void printGoal(const char *what, std::optional<double> value, double limit, const char *unit)
{
    if (!value) {
        std::printf("  %-46s not measured\n", what);
        return;
    }
    std::printf("  %-46s %8.2f%s  (goal <= %.1f%s)  %s\n", what, *value, unit, limit, unit,
                *value <= limit ? "met" : "MISSED");
}

std::optional<double> ratio(std::optional<double> a, std::optional<double> b)
{
    if (!a || !b || *b <= 0)
        return std::nullopt;
    return *a / *b;
}

void printGoals(const Collector &collector)
{
    std::printf("\nGoals:\n");
    printGoal("replay / baseline at 1,000,000 records",
              ratio(collector.seconds("replay/1000000"), collector.seconds("baseline/1000000")),
              2.0, "×");
    printGoal("booking with fsync, 1,000,000 / 1,000 records",
              ratio(lookup(bookingFsyncSeconds, 1000000), lookup(bookingFsyncSeconds, 1000)),
              1.5, "×");
    printGoal("booking on tmpfs, 1,000,000 / 1,000 records",
              ratio(lookup(bookingTmpfsSeconds, 1000000), lookup(bookingTmpfsSeconds, 1000)),
              1.5, "×");
    printGoal("start-up, 100,000 records / empty file",
              ratio(lookup(startupSeconds, 100000), lookup(startupSeconds, 0)), 1.2, "×");
    const auto small = lookup(peakKiB, 1000);
    const auto large = lookup(peakKiB, 1000000);
    printGoal("peak RSS, 1,000,000 minus 1,000 records",
              small && large ? std::optional<double>((*large - *small) / 1024) : std::nullopt,
              4.0, " MiB");
    printGoal("look finding a new record, 1,000,000 / 1,000 records",
              ratio(lookup(newRecordTickSeconds, 1000000), lookup(newRecordTickSeconds, 1000)),
              1.5, "×");
    printGoal("idle board's CPU, 1,000,000 records, one minute", idleCpuPercent, 0.1, " %");
}

} // namespace

int main(int argc, char **argv)
{
    // The board is started without a display, and its replay of a file
    // must not depend on the caller's session.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    // Shuffled repetitions unless asked otherwise on the command line.
    std::vector<char *> args(argv, argv + argc);
    const bool interleavingGiven = std::any_of(args.begin(), args.end(), [](const char *arg) {
        return std::strstr(arg, "benchmark_enable_random_interleaving") != nullptr;
    });
    // The idle board is no Google benchmark, but a filter names it as one:
    // "idle", so that timing replay alone does not wait a minute for it.
    std::string filter;
    for (const char *arg : args) {
        if (std::strncmp(arg, "--benchmark_filter=", 19) == 0)
            filter = arg + 19;
    }
    const bool idleWanted = filter.empty() || std::regex_search("idle", std::regex(filter));
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (!interleavingGiven)
        args.push_back(interleave);
    args.push_back(nullptr);
    argc = int(args.size()) - 1;
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    folders.disk = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/roomboard-bench-XXXXXX"));
    if (!folders.disk->isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder in %s\n", qPrintable(QDir::tempPath()));
        return 1;
    }
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable()) {
        folders.tmpfs = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/roomboard-bench-XXXXXX"));
        if (!folders.tmpfs->isValid() || fileSystemName(folders.tmpfs->path()) != "tmpfs")
            folders.tmpfs.reset();
    }

    std::fprintf(stderr, "Generating booking files in %s (%s)...\n",
                 qPrintable(folders.disk->path()), fileSystemName(folders.disk->path()).c_str());
    for (qint64 records : ProbeSizes) {
        QDir().mkpath(sourceFolder(records));
        if (BenchFiles::write(sourceFolder(records), records) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(sourceFile(records)));
            return 1;
        }
    }

    // The idle board gets a copy of its own, so that its look at the file
    // at the end changes nothing the others read.
    Child idleBoard;
    if (idleWanted) {
        const QString idleFolder = folders.disk->filePath(QStringLiteral("idle"));
        QDir().mkpath(idleFolder);
        if (!QFile::copy(sourceFile(IdleRecords),
                         QDir(idleFolder).filePath(BenchFiles::roomName() + QStringLiteral(".dat")))) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(sourceFile(IdleRecords)));
            return 1;
        }
        idleBoard = startChild(ROOMBOARD_IDLE_PROBE, {idleFolder, QString::number(IdleSeconds)}, true);
    }

    for (qint64 records : Sizes) {
        const auto unit = records >= 100000 ? benchmark::kMillisecond : benchmark::kMicrosecond;
        benchmark::RegisterBenchmark(name("baseline", records).c_str(), baseline, records)
            ->Unit(unit)->UseRealTime()->MinTime(RepetitionSeconds)->Repetitions(Repetitions)
            ->ReportAggregatesOnly();
        benchmark::RegisterBenchmark(name("replay", records).c_str(), replay, records)
            ->Unit(unit)->UseRealTime()->MinTime(RepetitionSeconds)->Repetitions(Repetitions)
            ->ReportAggregatesOnly();
    }
    benchmark::RegisterBenchmark("booking_fsync", bookings, folders.disk.get(), BookingRoundsOnDisk,
                                 &bookingFsyncSeconds)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(1);
    if (folders.tmpfs) {
        benchmark::RegisterBenchmark("booking_tmpfs", bookings, folders.tmpfs.get(),
                                     BookingRoundsOnTmpfs, &bookingTmpfsSeconds)
            ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(1);
    }
    benchmark::RegisterBenchmark("ticks", ticks)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(1);
    benchmark::RegisterBenchmark("startup", startup)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(1);
    benchmark::RegisterBenchmark("peak_rss", peakMemory)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(1);

    Collector collector;
    collector.SetOutputStream(&std::cerr);
    collector.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    if (idleWanted) {
        std::fprintf(stderr, "Waiting for the idle board (%d s from the start)...\n", IdleSeconds);
        const ChildRun idle = finishChild(idleBoard);
        if (idle.ok && !idle.out.isEmpty())
            idleCpuPercent = idle.out.split(' ').value(0).toDouble();
        else
            std::fprintf(stderr, "idle probe failed: %s\n", idle.err.constData());
    }

    std::printf("Booking files: %s (%s)%s%s%s; the booking columns are one BookingLog::write "
                "each, fsync included (on tmpfs fsync costs next to nothing).\n",
                qPrintable(folders.disk->path()), fileSystemName(folders.disk->path()).c_str(),
                folders.tmpfs ? ", tmpfs copies in " : "",
                folders.tmpfs ? qPrintable(folders.tmpfs->path()) : "",
                folders.tmpfs ? "" : " (no tmpfs at /dev/shm: that column is empty)");
    std::printf("A look is one BookingLog::poll, as an idle board makes every second; idle CPU is "
                "the board's own CPU time over %d s beside the other benchmarks.\n", IdleSeconds);
    printTable(collector);
    printGoals(collector);
    return 0;
}
