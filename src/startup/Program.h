#pragma once

#include <QString>

namespace vorlu::forms {
class TfrmPaciente;
}

namespace vorlu::toolkit {
class VorluApplication;
}

namespace vorlu::startup {

inline const QString kApplicationTitle = QStringLiteral("Vorlu - Módulo Secretária");

// The program entry's steps after the application object exists: the workstation's number
// format and the replacement type faces, the application title (the taskbar entry and the
// error report; no window caption changes), then the record screen as the main window, in
// browse mode. No other form is created here. Returns the record screen.
forms::TfrmPaciente* prepareProgram(toolkit::VorluApplication& application);

// The whole entry: the application object on no command line of its own, prepareProgram,
// the event loop until the program is ended. Returns the exit code.
int runProgram(const char* executable);

} // namespace vorlu::startup
