#include "sysinfo/WinInfo.h"

#include "platform/FileRegistry.h"
#include "../platform/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

namespace vorlu::sysinfo {
namespace {

using platform::BasicVersionReport;
using platform::ExtendedVersionReport;

struct VersionCase {
    const char* what;
    VersionReports reports;
    int versionClass;
    std::string description;
};

void PrintTo(const VersionCase& c, std::ostream* os)
{
    *os << c.what;
}

BasicVersionReport basic(std::uint32_t major, std::uint32_t minor, std::uint32_t build, std::uint32_t platformId,
                         std::string sp)
{
    return {major, minor, build, platformId, std::move(sp)};
}

BasicVersionReport nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build, std::string sp = "")
{
    return {major, minor, build, 2, std::move(sp)};
}

BasicVersionReport win9x(std::uint32_t minorInBuild, std::uint32_t build, std::string sp)
{
    // The Windows 95 family reports its minor version in bits 16 to 23 of the build number.
    return {4, 0, (4u << 24) | (minorInBuild << 16) | build, 1, std::move(sp)};
}

ExtendedVersionReport ext(std::uint32_t minor, std::uint8_t productType, std::uint16_t suite, std::string sp = "")
{
    return {minor, std::move(sp), suite, productType};
}

VersionRegistryValues registry(std::optional<std::string> productType, std::optional<std::string> suiteMask = {},
                               std::optional<std::string> csd = {})
{
    return {std::move(productType), std::move(suiteMask), std::move(csd)};
}

class WindowsDescription : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsDescription, FollowsTheClassificationRules)
{
    const VersionCase& c = GetParam();
    const WindowsVersion version = versionFromReport(c.reports.basic);
    const WindowsEdition edition = editionFromReports(c.reports.extended, c.reports.registry);
    EXPECT_EQ(versionClass(version, edition), c.versionClass);
    EXPECT_EQ(describeWindows(c.reports), c.description);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowsDescription,
    ::testing::Values(
        VersionCase{"XP Professional SP3: the service pack opens the second line",
                    {nt(5, 1, 2600, "Service Pack 3"), ext(1, 1, 0x0100, "Service Pack 3"), {}},
                    10,
                    "Microsoft Windows XP 5.01.2600\r\nService Pack 3 Professional Personal"},
        VersionCase{"2000 Advanced Server without a service pack: one line",
                    {nt(5, 0, 2195), ext(0, 3, 0x0002), {}},
                    9,
                    "Microsoft Windows 2000 Server 5.00.2195 Server Advanced Server"},
        VersionCase{"NT 5.2 server is XP", {nt(5, 2, 3790), ext(2, 3, 0), {}}, 10, "Microsoft Windows XP 5.02.3790 Server"},
        VersionCase{"NT 6.1 workstation: Personal and Home Edition run together",
                    {nt(6, 1, 7601, "Service Pack 1"), ext(1, 1, 0x0300, "Service Pack 1"), {}},
                    10,
                    "Microsoft Windows XP 6.01.7601\r\nService Pack 1 Professional PersonalHome Edition"},
        VersionCase{"server suite 0x0012 with minor 2",
                    {nt(5, 2, 3790), ext(2, 3, 0x0012), {}},
                    10,
                    "Microsoft Windows XP 5.02.3790 Server Enterprise ServerTerminal Services"},
        VersionCase{"every server suite bit, in order; 0x0100 and 0x0200 ignored",
                    {nt(5, 0, 2195), ext(0, 2, 0x07FF), {}},
                    9,
                    "Microsoft Windows 2000 Server 5.00.2195 Domain controller Small Business ServerAdvanced "
                    "ServerBackOffice componentsCommunication componentsTerminal ServicesSmall Business Server with "
                    "restrictive client licenseEmbedded NTDataCenter ServerWeb Server"},
        VersionCase{"server bits mean nothing to a workstation", {nt(5, 1, 2600), ext(1, 1, 0x0012), {}}, 10,
                    "Microsoft Windows XP 5.01.2600 Professional"},
        VersionCase{"Home Edition alone", {nt(5, 1, 2600), ext(1, 1, 0x0200), {}}, 10,
                    "Microsoft Windows XP 5.01.2600 Professional Home Edition"},
        VersionCase{"unknown product type counts as a server", {nt(5, 1, 2600), ext(1, 0, 0), {}}, 11,
                    "Microsoft Windows .NET Server 5.01.2600"},
        VersionCase{"2000 Professional", {nt(5, 0, 2195), ext(0, 1, 0), {}}, 8, "Microsoft Windows 2000 5.00.2195 Professional"},
        VersionCase{"NT 4 workstation", {nt(4, 0, 1381), ext(0, 1, 0), {}}, 6, "Microsoft Windows NT 4.00.1381 Professional"},
        VersionCase{"NT 3.51 server", {nt(3, 51, 1057), ext(51, 3, 0), {}}, 7, "Microsoft Windows NT Server 3.51.1057 Server"},
        VersionCase{"the build keeps its low 16 bits", {nt(5, 1, 0x0A280A28), ext(1, 1, 0), {}}, 10,
                    "Microsoft Windows XP 5.01.2600 Professional"},
        VersionCase{"98 SE: minor from the build number, 'A' second; the basic service pack is not shown",
                    {win9x(10, 2222, " A"), std::nullopt, {}},
                    4,
                    "Microsoft Windows 98 SE 4.10.2222"},
        VersionCase{"98 with 'A' first", {win9x(10, 1998, "A"), std::nullopt, {}}, 4, "Microsoft Windows 98 SE 4.10.1998"},
        VersionCase{"98: a lower-case 'a' does not count", {win9x(10, 1998, " a"), std::nullopt, {}}, 3,
                    "Microsoft Windows 98 4.10.1998"},
        VersionCase{"98 without letters", {win9x(89, 1, ""), std::nullopt, {}}, 3, "Microsoft Windows 98 4.89.1"},
        VersionCase{"95 OSR2: 'C' second", {win9x(9, 1111, " C"), std::nullopt, {}}, 2, "Microsoft Windows 95 OSR2 4.09.1111"},
        VersionCase{"95: 'C' third does not count", {win9x(9, 1111, "  C"), std::nullopt, {}}, 1,
                    "Microsoft Windows 95 4.09.1111"},
        VersionCase{"95: lower-case 'c'", {win9x(0, 950, "c"), std::nullopt, {}}, 1, "Microsoft Windows 95 4.00.950"},
        VersionCase{"Me", {win9x(90, 3000, ""), std::nullopt, {}}, 5, "Microsoft Windows Me 4.90.3000"},
        VersionCase{"minor 100 in the 95 family", {win9x(100, 1, ""), std::nullopt, {}}, 10, "Microsoft Windows XP 4.100.1"},
        VersionCase{"95 family with major 5", {basic(5, 0, 0, 1, ""), std::nullopt, {}}, 10, "Microsoft Windows XP 5.00.0"},
        VersionCase{"Win32s", {basic(3, 11, 0, 0, ""), std::nullopt, {}}, 0, "Microsoft Windows 3.11 3.11.0"},
        VersionCase{"unknown platform", {basic(7, 0, 0, 3, ""), ext(0, 1, 0), {}}, 10, "Microsoft Windows XP 7.00.0 Professional"},
        VersionCase{"both queries failing", {std::nullopt, std::nullopt, {}}, 6, "Microsoft Windows NT 0.00.0"},
        VersionCase{"basic query failing on a server", {std::nullopt, ext(0, 3, 0), {}}, 7,
                    "Microsoft Windows NT Server 0.00.0 Server"},
        VersionCase{"service pack cut at its zero and at 127 characters",
                    {basic(4, 0, 1381, 2, std::string(130, 'S')), ext(0, 1, 0, std::string("SP6\0junk", 8)), {}},
                    6,
                    "Microsoft Windows NT 4.00.1381\r\nSP6 Professional"},
        VersionCase{"registry: WinNT with its service pack",
                    {nt(4, 0, 1381, "Service Pack 5"), std::nullopt, registry("WinNT", {}, "Service Pack 5")},
                    6,
                    "Microsoft Windows NT 4.00.1381\r\nService Pack 5 Professional"},
        VersionCase{"registry: ServerNT", {nt(4, 0, 1381), std::nullopt, registry("ServerNT")}, 7,
                    "Microsoft Windows NT Server 4.00.1381 Server"},
        VersionCase{"registry: LanmanNT", {nt(4, 0, 1381), std::nullopt, registry("LanmanNT")}, 7,
                    "Microsoft Windows NT Server 4.00.1381 Advanced Server"},
        VersionCase{"registry: LanmanNT wins over ServerNT", {nt(4, 0, 1381), std::nullopt, registry("ServerNT LanmanNT")}, 7,
                    "Microsoft Windows NT Server 4.00.1381 Advanced Server"},
        VersionCase{"registry: case does not matter", {nt(5, 0, 2195), std::nullopt, registry("winnt")}, 8,
                    "Microsoft Windows 2000 5.00.2195 Professional"},
        VersionCase{"registry: another type is a server without a product", {nt(4, 0, 1381), std::nullopt, registry("")}, 7,
                    "Microsoft Windows NT Server 4.00.1381"},
        VersionCase{"registry: a suite mask makes a server", {nt(4, 0, 1381), std::nullopt, registry("WinNT", "Enterprise")}, 7,
                    "Microsoft Windows NT Server 4.00.1381 Professional Enterprise"},
        VersionCase{"registry: nothing there", {nt(4, 0, 1381), std::nullopt, {}}, 6, "Microsoft Windows NT 4.00.1381"},
        VersionCase{"registry values are ignored while the extended query works",
                    {nt(4, 0, 1381), ext(0, 1, 0), registry("LanmanNT", "x", "Service Pack 9")},
                    6,
                    "Microsoft Windows NT 4.00.1381 Professional"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(WindowsName, GivesTheNameAndTheNumberApart)
{
    EXPECT_EQ(nameFor(versionFromReport(win9x(10, 2222, " A")), {}), (WindowsName{"Microsoft Windows 98 SE", "4.10.2222"}));
    EXPECT_EQ(nameFor(versionFromReport(BasicVersionReport{3, 11, 0, 0, ""}), {}).name, "Microsoft Windows 3.11");
}

class VersionRegistryTest : public ::testing::Test {
protected:
    void store(const std::string& body)
    {
        vorlu::testing::writeFile(file, "Windows Registry Editor Version 5.00\n\n" + body);
    }

    vorlu::testing::TempFolder folder;
    std::filesystem::path file = folder / "registry.reg";
    platform::FileRegistry machine{file};
};

TEST_F(VersionRegistryTest, ReadsTheThreeValuesAsText)
{
    store("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions]\n"
          "\"ProductType\"=\"LanmanNT\"\n"
          "\"SuiteMask\"=\"Enterprise\"\n"
          "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Windows]\n"
          "\"CSDVersion\"=hex(2):53,00,50,00,36,00,00,00\n"
          "[HKEY_CURRENT_USER\\SYSTEM\\CurrentControlSet\\Control\\Windows]\n"
          "\"CSDVersion\"=\"not the machine's\"\n");
    const VersionRegistryValues values = readVersionRegistryValues(machine);
    EXPECT_EQ(values.productType, "LanmanNT");
    EXPECT_EQ(values.suiteMask, "Enterprise");
    EXPECT_EQ(values.csdVersion, "SP6");
}

TEST_F(VersionRegistryTest, NeverCreatesTheMachineKeys)
{
    EXPECT_FALSE(readVersionRegistryValues(machine).productType);
    EXPECT_FALSE(std::filesystem::exists(file));

    const std::string onlyOne = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions]\n"
                                "\"ProductType\"=\"WinNT\"\n";
    store(onlyOne);
    const VersionRegistryValues values = readVersionRegistryValues(machine);
    EXPECT_EQ(values.productType, "WinNT");
    EXPECT_FALSE(values.suiteMask);
    EXPECT_FALSE(values.csdVersion);
    EXPECT_EQ(vorlu::testing::readFile(file), "Windows Registry Editor Version 5.00\n\n" + onlyOne);
}

TEST_F(VersionRegistryTest, AValueThatIsNotTextFailsNamingIt)
{
    store("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions]\n"
          "\"ProductType\"=\"WinNT\"\n"
          "\"SuiteMask\"=dword:00000110\n");
    try {
        readVersionRegistryValues(machine);
        FAIL() << "no error";
    } catch (const platform::RegistryTypeError& error) {
        EXPECT_STREQ(error.what(), "Tipo de dados inválido para 'SuiteMask'");
    }
}

TEST(HostSystem, ReadsOsReleaseQuoting)
{
    const auto values = parseOsRelease("# comment\n"
                                       "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                       "NAME='Debian \"GNU\"'\n"
                                       "VERSION=\"say \\\"12\\\" \\\\ \\$x\"\n"
                                       "ID=debian\n"
                                       "broken line\n");
    EXPECT_EQ(values.at("PRETTY_NAME"), "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(values.at("NAME"), "Debian \"GNU\"");
    EXPECT_EQ(values.at("VERSION"), "say \"12\" \\ $x");
    EXPECT_EQ(values.at("ID"), "debian");
    EXPECT_EQ(values.size(), 4u);
}

TEST(HostSystem, KeepsTheOneOrTwoLineLayout)
{
    struct Case {
        platform::HostSystemReport report;
        std::string description;
    } cases[] = {
        {{"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "Linux", "6.1.0-18-amd64"},
         "Debian GNU/Linux 12 (bookworm)\r\nLinux 6.1.0-18-amd64"},
        {{"NAME=Fedora\nVERSION=\"40 (Workstation Edition)\"\n", "Linux", "6.8.5"}, "Fedora 40 (Workstation Edition)\r\nLinux 6.8.5"},
        {{"PRETTY_NAME=\"  \"\nNAME=Alpine\n", "Linux", "6.6.1"}, "Alpine\r\nLinux 6.6.1"},
        {{"", "FreeBSD", "14.0-RELEASE"}, "FreeBSD 14.0-RELEASE"},
        {{"PRETTY_NAME=Arch\n", "", ""}, "Arch"},
        {{"", "", ""}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describeHostSystem(c.report), c.description) << c.report.osRelease;
}

TEST(HostSystem, TheSplashDescribesTheRunningSystemNotAWindowsItIsNot)
{
    utsname names {};
    ASSERT_EQ(::uname(&names), 0);
    const std::string description = DescricaoWindows();
    EXPECT_EQ(description.find("Microsoft Windows"), std::string::npos) << description;
    EXPECT_NE(description.find(std::string(names.sysname) + " " + names.release), std::string::npos) << description;
}

} // namespace
} // namespace vorlu::sysinfo
