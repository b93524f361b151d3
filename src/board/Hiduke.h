#pragma once

#include "core/BookingLog.h"
#include "core/BookingReplay.h"
#include "core/DateWindow.h"
#include "core/RoomLocation.h"
#include "core/SlotKey.h"

#include <QDate>
#include <QString>
#include <QWidget>
#include <array>
#include <chrono>
#include <functional>
#include <optional>

class BoardLabel;
class NamingModeBox;
class QPushButton;
class QTimer;
class RoomNameLabel;
class WrappingButton;

// What the board takes from the world outside, so that tests can give it a
// fixed date and a folder of their own.
struct BoardEnvironment
{
    std::function<QDate()> today;
    std::function<RoomLocation()> location;
    // How often an idle board looks whether other computers changed its file.
    std::chrono::milliseconds pollInterval{1000};
};

// The booking board of one room: the slots of this school week and the next.
class Hiduke : public QWidget
{
    Q_OBJECT
public:
    explicit Hiduke(BoardEnvironment environment, QWidget *parent = nullptr);

    // Reads the room and today's date and shows the current week. False when
    // the booking file cannot be used; failed() has then been emitted.
    bool Form_Load();

    static QString caption();

signals:
    // The booking file cannot be read: the board cannot go on without
    // showing slots as free that may not be.
    void failed(const QString &message);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void applyLayout();
    void applyTabOrder();

    void TodayBT_Click();
    void NextBT_Click();
    void PCclass_Click(int slot);
    void Form_DblClick();
    bool RefreshBoard();
    bool takeInOthersChanges(int slot);
    void pollBookingFile();
    bool writeRecord(int slot, const QString &expected, const QString &text);
    void showChangedSlots();
    void tellReadOnly();
    void showSlot(int slot, const QString &caption, int breakAfter = -1);
    bool moveFocus(int slot, int key);

    BoardEnvironment m_environment;

    // The twelve dates of the window, Monday to the second Friday.
    DateWindow m_YYMMDD;
    // Its name byte for byte; the heading may show it otherwise.
    RoomLocation m_room;
    QString m_CL;
    QString m_SU;

    // The file and its replay for the window shown, kept between refreshes
    // so that a click reads only what others appended since.
    std::optional<BookingLog> m_log;
    std::optional<BookingReplay> m_replay;
    bool m_toldReadOnly = false;
    QTimer *m_poll = nullptr;

    RoomNameLabel *m_RoomName = nullptr;
    BoardLabel *m_mess = nullptr;
    BoardLabel *m_Tuki = nullptr;
    BoardLabel *m_C = nullptr;
    std::array<BoardLabel *, DateWindow::ColumnCount> m_Hiduke{};
    std::array<WrappingButton *, SlotKey::SlotCount + 1> m_PCclass{};
    WrappingButton *m_TodayBT = nullptr;
    WrappingButton *m_NextBT = nullptr;
    NamingModeBox *m_A = nullptr;
};
