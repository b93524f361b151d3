#include "board/Hiduke.h"

#include "widgets/AppIcon.h"
#include "board/BoardLabel.h"
#include "board/BoardLayout.h"
#include "core/BookingLog.h"
#include "core/BookingReplay.h"
#include "widgets/JapaneseFont.h"
#include "board/MessageBox.h"
#include "board/NamingModeBox.h"
#include "board/RoomNameLabel.h"
#include "board/SlotNumberLabel.h"
#include "board/SystemTitle.h"
#include "board/WrappingButton.h"
#include "classmenu/ClassMenu.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace {

const QString Instructions = QStringLiteral(
    "使用したい授業駒をクリックし、学級・教科を指定してください。"
    "すでに授業が入っている駒をクリックすると削除の確認がされます。");
const QString SlotNumbers = QStringLiteral("１　　２　　３　　４　　５　　６　　７");
const QString AfterLessons = QStringLiteral("授業後");
const QString Authorship = QStringLiteral("作成：roomboard 開発チーム");
const QString ClearQuestion = QStringLiteral("クラスを消去しますか。");
const QString ChangedElsewhere = QStringLiteral(
    "この駒は別のパソコンで変更されました。\n今の内容を確かめてから、もう一度クリックしてください。");
const QString FileBusy = QStringLiteral(
    "予約ファイルを別のパソコンが使用中です。\nしばらくしてから、もう一度クリックしてください。");
const QString ReadOnlyFile = QStringLiteral(
    "予約ファイル「%1」は別の文字コード（%2）で保存し直されています。\n"
    "予約の表示はできますが、予約や消去はできません。");
const QString Weekdays[5] = {QStringLiteral("(月)"), QStringLiteral("(火)"), QStringLiteral("(水)"),
                             QStringLiteral("(木)"), QStringLiteral("(金)")};
constexpr QChar IdeographicSpace(0x3000);

// Qt presents a plain top-level widget to screen readers as a client area
// (a "filler"); the board is announced as the window it is.
QAccessibleInterface *boardAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("Hiduke") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

Hiduke::Hiduke(BoardEnvironment environment, QWidget *parent)
    : QWidget(parent)
    , m_environment(std::move(environment))
    , m_YYMMDD(DateWindow::current(m_environment.today()))
{
    setObjectName(QStringLiteral("Hiduke"));
    static const bool accessibleAsWindow = (QAccessible::installFactory(boardAccessible), true);
    Q_UNUSED(accessibleAsWindow);
    setWindowTitle(caption());
    setWindowIcon(AppIcon::icon());

    QPalette surface = palette();
    surface.setColor(QPalette::Window, surface.color(QPalette::HighlightedText));
    setPalette(surface);
    setAutoFillBackground(true);

    buildControls();
    applyLayout();
    applyTabOrder();
    resize(BoardLayout::clientSize());
    m_PCclass[1]->setFocus();

    // A timer, not only a file-system watcher: a folder shared from another
    // computer tells nothing of what is written there.
    m_poll = new QTimer(this);
    m_poll->setInterval(m_environment.pollInterval);
    connect(m_poll, &QTimer::timeout, this, &Hiduke::pollBookingFile);
}

QString Hiduke::caption()
{
    return systemTitle() + QString(8, QLatin1Char(' ')) + QStringLiteral("Ver.20180729");
}

