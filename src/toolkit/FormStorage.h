#pragma once

#include "startup/FormPlacement.h"

#include <filesystem>
#include <string>

class QWidget;

namespace vorlu::toolkit {

class TForm;

// The form-placement storage (FormStorage1) on a real window: the placement logic of
// startup/FormPlacement.h fed from and applied to a QWidget. A top-level window's position is
// its frame's top-left corner, as on Windows; its normal rectangle is the frame's rectangle.

// A form that opens centred on the screen; a restored position switches it to its designed
// position (the flag goes off), so centring does not move it again.
void setOpensCentred(QWidget& form, bool on);
bool opensCentred(const QWidget& form);

// Moves the window so that its frame is centred in the primary screen's available area.
void centreOnScreen(QWidget& window);

// The window as a restore or a save sees it. The minimised and maximised positions are not
// known to Qt: they come from `carried` (what the last restore read, else Windows' -1 for
// positions never set).
startup::FormWindow formWindow(const QWidget& form, const startup::WindowPlacement* carried = nullptr);

// Applies a planned restore: the position (only left and top for a fixed-size form), then the
// show state. A form still set to open centred is centred afterwards.
void applyRestore(QWidget& form, const startup::PlacementRestore& restore);

// Gives the form its placement storage in the section named after the form's class: restore on
// every show before FormShow, save at a close request the close query allowed and at
// destruction. An empty file means the running system's placement file.
void attachFormStorage(TForm& form, std::string section, std::filesystem::path file = {});

} // namespace vorlu::toolkit
