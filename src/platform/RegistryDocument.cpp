#include "platform/RegistryDocument.h"

#include "Trim.h"

#include "platform/Utf16.h"

#include <algorithm>
#include <cstdio>

namespace vorlu::platform {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER";
constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Parses 1 to maxDigits hex digits making up the whole of text.
bool parseHex(std::string_view text, std::size_t maxDigits, std::uint32_t& result)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    result = 0;
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return false;
        result = (result << 4) | static_cast<std::uint32_t>(digit);
    }
    return true;
}

bool isTextType(RegistryType type)
{
    return type == RegistryType::String || type == RegistryType::ExpandString || type == RegistryType::MultiString;
}

// A quoted string starting at text[0] == '"'. On success, consumed holds the characters used.
bool parseQuoted(std::string_view text, std::string& result, std::size_t& consumed)
{
    result.clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            consumed = i + 1;
            return true;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            result += text[++i];
            continue;
        }
        result += c;
    }
    return false;
}

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string canonicalPath(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& name : names) {
        if (!out.empty())
            out += '\\';
        for (char c : name)
            out += lowerAscii(c);
    }
    return out;
}

std::string joinPath(const std::vector<std::string>& names, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            out += '\\';
        out += names[i];
    }
    return out;
}

// "name"=hex(N):.. wrapped the way the registry editor wraps it, below 80 columns.
std::string hexLine(const std::string& prefix, const std::vector<std::uint8_t>& bytes)
{
    std::string out;
    std::string line = prefix;
    char buffer[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", bytes[i]);
        std::string token = buffer;
        if (i + 1 < bytes.size())
            token += ',';
        if (line.size() + token.size() > 77) {
            out += line;
            out += "\\\n";
            line = "  ";
        }
        line += token;
    }
    out += line;
    out += '\n';
    return out;
}

class Parser {
public:
    Parser(std::string_view text, const std::string& fileName) : fileName_(fileName)
    {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            lines_.push_back(line);
            if (end == text.size())
                break;
            start = end + 1;
        }
    }

    RegistryDocument run()
    {
        RegistryDocument document;
        if (lines_.empty() || trimBlanks(lines_[0]) != kHeader)
            fail(1);
        RegistryDocument::Key* current = nullptr;
        for (index_ = 1; index_ < lines_.size(); ++index_) {
            const std::string_view line = trimBlanks(lines_[index_]);
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[') {
                current = &keyLine(document, line);
            } else {
                if (!current)
                    fail();
                valueLine(*current, line);
            }
        }
        return document;
    }

private:
    [[noreturn]] void fail() const { fail(index_ + 1); }
    [[noreturn]] void fail(std::size_t lineNumber) const
    {
        throw RegistryFileError("Arquivo de configurações inválido: " + fileName_ + " (linha " +
                                std::to_string(lineNumber) + ")");
    }

    RegistryDocument::Key& keyLine(RegistryDocument& document, std::string_view line)
    {
        if (line.size() < 2 || line.back() != ']')
            fail();
        const std::string_view inner = line.substr(1, line.size() - 2);
        const std::size_t slash = inner.find('\\');
        const std::string_view rootName = inner.substr(0, slash);
        const std::string_view path = slash == std::string_view::npos ? std::string_view() : inner.substr(slash + 1);
        RegistryRoot root;
        if (equalsIgnoringCase(rootName, kCurrentUser))
            root = RegistryRoot::CurrentUser;
        else if (equalsIgnoringCase(rootName, kLocalMachine))
            root = RegistryRoot::LocalMachine;
        else
            fail(); // also a deletion entry "[-HKEY_...]", which a stored file never holds
        std::vector<std::string> names;
        if (slash != std::string_view::npos && (path.empty() || !RegistryDocument::splitPath(path, names)))
            fail();
        return document.create(root, path);
    }

    void valueLine(RegistryDocument::Key& key, std::string_view line)
    {
        std::string name;
        std::size_t used = 0;
        if (line.front() == '@') {
            used = 1;
        } else if (line.front() != '"' || !parseQuoted(line, name, used)) {
            fail();
        }
        std::string_view rest = trimBlanks(line.substr(used));
        if (rest.empty() || rest.front() != '=')
            fail();
        rest = trimBlanks(rest.substr(1));
        key.set(name, valueData(rest));
    }

    RegistryValue valueData(std::string_view data)
    {
        if (!data.empty() && data.front() == '"') {
            std::string text;
            std::size_t used = 0;
            if (!parseQuoted(data, text, used) || !trimBlanks(data.substr(used)).empty())
                fail();
            return RegistryValue::string(text);
        }
        if (startsWithIgnoringCase(data, "dword:")) {
            std::uint32_t number = 0;
            if (!parseHex(data.substr(6), 8, number))
                fail();
            return RegistryValue::dword(number);
        }
        if (startsWithIgnoringCase(data, "hex")) {
            data.remove_prefix(3);
            std::uint32_t type = static_cast<std::uint32_t>(RegistryType::Binary);
            if (!data.empty() && data.front() == '(') {
                const std::size_t close = data.find(')');
                if (close == std::string_view::npos || !parseHex(data.substr(1, close - 1), 8, type))
                    fail();
                data.remove_prefix(close + 1);
            }
            if (data.empty() || data.front() != ':')
                fail();
            return hexData(static_cast<RegistryType>(type), std::string(data.substr(1)));
        }
        fail(); // also a deletion "name"=-, which a stored file never holds
    }

    RegistryValue hexData(RegistryType type, std::string data)
    {
        // A trailing backslash continues the byte list on the next line.
        for (;;) {
            const std::string_view trimmed = trimBlanks(data);
            if (trimmed.empty() || trimmed.back() != '\\')
                break;
            data = std::string(trimmed.substr(0, trimmed.size() - 1));
            if (++index_ >= lines_.size())
                fail(lines_.size());
            data += trimBlanks(lines_[index_]);
        }
        std::vector<std::uint8_t> bytes;
        std::string_view list = trimBlanks(data);
        while (!list.empty()) {
            const std::size_t comma = list.find(',');
            std::uint32_t byte = 0;
            if (!parseHex(trimBlanks(list.substr(0, comma)), 2, byte))
                fail();
            bytes.push_back(static_cast<std::uint8_t>(byte));
            if (comma == std::string_view::npos)
                break;
            list.remove_prefix(comma + 1);
            if (trimBlanks(list).empty())
                fail();
        }
        if (isTextType(type)) {
            const auto text = utf16leToUtf8(bytes);
            if (!text)
                fail();
            bytes.assign(text->begin(), text->end());
        }
        return RegistryValue::binary(std::move(bytes), type);
    }

    const std::string& fileName_;
    std::vector<std::string_view> lines_;
    std::size_t index_ = 0;
};

