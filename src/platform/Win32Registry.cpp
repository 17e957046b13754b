// The Windows registry through the ANSI registry functions.
#ifdef _WIN32

#include "platform/Registry.h"

#include <windows.h>

namespace vorlu::platform {

namespace {

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { ::RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    std::optional<RegistryValue> readValue(std::string_view valueName) const override
    {
        const std::string name(valueName);
        std::vector<std::uint8_t> data(256);
        for (;;) {
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            const LONG result = ::RegQueryValueExA(key_, name.c_str(), nullptr, &type, data.data(), &size);
            if (result == ERROR_MORE_DATA) {
                data.resize(size);
                continue;
            }
            if (result != ERROR_SUCCESS)
                return std::nullopt;
            data.resize(size);
            return RegistryValue{static_cast<RegistryType>(type), std::move(data)};
        }
    }

    void writeString(std::string_view valueName, std::string_view text) override
    {
        const std::string name(valueName);
        const std::string data(text);
        // The size counts the terminating zero.
        if (::RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
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
        const HKEY rootKey = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        const REGSAM desired = access == RegistryAccess::Full ? KEY_ALL_ACCESS : KEY_READ;
        std::string relative(path);
        if (!relative.empty() && relative.front() == '\\')
            relative.erase(0, 1);
        HKEY key = nullptr;
        const LONG result =
            create ? ::RegCreateKeyExA(rootKey, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, desired,
                                       nullptr, &key, nullptr)
                   : ::RegOpenKeyExA(rootKey, relative.c_str(), 0, desired, &key);
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
