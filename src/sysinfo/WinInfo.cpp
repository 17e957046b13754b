#include "sysinfo/WinInfo.h"

#include "platform/Trim.h"

#include <array>
#include <cstdio>

namespace vorlu::sysinfo {

namespace {

using platform::trimBlanks;

constexpr std::string_view kProductOptionsKey = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr std::string_view kWindowsKey = "SYSTEM\\CurrentControlSet\\Control\\Windows";

constexpr std::array<std::string_view, 12> kClassNames = {
    "3.11", "95", "95 OSR2", "98", "98 SE", "Me", "NT", "NT Server", "2000", "2000 Server", "XP", ".NET Server",
};

// szCSDVersion is a 128-byte field: the text up to its first zero, at most 127 characters.
std::string servicePackText(std::string_view reported)
{
    reported = reported.substr(0, reported.find('\0'));
    return std::string(reported.substr(0, 127));
}

std::string upperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// "C" (or "A") as the first or the second character, case-sensitive.
bool letterNearStart(const std::string& text, char letter)
{
    return (!text.empty() && text[0] == letter) || (text.size() > 1 && text[1] == letter);
}

std::string serverSuite(std::uint16_t mask, std::uint32_t minorVersion)
{
    std::string suite;
    if (mask & 0x0001)
        suite += "Small Business Server";
    if (mask & 0x0002)
        suite += minorVersion == 0 ? "Advanced Server" : "Enterprise Server";
    if (mask & 0x0004)
        suite += "BackOffice components";
    if (mask & 0x0008)
        suite += "Communication components";
    if (mask & 0x0010)
        suite += "Terminal Services";
    if (mask & 0x0020)
        suite += "Small Business Server with restrictive client license";
    if (mask & 0x0040)
        suite += "Embedded NT";
    if (mask & 0x0080)
        suite += "DataCenter Server";
    if (mask & 0x0400)
        suite += "Web Server";
    return suite;
}

std::optional<std::string> textIfPresent(const platform::RegistryKey& key, std::string_view valueName)
{
    auto value = key.readValue(valueName);
    if (!value)
        return std::nullopt;
    return platform::registryValueText(value, valueName);
}


// An os-release value: quoted in "..." with \ escapes or in '...' literally, or bare.
std::string osReleaseValue(std::string_view raw)
{
    raw = trimBlanks(raw);
    if (raw.size() >= 2 && raw.front() == '\'' && raw.back() == '\'')
        return std::string(raw.substr(1, raw.size() - 2));
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') {
        std::string out;
        const std::string_view inner = raw.substr(1, raw.size() - 2);
        for (std::size_t i = 0; i < inner.size(); ++i) {
            if (inner[i] == '\\' && i + 1 < inner.size() && std::string_view("\"\\$`").find(inner[i + 1]) != std::string_view::npos)
                ++i;
            out += inner[i];
        }
        return out;
    }
    return std::string(raw);
}

} // namespace

WindowsVersion versionFromReport(const std::optional<platform::BasicVersionReport>& report)
{
    WindowsVersion version;
    if (!report) {
        version.platformId = 2;
        return version;
    }
    version.major = report->majorVersion;
    version.minor = report->minorVersion;
    version.build = report->buildNumber & 0xFFFF;
    version.platformId = report->platformId;
    version.servicePack = servicePackText(report->csdVersion);
    // The Windows 95 family keeps its minor version in bits 16 to 23 of the build number.
    if (version.platformId == 1)
        version.minor = (report->buildNumber >> 16) & 0xFF;
    return version;
}

WindowsEdition editionFromReports(const std::optional<platform::ExtendedVersionReport>& report,
                                  const VersionRegistryValues& registry)
{
    WindowsEdition edition;
    if (report) {
        switch (report->productType) {
        case 1: edition.product = "Professional"; break;
        case 2: edition.product = "Domain controller"; break;
        case 3: edition.product = "Server"; break;
        default: break;
        }
        edition.server = report->productType != 1;
        if (report->productType == 1) {
            if (report->suiteMask & 0x0100)
                edition.suite += "Personal";
            if (report->suiteMask & 0x0200)
                edition.suite += "Home Edition";
        } else {
            edition.suite = serverSuite(report->suiteMask, report->minorVersion);
        }
        edition.servicePack = servicePackText(report->csdVersion);
        return edition;
    }
    if (registry.productType) {
        const std::string type = upperAscii(*registry.productType);
        if (type.find("WINNT") != std::string::npos) {
            edition.server = false;
            edition.product = "Professional";
        } else {
            edition.server = true;
            if (type.find("SERVERNT") != std::string::npos)
                edition.product = "Server";
            if (type.find("LANMANNT") != std::string::npos)
                edition.product = "Advanced Server";
        }
    }
    if (registry.suiteMask) {
        edition.server = true;
        edition.suite = *registry.suiteMask;
    }
    if (registry.csdVersion)
        edition.servicePack = *registry.csdVersion;
    return edition;
}

