// Writes what the four WinInfo operations report in this process, one field a line, to the file
// named by its first argument. With --refuse-extended, the extended version query fails as it
// did on the systems that did not know its structure. Exit code 0 when the file was written.
#include "sysinfo/WinInfo.h"

#include "platform/Win32VersionQuery.h"

#include <cstring>
#include <exception>
#include <fstream>
#include <string>

namespace {

BOOL WINAPI refuseExtendedStructure(LPOSVERSIONINFOA info)
{
    if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXA)) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return ::GetVersionExA(info);
#pragma GCC diagnostic pop
}

// One field on one line: backslash, CR and LF written as \\, \r and \n.
std::string field(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    if (argc > 2 && std::strcmp(argv[2], "--refuse-extended") == 0)
        vorlu::platform::replaceGetVersionExA(&refuseExtendedStructure);
    std::ofstream out(argv[1], std::ios::binary);
    using namespace vorlu::sysinfo;
    try {
        const WindowsVersion version = ObterVersaoWindows();
        const WindowsEdition edition = ObterEdicaoWindows();
        const WindowsName name = ObterNomeWindows();
        const std::string description = DescricaoWindows();
        out << field(std::to_string(version.major)) << field(std::to_string(version.minor))
            << field(std::to_string(version.build)) << field(std::to_string(version.platformId))
            << field(version.servicePack) << field(edition.server ? "1" : "0") << field(edition.product)
            << field(edition.suite) << field(edition.servicePack) << field(name.name) << field(name.number)
            << field(description);
    } catch (const std::exception& error) {
        out << field(std::string("error: ") + error.what());
    }
    return out.good() ? 0 : 1;
}