// Creation order is stacking order: labels first, those that must cover a
// neighbour after it, then the buttons and the check box above them all.
void Hiduke::buildControls()
{
    using L = BoardLabel;
    const auto left = Qt::AlignLeft;
    const auto centre = Qt::AlignHCenter;

    auto *label2 = new L(QStringLiteral("Label2"), QStringLiteral("／"), L::Opaque, left, this);
    label2->setFont(JapaneseFont::proportional(36));
    auto *label4 = new SlotNumberLabel(QStringLiteral("Label4"), SlotNumbers, this);
    auto *label3 = new SlotNumberLabel(QStringLiteral("Label3"), SlotNumbers, this);
    for (SlotNumberLabel *numbers : {label4, label3})
        numbers->setFont(JapaneseFont::proportional(15.75));

    m_RoomName = new RoomNameLabel(JapaneseFont::proportional(48), this);
    m_mess = new L(QStringLiteral("mess"), Instructions, L::Transparent, left, this);
    m_mess->setFont(JapaneseFont::proportional(15.75));
    m_Tuki = new L(QStringLiteral("Tuki"), QString(), L::Opaque, left, this);
    m_Tuki->setFont(JapaneseFont::fixed(18));

    for (int j = 0; j < DateWindow::ColumnCount; ++j) {
        m_Hiduke[j] = new L(QStringLiteral("Hiduke_%1").arg(j), QString(), L::Opaque, centre, this);
        m_Hiduke[j]->setFont(JapaneseFont::proportional(24));
        auto *weekday = new L(QStringLiteral("Label1_%1").arg(j), Weekdays[j % 5], L::Opaque,
                              centre, this);
        weekday->setFont(JapaneseFont::proportional(15.75));
    }

    new L(QStringLiteral("Label5"), AfterLessons, L::Opaque, left, this);
    new L(QStringLiteral("Label6"), AfterLessons, L::Opaque, left, this);
    // Shows nothing, yet keeps the mouse over its rectangle to itself.
    new L(QStringLiteral("YYMMDD_0"), QString(), L::Transparent, left, this);

    m_C = new L(QStringLiteral("C"), Authorship, L::Transparent, left, this);
    m_C->hide();

    const QFont slotFont = JapaneseFont::fixed(20.25);
    for (int p = 1; p <= SlotKey::SlotCount; ++p) {
        m_PCclass[p] = new WrappingButton(QStringLiteral("PCclass_%1").arg(p), QString(), this);
        m_PCclass[p]->setFont(slotFont);
        connect(m_PCclass[p], &QPushButton::clicked, this, [this, p] { PCclass_Click(p); });
        m_PCclass[p]->installEventFilter(this);
    }

    const QFont weekFont = JapaneseFont::proportional(18);
    m_TodayBT = new WrappingButton(QStringLiteral("TodayBT"), QStringLiteral("今週"), this);
    m_NextBT = new WrappingButton(QStringLiteral("NextBT"), QStringLiteral("次の週"), this);
    for (WrappingButton *week : {m_TodayBT, m_NextBT})
        week->setFont(weekFont);
    m_TodayBT->setAccessibleName(QStringLiteral("今週の予約を表示"));
    m_NextBT->setAccessibleName(QStringLiteral("次の週の予約を表示"));
    connect(m_TodayBT, &QPushButton::clicked, this, &Hiduke::TodayBT_Click);
    connect(m_NextBT, &QPushButton::clicked, this, &Hiduke::NextBT_Click);

    m_A = new NamingModeBox(this);
    m_A->setAccessibleName(QStringLiteral("組を番号で表す"));
}

void Hiduke::applyLayout()
{
    for (const BoardLayout::Placement &placement : BoardLayout::placements()) {
        QWidget *control = findChild<QWidget *>(placement.objectName, Qt::FindDirectChildrenOnly);
        Q_ASSERT_X(control, "Hiduke::applyLayout", qPrintable(placement.objectName));
        if (control)
            control->setGeometry(placement.rect.toPixels());
    }
}