int versionClass(const WindowsVersion& version, const WindowsEdition& edition)
{
    switch (version.platformId) {
    case 0:
        return 0;
    case 1:
        if (version.major != 4)
            return 10;
        if (version.minor < 10)
            return letterNearStart(version.servicePack, 'C') ? 2 : 1;
        if (version.minor < 90)
            return letterNearStart(version.servicePack, 'A') ? 4 : 3;
        if (version.minor < 100)
            return 5;
        return 10;
    case 2:
        if (version.major == 5) {
            if (version.minor == 0)
                return edition.server ? 9 : 8;
            if (version.minor == 1)
                return edition.server ? 11 : 10;
            return 10;
        }
        if (version.major <= 4)
            return edition.server ? 7 : 6;
        return 10;
    default:
        return 10;
    }
}

std::string_view versionClassName(int versionClass)
{
    return kClassNames.at(static_cast<std::size_t>(versionClass));
}

WindowsName nameFor(const WindowsVersion& version, const WindowsEdition& edition)
{
    WindowsName result;
    result.name = "Microsoft Windows ";
    result.name += versionClassName(versionClass(version, edition));
    char minor[16];
    std::snprintf(minor, sizeof minor, "%02u", static_cast<unsigned>(version.minor));
    result.number = std::to_string(version.major) + "." + minor + "." + std::to_string(version.build);
    return result;
}

std::string descriptionFor(const WindowsName& name, const WindowsEdition& edition)
{
    std::string text = name.name + " " + name.number;
    if (!edition.servicePack.empty())
        text += "\r\n" + edition.servicePack;
    if (!edition.product.empty())
        text += " " + edition.product;
    if (!edition.suite.empty())
        text += " " + edition.suite;
    return text;
}

std::string describeWindows(const VersionReports& reports)
{
    const WindowsEdition edition = editionFromReports(reports.extended, reports.registry);
    return descriptionFor(nameFor(versionFromReport(reports.basic), edition), edition);
}

VersionRegistryValues readVersionRegistryValues(platform::Registry& registry)
{
    using platform::RegistryAccess;
    using platform::RegistryRoot;
    VersionRegistryValues values;
    // Read-only and without creating anything: a version query has no business writing to the
    // machine's hive, and an ordinary user may not.
    if (const auto key = registry.openKey(RegistryRoot::LocalMachine, kProductOptionsKey, RegistryAccess::ReadOnly, false)) {
        values.productType = textIfPresent(*key, "ProductType");
        values.suiteMask = textIfPresent(*key, "SuiteMask");
    }
    if (const auto key = registry.openKey(RegistryRoot::LocalMachine, kWindowsKey, RegistryAccess::ReadOnly, false))
        values.csdVersion = textIfPresent(*key, "CSDVersion");
    return values;
}

WindowsVersion ObterVersaoWindows()
{
    return versionFromReport(platform::queryBasicVersion());
}

WindowsEdition ObterEdicaoWindows(platform::Registry& registry)
{
    const auto extended = platform::queryExtendedVersion();
    return editionFromReports(extended, extended ? VersionRegistryValues{} : readVersionRegistryValues(registry));
}

WindowsEdition ObterEdicaoWindows()
{
    const auto registry = platform::systemRegistry();
    return ObterEdicaoWindows(*registry);
}

WindowsName ObterNomeWindows()
{
    const WindowsVersion version = ObterVersaoWindows();
    // Only the NT family needs the edition.
    return nameFor(version, version.platformId == 2 ? ObterEdicaoWindows() : WindowsEdition{});
}

std::string DescricaoWindows()
{
    if (!platform::windowsVersionQueriesExist())
        return describeHostSystem(platform::queryHostSystem());
    const WindowsName name = ObterNomeWindows();
    return descriptionFor(name, ObterEdicaoWindows());
}

std::map<std::string, std::string> parseOsRelease(std::string_view text)
{
    std::map<std::string, std::string> values;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trimBlanks(text.substr(start, end - start));
        start = end + 1;
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos || equals == 0)
            continue;
        values[std::string(line.substr(0, equals))] = osReleaseValue(line.substr(equals + 1));
    }
    return values;
}

std::string describeHostSystem(const platform::HostSystemReport& report)
{
    const auto values = parseOsRelease(report.osRelease);
    std::string product;
    if (auto it = values.find("PRETTY_NAME"); it != values.end() && !trimBlanks(it->second).empty()) {
        product = it->second;
    } else if (auto name = values.find("NAME"); name != values.end()) {
        product = name->second;
        if (auto version = values.find("VERSION"); version != values.end() && !version->second.empty())
            product += " " + version->second;
    }
    std::string kernel = report.systemName;
    if (!report.release.empty())
        kernel += (kernel.empty() ? "" : " ") + report.release;
    if (product.empty())
        return kernel;
    if (kernel.empty())
        return product;
    return product + "\r\n" + kernel;
}

} // namespace vorlu::sysinfo
