#pragma once
// Windows only: the two window operations the program asks of Windows itself, the splash's
// caption-less style and the plain system message box. No Qt here; a Qt window hands over its
// winId().
#ifdef _WIN32

#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace vorlu::platform {

// A window handle (HWND); 0 is no window.
using NativeWindow = std::uintptr_t;

class NativeWindowError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Keeps the bits of mask in the window's style (GetWindowLongA/SetWindowLongA on GWL_STYLE) and
// lets the frame follow at once, even on a window already shown. Returns the new style.
// NativeWindowError "Impossível alterar o estilo da janela" when the window does not take it.
std::uint32_t maskWindowStyle(NativeWindow window, std::uint32_t mask);

// A plain system message box (MB_ flags for buttons and icon); owner 0 for a box that no window
// owns. The text and caption are UTF-8 and shown as they are. Returns the button pressed
// (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7), 0 when no box could be shown.
int systemMessageBox(NativeWindow owner, std::string_view text, std::string_view caption, unsigned flags);

} // namespace vorlu::platform

#endif
