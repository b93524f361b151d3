#pragma once

#include "core/SlotHistory.h"

#include <QDialog>
#include <QList>

class QPushButton;
class QTreeWidget;

// What a slot has shown over time, oldest first, and the way back from a
// clearing made by mistake. It writes nothing: the board books the text it
// is handed through the lock and re-check of any booking.
//
// Only a booking that a clearing removed can be booked again, and only while
// the slot is still free, that is while that clearing, or a later one, is the
// slot's last entry: anything else would book over a booking or revive one
// that was replaced. An entry possibly of another year is no mistake of this
// week to undo. The latest such booking is selected from the start.
class SlotHistoryDialog : public QDialog
{
    Q_OBJECT
public:
    // `slotName` says which slot, e.g. "7月30日(月) 3時間目".
    SlotHistoryDialog(const QString &slotName, const QList<SlotHistory::Entry> &entries,
                      QWidget *parent = nullptr);

    // Whether the entry at `index` may be booked again.
    static bool canRebook(const QList<SlotHistory::Entry> &entries, qsizetype index);

signals:
    // The teacher asked to book the slot again with this text.
    void rebookRequested(const QString &text);

private:
    void updateButton();
    void rebook();

    QList<SlotHistory::Entry> m_entries;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_rebook = nullptr;
};
