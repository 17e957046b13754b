#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlu::platform {

// The two hives the program touches.
enum class RegistryRoot { CurrentUser, LocalMachine };

// Value types in Windows numbering, so a value keeps its type across the Windows registry and
// the file store. Other numbers may occur in a stored value and are kept as they are.
enum class RegistryType : std::uint32_t {
    None = 0,         // REG_NONE
    String = 1,       // REG_SZ
    ExpandString = 2, // REG_EXPAND_SZ
    Binary = 3,       // REG_BINARY
    DWord = 4,        // REG_DWORD (little-endian)
    MultiString = 7,  // REG_MULTI_SZ
    QWord = 11,       // REG_QWORD
};

// A value as the registry holds it: its type and its bytes. Text types hold UTF-8 bytes with
// their terminating zero counted, as the ANSI registry functions hand them out.
struct RegistryValue {
    RegistryType type = RegistryType::None;
    std::vector<std::uint8_t> data;

    static RegistryValue string(std::string_view text, RegistryType type = RegistryType::String);
    static RegistryValue dword(std::uint32_t number);
    static RegistryValue multiString(const std::vector<std::string>& texts);
    static RegistryValue binary(std::vector<std::uint8_t> bytes, RegistryType type = RegistryType::Binary);

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// Every failure of the registry layer; what() is the text the user sees.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A non-empty value that is not a string or an expandable string was read as text.
class RegistryTypeError : public RegistryError {
public:
    explicit RegistryTypeError(std::string_view valueName);
};

// A key could not be opened or created for writing, or a value could not be written.
class RegistryWriteError : public RegistryError {
public:
    explicit RegistryWriteError(std::string_view valueName);
};

// The file behind the store cannot be read or parsed; it is left exactly as it is.
class RegistryFileError : public RegistryError {
public:
    using RegistryError::RegistryError;
};

enum class RegistryAccess { ReadOnly, Full };

// An open key; closing it is destroying it.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // The named value ("" is the key's default value); nullopt when it does not exist.
    virtual std::optional<RegistryValue> readValue(std::string_view valueName) const = 0;
    // Stores text as a plain string (REG_SZ), replacing any earlier value of that name.
    // Fails with RegistryWriteError.
    virtual void writeString(std::string_view valueName, std::string_view text) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens a key path such as "SOFTWARE\\Vorlu\\Vorlu10" under root. With create, every
    // missing key of the path is created. Returns nullptr when the key does not exist (without
    // create), when the path is malformed, or when access is refused. A store file that cannot
    // be read or parsed raises RegistryFileError instead.
    virtual std::unique_ptr<RegistryKey> openKey(RegistryRoot root, std::string_view path,
                                                 RegistryAccess access, bool create) = 0;
};

// Reads a value as text: a missing value or one of size zero (of any type) gives "", a string or
// an expandable string is taken as stored (variables are not expanded) up to its first zero,
// anything else raises RegistryTypeError naming the value.
std::string registryValueText(const std::optional<RegistryValue>& value, std::string_view valueName);
std::string readRegistryText(const RegistryKey& key, std::string_view valueName);

// The registry of the running system: the Windows registry on Windows, elsewhere the per-user
// file store at registryFilePath(), looked up afresh on every call.
std::unique_ptr<Registry> systemRegistry();

} // namespace vorlu::platform
