#pragma once

#include <functional>

namespace vorlu::controls {

// The short warning sound of a field that refuses input. Tests count beeps by installing a handler.
void beep();

using BeepHandler = std::function<void()>;
// Installs a handler in place of the system sound (an empty one: back to the system sound);
// returns the previous handler.
BeepHandler installBeepHandler(BeepHandler handler);

} // namespace vorlu::controls
