#pragma once

#include <QWidget>

#include <functional>

namespace vorlu::toolkit::testing {

// Runs `act` once on the next modal window that opens (a real QMessageBox, a form shown with
// ShowModal), from inside its modal wait. Call it before the code that opens the window.
// Gives up silently after timeoutMs; the caller's checks then fail.
void whenModalOpens(std::function<void(QWidget* modal)> act, int timeoutMs = 5000);

// Sends a key press and release to the focused control of `window` (or to the window itself
// when nothing in it has the focus), the road a real key takes.
void pressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace vorlu::toolkit::testing
