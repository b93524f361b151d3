#pragma once

#include "core/BoardSession.h"
#include "core/NamingMode.h"

#include <QString>
#include <functional>

// What the session needs of the window while it runs a click: to show what
// changed, before the teacher is asked and after, and the two questions a
// click can ask. Tests answer them without a widget. Plain callables rather
// than virtuals keep the core from depending on whoever answers.
struct BoardView
{
    // The class dialog's answer; its mode counts however it closed.
    struct ClassAnswer
    {
        NamingMode mode = NamingMode::Lettered;
        QString classLabel{};
        QString subject{};
    };

    // Repaints the changed slots and the naming mode, then shows the message.
    std::function<void(const BoardSession::Result &)> repaint;
    std::function<ClassAnswer(NamingMode)> askClass;
    // True when the teacher confirms the clearing of the slot clicked.
    std::function<bool()> askToClear;
};
