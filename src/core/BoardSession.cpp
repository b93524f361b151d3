#include "core/BoardSession.h"

#include "core/BoardView.h"

#include <QDir>

namespace {

using Outcome = BoardSession::Result::Outcome;

const QString ChangedElsewhere = QStringLiteral(
    "この駒は別のパソコンで変更されました。\n今の内容を確かめてから、もう一度クリックしてください。");
const QString FileBusy = QStringLiteral(
    "予約ファイルを別のパソコンが使用中です。\nしばらくしてから、もう一度クリックしてください。");
const QString ReadOnlyFile = QStringLiteral(
    "予約ファイル「%1」は別の文字コード（%2）で保存し直されています。\n"
    "予約の表示はできますが、予約や消去はできません。");
const QString NotSaved = QStringLiteral("\nこの変更は保存されていません。");
const QString Weekdays[5] = {QStringLiteral("(月)"), QStringLiteral("(火)"), QStringLiteral("(水)"),
                             QStringLiteral("(木)"), QStringLiteral("(金)")};
constexpr QChar IdeographicSpace(0x3000);

} // namespace

BoardSession::BoardSession(std::function<QDate()> today, std::function<RoomLocation()> location)
    : m_today(std::move(today))
    , m_location(std::move(location))
    , m_window(DateWindow::current(m_today()))
    , m_replay(m_window)
{
}

BoardSession::Result BoardSession::load()
{
    m_room = m_location();
    m_window = DateWindow::current(m_today());
    return refresh();
}

BoardSession::Result BoardSession::nextWeek()
{
    m_window = DateWindow::next(m_today());
    return refresh();
}

// Every slot starts free and the whole file is replayed; the naming mode
// goes on from where it stood.
BoardSession::Result BoardSession::refresh()
{
    m_log.emplace(m_room);
    m_replay = BookingReplay(m_window, m_replay.namingMode());
    m_joinedAt.fill(-1);
    QString error;
    m_usable = m_log->replay(m_replay, &error);
    m_replay.takeChangedSlots();
    Result result{Outcome::Done, {}, {}, namingMode()};
    for (int p = 1; p <= SlotKey::SlotCount; ++p)
        result.changedSlots << shown(p);
    if (!m_usable) {
        result.outcome = Outcome::Unreadable;
        result.message = error;
    } else if (m_log->isReadOnly() && !m_toldReadOnly) {
        // Once: every click on such a file says it again.
        m_toldReadOnly = true;
        result.outcome = Outcome::Notice;
        result.message = readOnlyMessage();
    }
    return result;
}

// A file that cannot be read now is left for the next look, without a word:
// the next click says what is wrong.
BoardSession::Result BoardSession::poll()
{
    if (m_usable)
        m_log->poll(m_replay, nullptr);
    return finish();
}

// The teacher decides on what the slot shows: if others changed it since,
// the new state must be seen first.
BoardSession::Result BoardSession::look(int slot)
{
    const QString seen = m_replay.slotText(slot);
    QString error;
    if (!m_log->catchUp(m_replay, &error))
        return finish(Outcome::Error, error);
    if (m_replay.slotText(slot) != seen)
        return finish(Outcome::Notice, ChangedElsewhere);
    if (m_log->isReadOnly())
        return finish(Outcome::Notice, readOnlyMessage());
    return finish(seen.isEmpty() ? Outcome::AskClass : Outcome::AskClearing);
}

// The slots are shown as they stand before the teacher is asked, so that the
// answer is given on what is current.
void BoardSession::click(int slot, const BoardView &view)
{
    Result result = look(slot);
    view.repaint(result);
    if (result.outcome == Outcome::AskClearing) {
        const bool confirmed = view.askToClear();
        m_replay.setNamingMode(namingModeAfterClearQuestion(confirmed));
        result = confirmed ? write(slot, m_replay.slotText(slot), QString()) : finish();
    } else if (result.outcome == Outcome::AskClass) {
        const BoardView::ClassAnswer answer = view.askClass(namingMode());
        result = book(slot, answer.mode, answer.classLabel, answer.subject);
    } else {
        return;
    }
    view.repaint(result);
}

