// WinInfo on what Wine reports as Windows: the versions Wine can be told to report, the
// version read from its registry, and the registry fallback when the extended query fails.
#include "sysinfo/WinInfo.h"

#include "platform/Win32VersionQuery.h"

#include "WineRegistry.h"

#include <gtest/gtest.h>
#include <sstream>

namespace vorlu::sysinfo {

// Readable failures.
void PrintTo(const WindowsVersion& v, std::ostream* os)
{
    *os << v.major << "." << v.minor << "." << v.build << " platform " << v.platformId << " '" << v.servicePack
        << "'";
}
void PrintTo(const WindowsEdition& e, std::ostream* os)
{
    *os << (e.server ? "server" : "workstation") << " '" << e.product << "' '" << e.suite << "' '" << e.servicePack
        << "'";
}
void PrintTo(const WindowsName& n, std::ostream* os)
{
    *os << "'" << n.name << "' '" << n.number << "'";
}

namespace {

using namespace vorlu::wintest;

const std::wstring kProbe = L"vorlu_version_probe.exe";
const std::wstring kProductOptions = L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
const std::wstring kWindowsKey = L"SYSTEM\\CurrentControlSet\\Control\\Windows";
const std::wstring kCurrentVersion = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// What the probe reported in its own process.
struct ProbeReport {
    WindowsVersion version;
    WindowsEdition edition;
    WindowsName name;
    std::string description;
    std::string error;
};

std::string unescape(const std::string& line)
{
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
        } else {
            out += line[i];
        }
    }
    return out;
}

ProbeReport runProbe(bool refuseExtended)
{
    TempFolder folder;
    const auto output = folder.path() / L"report.txt";
    const DWORD code = runProgram(executableFolder() / kProbe,
                                  L"\"" + output.wstring() + L"\"" + (refuseExtended ? L" --refuse-extended" : L""));
    ProbeReport report;
    std::istringstream lines(readFile(output));
    std::vector<std::string> fields;
    for (std::string line; std::getline(lines, line);)
        fields.push_back(unescape(line));
    if (code != 0 || fields.empty()) {
        report.error = "the probe ended with " + std::to_string(code);
    } else if (fields.size() == 1) {
        report.error = fields[0];
    } else if (fields.size() == 12) {
        report.version = {static_cast<std::uint32_t>(std::stoul(fields[0])),
                          static_cast<std::uint32_t>(std::stoul(fields[1])),
                          static_cast<std::uint32_t>(std::stoul(fields[2])),
                          static_cast<std::uint32_t>(std::stoul(fields[3])), fields[4]};
        report.edition = {fields[5] == "1", fields[6], fields[7], fields[8]};
        report.name = {fields[9], fields[10]};
        report.description = fields[11];
    } else {
        report.error = "a report of " + std::to_string(fields.size()) + " lines";
    }
    return report;
}

// A version Wine can be told to report by its name, and what the four operations make of it.
struct NamedVersion {
    const char* wineName;
    WindowsVersion version;
    WindowsEdition edition;
    WindowsName name;
    const char* description;
};

class ReportedByWine : public ::testing::TestWithParam<NamedVersion> {};

TEST_P(ReportedByWine, IsDescribedByTheFixedRules)
{
    const NamedVersion& row = GetParam();
    ScopedWineVersion reported(kProbe, wide(row.wineName));
    const ProbeReport report = runProbe(false);
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(report.version, row.version);
    EXPECT_EQ(report.edition, row.edition);
    EXPECT_EQ(report.name, row.name);
    EXPECT_EQ(report.description, row.description);
}

