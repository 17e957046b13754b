#pragma once

#include <QString>

#include <exception>

namespace vorlu::toolkit {

// The general error report: what an error that no handler catches turns into. VorluApplication
// calls it for every exception that escapes an event handler; code outside the event loop
// (the program entry) calls it from its own catch blocks.

// The error's text as shown: with a full stop appended when its last character's code is higher
// than the full stop's ("Falha" -> "Falha.", "Falha!" and "Falha." unchanged, "" unchanged).
QString errorReportText(const QString& errorText);

// The text an exception carries: what() read as UTF-8 for a std::exception.
QString exceptionText(std::exception_ptr error);

// Shows the report: error icon, OK button, the application title as its title.
void ShowException(const QString& errorText);

// Reports the exception being handled; call only inside a catch block. Never throws.
void HandleException();

} // namespace vorlu::toolkit