void Hiduke::applyTabOrder()
{
    QWidget *previous = m_PCclass[1];
    for (int p = 2; p <= SlotKey::SlotCount; ++p) {
        setTabOrder(previous, m_PCclass[p]);
        previous = m_PCclass[p];
    }
    for (QWidget *next : std::initializer_list<QWidget *>{m_NextBT, m_TodayBT, m_A}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

bool Hiduke::Form_Load()
{
    m_room = m_environment.location();
    m_RoomName->setName(m_room.shownName());
    m_YYMMDD = DateWindow::current(m_environment.today());
    m_Tuki->setText(QString::number(m_YYMMDD.month()));
    return RefreshBoard();
}

void Hiduke::TodayBT_Click()
{
    Form_Load();
}

void Hiduke::NextBT_Click()
{
    m_YYMMDD = DateWindow::next(m_environment.today());
    // The month beside the slash follows the window's first Monday here too.
    m_Tuki->setText(QString::number(m_YYMMDD.month()));
    RefreshBoard();
}

bool Hiduke::RefreshBoard()
{
    for (int j = 0; j < DateWindow::ColumnCount; ++j)
        m_Hiduke[j]->setText(QString::number(m_YYMMDD.columnDate(j).day()));

    m_log.emplace(m_room);
    m_replay.emplace(m_YYMMDD, m_A->value());
    QString error;
    const bool read = m_log->replay(*m_replay, &error);
    for (int p = 1; p <= SlotKey::SlotCount; ++p) {
        showSlot(p, read ? m_replay->slotText(p) : QString());
        // Disabled rather than free-looking: the file said nothing we trust.
        m_PCclass[p]->setEnabled(read);
    }
    m_replay->takeChangedSlots();
    if (!read) {
        m_poll->stop();
        emit failed(error);
        return false;
    }
    m_poll->start();
    m_A->setValue(m_replay->namingMode());
    if (m_log->isReadOnly() && !m_toldReadOnly) {
        m_toldReadOnly = true;
        tellReadOnly();
    }
    return true;
}

// Others may have booked or cleared since the last refresh, on this board's
// file from another computer. False when the clicked slot is among those
// changes: the teacher must see the new state before deciding anything.
bool Hiduke::takeInOthersChanges(int slot)
{
    const QString seen = m_replay->slotText(slot);
    m_replay->setNamingMode(m_A->value());
    QString error;
    if (!m_log->catchUp(*m_replay, &error)) {
        MessageBox::error(this, error);
        return false;
    }
    m_A->setValue(m_replay->namingMode());
    showChangedSlots();
    if (m_replay->slotText(slot) != seen) {
        MessageBox::notice(this, ChangedElsewhere);
        return false;
    }
    return true;
}

// What other computers booked or cleared shows by itself while the board
// stands idle. Not while a dialog or message box is open: the teacher is
// deciding on what it shows, and what arrived meanwhile shows once it closes.
// A file that cannot be read now is left for the next look, without a word:
// the next click says what is wrong.
void Hiduke::pollBookingFile()
{
    if (QApplication::activeModalWidget())
        return;
    m_replay->setNamingMode(m_A->value());
    if (m_log->poll(*m_replay, nullptr) != BookingLog::Poll::Read)
        return;
    m_A->setValue(m_replay->namingMode());
    showChangedSlots();
}

void Hiduke::tellReadOnly()
{
    MessageBox::notice(this, ReadOnlyFile.arg(QDir::toNativeSeparators(m_log->path()),
                                              m_log->encodingName()));
}

void Hiduke::showChangedSlots()
{
    const auto changed = m_replay->takeChangedSlots();
    for (int p = 1; p <= SlotKey::SlotCount; ++p) {
        if (changed.test(p))
            showSlot(p, m_replay->slotText(p));
    }
}

void Hiduke::PCclass_Click(int slot)
{
    WrappingButton *button = m_PCclass[slot];

    if (!takeInOthersChanges(slot))
        return;
    if (m_log->isReadOnly()) {
        tellReadOnly();
        return;
    }
    const QString seen = m_replay->slotText(slot);

    if (!button->text().isEmpty()) {
        const int answer = MessageBox::okCancel(this, ClearQuestion);
        m_A->setValue(answer);
        if (answer == MessageBox::Ok && writeRecord(slot, seen, QString()))
            showSlot(slot, QString());
        return;
    }

    m_CL.clear();
    m_SU.clear();
    {
        ClassMenu menu(m_A->value(), this);
        menu.exec();
        m_A->setValue(menu.namingMode());
        m_CL = menu.classLabel();
        m_SU = menu.subject();
    }
    if ((m_CL + m_SU).isEmpty())
        return;
    // The button changes only once the record is safely in the file.
    if (writeRecord(slot, seen, m_CL + IdeographicSpace + m_SU))
        showSlot(slot, m_CL + m_SU, m_CL.size());
}

bool Hiduke::writeRecord(int slot, const QString &expected, const QString &text)
{
    QString error;
    m_replay->setNamingMode(m_A->value());
    const BookingLog::Outcome outcome =
        m_log->write(*m_replay, SlotKey::make(m_YYMMDD, slot), expected, text, &error);
    // Records of others read on the way show at once. The board's own record
    // is shown by the caller, and leaves the naming mode as the dialog or the
    // answer set it.
    const auto changed = m_replay->takeChangedSlots();
    for (int p = 1; p <= SlotKey::SlotCount; ++p) {
        if (changed.test(p) && !(p == slot && outcome == BookingLog::Outcome::Written))
            showSlot(p, m_replay->slotText(p));
    }
    m_A->setValue(m_replay->namingMode());
    switch (outcome) {
    case BookingLog::Outcome::Written:
        return true;
    case BookingLog::Outcome::SlotChanged:
        MessageBox::notice(this, ChangedElsewhere);
        return false;
    case BookingLog::Outcome::Busy:
        MessageBox::notice(this, FileBusy);
        return false;
    case BookingLog::Outcome::ReadOnly:
        tellReadOnly();
        return false;
    case BookingLog::Outcome::Failed:
        break;
    }
    MessageBox::error(this, error + QStringLiteral("\nこの変更は保存されていません。"));
    return false;
}

// The caption, and what a screen reader says of the slot: its day, its
// lesson and what is booked there.
void Hiduke::showSlot(int slot, const QString &caption, int breakAfter)
{
    WrappingButton *button = m_PCclass[slot];
    button->setCaption(caption, breakAfter);
    const QDate date = m_YYMMDD.columnDate(SlotKey::column(slot));
    const int position = SlotKey::position(slot);
    const QString lesson = position == SlotKey::SlotsPerDay ? QStringLiteral("授業後")
                                                            : QStringLiteral("%1時間目").arg(position);
    button->setAccessibleName(QStringLiteral("%1月%2日%3 %4 %5")
                                  .arg(date.month())
                                  .arg(date.day())
                                  .arg(Weekdays[date.dayOfWeek() - 1], lesson,
                                       caption.isEmpty() ? QStringLiteral("空き") : caption));
}

// The arrow keys move across the grid as it is drawn; Tab keeps the order
// down each day.
bool Hiduke::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto found = std::find(m_PCclass.begin() + 1, m_PCclass.end(), watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (found != m_PCclass.end() && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            return moveFocus(static_cast<int>(found - m_PCclass.begin()), key->key());
    }
    return QWidget::eventFilter(watched, event);
}

bool Hiduke::moveFocus(int slot, int key)
{
    const int columnStep = key == Qt::Key_Right ? 1 : key == Qt::Key_Left ? -1 : 0;
    const int positionStep = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
    if (columnStep == 0 && positionStep == 0)
        return false;
    // A focus moved by a key is shown, also when it stays at an edge.
    setAttribute(Qt::WA_KeyboardFocusChange);
    m_PCclass[slot]->update();
    m_PCclass[SlotKey::neighbour(slot, columnStep, positionStep)]->setFocus(Qt::TabFocusReason);
    return true;
}

void Hiduke::mouseDoubleClickEvent(QMouseEvent *event)
{
    Form_DblClick();
    event->accept();
}

void Hiduke::Form_DblClick()
{
    m_C->show();
}
