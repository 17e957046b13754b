#include "WineRegistry.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vorlu::wintest {

namespace {

void check(LONG result, const char* what)
{
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed: " + std::to_string(result));
}

class Key {
public:
    Key(HKEY root, const std::wstring& path, bool create)
    {
        const LONG result = create ? ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                       &key_, nullptr)
                                   : ::RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &key_);
        if (result != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~Key()
    {
        if (key_)
            ::RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

std::wstring wide(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

std::string utf8(const std::wstring& text)
{
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr,
                          nullptr);
    return out;
}

bool keyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void deleteTree(HKEY root, const std::wstring& path)
{
    const LONG result = ::RegDeleteTreeW(root, path.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        check(result, "RegDeleteTreeW");
    ::RegDeleteKeyW(root, path.c_str());
}

void setRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
            const std::vector<std::uint8_t>& data)
{
    Key key(root, path, true);
    if (!key.get())
        throw std::runtime_error("RegCreateKeyExW failed");
    check(::RegSetValueExW(key.get(), name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                           static_cast<DWORD>(data.size())),
          "RegSetValueExW");
}

void setString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text, DWORD type)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
    setRaw(root, path, name, type, std::vector<std::uint8_t>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t)));
}

void setDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD number)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&number);
    setRaw(root, path, name, REG_DWORD, std::vector<std::uint8_t>(bytes, bytes + sizeof number));
}

void deleteValue(HKEY root, const std::wstring& path, const std::wstring& name)
{
    Key key(root, path, false);
    if (key.get())
        ::RegDeleteValueW(key.get(), name.c_str());
}

std::optional<RawValue> queryWide(HKEY root, const std::wstring& path, const std::wstring& name)
{
    Key key(root, path, false);
    if (!key.get())
        return std::nullopt;
    RawValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    check(::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size),
          "RegQueryValueExW");
    value.data.resize(size);
    return value;
}

std::optional<RawValue> queryAnsi(HKEY root, const std::string& path, const std::string& name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue value;
    DWORD size = 0;
    LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        value.data.resize(size);
        result = ::RegQueryValueExA(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
        value.data.resize(size);
    }
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

KeySnapshot::KeySnapshot(HKEY root, std::wstring path) : root_(root), path_(std::move(path))
{
    Key key(root_, path_, false);
    existed_ = key.get() != nullptr;
    if (!existed_)
        return;
    for (DWORD index = 0;; ++index) {
        std::vector<wchar_t> name(16384);
        DWORD nameLength = static_cast<DWORD>(name.size());
        RawValue value;
        DWORD size = 0;
        const LONG result =
            ::RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &value.type, nullptr, &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        check(result, "RegEnumValueW");
        const std::wstring valueName(name.data(), nameLength);
        values_.emplace_back(valueName, *queryWide(root_, path_, valueName));
    }
}

KeySnapshot::~KeySnapshot()
{
    try {
        deleteTree(root_, path_);
        if (!existed_)
            return;
        Key key(root_, path_, true);
        for (const auto& [name, value] : values_)
            ::RegSetValueExW(key.get(), name.c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size()));
    } catch (...) {
    }
}

ValueSnapshot::ValueSnapshot(HKEY root, std::wstring path, std::wstring name)
    : root_(root), path_(std::move(path)), name_(std::move(name)), value_(queryWide(root_, path_, name_))
{
}

ValueSnapshot::~ValueSnapshot()
{
    try {
        if (value_)
            setRaw(root_, path_, name_, value_->type, value_->data);
        else
            deleteValue(root_, path_, name_);
    } catch (...) {
    }
}

ScopedWineVersion::ScopedWineVersion(const std::wstring& executableName, const std::wstring& version)
    : key_(L"Software\\Wine\\AppDefaults\\" + executableName)
{
    setString(HKEY_CURRENT_USER, key_, L"Version", version);
}

ScopedWineVersion::~ScopedWineVersion()
{
    try {
        deleteTree(HKEY_CURRENT_USER, key_);
    } catch (...) {
    }
}

ScopedEnvironment::ScopedEnvironment(const std::wstring& name, const std::wstring& value) : name_(name)
{
    if (const wchar_t* old = ::_wgetenv(name.c_str()))
        old_ = old;
    ::_wputenv((name + L"=" + value).c_str());
    ::SetEnvironmentVariableW(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment()
{
    // "NAME=" removes the variable.
    ::_wputenv((name_ + L"=" + old_.value_or(L"")).c_str());
    ::SetEnvironmentVariableW(name_.c_str(), old_ ? old_->c_str() : nullptr);
}

TempFolder::TempFolder()
{
    static unsigned counter = 0;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / (L"vorlu-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
        if (std::filesystem::create_directory(path_))
            return;
    }
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path executableFolder()
{
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
}

DWORD runProgram(const std::filesystem::path& program, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        throw std::runtime_error("CreateProcessW failed: " + std::to_string(::GetLastError()));
    ::CloseHandle(process.hThread);
    if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 259);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    return code;
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace vorlu::wintest
