#pragma once

class QObject;
class QWidget;

namespace vorlu::toolkit {

// A control's Tag: an integer with no meaning to the toolkit (0 until set).
void setTag(QObject* control, int tag);
int tag(const QObject* control);

// This Tag on the focused control lets Enter through to the control on a form that turns
// Enter into Tab (the record screen's code field while it loads by Enter).
inline constexpr int kTagKeepsEnter = 65536;

// Tab stop: whether Tab (and Enter-as-Tab) stops at the control. A control that is not a tab
// stop still takes the focus when clicked.
void setTabStop(QWidget* control, bool on);
bool isTabStop(const QWidget* control);

// A control that uses Enter itself (memos do, always): the form's dialog-key handling never sees
// its Enter. Needed only for custom controls; text edits are recognised without it.
void setWantsEnter(QWidget* control, bool on);
bool wantsEnter(const QWidget* control);

} // namespace vorlu::toolkit
