#include "board/SlotHistoryDialog.h"

#include "widgets/JapaneseFont.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { LineColumn, TextColumn, NoteColumn };

QString note(const SlotHistory::Entry &entry)
{
    QStringList notes;
    if (entry.isClearing())
        notes << QStringLiteral("消去");
    if (entry.possiblyAnotherYear)
        notes << QStringLiteral("別の年の記録かもしれません");
    return notes.join(QStringLiteral("、"));
}

} // namespace

SlotHistoryDialog::SlotHistoryDialog(const QString &slotName, const QList<SlotHistory::Entry> &entries,
                                     QWidget *parent)
    : QDialog(parent)
    , m_entries(entries)
{
    setObjectName(QStringLiteral("SlotHistoryDialog"));
    setWindowTitle(QStringLiteral("駒の履歴"));
    setFont(JapaneseFont::proportional(12));

    auto *heading = new QLabel(slotName, this);
    heading->setObjectName(QStringLiteral("slotName"));
    heading->setFont(JapaneseFont::proportional(15.75));

    auto *listLabel = new QLabel(QStringLiteral("予約ファイルに書かれた順（古い順）(&H):"), this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setAccessibleName(QStringLiteral("%1 の履歴").arg(slotName));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({QStringLiteral("行"), QStringLiteral("内容"), QStringLiteral("備考")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    listLabel->setBuddy(m_list);
    for (const SlotHistory::Entry &entry : m_entries) {
        auto *item = new QTreeWidgetItem(m_list, {QString::number(entry.line), entry.text, note(entry)});
        item->setTextAlignment(LineColumn, Qt::AlignRight | Qt::AlignVCenter);
    }

    auto *empty = new QLabel(QStringLiteral("この駒の記録はありません。"), this);
    empty->setObjectName(QStringLiteral("noHistory"));
    empty->setVisible(m_entries.isEmpty());

    auto *buttons = new QDialogButtonBox(this);
    m_rebook = buttons->addButton(QStringLiteral("この予約を元に戻す(&R)"), QDialogButtonBox::ActionRole);
    m_rebook->setObjectName(QStringLiteral("rebookButton"));
    m_rebook->setAutoDefault(false);
    QPushButton *close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_rebook, &QPushButton::clicked, this, &SlotHistoryDialog::rebook);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &SlotHistoryDialog::updateButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(listLabel);
    layout->addWidget(m_list);
    layout->addWidget(empty);
    layout->addWidget(buttons);
    resize(560, 360);

    // The booking to undo if there is one, else the entry the slot shows.
    qsizetype current = m_entries.size() - 1;
    for (qsizetype i = current; i >= 0; --i) {
        if (canRebook(m_entries, i)) {
            current = i;
            break;
        }
    }
    m_list->setCurrentItem(m_list->topLevelItem(int(current)));
    updateButton();
    m_list->setFocus();
}

bool SlotHistoryDialog::canRebook(const QList<SlotHistory::Entry> &entries, qsizetype index)
{
    if (index < 0 || index + 1 >= entries.size())
        return false;
    const SlotHistory::Entry &entry = entries[index];
    return !entry.isClearing() && !entry.possiblyAnotherYear && entries[index + 1].isClearing()
        && entries.back().isClearing();
}

void SlotHistoryDialog::updateButton()
{
    m_rebook->setEnabled(canRebook(m_entries, m_list->indexOfTopLevelItem(m_list->currentItem())));
}

void SlotHistoryDialog::rebook()
{
    const int index = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (!canRebook(m_entries, index))
        return;
    emit rebookRequested(m_entries[index].text);
    accept();
}
