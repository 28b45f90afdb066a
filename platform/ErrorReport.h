#pragma once
// The standard error report: an error that escapes an event handler or a screen's creation step
// ends that step where it happened and is shown in the error box (its text, the application
// title, an error icon, OK); the program then goes on.
#include <QObject>
#include <functional>

// Runs `step`; an AppError or other exception escaping it is shown in the error box.
// Returns false when the step ended with an error.
bool runGuarded(const std::function<void()> &step);

// Connects `signal` of `sender` to the handler `handler` of `screen`, run guarded.
template <typename Sender, typename Signal, typename Screen>
void connectHandler(Sender *sender, Signal signal, Screen *screen, void (Screen::*handler)())
{
    QObject::connect(sender, signal, screen, [screen, handler] {
        runGuarded([screen, handler] { (screen->*handler)(); });
    });
}
