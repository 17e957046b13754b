#include "platform/FileRegistry.h"

#include "platform/AtomicFile.h"
#include "platform/ConfigPaths.h"
#include "platform/RegistryDocument.h"
#include "platform/Utf16.h"

#include <system_error>

namespace vorlu::platform {

namespace {

// nullopt when the file does not exist.
std::optional<RegistryDocument> load(const std::filesystem::path& file)
{
    std::optional<std::string> text;
    try {
        text = readFileIfExists(file);
    } catch (const std::system_error&) {
        throw RegistryFileError("Impossível ler " + file.string());
    }
    if (!text)
        return std::nullopt;
    return RegistryDocument::parse(*text, file.string());
}

// false when the file could not be replaced; the old file is then untouched.
bool save(const std::filesystem::path& file, const RegistryDocument& document)
{
    try {
        writeFileAtomically(file, document.serialize());
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

class FileRegistryKey final : public RegistryKey {
public:
    FileRegistryKey(std::filesystem::path file, RegistryRoot root, std::string path, RegistryAccess access,
                    RegistryDocument::Key snapshot)
        : file_(std::move(file)), root_(root), path_(std::move(path)), access_(access), snapshot_(std::move(snapshot))
    {
    }

    std::optional<RegistryValue> readValue(std::string_view valueName) const override
    {
        const RegistryValue* value = snapshot_.find(valueName);
        return value ? std::optional<RegistryValue>(*value) : std::nullopt;
    }

    void writeString(std::string_view valueName, std::string_view text) override
    {
        // The export format cannot hold a line break in a name, nor text that is not UTF-8.
        if (access_ != RegistryAccess::Full || valueName.find_first_of("\r\n") != std::string_view::npos ||
            !utf8ToUtf16le(text) || !utf8ToUtf16le(valueName))
            throw RegistryWriteError(valueName);
        // Read again: another program instance may have written since this key was opened.
        // A file that has become unreadable meanwhile raises RegistryFileError and stays as it is.
        std::optional<RegistryDocument> document = load(file_);
        if (!document)
            document.emplace();
        RegistryDocument::Key& key = document->create(root_, path_);
        key.set(valueName, RegistryValue::string(text));
        if (!save(file_, *document))
            throw RegistryWriteError(valueName);
        snapshot_ = key;
    }

private:
    std::filesystem::path file_;
    RegistryRoot root_;
    std::string path_;
    RegistryAccess access_;
    RegistryDocument::Key snapshot_;
};

} // namespace

FileRegistry::FileRegistry(std::filesystem::path file) : file_(std::move(file)) {}

std::unique_ptr<RegistryKey> FileRegistry::openKey(RegistryRoot root, std::string_view path, RegistryAccess access,
                                                   bool create)
{
    std::vector<std::string> names;
    if (!RegistryDocument::splitPath(path, names))
        return nullptr;
    std::optional<RegistryDocument> document = load(file_);
    const bool isRoot = names.empty();
    const RegistryDocument::Key* key = document ? document->find(root, path) : nullptr;
    if (key || isRoot) {
        return std::make_unique<FileRegistryKey>(file_, root, std::string(path), access,
                                                 key ? *key : RegistryDocument::Key{root, "", {}});
    }
    if (!create)
        return nullptr;
    if (!document)
        document.emplace();
    RegistryDocument::Key& created = document->create(root, path);
    if (!save(file_, *document))
        return nullptr;
    return std::make_unique<FileRegistryKey>(file_, root, std::string(path), access, created);
}

#ifndef _WIN32
std::unique_ptr<Registry> systemRegistry()
{
    return std::make_unique<FileRegistry>(registryFilePath());
}
#endif

} // namespace vorlu::platform
