// The window-placement file through the Windows profile functions.
#ifdef _WIN32

#include "platform/ProfileFile.h"

#include <vector>
#include <windows.h>

namespace vorlu::platform {

namespace {

// Tells a missing key from an empty one; no stored value holds these bytes.
constexpr const char* kMissing = "\x01\x02\x03";

class Win32ProfileFile final : public ProfileFile {
public:
    explicit Win32ProfileFile(std::string file) : file_(std::move(file)) {}

    std::optional<std::string> readString(std::string_view section, std::string_view key) const override
    {
        const std::string sectionName(section);
        const std::string keyName(key);
        std::vector<char> buffer(256);
        for (;;) {
            const DWORD length = ::GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), kMissing,
                                                            buffer.data(), static_cast<DWORD>(buffer.size()),
                                                            file_.c_str());
            if (length + 1 < buffer.size()) {
                std::string value(buffer.data(), length);
                if (value == kMissing)
                    return std::nullopt;
                return value;
            }
            buffer.resize(buffer.size() * 2);
        }
    }

    void writeString(std::string_view section, std::string_view key, std::string_view value) override
    {
        const std::string sectionName(section);
        const std::string keyName(key);
        const std::string text(value);
        if (!::WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), text.c_str(), file_.c_str()))
            throw ProfileWriteError(file_);
    }

    void flush() override
    {
        // All arguments null flushes the profile cache to the file.
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str());
    }

    std::string fileName() const override { return file_; }

private:
    std::string file_;
};

} // namespace

std::unique_ptr<ProfileFile> openProfileFile(const std::filesystem::path& file)
{
    // The per-user folder may not exist yet; a folder that cannot be made shows as a failed write.
    std::error_code ignored;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ignored);
    return std::make_unique<Win32ProfileFile>(file.string());
}

} // namespace vorlu::platform

#endif
