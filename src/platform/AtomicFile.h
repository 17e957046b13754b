#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vorlu::platform {

// The whole file, or nullopt when it does not exist (nor its folder). Any other failure (no permission, a
// directory in its place, a read error) throws std::system_error.
std::optional<std::string> readFileIfExists(const std::filesystem::path& file);

// Replaces the file so that it holds either its old contents or the new ones, never a mix or
// nothing: the new contents go to a temporary file in the same folder, are flushed to disk and
// renamed over the old file. Missing folders are created (owner-only). A symbolic link is
// followed, so the file it points to is the one replaced. On failure the temporary file is
// removed and std::system_error is thrown.
void writeFileAtomically(const std::filesystem::path& file, std::string_view contents);

} // namespace vorlu::platform
