#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlu::platform {

// The profile file cannot be written: "Impossível gravar para <file>".
class ProfileWriteError : public std::runtime_error {
public:
    explicit ProfileWriteError(const std::string& fileName);
};

// The profile file exists but cannot be read: "Impossível ler <file>". Nothing is then written
// over it.
class ProfileReadError : public std::runtime_error {
public:
    explicit ProfileReadError(const std::string& fileName);
};

// A profile (INI) file: string keys in sections. Section and key names compare without regard
// to ASCII case; a write keeps the order of the keys already there and appends new ones to the
// end of their section.
class ProfileFile {
public:
    virtual ~ProfileFile() = default;

    // nullopt when the section or the key is missing.
    virtual std::optional<std::string> readString(std::string_view section, std::string_view key) const = 0;
    virtual void writeString(std::string_view section, std::string_view key, std::string_view value) = 0;
    // Makes the writes so far reach the file (ProfileWriteError when they cannot).
    virtual void flush() = 0;

    // The name used in error texts.
    virtual std::string fileName() const = 0;
};

// The running system's profile file at that path: the Windows profile functions on Windows,
// elsewhere an INI file read once here and replaced atomically by flush().
std::unique_ptr<ProfileFile> openProfileFile(const std::filesystem::path& file);

} // namespace vorlu::platform
