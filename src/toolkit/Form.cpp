#include "toolkit/Form.h"

#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/ErrorReport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QShowEvent>

#include <algorithm>
#include <vector>

namespace vorlu::toolkit {

namespace {

std::vector<TForm*>& liveForms()
{
    static std::vector<TForm*> forms;
    return forms;
}

// Runs a handler the way the toolkit runs its own: an error goes to the general error report
// and the caller carries on. Returns false when the handler failed.
template <class F>
bool guarded(F&& handler)
{
    try {
        handler();
        return true;
    } catch (...) {
        HandleException();
        return false;
    }
}

bool isEnter(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

bool isDialogKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape: return true;
    default: return false;
    }
}

// Whether the focused control uses the key itself, so that the form never sees it.
bool controlTakesKey(const QWidget* control, const QKeyEvent& key)
{
    if (isEnter(key))
        return wantsEnter(control);
    return false;
}

} // namespace

// Sees every key before the focused control does, for the form's dialog-key handling. An object
// of its own, so that a form filtering its controls' events itself cannot switch it off.
class TForm::DialogKeyFilter final : public QObject {
public:
    explicit DialogKeyFilter(TForm* form)
        : QObject(form)
        , form_(form)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return form_->filterDialogKey(watched, event); }

private:
    TForm* form_;
};

TForm::TForm(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    liveForms().push_back(this);
    keyFilter_ = new DialogKeyFilter(this);
    qApp->installEventFilter(keyFilter_);
}

TForm::~TForm()
{
    // The widget part still sends events while it is torn down; by then this is no TForm.
    delete keyFilter_;
    if (!destroyed_) {
        // Deleted directly: the derived part is gone, only the placement can still be saved.
        destroyed_ = true;
        if (savePlacement_)
            guarded([&] { savePlacement_(*this, true); });
    }
    auto& forms = liveForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

QList<TForm*> TForm::forms()
{
    return QList<TForm*>(liveForms().begin(), liveForms().end());
}

void TForm::runCreate()
{
    if (created_)
        return;
    created_ = true;
    FormCreate();
}

void TForm::setPlacementHooks(PlacementRestore restore, PlacementSave save)
{
    restorePlacement_ = std::move(restore);
    savePlacement_ = std::move(save);
}

QWidget* TForm::ActiveControl() const
{
    QWidget* control = focusWidget();
    return control && control->window() == this ? control : nullptr;
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring a minimised window is not a show
    if (!created_)
        guarded([&] { runCreate(); });
    if (restorePlacement_)
        guarded([&] { restorePlacement_(*this); });
    guarded([&] { FormShow(); });
}

bool TForm::runCloseQuery()
{
    bool allowed = false;
    if (!guarded([&] { allowed = CloseQuery(); }) || !allowed)
        return false;
    if (savePlacement_)
        guarded([&] { savePlacement_(*this, false); });
    return true;
}

TCloseAction TForm::runFormClose(TCloseAction action)
{
    TCloseAction result = caNone;
    // A failing close handler keeps the form open.
    guarded([&] { result = FormClose(action); });
    return result;
}

void TForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (modalLoop_) {
        // The modal wait runs the close query and the close handler once it has ended.
        setModalResult(mrCancel);
        return;
    }
    if (!runCloseQuery())
        return;
    const TCloseAction action = runFormClose(caHide);
    switch (action) {
    case caNone: return;
    case caHide: event->accept(); break;
    case caMinimize: showMinimized(); break;
    case caFree:
        event->accept();
        Release();
        break;
    }
    // Closing the main window ends the program.
    if (VorluApplication* app = VorluApplication::instance(); app && app->mainForm() == this)
        VorluApplication::Terminate();
}

void TForm::setModalResult(TModalResult result)
{
    modalResult_ = result;
    if (modalLoop_ && result != mrNone)
        modalLoop_->exit();
}

void TForm::setButtonModalResult(QAbstractButton* button, TModalResult result)
{
    connect(button, &QAbstractButton::clicked, this, [this, result] { setModalResult(result); });
}

void TForm::closeModal()
{
    if (!runCloseQuery()) {
        modalResult_ = mrNone;
        return;
    }
    switch (runFormClose(caHide)) {
    case caNone: modalResult_ = mrNone; break;
    case caFree: freeAfterModal_ = true; break;
    case caHide:
    case caMinimize: break;
    }
}

TModalResult TForm::ShowModal()
{
    if (modalLoop_)
        return mrCancel; // already waiting modally; a second wait would never end in order
    QPointer<TForm> self(this);
    const Qt::WindowModality previousModality = windowModality();
    if (isVisible())
        hide(); // modality can only change while hidden
    setWindowModality(Qt::ApplicationModal);
    modalResult_ = mrNone;
    freeAfterModal_ = false;

    QEventLoop loop;
    modalLoop_ = &loop;
    show();
    while (self) {
        if (modalResult_ == mrNone && !VorluApplication::terminated())
            loop.exec(QEventLoop::DialogExec);
        if (!self)
            break;
        if (VorluApplication::terminated() && modalResult_ == mrNone)
            modalResult_ = mrCancel;
        closeModal();
        if (modalResult_ != mrNone || VorluApplication::terminated())
            break;
    }
    if (!self)
        return mrCancel;
    modalLoop_ = nullptr;
    hide();
    setWindowModality(previousModality);
    if (VorluApplication::terminated() && modalResult_ == mrNone)
        modalResult_ = mrCancel;
    if (freeAfterModal_)
        Release(); // after the caller's handler: it may still read the form's fields
    return modalResult_;
}

void TForm::Release()
{
    deleteLater();
}

void TForm::runDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    if (savePlacement_)
        guarded([&] { savePlacement_(*this, true); });
    guarded([&] { FormDestroy(); });
    // Freeing the main window ends the program.
    if (VorluApplication* app = VorluApplication::instance(); app && app->mainForm() == this)
        VorluApplication::Terminate();
}

void TForm::Free()
{
    runDestroy();
    delete this;
}

bool TForm::event(QEvent* event)
{
    // Release() and caFree delete through here, while the whole object still exists.
    if (event->type() == QEvent::DeferredDelete)
        runDestroy();
    return QWidget::event(event);
}

bool TForm::filterDialogKey(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* control = static_cast<QWidget*>(watched);
        // Only the first delivery, to the focused control of this form; the propagation of an
        // ignored key to the parents passes through here again and must not count twice.
        if (control == QApplication::focusWidget() && control->window() == this) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (isDialogKey(*key) && !controlTakesKey(control, *key) && DialogKey(*key))
                return true;
        }
    }
    return false;
}

bool TForm::DialogKey(QKeyEvent& key)
{
    if (!enterAsTab_ || !isEnter(key))
        return false;
    QWidget* control = ActiveControl();
    if (!control || tag(control) == kTagKeepsEnter)
        return false;
    // Enter and Shift+Enter only; with Ctrl or Alt the key goes on unchanged, as Tab would.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    focusNextPrevChild(modifiers == Qt::NoModifier);
    return true;
}

} // namespace vorlu::toolkit
