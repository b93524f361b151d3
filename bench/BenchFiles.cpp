#include "BenchFiles.h"

#include "core/Cp932.h"
#include "core/DateWindow.h"
#include "core/NamingMode.h"
#include "core/ClassLabel.h"
#include "core/ClassLists.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <vector>

#include <unistd.h>

namespace {

// A fixed, portable sequence: the files must not change with the standard
// library's choice of distribution algorithms.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }

private:
    quint64 m_state;
};

// Weekdays outside the long holidays of a Japanese school year.
bool isSchoolDay(QDate d)
{
    if (d.dayOfWeek() > 5)
        return false;
    const int md = d.month() * 100 + d.day();
    const bool summer = md >= 721 && md <= 831;
    const bool winter = md >= 1225 || md <= 107;
    const bool spring = md >= 325 && md <= 406;
    return !(summer || winter || spring);
}

QByteArray monthDay(QDate d)
{
    return QByteArray::number(d.month()).rightJustified(2, '0') + '/'
        + QByteArray::number(d.day()).rightJustified(2, '0');
}

// Every text the dialog can produce from the usual entries, encoded once:
// label (grade and class squeezed to three characters) U+3000 subject.
std::vector<QByteArray> bookingTexts(NamingMode namingMode)
{
    QStringList grades = ClassLists::gradeEntries();
    grades.removeAll(QString());
    QStringList classes = ClassLists::classEntries(namingMode).mid(1, 9);
    QStringList subjects = ClassLists::subjectEntries();
    subjects.removeAll(QString());

    std::vector<QByteArray> texts;
    // Grades 1…3 are most of a timetable; ＪＫ and その他 come up now and then.
    for (const QString &grade : grades) {
        const int weight = grade.endsWith(u'年') ? 8 : 1;
        for (const QString &cls : classes.mid(0, 6))
            for (const QString &subject : subjects) {
                const QString text = ClassLabel::compose(namingMode, grade, cls)
                    + QChar(0x3000) + subject;
                const QByteArray bytes = Cp932::encode(text).value();
                for (int i = 0; i < weight; ++i)
                    texts.push_back(bytes);
            }
    }
    return texts;
}

} // namespace

namespace BenchFiles {

qint64 write(const QString &folder, qint64 records)
{
    const DateWindow window = DateWindow::current(today());
    QSet<QByteArray> shown;
    for (int column = 0; column < DateWindow::ColumnCount; ++column)
        shown.insert(monthDay(window.columnDate(column)));

    // Twenty years of school days up to the second week the board shows,
    // split by whether their month and day fall on a shown column.
    std::vector<QByteArray> onShownDay;
    std::vector<QByteArray> otherDay;
    const QDate last = window.columnDate(DateWindow::ColumnCount - 1);
    for (QDate d = last.addYears(-20); d <= last; d = d.addDays(1)) {
        if (!isSchoolDay(d))
            continue;
        QByteArray md = monthDay(d);
        (shown.contains(md) ? onShownDay : otherDay).push_back(std::move(md));
    }

    const std::vector<QByteArray> lettered = bookingTexts(NamingMode::Lettered);
    const std::vector<QByteArray> numbered = bookingTexts(NamingMode::Numbered);

    QFile file(QDir(folder).filePath(roomName() + QStringLiteral(".dat")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return -1;

    Random random(0x726F6F6D626F6172ULL + quint64(records));
    QByteArray buffer;
    buffer.reserve(1 << 20);
    for (qint64 i = 0; i < records; ++i) {
        // File order is time order: record i falls at i/records of the span.
        const double when = (double(i) + 0.5) / double(records);
        const auto &days = random.below(10) == 0 ? onShownDay : otherDay;
        const QByteArray &day = days[qMin(days.size() - 1, size_t(when * double(days.size())))];
        // The school switched from lettered to numbered classes halfway.
        const auto &texts = when < 0.5 ? lettered : numbered;

        buffer += '"';
        buffer += day;
        buffer += '-';
        buffer += char('0' + random.below(7));
        buffer += "\",\"";
        if (random.below(6) != 0)
            buffer += texts[size_t(random.below(int(texts.size())))];
        buffer += "\"\r\n";
        if (buffer.size() >= (1 << 20) - 64) {
            if (file.write(buffer) != buffer.size())
                return -1;
            buffer.clear();
        }
    }
    // On disk before anything is timed: otherwise the first fsync of a
    // booking may be the one that writes out the whole generated file.
    if (file.write(buffer) != buffer.size() || !file.flush() || ::fsync(file.handle()) != 0)
        return -1;
    return file.size();
}

} // namespace BenchFiles
