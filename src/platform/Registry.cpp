#include "platform/Registry.h"

#include <algorithm>

namespace vorlu::platform {

namespace {

std::string quotedMessage(std::string_view before, std::string_view name)
{
    std::string text(before);
    text += '\'';
    text += name;
    text += '\'';
    return text;
}

} // namespace

RegistryTypeError::RegistryTypeError(std::string_view valueName)
    : RegistryError(quotedMessage("Tipo de dados inválido para ", valueName))
{
}

RegistryWriteError::RegistryWriteError(std::string_view valueName)
    : RegistryError(quotedMessage("Falha ao definir dados para ", valueName))
{
}

RegistryValue RegistryValue::string(std::string_view text, RegistryType type)
{
    RegistryValue value{type, {text.begin(), text.end()}};
    value.data.push_back(0);
    return value;
}

RegistryValue RegistryValue::dword(std::uint32_t number)
{
    return {RegistryType::DWord,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

RegistryValue RegistryValue::multiString(const std::vector<std::string>& texts)
{
    RegistryValue value{RegistryType::MultiString, {}};
    for (const std::string& text : texts) {
        value.data.insert(value.data.end(), text.begin(), text.end());
        value.data.push_back(0);
    }
    value.data.push_back(0);
    return value;
}

RegistryValue RegistryValue::binary(std::vector<std::uint8_t> bytes, RegistryType type)
{
    return {type, std::move(bytes)};
}

std::string registryValueText(const std::optional<RegistryValue>& value, std::string_view valueName)
{
    if (!value || value->data.empty())
        return {};
    if (value->type != RegistryType::String && value->type != RegistryType::ExpandString)
        throw RegistryTypeError(valueName);
    const auto end = std::find(value->data.begin(), value->data.end(), std::uint8_t{0});
    return std::string(value->data.begin(), end);
}

std::string readRegistryText(const RegistryKey& key, std::string_view valueName)
{
    return registryValueText(key.readValue(valueName), valueName);
}

} // namespace vorlu::platform