INSTANTIATE_TEST_SUITE_P(
    WinInfoOnWine, ReportedByWine,
    ::testing::Values(
        NamedVersion{"winxp",
                     {5, 1, 2600, 2, "Service Pack 3"},
                     {false, "Professional", "Personal", "Service Pack 3"},
                     {"Microsoft Windows XP", "5.01.2600"},
                     "Microsoft Windows XP 5.01.2600\r\nService Pack 3 Professional Personal"},
        NamedVersion{"win2k",
                     {5, 0, 2195, 2, "Service Pack 4"},
                     {false, "Professional", "", "Service Pack 4"},
                     {"Microsoft Windows 2000", "5.00.2195"},
                     "Microsoft Windows 2000 5.00.2195\r\nService Pack 4 Professional"},
        // 5.2 is no version of its own: server or not, it is named XP.
        NamedVersion{"win2003",
                     {5, 2, 3790, 2, "Service Pack 2"},
                     {true, "Server", "", "Service Pack 2"},
                     {"Microsoft Windows XP", "5.02.3790"},
                     "Microsoft Windows XP 5.02.3790\r\nService Pack 2 Server"},
        NamedVersion{"nt40",
                     {4, 0, 1381, 2, "Service Pack 6a"},
                     {false, "Professional", "", "Service Pack 6a"},
                     {"Microsoft Windows NT", "4.00.1381"},
                     "Microsoft Windows NT 4.00.1381\r\nService Pack 6a Professional"},
        // From 6.0 on, every NT version is named XP.
        NamedVersion{"vista",
                     {6, 0, 6002, 2, "Service Pack 2"},
                     {false, "Professional", "Personal", "Service Pack 2"},
                     {"Microsoft Windows XP", "6.00.6002"},
                     "Microsoft Windows XP 6.00.6002\r\nService Pack 2 Professional Personal"},
        // Without a service pack, product and suite stay on the first line.
        NamedVersion{"win10",
                     {6, 2, 9200, 2, ""},
                     {false, "Professional", "Personal", ""},
                     {"Microsoft Windows XP", "6.02.9200"},
                     "Microsoft Windows XP 6.02.9200 Professional Personal"},
        // The Windows 95 family: the minor version from bits 16 to 23 of the build number,
        // the build from its low 16 bits, the letter near the start of the service-pack text.
        NamedVersion{"win98",
                     {4, 10, 2222, 1, " A "},
                     {true, "", "", " A "},
                     {"Microsoft Windows 98 SE", "4.10.2222"},
                     "Microsoft Windows 98 SE 4.10.2222\r\n A "},
        NamedVersion{"win95",
                     {4, 0, 950, 1, ""},
                     {true, "", "", ""},
                     {"Microsoft Windows 95", "4.00.950"},
                     "Microsoft Windows 95 4.00.950"},
        NamedVersion{"winme",
                     {4, 90, 3000, 1, " "},
                     {true, "", "", " "},
                     {"Microsoft Windows Me", "4.90.3000"},
                     "Microsoft Windows Me 4.90.3000\r\n "},
        NamedVersion{"win31",
                     {3, 10, 0, 0, "Win32s 1.3"},
                     {true, "", "", "Win32s 1.3"},
                     {"Microsoft Windows 3.11", "3.10.0"},
                     "Microsoft Windows 3.11 3.10.0\r\nWin32s 1.3"}),
    [](const ::testing::TestParamInfo<NamedVersion>& info) { return info.param.wineName; });

// Without a version name, Wine reports the version its registry holds, product type included.
struct RegistryVersion {
    const char* name;
    const wchar_t* currentVersion;
    const wchar_t* build;
    const wchar_t* servicePack;
    const wchar_t* productType;
    WindowsEdition edition;
    const char* description;
};

class ReportedFromWinesRegistry : public ::testing::TestWithParam<RegistryVersion> {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(queryWide(HKEY_CURRENT_USER, L"Software\\Wine", L"Version"))
            << "a version name for every program would hide the registry's";
    }
    ValueSnapshot version{HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentVersion"};
    ValueSnapshot build{HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuildNumber"};
    ValueSnapshot servicePack{HKEY_LOCAL_MACHINE, kCurrentVersion, L"CSDVersion"};
    ValueSnapshot productType{HKEY_LOCAL_MACHINE, kProductOptions, L"ProductType"};
};

TEST_P(ReportedFromWinesRegistry, IsDescribedByTheFixedRules)
{
    const RegistryVersion& row = GetParam();
    setString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentVersion", row.currentVersion);
    setString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuildNumber", row.build);
    setString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CSDVersion", row.servicePack);
    setString(HKEY_LOCAL_MACHINE, kProductOptions, L"ProductType", row.productType);
    const ProbeReport report = runProbe(false);
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(report.edition, row.edition);
    EXPECT_EQ(report.description, row.description);
}

INSTANTIATE_TEST_SUITE_P(
    WinInfoOnWine, ReportedFromWinesRegistry,
    ::testing::Values(
        RegistryVersion{"Windows2000Server", L"5.0", L"2195", L"", L"ServerNT",
                        {true, "Server", "", ""},
                        "Microsoft Windows 2000 Server 5.00.2195 Server"},
        RegistryVersion{"Windows2000DomainController", L"5.0", L"2195", L"Service Pack 2", L"LanmanNT",
                        {true, "Domain controller", "", "Service Pack 2"},
                        "Microsoft Windows 2000 Server 5.00.2195\r\nService Pack 2 Domain controller"},
        RegistryVersion{"NetServer", L"5.1", L"2600", L"", L"ServerNT",
                        {true, "Server", "", ""},
                        "Microsoft Windows .NET Server 5.01.2600 Server"},
        RegistryVersion{"NtServer", L"4.0", L"1381", L"Service Pack 3", L"ServerNT",
                        {true, "Server", "", "Service Pack 3"},
                        "Microsoft Windows NT Server 4.00.1381\r\nService Pack 3 Server"}),
    [](const ::testing::TestParamInfo<RegistryVersion>& info) { return info.param.name; });

// The extended query fails in this process as it did on Windows before its structure existed;
// the basic query still reaches Windows. The two keys of the fallback are put back afterwards.
class RefusedExtendedQuery : public ::testing::Test {
protected:
    static BOOL WINAPI refuseExtended(LPOSVERSIONINFOA info)
    {
        if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXA)) {
            ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        return passedOn(info);
    }
    void SetUp() override
    {
        passedOn = platform::replaceGetVersionExA(&refuseExtended);
        deleteTree(HKEY_LOCAL_MACHINE, kProductOptions);
        deleteTree(HKEY_LOCAL_MACHINE, kWindowsKey);
    }
    void TearDown() override { platform::replaceGetVersionExA(nullptr); }

    static inline platform::GetVersionExAFunction passedOn = nullptr;
    KeySnapshot productOptions{HKEY_LOCAL_MACHINE, kProductOptions};
    KeySnapshot windows{HKEY_LOCAL_MACHINE, kWindowsKey};
};

