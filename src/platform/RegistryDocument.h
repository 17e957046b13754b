#pragma once

#include "platform/Registry.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlu::platform {

// The contents of a registry export ("Windows Registry Editor Version 5.00"): keys in file
// order, each with its values in file order. Key paths and value names compare without regard
// to ASCII case, as in the Windows registry, and keep the spelling they were created with.
class RegistryDocument {
public:
    struct Key {
        RegistryRoot root = RegistryRoot::CurrentUser;
        std::string path; // without the root, e.g. "SOFTWARE\\Vorlu\\Vorlu10"; "" is the root itself
        std::vector<std::pair<std::string, RegistryValue>> values;

        const RegistryValue* find(std::string_view valueName) const;
        void set(std::string_view valueName, RegistryValue value);
    };

    // Parses an export; text may start with a UTF-8 or a UTF-16LE byte-order mark. Anything it
    // cannot read with certainty (another header, a deletion entry, a malformed line or value)
    // raises RegistryFileError naming fileName and the line.
    static RegistryDocument parse(std::string_view text, const std::string& fileName);

    // The export text, UTF-8 without a byte-order mark; parse(serialize()) gives the same keys,
    // values and types back.
    std::string serialize() const;

    // Splits "A\\B\\C" into its key names; a single leading backslash is allowed. Returns false
    // for an empty key name ("A\\\\B", "A\\").
    static bool splitPath(std::string_view path, std::vector<std::string>& names);

    const Key* find(RegistryRoot root, std::string_view path) const;
    Key* find(RegistryRoot root, std::string_view path);
    // The key, after creating every missing key of its path. The path must be valid.
    Key& create(RegistryRoot root, std::string_view path);

    const std::vector<Key>& keys() const { return keys_; }

private:
    std::vector<Key> keys_;
};

} // namespace vorlu::platform
