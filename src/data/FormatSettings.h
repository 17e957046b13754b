#pragma once

namespace vorlu::data {

// The workstation's number format, set once by the program from the system locale. Values
// read as text use it; it defaults to a full stop.
char decimalSeparator();
void setDecimalSeparator(char separator);

} // namespace vorlu::data
