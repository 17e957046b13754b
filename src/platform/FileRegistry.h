#pragma once

#include "platform/Registry.h"

#include <filesystem>

namespace vorlu::platform {

// The registry away from Windows: one file in the text format of a registry export, holding
// both roots. Every open reads the file afresh; every change rewrites it atomically, so a crash
// or a full disk leaves either the old or the new file. A file that cannot be read or parsed
// raises RegistryFileError and is never overwritten. A missing file is an empty registry and
// is created only when something is written.
class FileRegistry final : public Registry {
public:
    explicit FileRegistry(std::filesystem::path file);

    std::unique_ptr<RegistryKey> openKey(RegistryRoot root, std::string_view path, RegistryAccess access,
                                         bool create) override;

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

} // namespace vorlu::platform