TEST_F(RefusedExtendedQuery, MissingKeysLeaveTheStartingValuesAndAreNotCreated)
{
    EXPECT_EQ(ObterEdicaoWindows(), WindowsEdition{});
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kProductOptions));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kWindowsKey));
}

TEST_F(RefusedExtendedQuery, TheServicePackNumberWindowsKeepsThereIsNoText)
{
    // Windows keeps Control\Windows\CSDVersion as a number (0x100 for Service Pack 1).
    setString(HKEY_LOCAL_MACHINE, kProductOptions, L"ProductType", L"WinNT");
    setDword(HKEY_LOCAL_MACHINE, kWindowsKey, L"CSDVersion", 0x100);
    try {
        DescricaoWindows();
        FAIL() << "no error";
    } catch (const platform::RegistryTypeError& error) {
        EXPECT_STREQ(error.what(), "Tipo de dados inválido para 'CSDVersion'");
    }
}

struct FallbackValues {
    const char* name;
    const wchar_t* productType; // nullptr: no such value
    const wchar_t* suiteMask;
    const wchar_t* servicePack;
    WindowsEdition edition;
};

class FallbackRead : public RefusedExtendedQuery, public ::testing::WithParamInterface<FallbackValues> {};

TEST_P(FallbackRead, GivesTheEditionFromTheRegistry)
{
    const FallbackValues& row = GetParam();
    if (row.productType)
        setString(HKEY_LOCAL_MACHINE, kProductOptions, L"ProductType", row.productType);
    if (row.suiteMask)
        setString(HKEY_LOCAL_MACHINE, kProductOptions, L"SuiteMask", row.suiteMask);
    if (row.servicePack)
        setString(HKEY_LOCAL_MACHINE, kWindowsKey, L"CSDVersion", row.servicePack);
    EXPECT_EQ(ObterEdicaoWindows(), row.edition);
}

INSTANTIATE_TEST_SUITE_P(
    WinInfoOnWine, FallbackRead,
    ::testing::Values(
        FallbackValues{"Workstation", L"WinNT", nullptr, L"Service Pack 5",
                       {false, "Professional", "", "Service Pack 5"}},
        FallbackValues{"AdvancedServer", L"LanmanNT", L"Terminal Server", nullptr,
                       {true, "Advanced Server", "Terminal Server", ""}},
        FallbackValues{"ServerInAnyCase", L"serverNT", nullptr, nullptr, {true, "Server", "", ""}},
        FallbackValues{"SuiteAlone", nullptr, L"Enterprise", nullptr, {true, "", "Enterprise", ""}}),
    [](const ::testing::TestParamInfo<FallbackValues>& info) { return info.param.name; });

TEST_F(RefusedExtendedQuery, AWholeProgramDescribesItsWindowsFromTheRegistry)
{
    setString(HKEY_LOCAL_MACHINE, kProductOptions, L"ProductType", L"LanmanNT");
    setString(HKEY_LOCAL_MACHINE, kProductOptions, L"SuiteMask", L"Terminal Server");
    setString(HKEY_LOCAL_MACHINE, kWindowsKey, L"CSDVersion", L"Service Pack 5");
    ScopedWineVersion reported(kProbe, L"nt40");
    const ProbeReport report = runProbe(true);
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(report.version, (WindowsVersion{4, 0, 1381, 2, "Service Pack 6a"})) << "the basic query as reported";
    EXPECT_EQ(report.description,
              "Microsoft Windows NT Server 4.00.1381\r\nService Pack 5 Advanced Server Terminal Server");
}

} // namespace
} // namespace vorlu::sysinfo
