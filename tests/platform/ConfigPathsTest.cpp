#include "platform/ConfigPaths.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace vorlu::platform {
namespace {

// Sets an environment variable for the test's duration.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ConfigPaths, FollowTheXdgConfigFolder)
{
    ScopedEnvironment home("HOME", "/home/ana");
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", "/tmp/cfg");
        EXPECT_EQ(registryFilePath(), "/tmp/cfg/Vorlu/registry.reg");
    }
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(registryFilePath(), "/home/ana/.config/Vorlu/registry.reg") << "a relative folder is ignored";
    }
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(registryFilePath(), "/home/ana/.config/Vorlu/registry.reg");
    }
}

TEST(ConfigPaths, ThePlacementFileIsNamedAfterTheExecutable)
{
    EXPECT_EQ(placementFileName("/usr/bin/vorlu-secretaria"), "vorlu-secretaria.INI");
    EXPECT_EQ(placementFileName("C:/Vorlu/Secretaria.exe"), "Secretaria.INI");
    EXPECT_EQ(placementFileName("/opt/v1.0/vorlu.bin"), "vorlu.INI");

    ScopedEnvironment xdg("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(placementFilePath(), "/tmp/cfg/Vorlu/test_platform.INI");
}

} // namespace
} // namespace vorlu::platform
