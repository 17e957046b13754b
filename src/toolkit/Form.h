#pragma once

#include "toolkit/ModalResult.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

class QAbstractButton;
class QEventLoop;
class QKeyEvent;

namespace vorlu::toolkit {

// What a close request does once the close query allowed it.
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// A top-level window with the form life cycle the program's units are written against:
//
//   creation   CreateForm<T>() constructs the form and runs FormCreate (an error escapes to the
//              creator and the half-made form is freed).
//   show       placement restore hook, then FormShow, both before the window becomes visible;
//              an error in either goes to the general error report and the window still shows.
//   close      CloseQuery; if it allows, the placement save hook, then FormClose, whose action
//              decides: caNone keeps the form, caHide hides it, caFree frees it.
//   modal      ShowModal() waits and returns the modal result; a close request ends it with
//              mrCancel, a button given a modal result ends it with that result. A form that
//              frees itself is freed only after ShowModal has returned to the caller.
//   destroy    placement save hook (destroying), then FormDestroy; then the object is deleted
//              and every FormGlobal pointing at it reads empty.
//
// Create forms on the heap (CreateForm, FormGlobal): VorluApplication::Run() frees every form
// still alive when the program ends. Free a form through close/Release()/Free(), not with
// delete: a plain delete cannot run the derived class's FormDestroy (only the placement save
// hook runs then).
class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    // Runs FormCreate once (CreateForm does it; the first show does it if nobody did).
    void runCreate();

    // Shows modally; returns the modal result (mrYes 6, mrNo 7, mrCancel 2, ...).
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    // Setting a result other than mrNone while modal ends the modal wait with it.
    void setModalResult(TModalResult result);
    bool inModalLoop() const { return modalLoop_ != nullptr; }
    // The button ends the modal wait with the result when clicked.
    void setButtonModalResult(QAbstractButton* button, TModalResult result);

    // Frees the form once control returns to the event loop (after the current handler).
    void Release();
    // Frees the form now: destroy hooks, then delete. Not from inside the form's own handlers.
    void Free();

    // The control that has (or last had) the focus in this form; nullptr when none.
    QWidget* ActiveControl() const;

    // The Enter-as-Tab rule: Enter moves the focus to the next control in tab order, Shift+Enter
    // to the previous one, unless the focused control's Tag is kTagKeepsEnter or the control
    // uses Enter itself (a memo). Off by default.
    void setEnterAsTab(bool on) { enterAsTab_ = on; }
    bool enterAsTab() const { return enterAsTab_; }

    // Window-placement storage plugs in here. restore runs on every show before FormShow;
    // save runs at a close request the close query allowed (destroying false) and at
    // destruction (destroying true). Errors in them go to the general error report.
    using PlacementRestore = std::function<void(TForm&)>;
    using PlacementSave = std::function<void(TForm&, bool destroying)>;
    void setPlacementHooks(PlacementRestore restore, PlacementSave save);

    // Every form alive, oldest first.
    static QList<TForm*> forms();

protected:
    virtual void FormCreate() {}
    virtual void FormShow() {}
    // false refuses the close request before anything else runs.
    virtual bool CloseQuery() { return true; }
    // Given the default action (caHide), returns what the close does.
    virtual TCloseAction FormClose(TCloseAction action) { return action; }
    virtual void FormDestroy() {}

    // The form's dialog-key handling: Enter, Tab and Escape that the focused control does not
    // use itself arrive here before the control's own key handler. Return true when handled
    // (the control then never sees the key). The base applies the Enter-as-Tab rule.
    virtual bool DialogKey(QKeyEvent& key);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    class DialogKeyFilter;
    bool filterDialogKey(QObject* watched, QEvent* event);
    bool runCloseQuery();
    TCloseAction runFormClose(TCloseAction action);
    void closeModal();
    void runDestroy();

    bool created_ = false;
    bool destroyed_ = false;
    bool enterAsTab_ = false;
    bool freeAfterModal_ = false;
    TModalResult modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr;
    DialogKeyFilter* keyFilter_ = nullptr;
    PlacementRestore restorePlacement_;
    PlacementSave savePlacement_;
};

// Constructs a form and runs its FormCreate. If FormCreate fails, the form is freed and the
// error reaches the caller.
template <class T, class... Args>
T* CreateForm(Args&&... args)
{
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    form->runCreate();
    return form.release();
}

} // namespace vorlu::toolkit
