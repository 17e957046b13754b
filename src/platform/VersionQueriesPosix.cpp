#include "platform/VersionQueries.h"

#include "platform/AtomicFile.h"

#include <sys/utsname.h>
#include <system_error>

namespace vorlu::platform {

bool windowsVersionQueriesExist()
{
    return false;
}

std::optional<BasicVersionReport> queryBasicVersion()
{
    return std::nullopt;
}

std::optional<ExtendedVersionReport> queryExtendedVersion()
{
    return std::nullopt;
}

HostSystemReport queryHostSystem()
{
    HostSystemReport report;
    // The os-release rules: /etc/os-release first, /usr/lib/os-release when it is missing.
    for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
        try {
            if (auto text = readFileIfExists(file)) {
                report.osRelease = std::move(*text);
                break;
            }
        } catch (const std::system_error&) {
            // An unreadable file says nothing; the kernel's name still does.
        }
    }
    utsname names {};
    if (::uname(&names) == 0) {
        report.systemName = names.sysname;
        report.release = names.release;
    }
    return report;
}

} // namespace vorlu::platform
