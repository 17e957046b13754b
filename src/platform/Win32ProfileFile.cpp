// The window-placement file through the Windows profile functions (the wide ones, so a user
// folder with any name works).
#ifdef _WIN32

#include "platform/ProfileFile.h"
#include "platform/Win32Text.h"

#include <vector>
#include <windows.h>

namespace vorlu::platform {

namespace {

// Tells a missing key from an empty one; no stored value holds these characters.
constexpr const wchar_t* kMissing = L"\x01\x02\x03";

std::string utf8Path(const std::filesystem::path& file)
{
    const std::u8string text = file.u8string();
    return std::string(text.begin(), text.end());
}

bool breaksLine(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// What a line of the file cannot hold would come back as other sections or keys.
bool fitsTheFile(std::string_view section, std::string_view key, std::string_view value)
{
    return !breaksLine(section) && section.find(']') == std::string_view::npos && !breaksLine(key) && !key.empty() &&
           key.find('=') == std::string_view::npos && !breaksLine(value);
}

class Win32ProfileFile final : public ProfileFile {
public:
    explicit Win32ProfileFile(const std::filesystem::path& file) : file_(file.wstring()), fileName_(utf8Path(file)) {}

    std::optional<std::string> readString(std::string_view section, std::string_view key) const override
    {
        const auto sectionName = win32::toWide(section);
        const auto keyName = win32::toWide(key);
        if (!sectionName || !keyName)
            return std::nullopt;
        std::vector<wchar_t> buffer(256);
        for (;;) {
            const DWORD length = ::GetPrivateProfileStringW(sectionName->c_str(), keyName->c_str(), kMissing,
                                                            buffer.data(), static_cast<DWORD>(buffer.size()),
                                                            file_.c_str());
            // A value cut to fit comes back with size - 1 characters.
            if (length + 1 < buffer.size()) {
                const std::wstring_view value(buffer.data(), length);
                if (value == kMissing)
                    return std::nullopt;
                return win32::toUtf8(value);
            }
            buffer.resize(buffer.size() * 2);
        }
    }

    void writeString(std::string_view section, std::string_view key, std::string_view value) override
    {
        const auto sectionName = win32::toWide(section);
        const auto keyName = win32::toWide(key);
        const auto text = win32::toWide(value);
        if (!sectionName || !keyName || !text || !fitsTheFile(section, key, value) ||
            !::WritePrivateProfileStringW(sectionName->c_str(), keyName->c_str(), text->c_str(), file_.c_str()))
            throw ProfileWriteError(fileName_);
    }

    void flush() override
    {
        // All names null flushes the system's cache of the file; each write has already
        // reported its own failure.
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, file_.c_str());
    }

    std::string fileName() const override { return fileName_; }

private:
    std::wstring file_;
    std::string fileName_;
};

} // namespace

std::unique_ptr<ProfileFile> openProfileFile(const std::filesystem::path& file)
{
    // The profile functions read an unreadable file as an empty one and would then write over
    // it; refuse it here instead.
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        const HANDLE handle =
            (attributes & FILE_ATTRIBUTE_DIRECTORY)
                ? INVALID_HANDLE_VALUE
                : ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            throw ProfileReadError(utf8Path(file));
        ::CloseHandle(handle);
    }
    // The per-user folder may not exist yet; a folder that cannot be made shows as a failed write.
    std::error_code ignored;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ignored);
    return std::make_unique<Win32ProfileFile>(file);
}

} // namespace vorlu::platform

#endif
