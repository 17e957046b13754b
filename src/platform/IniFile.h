#pragma once

#include "platform/ProfileFile.h"

#include <string>
#include <vector>

namespace vorlu::platform {

// The lines of an INI file, kept as they are except for the keys written, so comments and
// other sections survive a write. Reading follows the Windows profile functions: blanks around
// names and values are ignored, and a value in matching quotes loses them.
class IniDocument {
public:
    static IniDocument parse(std::string_view text);
    std::string serialize() const;

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Line {
        std::string text;
        std::string section; // for a section header: its name
        std::string key;     // for an entry: its key; empty for anything else
        bool header = false;
    };
    // Index of the header of the section, or npos.
    std::size_t findSection(std::string_view section) const;

    std::vector<Line> lines_;
};

// A profile file away from Windows. The file is read when opened (a missing one is empty) and
// written only by flush(), in one atomic replacement; flush() after no write touches nothing.
class IniFile final : public ProfileFile {
public:
    explicit IniFile(std::filesystem::path file);

    std::optional<std::string> readString(std::string_view section, std::string_view key) const override;
    void writeString(std::string_view section, std::string_view key, std::string_view value) override;
    void flush() override;
    std::string fileName() const override { return file_.string(); }

private:
    std::filesystem::path file_;
    IniDocument document_;
    bool dirty_ = false;
};

} // namespace vorlu::platform
