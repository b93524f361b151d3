#include "classmenu/ChoiceList.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cmath>

namespace {

// Where the text of a row starts and how much room it keeps on the right.
constexpr int TextInset = 2;

class RowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // As tall as the font's pixel size: 24 at 18 points, one line in the
    // design, where the style would add margins of its own.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const qreal text = QFontMetricsF(item.font).horizontalAdvance(item.text);
        return QSize(static_cast<int>(std::ceil(text)) + 2 * TextInset,
                     QFontInfo(item.font).pixelSize());
    }

    // The style draws the row (selection, focus); the text is ours, top
    // aligned so the glyphs' em box is the row, and clipped at its edges.
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget *view = item.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);

        QPalette::ColorGroup group = QPalette::Inactive;
        if (!(item.state & QStyle::State_Enabled))
            group = QPalette::Disabled;
        else if (item.state & QStyle::State_Active)
            group = QPalette::Active;
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(group, (item.state & QStyle::State_Selected)
                                                      ? QPalette::HighlightedText
                                                      : QPalette::Text));
        painter->drawText(item.rect.adjusted(TextInset, 0, -TextInset, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        painter->restore();
    }
};

} // namespace

ChoiceList::ChoiceList(const QString &objectName, const QRect &geometry, QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(objectName);
    setGeometry(geometry);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    // A wide entry is clipped instead of growing a horizontal scroll bar
    // that would hide a row.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new RowDelegate(this));
}

void ChoiceList::setEntries(const QStringList &entries)
{
    clear();
    for (const QString &entry : entries) {
        auto *item = new QListWidgetItem(entry, this);
        if (entry.trimmed().isEmpty())
            item->setData(Qt::AccessibleTextRole, QStringLiteral("空白"));
    }
}

void ChoiceList::keyPressEvent(QKeyEvent *event)
{
    const bool upOrDown = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (upOrDown && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && count() > 0
        && selectedItems().isEmpty()) {
        setCurrentItem(currentItem() ? currentItem() : item(0), QItemSelectionModel::ClearAndSelect);
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
    // Home on the first row, where the focus left the list's cursor, moves
    // nothing and so would select nothing either.
    if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End) && selectedItems().isEmpty()
        && currentItem()) {
        setCurrentItem(currentItem(), QItemSelectionModel::ClearAndSelect);
        event->accept();
    }
}