BoardSession::Result BoardSession::book(int slot, NamingMode modeAfterDialog,
                                        const QString &classLabel, const QString &subject)
{
    m_replay.setNamingMode(modeAfterDialog);
    if (classLabel.isEmpty() && subject.isEmpty())
        return finish();
    Result result = write(slot, m_replay.slotText(slot), classLabel + IdeographicSpace + subject);
    if (result.outcome == Outcome::Done) {
        m_joinedAt[slot] = int(classLabel.size());
        for (ShownSlot &changed : result.changedSlots) {
            if (changed.slot == slot)
                changed = shown(slot);
        }
    }
    return result;
}

// The history the teacher chose from ended in a clearing: whatever was
// booked there since is not booked over, whether the board shows it yet or not.
BoardSession::Result BoardSession::rebook(int slot, const QString &text)
{
    return write(slot, QString(), text);
}

std::optional<QList<SlotHistory::Entry>> BoardSession::history(int slot, QString *error) const
{
    return SlotHistory::read(m_room, SlotKey::make(m_window, slot), error);
}

BoardSession::Result BoardSession::toggleNamingMode()
{
    m_replay.setNamingMode(toggledByCheckBox(m_replay.namingMode()));
    return finish();
}

// The slot must still show what the teacher decided on. Others' records read
// on the way show too and may set the naming mode; the board's own record
// leaves it as the dialog or the answer set it.
BoardSession::Result BoardSession::write(int slot, QString expected, const QString &text)
{
    QString error;
    switch (m_log->write(m_replay, slot, expected, text, &error)) {
    case BookingLog::Outcome::Written:
        return finish();
    case BookingLog::Outcome::SlotChanged:
        return finish(Outcome::Notice, ChangedElsewhere);
    case BookingLog::Outcome::Busy:
        return finish(Outcome::Notice, FileBusy);
    case BookingLog::Outcome::ReadOnly:
        return finish(Outcome::Notice, readOnlyMessage());
    case BookingLog::Outcome::Failed:
        break;
    }
    return finish(Outcome::Error, error + NotSaved);
}

BoardSession::Result BoardSession::finish(Outcome outcome, const QString &message)
{
    Result result{outcome, message, {}, namingMode()};
    const auto changed = m_replay.takeChangedSlots();
    for (int p = 1; p <= SlotKey::SlotCount; ++p) {
        if (changed.test(p)) {
            m_joinedAt[p] = -1;
            result.changedSlots << shown(p);
        }
    }
    return result;
}

BoardSession::Caption BoardSession::caption(int slot) const
{
    const int joinedAt = m_joinedAt[slot];
    if (joinedAt < 0)
        return {m_replay.slotText(slot)};
    return {QString(m_replay.slotText(slot)).remove(joinedAt, 1), joinedAt};
}

BoardSession::ShownSlot BoardSession::shown(int slot) const
{
    return {slot, caption(slot), spokenSlot(slot)};
}

QString BoardSession::slotName(int slot) const
{
    const QDate date = m_window.columnDate(SlotKey::column(slot));
    const int position = SlotKey::position(slot);
    const QString lesson = position == SlotKey::SlotsPerDay ? QStringLiteral("授業後")
                                                            : QStringLiteral("%1時間目").arg(position);
    return QStringLiteral("%1月%2日%3 %4")
        .arg(date.month())
        .arg(date.day())
        .arg(Weekdays[date.dayOfWeek() - 1], lesson);
}

QString BoardSession::spokenSlot(int slot) const
{
    const QString text = caption(slot).text;
    return slotName(slot) + QLatin1Char(' ') + (text.isEmpty() ? QStringLiteral("空き") : text);
}

QString BoardSession::dayNumber(int column) const
{
    return QString::number(m_window.columnDate(column).day());
}

QString BoardSession::weekdayLabel(int column)
{
    return Weekdays[column % 5];
}

QString BoardSession::readOnlyMessage() const
{
    return ReadOnlyFile.arg(QDir::toNativeSeparators(m_log->path()), m_log->encodingName());
}
