#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorlu::platform {

// What GetVersionExA reports with the basic structure (OSVERSIONINFOA).
struct BasicVersionReport {
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0; // as reported, all 32 bits
    std::uint32_t platformId = 0;
    std::string csdVersion;        // szCSDVersion up to its first zero

    friend bool operator==(const BasicVersionReport&, const BasicVersionReport&) = default;
};

// What GetVersionExA reports with the extended structure (OSVERSIONINFOEXA), the fields read.
struct ExtendedVersionReport {
    std::uint32_t minorVersion = 0;
    std::string csdVersion;
    std::uint16_t suiteMask = 0;
    std::uint8_t productType = 0;

    friend bool operator==(const ExtendedVersionReport&, const ExtendedVersionReport&) = default;
};

// True where the Windows version queries exist.
bool windowsVersionQueriesExist();

// nullopt when the query fails, and always where the queries do not exist.
std::optional<BasicVersionReport> queryBasicVersion();
std::optional<ExtendedVersionReport> queryExtendedVersion();

// What a system other than Windows says of itself.
struct HostSystemReport {
    std::string osRelease;     // the text of /etc/os-release (else /usr/lib/os-release), or ""
    std::string systemName;    // uname: sysname, e.g. "Linux"
    std::string release;       // uname: release, e.g. "6.1.0-18-amd64"

    friend bool operator==(const HostSystemReport&, const HostSystemReport&) = default;
};

// Empty fields where nothing is known (and always on Windows).
HostSystemReport queryHostSystem();

} // namespace vorlu::platform
