#pragma once

class QFocusEvent;
class QWidget;

namespace vorlu::controls {

// What a field's focus events mean to the screen: an entry when the focus comes from another
// control of the window, an exit when it goes to another one. Deactivating and reactivating the
// window (a message box, another program) and opening a popup of the field's own (a drop-down
// list, a calendar) neither enter nor leave it.
class FieldFocus {
public:
    // From focusInEvent: true when this is an entry.
    bool enter(const QFocusEvent& event);
    // From focusOutEvent of `field`: true when the focus is leaving for another control of its
    // window. The caller then either lets it go (left()) or takes the focus back (takeBack()).
    bool leaving(const QFocusEvent& event, const QWidget& field) const;
    void left() { inside_ = false; }
    // Gives the focus back to the field that refused to be left; the focus-in this causes is not
    // an entry.
    template <class F>
    void takeBack(F&& setFocus)
    {
        takingBack_ = true;
        setFocus();
        takingBack_ = false;
    }
    // Between an entry and an exit.
    bool inside() const { return inside_; }

private:
    bool inside_ = false;
    bool takingBack_ = false;
};

} // namespace vorlu::controls
