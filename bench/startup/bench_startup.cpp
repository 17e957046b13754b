// bench_startup: time from process start to the record screen shown and connected on an
// embedded database, without the fixed 2000 ms splash pause; median of several runs, against
// a bare Qt process that only shows an empty window.
//
// The bench starts itself as a child for each run. A child prints the monotonic clock (shared
// by all processes) when it reaches main and when its window is shown; the parent reads the
// clock just before starting it.

#include "data/Connection.h"
#include "data/Schema.h"
#include "forms/untPaciente.h"
#include "startup/Program.h"
#include "startup/Registro.h"
#include "toolkit/Application.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 9;

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

void report(const char* what, long long ns)
{
    std::printf("%s %lld\n", what, ns);
    std::fflush(stdout);
}

// The program's own entry, with the splash pause replaced by scheduling the measurement in
// the event loop the program then runs.
int childProgram(char* executable, long long mainNs)
{
    int argc = 1;
    char* argv[] = {executable, nullptr};
    vorlu::toolkit::VorluApplication application(argc, argv);
    vorlu::forms::TfrmPaciente* screen = vorlu::startup::prepareProgram(application);
    bool measured = false;
    screen->startupSequence().setPause([&](std::chrono::milliseconds) {
        QTimer::singleShot(0, [&] {
            auto* shown = vorlu::forms::frmPaciente.get();
            if (!shown || !shown->isVisible() || !shown->BancoDeDados.connected())
                return;
            measured = true;
            report("main", mainNs);
            report("shown", nowNs());
            vorlu::toolkit::VorluApplication::Terminate();
        });
    });
    application.Run();
    return measured ? 0 : 1;
}

int childBare(int argc, char** argv, long long mainNs)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(792, 523);
    window.show();
    QTimer::singleShot(0, [&] {
        report("main", mainNs);
        report("shown", nowNs());
        QApplication::quit();
    });
    return application.exec();
}

struct Run {
    double toMainMs = 0;
    double toShownMs = 0;
};

Run runChild(const char* self, const char* mode)
{
    int out[2];
    if (pipe(out) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(self), const_cast<char*>(mode), nullptr};
    pid_t pid = 0;
    const long long startNs = nowNs();
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0)
        throw std::runtime_error("cannot start the child");

    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string("child ") + mode + " failed: " + text);

    long long mainNs = 0;
    long long shownNs = 0;
    if (std::sscanf(text.c_str(), "main %lld\nshown %lld", &mainNs, &shownNs) != 2)
        throw std::runtime_error("unexpected child output: " + text);
    return {double(mainNs - startNs) / 1e6, double(shownNs - startNs) / 1e6};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const long long mainNs = nowNs();
    if (argc == 2 && std::string(argv[1]) == "--child-program")
        return childProgram(argv[0], mainNs);
    if (argc == 2 && std::string(argv[1]) == "--child-bare")
        return childBare(argc - 1, argv, mainNs);

    try {
        // Headless, with the settings and the database in a folder of the bench's own.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("vorlu-bench-startup-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        const std::string location = (folder / "bench.fdb").string();
        vorlu::data::createSchema(location);
        vorlu::startup::setDatabaseLocation(location);
        const std::string self = std::filesystem::canonical("/proc/self/exe").string();

        // One of each first, so that every measured run finds the libraries in the page cache.
        runChild(self.c_str(), "--child-bare");
        runChild(self.c_str(), "--child-program");
        std::vector<double> bare, toMain, startup;
        for (int i = 0; i < kRuns; ++i) {
            bare.push_back(runChild(self.c_str(), "--child-bare").toShownMs);
            const Run run = runChild(self.c_str(), "--child-program");
            toMain.push_back(run.toMainMs);
            startup.push_back(run.toShownMs);
        }
        std::filesystem::remove_all(folder);

        std::printf("runs = %d count\n", kRuns);
        std::printf("bare_window_median = %.1f ms\n", median(bare));
        std::printf("process_to_main_median = %.1f ms\n", median(toMain));
        std::printf("startup_min = %.1f ms\n", *std::min_element(startup.begin(), startup.end()));
        std::printf("startup_max = %.1f ms\n", *std::max_element(startup.begin(), startup.end()));
        std::printf("startup_over_bare_median = %.1f ms\n", median(startup) - median(bare));
        std::printf("startup_median = %.1f ms\n", median(startup));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_startup: %s\n", error.what());
        return 1;
    }
}
