#pragma once

#include "core/BoardSession.h"
#include "core/DateWindow.h"
#include "core/RoomLocation.h"
#include "core/SlotKey.h"

#include <QDate>
#include <QString>
#include <QWidget>
#include <array>
#include <chrono>
#include <functional>
#include <memory>

class BoardLabel;
class BoardScreen;
class NamingModeBox;
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

// The booking board of one room, the slots of this school week and the next,
// as a window: what it shows and asks, the rules being the session's.
class Hiduke : public QWidget
{
    Q_OBJECT
public:
    explicit Hiduke(BoardEnvironment environment, QWidget *parent = nullptr);
    ~Hiduke() override;

    // Reads the room and today's date and shows the current week. False when
    // the booking file cannot be used; failed() has then been emitted.
    bool Form_Load();

signals:
    // The booking file cannot be read: the board cannot go on without
    // showing slots as free that may not be.
    void failed(const QString &message);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void buildControls();

    void PCclass_Click(int slot);
    bool showWeek(const BoardSession::Result &result);
    void pollBookingFile();

    BoardSession m_session;
    std::unique_ptr<BoardScreen> m_screen;
    QTimer *m_poll = nullptr;

    RoomNameLabel *m_RoomName = nullptr;
    BoardLabel *m_Tuki = nullptr;
    BoardLabel *m_C = nullptr;
    std::array<BoardLabel *, DateWindow::ColumnCount> m_Hiduke{};
    std::array<WrappingButton *, SlotKey::SlotCount + 1> m_PCclass{};
    WrappingButton *m_TodayBT = nullptr;
    WrappingButton *m_NextBT = nullptr;
    NamingModeBox *m_A = nullptr;
};
