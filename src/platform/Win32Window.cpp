// The splash's window style and the plain message box, over user32.
#ifdef _WIN32

#include "platform/Win32Window.h"
#include "platform/Win32Text.h"

#include <windows.h>

namespace vorlu::platform {

std::uint32_t maskWindowStyle(NativeWindow window, std::uint32_t mask)
{
    const HWND handle = reinterpret_cast<HWND>(window);
    // 0 is both a style and the failure answer; only the error code tells them apart.
    ::SetLastError(ERROR_SUCCESS);
    const auto style = static_cast<std::uint32_t>(::GetWindowLongA(handle, GWL_STYLE));
    if (style == 0 && ::GetLastError() != ERROR_SUCCESS)
        throw NativeWindowError("Impossível alterar o estilo da janela");
    const std::uint32_t masked = style & mask;
    ::SetLastError(ERROR_SUCCESS);
    if (::SetWindowLongA(handle, GWL_STYLE, static_cast<LONG>(masked)) == 0 && ::GetLastError() != ERROR_SUCCESS)
        throw NativeWindowError("Impossível alterar o estilo da janela");
    // The frame is worked out again only when asked; without this a shown window keeps its
    // title bar until it is resized.
    ::SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return static_cast<std::uint32_t>(::GetWindowLongA(handle, GWL_STYLE));
}

int systemMessageBox(NativeWindow owner, std::string_view text, std::string_view caption, unsigned flags)
{
    // MessageBoxA would pass the UTF-8 bytes through the code page ("Ã£" for "ã").
    const auto wideText = win32::toWide(text);
    const auto wideCaption = win32::toWide(caption);
    if (!wideText || !wideCaption)
        return 0;
    return ::MessageBoxW(reinterpret_cast<HWND>(owner), wideText->c_str(), wideCaption->c_str(), flags);
}

} // namespace vorlu::platform

#endif
