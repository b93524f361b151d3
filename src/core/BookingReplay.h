#pragma once

#include "core/DateWindow.h"
#include "core/NamingMode.h"
#include "core/SlotKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <bitset>
#include <optional>
#include <vector>

// Replays booking records, in file order, onto the 70 slots of a date window
// and into the naming mode. The last record of a key decides its slot.
class BookingReplay
{
public:
    enum class Encoding { Cp932, Utf8 };

    explicit BookingReplay(const DateWindow &window, NamingMode namingMode = NamingMode::Lettered);

    // One line of the file, without its line end. Lines that are no record,
    // and records for a day the window does not show, change nothing.
    void addLine(QByteArrayView line);

    // Slot 1…70; empty means free.
    const QString &slotText(int slot) const
    {
        if (m_pending[slot] >= 0)
            settle(slot);
        return m_slots[slot];
    }
    // Every slot free again, the naming mode kept: the start of a replay.
    void clearSlots();
    // A record this board wrote itself, known without reading it back.
    void setSlotText(int slot, const QString &text);

    NamingMode namingMode() const { return m_namingMode; }
    // The board may change the mode between refreshes; records read later
    // start from its value.
    void setNamingMode(NamingMode mode) { m_namingMode = mode; }

    // How field bytes are decoded. A file someone re-saved as UTF-8 is still
    // shown as what it says.
    void setEncoding(Encoding encoding);

    // Slots whose text changed since the last call, so that a board can
    // update just those.
    std::bitset<SlotKey::SlotCount + 1> takeChangedSlots();

    // The slot a key names in this window, or 0 when it names none. Keys
    // carry no year, so a key matches its month and day in any year.
    int slotForKey(QByteArrayView key) const;
    // "mm/dd-N", the key under which a slot's records are written.
    QString keyOfSlot(int slot) const { return SlotKey::make(m_window, slot); }

private:
    // The day column of a key's leading "mm/dd", or -1.
    int columnOfMonthDay(QByteArrayView key) const;
    // A line whose key may name a slot of the window.
    Q_NEVER_INLINE void addRecord(QByteArrayView line);

    // A decoded slot text and what it does to the naming mode: the mode it
    // sets, or none when it leaves the mode as it was.
    struct Decoded
    {
        QString text;
        std::optional<NamingMode> modeAfter;
    };
    Decoded decode(QByteArrayView bytes) const;

    // Texts decoded before, by their bytes. A room's texts are a few hundred
    // combinations of class and subject repeated over the years, and the
    // converter costs far more per call than finding one of them here. Only
    // short texts are kept, and never more than a fixed number, so memory
    // does not grow with the file. An open-addressed table of its own: QHash
    // hashes with AES instructions, which some virtual machines make slow.
    static constexpr qsizetype KeptTexts = 2048;
    static constexpr qsizetype KeptBuckets = 2 * KeptTexts; // a power of two
    static constexpr qsizetype LongestKept = 64;
    // What a lookup compares, apart from what it finds, so that the table
    // searched for every record stays small enough for the nearest cache.
    struct KeptKey
    {
        quint64 head; // the first and last eight bytes, as hashed
        quint64 tail;
        qsizetype size;
    };
    struct Kept
    {
        QByteArray bytes; // all of them, compared beyond head and tail
        Decoded decoded;
    };
    qint16 keptIndex(QByteArrayView bytes);
    void forgetKept();

    // A slot replayed from a kept text only notes the text's index; the
    // QString is copied when the slot is read. Most records of a long file
    // are overwritten by later ones before anyone reads them.
    void setSlotKept(int slot, qint16 index);
    void settle(int slot) const;
    const QString &shownText(int slot) const;

    // Month 1…12 × day 1…31 to day column, -1 for days the window lacks.
    std::array<qint8, 13 * 32> m_columnOfDay;
    std::vector<KeptKey> m_keptKeys;
    std::vector<Kept> m_kept;
    std::vector<qint16> m_keptBuckets; // index into m_kept, -1 when free
    mutable std::array<QString, SlotKey::SlotCount + 1> m_slots;
    // Kept text a slot shows while m_slots does not hold it yet, or -1.
    mutable std::array<qint16, SlotKey::SlotCount + 1> m_pending;
    std::bitset<SlotKey::SlotCount + 1> m_changed;
    DateWindow m_window;
    NamingMode m_namingMode;
    Encoding m_encoding = Encoding::Cp932;
};
