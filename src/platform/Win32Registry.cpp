// The Windows registry through the wide registry functions. Text values cross as UTF-16 and are
// held here in UTF-8 with their terminating zero, the layout the file store uses.
#ifdef _WIN32

#include "platform/Registry.h"
#include "platform/Win32Text.h"

#include <windows.h>

namespace vorlu::platform {

namespace {

bool isTextType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// "SOFTWARE\\Vorlu\\Vorlu10" with one optional leading backslash; an empty name between two
// backslashes or at the end makes the path malformed.
std::optional<std::wstring> keyPath(std::string_view path)
{
    if (path.starts_with('\\'))
        path.remove_prefix(1);
    if (!path.empty() && (path.ends_with('\\') || path.find("\\\\") != std::string_view::npos))
        return std::nullopt;
    return win32::toWide(path);
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { ::RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    std::optional<RegistryValue> readValue(std::string_view valueName) const override
    {
        const auto name = win32::toWide(valueName);
        if (!name)
            return std::nullopt; // no value can have that name
        std::vector<std::uint8_t> data(256);
        for (;;) {
            DWORD type = REG_NONE;
            DWORD size = static_cast<DWORD>(data.size());
            const LONG result = ::RegQueryValueExW(key_, name->c_str(), nullptr, &type, data.data(), &size);
            if (result == ERROR_MORE_DATA) {
                // The value may grow again between the two calls; the loop asks once more.
                data.resize(size);
                continue;
            }
            if (result != ERROR_SUCCESS)
                return std::nullopt;
            data.resize(size);
            if (isTextType(type)) {
                const std::string text = win32::bytesToUtf8(data);
                data.assign(text.begin(), text.end());
            }
            return RegistryValue{static_cast<RegistryType>(type), std::move(data)};
        }
    }

    void writeString(std::string_view valueName, std::string_view text) override
    {
        const auto name = win32::toWide(valueName);
        const auto data = win32::toWide(text);
        if (!name || !data)
            throw RegistryWriteError(valueName);
        // The size counts the terminating zero.
        const auto size = static_cast<DWORD>((data->size() + 1) * sizeof(wchar_t));
        if (::RegSetValueExW(key_, name->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data->c_str()), size) !=
            ERROR_SUCCESS)
            throw RegistryWriteError(valueName);
    }

private:
    HKEY key_;
};

class Win32Registry final : public Registry {
public:
    std::unique_ptr<RegistryKey> openKey(RegistryRoot root, std::string_view path, RegistryAccess access,
                                         bool create) override
    {
        const auto relative = keyPath(path);
        if (!relative)
            return nullptr;
        const HKEY rootKey = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        const REGSAM desired = access == RegistryAccess::Full ? KEY_ALL_ACCESS : KEY_READ;
        HKEY key = nullptr;
        const LONG result =
            create ? ::RegCreateKeyExW(rootKey, relative->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, desired,
                                       nullptr, &key, nullptr)
                   : ::RegOpenKeyExW(rootKey, relative->c_str(), 0, desired, &key);
        if (result != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<Win32RegistryKey>(key);
    }
};

} // namespace

std::unique_ptr<Registry> systemRegistry()
{
    return std::make_unique<Win32Registry>();
}

} // namespace vorlu::platform

#endif
