#include "toolkit/FormStorage.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <memory>

namespace vorlu::toolkit {

namespace {

constexpr char kOpensCentredProperty[] = "vorluOpensCentred";

// Windows reports -1 for a minimised or maximised position that was never set.
constexpr startup::PlacementPoint kUnsetPosition{-1, -1};

// The frame around the client area; zero before the window system has framed the window.
QMargins frameMargins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

bool isFixedSize(const QWidget& form)
{
    return form.minimumSize() == form.maximumSize();
}

QScreen* primaryScreen()
{
    return QGuiApplication::primaryScreen();
}

} // namespace

void setOpensCentred(QWidget& form, bool on)
{
    form.setProperty(kOpensCentredProperty, on);
}

bool opensCentred(const QWidget& form)
{
    return form.property(kOpensCentredProperty).toBool();
}

void centreOnScreen(QWidget& window)
{
    QScreen* screen = primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins margins = frameMargins(window);
    const QSize frame = window.size().grownBy(margins);
    window.move(area.left() + (area.width() - frame.width()) / 2, area.top() + (area.height() - frame.height()) / 2);
}

startup::FormWindow formWindow(const QWidget& form, const startup::WindowPlacement* carried)
{
    startup::FormWindow window;
    startup::WindowPlacement& placement = window.placement;
    placement.flags = 0;
    placement.showCmd = form.isMinimized()   ? startup::show_cmd::kMinimized
                        : form.isMaximized() ? startup::show_cmd::kMaximized
                                             : startup::show_cmd::kNormal;
    placement.minPosition = carried ? carried->minPosition : kUnsetPosition;
    placement.maxPosition = carried ? carried->maxPosition : kUnsetPosition;

    // Minimised or maximised, the rectangle kept is the one the window is restored to.
    QRect client = form.geometry();
    if ((form.isMinimized() || form.isMaximized()) && form.normalGeometry().isValid())
        client = form.normalGeometry();
    const QRect frame = client.marginsAdded(frameMargins(form));
    placement.normalRect = {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};

    if (QScreen* screen = primaryScreen()) {
        window.screenWidth = screen->geometry().width();
        window.screenHeight = screen->geometry().height();
        window.pixelsPerInch = qRound(screen->logicalDotsPerInch());
    }
    window.fixedSize = isFixedSize(form);
    window.centred = opensCentred(form);
    const VorluApplication* app = VorluApplication::instance();
    window.mainWindow = app && app->mainForm() == &form;
    window.applicationMinimized = window.mainWindow && form.isMinimized();
    return window;
}

void applyRestore(QWidget& form, const startup::PlacementRestore& restore)
{
    if (restore.placement) {
        if (restore.leaveCentring)
            setOpensCentred(form, false);
        const startup::PlacementRect& rect = restore.placement->normalRect;
        if (!isFixedSize(form)) {
            const QMargins margins = frameMargins(form);
            form.resize(rect.width() - margins.left() - margins.right(), rect.height() - margins.top() - margins.bottom());
        }
        form.move(rect.left, rect.top);
    }
    if (opensCentred(form))
        centreOnScreen(form);

    Qt::WindowStates state = form.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    switch (restore.state) {
    case startup::FormShowState::Normal: break;
    case startup::FormShowState::Minimized: state |= Qt::WindowMinimized; break;
    case startup::FormShowState::Maximized: state |= Qt::WindowMaximized; break;
    }
    // The main window's taskbar entry stands for the whole application here.
    if (restore.minimizeApplication)
        state |= Qt::WindowMinimized;
    if (state != form.windowState())
        form.setWindowState(state);
}

void attachFormStorage(TForm& form, std::string section, std::filesystem::path file)
{
    struct Storage {
        startup::FormStorage storage;
        startup::WindowPlacement carried;
    };
    auto state = std::make_shared<Storage>(Storage{startup::FormStorage(std::move(section), std::move(file)), {}});
    state->carried.minPosition = kUnsetPosition;
    state->carried.maxPosition = kUnsetPosition;

    form.setPlacementHooks(
        [state](TForm& shown) {
            const auto plan = state->storage.restore(formWindow(shown, &state->carried));
            if (!plan) {
                if (opensCentred(shown))
                    centreOnScreen(shown);
                return;
            }
            if (plan->placement) {
                state->carried.minPosition = plan->placement->minPosition;
                state->carried.maxPosition = plan->placement->maxPosition;
            }
            applyRestore(shown, *plan);
        },
        [state](TForm& closing, bool destroying) {
            const startup::FormWindow window = formWindow(closing, &state->carried);
            if (destroying)
                state->storage.saveAtDestruction(window);
            else
                state->storage.saveAtCloseRequest(window);
        });
}

} // namespace vorlu::toolkit
