#include "board/SlotHistoryDialog.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

class TestSlotHistoryDialog : public QObject
{
    Q_OBJECT
private slots:
    // Entries oldest first, "" a clearing, "?" ending another year's; the row
    // selected on opening, and what the button then books, if anything.
    void rebook_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("booked");
        QTest::newRow("cleared, still free") << QStringList{"a", ""} << 0 << "a";
        QTest::newRow("the latest of two cleared") << QStringList{"a", "", "b", ""} << 2 << "b";
        QTest::newRow("booked again since") << QStringList{"a", "", "b"} << 2 << "";
        QTest::newRow("never cleared") << QStringList{"a"} << 0 << "";
        QTest::newRow("cleared in another year") << QStringList{"a?", ""} << 1 << "";
        QTest::newRow("no history") << QStringList{} << -1 << "";
    }

    void rebook()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, selected);
        QFETCH(QString, booked);
        QList<SlotHistory::Entry> entries;
        for (const QString &text : texts)
            entries.append({entries.size() + 1, text.chopped(text.endsWith('?')), text.endsWith('?')});
        SlotHistoryDialog dialog("7月30日(月) 3時間目", entries);
        QCOMPARE(dialog.findChild<QTreeWidget *>("historyList")->currentIndex().row(), selected);
        QSignalSpy spy(&dialog, &SlotHistoryDialog::rebookRequested);
        dialog.findChild<QPushButton *>("rebookButton")->click(); // does nothing while disabled
        QCOMPARE(spy.size() == 1 ? spy.at(0).at(0).toString() : QString(), booked);
        QCOMPARE(dialog.result(), booked.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
    }
};

QTEST_MAIN(TestSlotHistoryDialog)
#include "tst_slothistorydialog.moc"
