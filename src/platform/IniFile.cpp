#include "platform/IniFile.h"

#include "Trim.h"

#include "platform/AtomicFile.h"

#include <algorithm>
#include <system_error>

namespace vorlu::platform {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

IniDocument IniDocument::parse(std::string_view text)
{
    IniDocument document;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view raw = text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        Line line{std::string(raw), {}, {}, false};
        const std::string_view content = trimBlanks(raw);
        if (content.starts_with('[')) {
            const std::size_t close = content.find(']');
            if (close != std::string_view::npos) {
                line.header = true;
                line.section = std::string(trimBlanks(content.substr(1, close - 1)));
            }
        } else if (!content.starts_with(';')) {
            const std::size_t equals = content.find('=');
            if (equals != std::string_view::npos && equals > 0)
                line.key = std::string(trimBlanks(content.substr(0, equals)));
        }
        document.lines_.push_back(std::move(line));
        start = end + 1;
    }
    return document;
}

std::string IniDocument::serialize() const
{
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += '\n';
    }
    return out;
}

std::size_t IniDocument::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].header && equalsIgnoringCase(lines_[i].section, section))
            return i;
    return std::string::npos;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const
{
    const std::size_t header = findSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i) {
        if (lines_[i].key.empty() || !equalsIgnoringCase(lines_[i].key, key))
            continue;
        const std::string_view text = trimBlanks(lines_[i].text);
        std::string_view value = trimBlanks(text.substr(text.find('=') + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value)
{
    std::size_t header = findSection(section);
    if (header == std::string::npos) {
        if (!lines_.empty() && !trimBlanks(lines_.back().text).empty())
            lines_.push_back(Line{});
        lines_.push_back(Line{"[" + std::string(section) + "]", std::string(section), {}, true});
        header = lines_.size() - 1;
    }
    std::size_t lastEntry = header;
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i) {
        if (lines_[i].key.empty())
            continue;
        if (equalsIgnoringCase(lines_[i].key, key)) {
            lines_[i].text = lines_[i].key + "=" + std::string(value);
            return;
        }
        lastEntry = i;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastEntry + 1),
                  Line{std::string(key) + "=" + std::string(value), {}, std::string(key), false});
}

IniFile::IniFile(std::filesystem::path file) : file_(std::move(file))
{
    std::optional<std::string> text;
    try {
        text = readFileIfExists(file_);
    } catch (const std::system_error&) {
        throw ProfileReadError(file_.string());
    }
    if (text)
        document_ = IniDocument::parse(*text);
}

std::optional<std::string> IniFile::readString(std::string_view section, std::string_view key) const
{
    return document_.get(section, key);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    // What a line cannot hold would come back as other sections or keys.
    const auto breaksLine = [](std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; };
    const std::string_view name = trimBlanks(key);
    if (breaksLine(section) || section.find(']') != std::string_view::npos || breaksLine(key) || breaksLine(value) ||
        name.empty() || name != key || name.find('=') != std::string_view::npos || name.front() == '[' ||
        name.front() == ';')
        throw ProfileWriteError(file_.string());
    document_.set(section, key, value);
    dirty_ = true;
}

void IniFile::flush()
{
    if (!dirty_)
        return;
    try {
        writeFileAtomically(file_, document_.serialize());
    } catch (const std::system_error&) {
        throw ProfileWriteError(file_.string());
    }
    dirty_ = false;
}

#ifndef _WIN32
std::unique_ptr<ProfileFile> openProfileFile(const std::filesystem::path& file)
{
    return std::make_unique<IniFile>(file);
}
#endif

} // namespace vorlu::platform
