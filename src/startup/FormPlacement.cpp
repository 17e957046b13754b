#include "startup/FormPlacement.h"

#include "platform/ConfigPaths.h"
#include "platform/ProfileFile.h"

#include <charconv>
#include <cstdio>

namespace vorlu::startup {

namespace {

constexpr std::string_view kFormVersion = "FormVersion";
constexpr std::string_view kFlags = "Flags";
constexpr std::string_view kShowCmd = "ShowCmd";
constexpr std::string_view kPixelsPerInch = "PixelsPerInch";
constexpr std::string_view kMinMaxPos = "MinMaxPos";
constexpr std::string_view kNormPos = "NormPos";
constexpr std::string_view kVisible = "Visible";

// A decimal integer, blanks around it allowed; anything else is no number.
std::optional<int> parseInteger(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int integerOr(const StoredKey& stored, std::string_view key, int fallback)
{
    const auto text = stored(key);
    if (!text)
        return fallback;
    return parseInteger(*text).value_or(fallback);
}

// The words of a position text, split at commas and blanks.
std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of(", ", start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop > start)
            result.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    return result;
}

int wordOr(const std::vector<std::string_view>& list, std::size_t index, int fallback)
{
    if (index >= list.size())
        return fallback;
    return parseInteger(list[index]).value_or(fallback);
}

// The position text under the key for the current screen, else under the bare key; an empty
// text counts as none.
std::optional<std::string> positionText(const StoredKey& stored, std::string_view key, const std::string& suffix)
{
    for (const std::string& name : {std::string(key) + suffix, std::string(key)}) {
        auto text = stored(name);
        if (text && !text->empty())
            return text;
    }
    return std::nullopt;
}

std::string fourIntegers(int a, int b, int c, int d)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d", a, b, c, d);
    return buffer;
}

FormShowState stateFor(int showCmd)
{
    switch (showCmd) {
    case 2: // SW_SHOWMINIMIZED
    case 6: // SW_MINIMIZE
    case 7: // SW_SHOWMINNOACTIVE
        return FormShowState::Minimized;
    case 3: // SW_SHOWMAXIMIZED
        return FormShowState::Maximized;
    default: // 1 SW_SHOWNORMAL, 5 SW_SHOW, 9 SW_RESTORE and anything else
        return FormShowState::Normal;
    }
}

} // namespace

std::string screenSuffix(int width, int height)
{
    return "(" + std::to_string(width) + "x" + std::to_string(height) + ")";
}

std::vector<std::pair<std::string, std::string>> placementEntries(const FormWindow& window, SaveMoment moment)
{
    const WindowPlacement& p = window.placement;
    const std::string suffix = screenSuffix(window.screenWidth, window.screenHeight);
    const int showCmd = window.mainWindow && window.applicationMinimized ? show_cmd::kMinimized : p.showCmd;
    const std::string minMax = fourIntegers(p.minPosition.x, p.minPosition.y, p.maxPosition.x, p.maxPosition.y);
    const std::string normal = fourIntegers(p.normalRect.left, p.normalRect.top, p.normalRect.right, p.normalRect.bottom);
    return {
        {std::string(kFormVersion), "0"},
        {std::string(kFlags), std::to_string(static_cast<int>(p.flags))},
        {std::string(kShowCmd), std::to_string(showCmd)},
        {std::string(kPixelsPerInch), std::to_string(window.pixelsPerInch)},
        {std::string(kMinMaxPos) + suffix, minMax},
        {std::string(kMinMaxPos), minMax},
        {std::string(kNormPos) + suffix, normal},
        {std::string(kNormPos), normal},
        {std::string(kVisible), moment == SaveMoment::Destruction ? "1" : "0"},
    };
}

std::optional<PlacementRestore> planRestore(const StoredKey& stored, const FormWindow& window)
{
    if (integerOr(stored, kFormVersion, 0) < 0)
        return std::nullopt;

    const WindowPlacement& current = window.placement;
    const std::string suffix = screenSuffix(window.screenWidth, window.screenHeight);
    WindowPlacement placement = current;
    placement.flags = static_cast<std::uint32_t>(integerOr(stored, kFlags, static_cast<int>(current.flags)));

    bool found = false;
    if (const auto text = positionText(stored, kMinMaxPos, suffix)) {
        found = true;
        const auto list = words(*text);
        placement.minPosition = {wordOr(list, 0, 0), wordOr(list, 1, 0)};
        placement.maxPosition = {wordOr(list, 2, 0), wordOr(list, 3, 0)};
    }
    if (const auto text = positionText(stored, kNormPos, suffix)) {
        found = true;
        const auto list = words(*text);
        const PlacementRect& now = current.normalRect;
        placement.normalRect = {wordOr(list, 0, now.left), wordOr(list, 1, now.top), wordOr(list, 2, now.right),
                                wordOr(list, 3, now.bottom)};
    }
    // A position saved under another pixels-per-inch setting would land the form elsewhere.
    const int storedPixelsPerInch = integerOr(stored, kPixelsPerInch, window.pixelsPerInch);

    PlacementRestore result;
    if (found && storedPixelsPerInch == window.pixelsPerInch) {
        PlacementRect& rect = placement.normalRect;
        if (window.fixedSize)
            rect = {rect.left, rect.top, rect.left + current.normalRect.width(), rect.top + current.normalRect.height()};
        if (rect.left < rect.right) {
            result.placement = placement;
            result.leaveCentring = window.centred;
        }
    }

    result.state = stateFor(integerOr(stored, kShowCmd, 0));
    if (result.state == FormShowState::Minimized && window.mainWindow) {
        result.state = FormShowState::Normal;
        result.minimizeApplication = true;
    }
    return result;
}

FormStorage::FormStorage(std::string section) : section_(std::move(section)) {}

FormStorage::FormStorage(std::string section, std::filesystem::path file)
    : section_(std::move(section)), file_(std::move(file))
{
}

std::filesystem::path FormStorage::file() const
{
    return file_.empty() ? platform::placementFilePath() : file_;
}

std::optional<PlacementRestore> FormStorage::restore(const FormWindow& window)
{
    const auto profile = platform::openProfileFile(file());
    const auto plan = planRestore(
        [&](std::string_view key) { return profile->readString(section_, key); }, window);
    restored_ = true;
    savedSinceRestore_ = false;
    return plan;
}

void FormStorage::saveAtCloseRequest(const FormWindow& window)
{
    if (restored_)
        save(window, SaveMoment::CloseRequest);
}

void FormStorage::saveAtDestruction(const FormWindow& window)
{
    if (restored_ && !savedSinceRestore_)
        save(window, SaveMoment::Destruction);
}

void FormStorage::save(const FormWindow& window, SaveMoment moment)
{
    // A failed attempt counts as the save, so one close reports a broken file once.
    savedSinceRestore_ = true;
    const auto profile = platform::openProfileFile(file());
    for (const auto& [key, value] : placementEntries(window, moment))
        profile->writeString(section_, key, value);
    profile->flush();
}

} // namespace vorlu::startup
