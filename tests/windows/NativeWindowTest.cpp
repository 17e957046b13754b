// The splash's caption-less style and the plain system message box, on real windows.
#include "platform/Win32Window.h"

#include "WineRegistry.h"

#include <gtest/gtest.h>
#include <thread>

namespace vorlu::platform {
namespace {

using namespace vorlu::wintest;

constexpr std::uint32_t kCaptionless = 0xFF3FFFFF;

class Window {
public:
    explicit Window(DWORD style)
        : handle_(::CreateWindowExW(0, L"STATIC", L"Vorlu", style, 100, 100, 455, 256, nullptr, nullptr, nullptr,
                                    nullptr))
    {
    }
    ~Window()
    {
        if (handle_)
            ::DestroyWindow(handle_);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    HWND get() const { return handle_; }
    NativeWindow native() const { return reinterpret_cast<NativeWindow>(handle_); }

private:
    HWND handle_;
};

SIZE windowSize(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

SIZE clientSize(HWND window)
{
    RECT rect{};
    ::GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

TEST(WindowStyle, TheCaptionBitsGoAndEveryOtherBitStays)
{
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN | WS_VISIBLE;
    Window window(style);
    ASSERT_NE(window.get(), nullptr);
    // Windows adds bits of its own (WS_CLIPSIBLINGS on a top-level window).
    const auto before = static_cast<DWORD>(::GetWindowLongA(window.get(), GWL_STYLE));
    ASSERT_EQ(before & style, style);

    const std::uint32_t masked = maskWindowStyle(window.native(), kCaptionless);

    EXPECT_EQ(masked, (before & ~WS_CAPTION));
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(window.get(), GWL_STYLE)), masked);
}

TEST(WindowStyle, AShownWindowLosesItsTitleBarAtOnce)
{
    Window window(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    ASSERT_NE(window.get(), nullptr);
    ASSERT_LT(clientSize(window.get()).cy, windowSize(window.get()).cy) << "a title bar to begin with";

    maskWindowStyle(window.native(), kCaptionless);

    EXPECT_EQ(clientSize(window.get()).cx, windowSize(window.get()).cx);
    EXPECT_EQ(clientSize(window.get()).cy, windowSize(window.get()).cy);
}

TEST(WindowStyle, ANonWindowIsAnError)
{
    try {
        maskWindowStyle(0x12345678, kCaptionless);
        FAIL() << "no error";
    } catch (const NativeWindowError& error) {
        EXPECT_STREQ(error.what(), "Impossível alterar o estilo da janela");
    }
}

// What the box on screen showed, seen from another thread, which then presses a button.
struct SeenBox {
    bool found = false;
    std::string caption;
    bool owned = true;
    bool icon = false;
    int buttons = 0;
    std::string text;
};

BOOL CALLBACK inspectChild(HWND child, LPARAM data)
{
    auto& seen = *reinterpret_cast<SeenBox*>(data);
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    const auto style = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
    if (lstrcmpiW(className, L"Button") == 0 && (style & WS_VISIBLE)) {
        ++seen.buttons;
    } else if (lstrcmpiW(className, L"Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            seen.icon = seen.icon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
        } else {
            wchar_t text[512] = {};
            const int length = ::GetWindowTextW(child, text, 512);
            if (length > 0)
                seen.text = utf8(std::wstring(text, static_cast<std::size_t>(length)));
        }
    }
    return TRUE;
}

// A shown dialog box of this process.
BOOL CALLBACK findOwnBox(HWND window, LPARAM data)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (process != ::GetCurrentProcessId() || lstrcmpW(className, L"#32770") != 0 || !::IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

// Waits for the box, looks at it and presses the button with that id.
std::thread answerBox(int button, SeenBox& seen)
{
    return std::thread([button, &seen] {
        for (int tries = 0; tries < 1000; ++tries) {
            HWND box = nullptr;
            ::EnumWindows(findOwnBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                seen.found = true;
                wchar_t caption[512] = {};
                const int length = ::GetWindowTextW(box, caption, 512);
                seen.caption = utf8(std::wstring(caption, static_cast<std::size_t>(length)));
                seen.owned = ::GetWindow(box, GW_OWNER) != nullptr;
                ::EnumChildWindows(box, inspectChild, reinterpret_cast<LPARAM>(&seen));
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
                return;
            }
            ::Sleep(10);
        }
    });
}

TEST(SystemMessageBox, TheLocationFailureBoxShowsItsTextsWithAnErrorIconAndOneButtonAndNoOwner)
{
    const std::string caption = "A conexão com o Banco de Dados não foi Estabelecida.";
    const std::string text = "Por favor verifique se o caminho foi Informado Corretamente e se a porta TCPIP 3050 "
                             "esta Liberada no Servidor.";
    SeenBox seen;
    std::thread answerer = answerBox(IDOK, seen);
    const int result = systemMessageBox(0, text, caption, MB_OK | MB_ICONERROR);
    answerer.join();

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen.caption, caption);
    EXPECT_EQ(seen.text, text);
    EXPECT_TRUE(seen.icon);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_FALSE(seen.owned);
}

TEST(SystemMessageBox, ReturnsTheButtonPressed)
{
    SeenBox seen;
    std::thread answerer = answerBox(IDNO, seen);
    const int result = systemMessageBox(0, "Excluir?", "Confirme", MB_YESNO | MB_ICONQUESTION);
    answerer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, "Confirme");
    EXPECT_EQ(result, IDNO);
    EXPECT_EQ(seen.buttons, 2);
}

} // namespace
} // namespace vorlu::platform
