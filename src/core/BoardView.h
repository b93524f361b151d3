#pragma once

#include "core/BoardSession.h"
#include "core/NamingMode.h"

#include <QString>

// What the session needs of the window while it runs a click: to show what
// changed, before the teacher is asked and after, and the two questions a
// click can ask. Tests answer them without a widget.
class BoardView
{
public:
    // The class dialog's answer; its mode counts however it closed.
    struct ClassAnswer
    {
        NamingMode mode = NamingMode::Lettered;
        QString classLabel{};
        QString subject{};
    };

    virtual ~BoardView() = default;

    // Repaints the changed slots and the naming mode, then shows the message.
    virtual void show(const BoardSession::Result &result) = 0;
    virtual ClassAnswer askClass(NamingMode mode) = 0;
    // True when the teacher confirms the clearing of the slot clicked.
    virtual bool confirmClearing() = 0;
};
