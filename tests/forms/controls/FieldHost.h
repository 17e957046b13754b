#pragma once

#include "forms/controls/Beep.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace vorlu::controls::testing {

// Dates as DD/MM/YYYY and a comma as the decimal separator, whatever the machine's setting.
inline void pinBrazilianLocale()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
}

// Types the text key by key into the widget, as QTest::keyClicks does, but also for letters
// outside ASCII ("ã", "ç"), which a Brazilian keyboard types directly.
inline void typeText(QWidget* widget, const QString& text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(widget, char(ch.unicode()));
            continue;
        }
        // Qt names the Latin-1 letters' keys by their upper-case code.
        const char16_t upper = ch.toUpper().unicode();
        const Qt::Key key = upper <= 0xff ? Qt::Key(upper) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(ch), Qt::NoModifier);
    }
}

// Counts the fields' beeps while it lives.
class BeepCounter {
public:
    BeepCounter()
        : previous_(installBeepHandler([this] { ++count_; }))
    {
    }
    ~BeepCounter() { installBeepHandler(previous_); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;
    int count() const { return count_; }

private:
    int count_ = 0;
    BeepHandler previous_;
};

// A shown and active window with fields one under the other in tab order, ending in a plain
// line edit (`next`) for the focus to move to.
class FieldHost : public QWidget {
public:
    FieldHost()
        : layout_(new QVBoxLayout(this))
        , next(new QLineEdit)
    {
        resize(300, 200);
    }

    template <class T>
    T* add(T* field)
    {
        layout_->addWidget(field);
        return field;
    }

    // Call after adding the fields; false when the window never became active.
    bool showActive()
    {
        layout_->addWidget(next);
        show();
        activateWindow();
        return QTest::qWaitForWindowActive(this);
    }

private:
    QVBoxLayout* layout_;

public:
    QLineEdit* next;
};

} // namespace vorlu::controls::testing
