#pragma once

namespace vorlu::toolkit {

// The answer of a modal window or message box. The numbers are those the rest of the program
// compares against (6 Yes, 7 No, 2 Cancel), which are also the Windows button identifiers
// (IDOK, IDCANCEL, IDYES, IDNO), so a system message box answers in the same numbers.
using TModalResult = int;

inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

} // namespace vorlu::toolkit
