#pragma once

#include "forms/controls/EditMask.h"
#include "forms/controls/LineField.h"

#include <optional>

namespace vorlu::controls {

// A field with a fixed edit mask (postal code, phones; the date field builds on it). It shows
// the literals in place and the mask's blank character ("_") for each unfilled position; the
// text it reads always carries the literals (with a saving mask) and a blank for each unfilled
// position, so an untouched field reads as the mask's empty form.
//
// Leaving a field whose text the user changed since the program last set it, with a required
// position unfilled, is refused: the field beeps, keeps the focus with the cursor on that
// position, and the general error report shows kInvalidInputMessage once the focus change is
// over. Esc after a change puts back the text the field had when it was entered.
//
// A text the program sets that does not have the mask's shape (another module wrote it in
// another form) is shown and read back exactly as it was until the user edits the field; the
// first edit puts what can be kept of it into the mask.
//
// text() and setText() hide QLineEdit's: called through a QLineEdit pointer they give and take
// the edit text instead.
class MaskEdit : public LineField {
    Q_OBJECT
public:
    static const QString kInvalidInputMessage;
    // The masks of the record screen.
    static const QString kPostalCodeMask; // "00\.000\-000;1;_", empty form "  .   -   "
    static const QString kPhoneMask;      // "!\(99\) 0000-0000;1;_", empty form "(  )     -    "

    explicit MaskEdit(QWidget* parent = nullptr);
    MaskEdit(const QString& mask, QWidget* parent = nullptr);

    // Sets the mask and empties the field.
    void setEditMask(const QString& mask);
    const EditMask& editMask() const { return mask_; }

    // What the field reads: literals and a blank per unfilled position.
    QString text() const;
    // Program text: shown position by position; the empty text shows the empty form.
    void setText(const QString& text);
    // What the field shows.
    QString editText() const { return QLineEdit::text(); }

protected:
    // The user puts in a whole text (a date chosen from a calendar), as a change of theirs.
    void replaceByUser(const QString& text);

    void insertTyped(const QString& text) override;
    bool editKey(QKeyEvent& key) override;
    bool canExit() override;
    void onEntered() override;
    void adjustContextMenu(QMenu& menu) override;

private:
    void apply(const EditMask::Edit& edit);
    // From a foreign program text to the mask's form, before the user's first edit.
    void takeIntoMask();
    void eraseSelection();
    void cutSelection();

    EditMask mask_;
    std::optional<QString> foreign_;
    QString entryEdit_;
    std::optional<QString> entryForeign_;
};

} // namespace vorlu::controls
