#include "toolkit/testing/ModalDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

namespace vorlu::toolkit::testing {

void whenModalOpens(std::function<void(QWidget* modal)> act, int timeoutMs)
{
    // Polls: the modal wait is entered only after the caller has gone on.
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, timeoutMs, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void pressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != window)
        target = window;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

} // namespace vorlu::toolkit::testing
