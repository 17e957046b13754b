#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlu::startup {

// Window placement kept in the placement file (the executable's name with ".INI"), one section
// per form class. The logic works on plain values; the toolkit fills a FormWindow from the real
// window and applies a PlacementRestore to it.

struct PlacementPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PlacementPoint&, const PlacementPoint&) = default;
};

struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const PlacementRect&, const PlacementRect&) = default;
};

// Show states in Windows numbering (SW_...), the numbering of the ShowCmd key.
namespace show_cmd {
inline constexpr int kNormal = 1;
inline constexpr int kMinimized = 2;
inline constexpr int kMaximized = 3;
} // namespace show_cmd

// The placement of a window as Windows describes it (WINDOWPLACEMENT).
struct WindowPlacement {
    std::uint32_t flags = 0;
    int showCmd = show_cmd::kNormal;
    PlacementPoint minPosition;
    PlacementPoint maxPosition;
    PlacementRect normalRect; // the restored rectangle in screen pixels
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// A form at the moment of a restore or a save.
struct FormWindow {
    WindowPlacement placement;
    int screenWidth = 0;  // the primary screen, in pixels
    int screenHeight = 0;
    int pixelsPerInch = 96;
    bool fixedSize = true;             // its border does not allow resizing
    bool centred = false;              // it opens centred on the screen
    bool mainWindow = false;
    bool applicationMinimized = false; // for the main window: the whole application is minimised
};

enum class FormShowState { Normal, Minimized, Maximized };

// What a restore asks of the window.
struct PlacementRestore {
    // The placement to apply, when the stored position is usable. A centred form is switched
    // to its designed position first (leaveCentring), so centring does not move it again.
    std::optional<WindowPlacement> placement;
    bool leaveCentring = false;
    FormShowState state = FormShowState::Normal;
    // A minimised main window stays normal and the whole application is minimised instead.
    bool minimizeApplication = false;
};

enum class SaveMoment { CloseRequest, Destruction };

// The key suffix of the current screen: "(1920x1080)".
std::string screenSuffix(int width, int height);

// The keys a save writes, in the order written, with their values.
std::vector<std::pair<std::string, std::string>> placementEntries(const FormWindow& window, SaveMoment moment);

// Reads one key of the form's section; nullopt when it is missing.
using StoredKey = std::function<std::optional<std::string>(std::string_view key)>;

// The restore of a form from its stored keys; nullopt when the stored FormVersion is below 0,
// which skips the whole restore.
std::optional<PlacementRestore> planRestore(const StoredKey& stored, const FormWindow& window);

// The form-placement storage of one form (FormStorage1): it restores when the form is shown and
// saves when the form is asked to close and when it is destroyed. Each restore and save reads
// the file afresh, so the two forms sharing it never undo each other's section. Errors
// (platform::ProfileWriteError "Impossível gravar para <file>", platform::ProfileReadError)
// propagate; the caller hands them to the general error report and goes on.
class FormStorage {
public:
    // section: the form's class name (TfrmPaciente, TfrmLocalizaPaciente). Without a file, the
    // running system's placement file (platform::placementFilePath()).
    explicit FormStorage(std::string section);
    FormStorage(std::string section, std::filesystem::path file);

    // When the form is shown, before its own show handling.
    std::optional<PlacementRestore> restore(const FormWindow& window);
    // At a close request the form's close query has accepted.
    void saveAtCloseRequest(const FormWindow& window);
    // When the form is destroyed; saves only when nothing was saved since the last restore.
    void saveAtDestruction(const FormWindow& window);

    bool restored() const { return restored_; }
    const std::string& section() const { return section_; }
    // The file used; looked up at each call when none was given.
    std::filesystem::path file() const;

private:
    void save(const FormWindow& window, SaveMoment moment);

    std::string section_;
    std::filesystem::path file_; // empty: the running system's placement file
    bool restored_ = false;
    bool savedSinceRestore_ = false;
};

} // namespace vorlu::startup
