#include "board/Hiduke.h"

#include "board/BoardAccessible.h"
#include "board/BoardLabel.h"
#include "board/BoardLayout.h"
#include "board/BoardScreen.h"
#include "board/BoardTexts.h"
#include "board/NamingModeBox.h"
#include "board/PrintButton.h"
#include "board/RoomNameLabel.h"
#include "board/SlotGridKeys.h"
#include "board/SlotHistoryAction.h"
#include "board/SlotNumberLabel.h"
#include "board/SystemTitle.h"
#include "board/WrappingButton.h"
#include "widgets/AppIcon.h"
#include "widgets/JapaneseFont.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <optional>

namespace {

using Outcome = BoardSession::Result::Outcome;
using namespace BoardTexts;

// Controls without a font of their own keep the platform's.
template <typename Control>
Control *placed(Control *control, const Twips &where, const std::optional<QFont> &font = {})
{
    control->setGeometry(where.toPixels());
    if (font)
        control->setFont(*font);
    return control;
}

} // namespace

Hiduke::Hiduke(BoardEnvironment environment, QWidget *parent)
    : QWidget(parent)
    , m_session(environment.today, environment.location)
{
    setObjectName(QStringLiteral("Hiduke"));
    announceBoardAsWindow();
    setWindowTitle(systemTitle() + QString(8, QLatin1Char(' ')) + QStringLiteral("Ver.20180729"));
    setWindowIcon(AppIcon::icon());

    QPalette surface = palette();
    surface.setColor(QPalette::Window, surface.color(QPalette::HighlightedText));
    setPalette(surface);
    setAutoFillBackground(true);

    buildControls();
    resize(BoardLayout::clientSize());
    m_PCclass[1]->setFocus();

    // A timer, not only a file-system watcher: a folder shared from another
    // computer tells nothing of what is written there.
    m_poll = new QTimer(this);
    m_poll->setInterval(environment.pollInterval);
    connect(m_poll, &QTimer::timeout, this, &Hiduke::pollBookingFile);
}

Hiduke::~Hiduke() = default;

// Creation order is stacking order: labels first, those that must cover a
// neighbour after it, then the buttons and the check box above them all.
void Hiduke::buildControls()
{
    using L = BoardLabel;
    namespace At = BoardLayout;
    const auto left = Qt::AlignLeft, centre = Qt::AlignHCenter;
    const QFont text = JapaneseFont::proportional(15.75);
    placed(new L(QStringLiteral("Label2"), QStringLiteral("／"), L::Opaque, left, this), At::Label2,
           JapaneseFont::proportional(36));
    placed(new SlotNumberLabel(QStringLiteral("Label4"), SlotNumbers, this), At::Label4, text);
    placed(new SlotNumberLabel(QStringLiteral("Label3"), SlotNumbers, this), At::Label3, text);
    m_RoomName = placed(new RoomNameLabel(JapaneseFont::proportional(48), this), At::RoomName);
    placed(new L(QStringLiteral("mess"), Instructions, L::Transparent, left, this), At::Mess, text);
    m_Tuki = placed(new L(QStringLiteral("Tuki"), {}, L::Opaque, left, this), At::Tuki,
                    JapaneseFont::fixed(18));
    for (int j = 0; j < DateWindow::ColumnCount; ++j) {
        m_Hiduke[j] = placed(new L(QStringLiteral("Hiduke_%1").arg(j), {}, L::Opaque, centre, this),
                             At::dayNumber(j), JapaneseFont::proportional(24));
        placed(new L(QStringLiteral("Label1_%1").arg(j), BoardSession::weekdayLabel(j), L::Opaque,
                     centre, this),
               At::weekday(j), text);
    }
    placed(new L(QStringLiteral("Label5"), AfterLessons, L::Opaque, left, this), At::Label5);
    placed(new L(QStringLiteral("Label6"), AfterLessons, L::Opaque, left, this), At::Label6);
    // Shows nothing, yet keeps the mouse over its rectangle to itself.
    placed(new L(QStringLiteral("YYMMDD_0"), {}, L::Transparent, left, this), At::YYMMDD0);
    m_C = placed(new L(QStringLiteral("C"), Authorship, L::Transparent, left, this), At::C);
    m_C->hide();

    for (int p = 1; p <= SlotKey::SlotCount; ++p) {
        m_PCclass[p] = placed(new WrappingButton(QStringLiteral("PCclass_%1").arg(p), {}, this),
                              At::slot(p), JapaneseFont::fixed(20.25));
        connect(m_PCclass[p], &QPushButton::clicked, this, [this, p] { PCclass_Click(p); });
    }
    new SlotGridKeys(m_PCclass, this);
    const QFont week = JapaneseFont::proportional(18);
    m_TodayBT = placed(new WrappingButton(QStringLiteral("TodayBT"), QStringLiteral("今週"), this),
                       At::TodayBT, week);
    m_NextBT = placed(new WrappingButton(QStringLiteral("NextBT"), QStringLiteral("次の週"), this),
                      At::NextBT, week);
    m_TodayBT->setAccessibleName(QStringLiteral("今週の予約を表示"));
    m_NextBT->setAccessibleName(QStringLiteral("次の週の予約を表示"));
    connect(m_TodayBT, &QPushButton::clicked, this, [this] { showWeek(m_session.thisWeek()); });
    connect(m_NextBT, &QPushButton::clicked, this, [this] { showWeek(m_session.nextWeek()); });

    m_A = placed(new NamingModeBox(this), At::A);
    m_A->setAccessibleName(QStringLiteral("組を番号で表す"));
    connect(m_A, &QCheckBox::clicked, this, [this] { m_screen->showOutcome(m_session.toggleNamingMode()); });
    m_screen = std::make_unique<BoardScreen>(this, m_PCclass, m_A);
    new SlotHistoryAction(m_PCclass, m_session, m_screen->view(), this);
    auto *print = placed(new PrintButton(m_session, this), At::PrintBT, JapaneseFont::proportional(12));
    // The focus goes down each day, then to the week buttons, A and printing.
    const QWidgetList order = QWidgetList(m_PCclass.begin() + 1, m_PCclass.end())
                              << m_NextBT << m_TodayBT << m_A << print;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

bool Hiduke::Form_Load()
{
    return showWeek(m_session.load());
}

bool Hiduke::showWeek(const BoardSession::Result &result)
{
    m_RoomName->setName(m_session.room().shownName());
    // The month beside the slash follows the window's first Monday, next week too.
    m_Tuki->setText(m_session.month());
    for (int j = 0; j < DateWindow::ColumnCount; ++j)
        m_Hiduke[j]->setText(m_session.dayNumber(j));
    // Disabled rather than free-looking: the file said nothing we trust.
    for (int p = 1; p <= SlotKey::SlotCount; ++p)
        m_PCclass[p]->setEnabled(m_session.isUsable());
    m_screen->showOutcome(result);
    if (result.outcome == Outcome::Unreadable) {
        m_poll->stop();
        emit failed(result.message);
        return false;
    }
    m_poll->start();
    return true;
}

// What other computers booked or cleared shows by itself while the board
// stands idle. Not while a dialog or message box is open: the teacher is
// deciding on what it shows, and what arrived meanwhile shows once it closes.
void Hiduke::pollBookingFile()
{
    if (!QApplication::activeModalWidget())
        m_screen->showOutcome(m_session.poll());
}

void Hiduke::PCclass_Click(int slot)
{
    m_session.click(slot, m_screen->view());
}

// Form_DblClick: only the window's own surface raises it, not a control.
void Hiduke::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_C->show();
    event->accept();
}