// One value as an export line.
std::string valueLine(const std::string& name, const RegistryValue& value)
{
    const std::string prefix = (name.empty() ? std::string("@") : quote(name)) + "=";
    const auto& data = value.data;
    if (value.type == RegistryType::String && !data.empty() && data.back() == 0 &&
        std::find_if(data.begin(), data.end() - 1, [](std::uint8_t b) { return b == 0 || b == '\n' || b == '\r'; }) ==
            data.end() - 1 &&
        utf8ToUtf16le(std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1))) {
        return prefix + quote(std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1)) + "\n";
    }
    if (value.type == RegistryType::DWord && data.size() == 4) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%02x%02x%02x%02x", data[3], data[2], data[1], data[0]);
        return prefix + buffer + "\n";
    }
    if (value.type == RegistryType::Binary)
        return hexLine(prefix + "hex:", data);
    char type[24];
    std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value.type));
    if (isTextType(value.type)) {
        const auto units = utf8ToUtf16le(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
        // The file store accepts only text it can write back; anything else is a programming error.
        if (!units)
            throw std::logic_error("registry text value is not UTF-8: " + name);
        return hexLine(prefix + type, *units);
    }
    return hexLine(prefix + type, data);
}

} // namespace

const RegistryValue* RegistryDocument::Key::find(std::string_view valueName) const
{
    for (const auto& [name, value] : values)
        if (equalsIgnoringCase(name, valueName))
            return &value;
    return nullptr;
}

void RegistryDocument::Key::set(std::string_view valueName, RegistryValue value)
{
    for (auto& [name, stored] : values) {
        if (equalsIgnoringCase(name, valueName)) {
            stored = std::move(value);
            return;
        }
    }
    values.emplace_back(std::string(valueName), std::move(value));
}

RegistryDocument RegistryDocument::parse(std::string_view text, const std::string& fileName)
{
    std::string decoded;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    } else if (text.starts_with("\xFF\xFE")) {
        // An export saved by the registry editor itself.
        text.remove_prefix(2);
        const auto utf8 = utf16leToUtf8(
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        if (!utf8)
            throw RegistryFileError("Arquivo de configurações inválido: " + fileName + " (linha 1)");
        decoded = *utf8;
        text = decoded;
    }
    return Parser(text, fileName).run();
}

std::string RegistryDocument::serialize() const
{
    std::string out(kHeader);
    out += "\n\n";
    for (const Key& key : keys_) {
        out += '[';
        out += key.root == RegistryRoot::CurrentUser ? kCurrentUser : kLocalMachine;
        if (!key.path.empty()) {
            out += '\\';
            out += key.path;
        }
        out += "]\n";
        for (const auto& [name, value] : key.values)
            out += valueLine(name, value);
        out += '\n';
    }
    return out;
}

bool RegistryDocument::splitPath(std::string_view path, std::vector<std::string>& names)
{
    names.clear();
    if (path.starts_with('\\'))
        path.remove_prefix(1);
    if (path.empty())
        return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('\\', start);
        const std::string_view name = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos)
            return false;
        names.emplace_back(name);
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

const RegistryDocument::Key* RegistryDocument::find(RegistryRoot root, std::string_view path) const
{
    std::vector<std::string> names;
    if (!splitPath(path, names))
        return nullptr;
    const std::string wanted = canonicalPath(names);
    for (const Key& key : keys_) {
        if (key.root != root)
            continue;
        std::vector<std::string> keyNames;
        splitPath(key.path, keyNames);
        if (canonicalPath(keyNames) == wanted)
            return &key;
    }
    return nullptr;
}

RegistryDocument::Key* RegistryDocument::find(RegistryRoot root, std::string_view path)
{
    return const_cast<Key*>(std::as_const(*this).find(root, path));
}

RegistryDocument::Key& RegistryDocument::create(RegistryRoot root, std::string_view path)
{
    std::vector<std::string> names;
    if (!splitPath(path, names))
        throw std::invalid_argument("malformed registry key path");
    // The root key itself gets a section only when it is asked for.
    const std::size_t first = names.empty() ? 0 : 1;
    for (std::size_t count = first; count <= names.size(); ++count) {
        const std::string prefix = joinPath(names, count);
        if (!find(root, prefix))
            keys_.push_back(Key{root, prefix, {}});
    }
    return *find(root, path);
}

} // namespace vorlu::platform
