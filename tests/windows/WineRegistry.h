#pragma once
// Helpers for the Windows-side tests: raw registry access through the Win32 API (to set up and
// check what the units under test read and write), the environment, temporary folders and
// child processes.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorlu::wintest {

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& text);

bool keyExists(HKEY root, const std::wstring& path);
void deleteTree(HKEY root, const std::wstring& path);
// Creates the key when missing.
void setRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
            const std::vector<std::uint8_t>& data);
void setString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text,
               DWORD type = REG_SZ);
void deleteValue(HKEY root, const std::wstring& path, const std::wstring& name);
void setDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD number);
// As the wide and as the ANSI registry functions report the value; nullopt when it is missing.
std::optional<RawValue> queryWide(HKEY root, const std::wstring& path, const std::wstring& name);
std::optional<RawValue> queryAnsi(HKEY root, const std::string& path, const std::string& name);

// A key's values (it has no subkeys) as they were, put back on destruction, the key removed
// again when it did not exist.
class KeySnapshot {
public:
    KeySnapshot(HKEY root, std::wstring path);
    ~KeySnapshot();
    KeySnapshot(const KeySnapshot&) = delete;
    KeySnapshot& operator=(const KeySnapshot&) = delete;

private:
    HKEY root_;
    std::wstring path_;
    bool existed_ = false;
    std::vector<std::pair<std::wstring, RawValue>> values_;
};

// One value as it was, put back (or removed again) on destruction.
class ValueSnapshot {
public:
    ValueSnapshot(HKEY root, std::wstring path, std::wstring name);
    ~ValueSnapshot();
    ValueSnapshot(const ValueSnapshot&) = delete;
    ValueSnapshot& operator=(const ValueSnapshot&) = delete;

private:
    HKEY root_;
    std::wstring path_;
    std::wstring name_;
    std::optional<RawValue> value_;
};

// Wine reports this version of Windows (its names: "winxp", "win2k", "nt40" ...) to the
// processes of one executable file name, for as long as the object lives.
class ScopedWineVersion {
public:
    ScopedWineVersion(const std::wstring& executableName, const std::wstring& version);
    ~ScopedWineVersion();
    ScopedWineVersion(const ScopedWineVersion&) = delete;
    ScopedWineVersion& operator=(const ScopedWineVersion&) = delete;

private:
    std::wstring key_;
};

// Sets an environment variable (for the C run-time and Windows alike) until destruction.
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::wstring& name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring name_;
    std::optional<std::wstring> old_;
};

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The folder of the test executable (its helper programs lie beside it).
std::filesystem::path executableFolder();

// Runs a program to its end; its exit code.
DWORD runProgram(const std::filesystem::path& program, const std::wstring& arguments);

std::string readFile(const std::filesystem::path& file);

} // namespace vorlu::wintest
