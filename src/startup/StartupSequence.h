#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace vorlu::forms {
class TfrmPaciente;
}

namespace vorlu::startup {

// Sleeps on the calling thread without processing any window message: the splash pause
// freezes the user interface, and nothing else runs during it.
void sleepWithoutMessages(std::chrono::milliseconds duration);

// The record screen's start-up handler (its FormShow) and the failure road behind it.
//
//   1. read CaminhoBD (an error here goes to the general error report: nothing else runs);
//   2. disconnect BancoDeDados and give it the location, unchanged;
//   3. the attempt: open the connection, read the server clock into DataServidor, create and
//      show the splash with "Conectando ao Banco de Dados...", paint it, pause, close it;
//   4. any error of the attempt: the location dialog. A confirmed location is saved, opened
//      (unprotected), the user is told to start again and the program ends; anything else ends
//      the program at once.
class StartupSequence {
public:
    static constexpr std::chrono::milliseconds kSplashPause{2000};

    using Pause = std::function<void(std::chrono::milliseconds)>;
    using Terminate = std::function<void()>;

    explicit StartupSequence(forms::TfrmPaciente& screen);

    // How long the splash stays (2000 ms) and how the pause is spent (by default the thread
    // sleeps, processing no messages). Tests and the benchmark shorten or observe it here.
    void setSplashPause(std::chrono::milliseconds duration) { splashPause_ = duration; }
    std::chrono::milliseconds splashPause() const { return splashPause_; }
    void setPause(Pause pause) { pause_ = std::move(pause); }

    // What ending the program does; by default it asks the event loop to stop.
    void setTerminate(Terminate terminate) { terminate_ = std::move(terminate); }

    // The start-up handler. Runs when the record screen is shown.
    void run();

private:
    bool attempt();
    void failureRoad(const std::string& location);
    void endProgram();

    forms::TfrmPaciente& screen_;
    std::chrono::milliseconds splashPause_ = kSplashPause;
    Pause pause_;
    Terminate terminate_;
};

} // namespace vorlu::startup
