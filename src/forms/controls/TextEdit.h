#pragma once

#include "forms/controls/CharCase.h"
#include "forms/controls/LineField.h"

namespace vorlu::controls {

// A free text field (name, address, district, e-mail, health plan): every character is taken;
// with a `CharCase` other than Normal the letters the user types are converted as typed. Text
// set by the program is shown as given.
class TextEdit : public LineField {
    Q_OBJECT
public:
    explicit TextEdit(QWidget* parent = nullptr);

    void setCharCase(CharCase charCase) { charCase_ = charCase; }
    CharCase charCase() const { return charCase_; }

protected:
    void insertTyped(const QString& text) override;

private:
    CharCase charCase_ = CharCase::Normal;
};

} // namespace vorlu::controls
