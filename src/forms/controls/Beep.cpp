#include "forms/controls/Beep.h"

#include <QApplication>

#include <utility>

namespace vorlu::controls {

namespace {
BeepHandler& currentHandler()
{
    static BeepHandler handler;
    return handler;
}
} // namespace

void beep()
{
    if (const BeepHandler& handler = currentHandler())
        handler();
    else
        QApplication::beep();
}

BeepHandler installBeepHandler(BeepHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

} // namespace vorlu::controls
