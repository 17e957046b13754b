#pragma once

#include "toolkit/ModalResult.h"

#include <QFlags>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QFileDialog;

namespace vorlu::toolkit {

// Kind of a message box: sets its title and icon. mtCustom carries no icon and no title of its
// own (the system message box uses it when its flags name no icon).
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum TMsgDlgType;

enum TMsgDlgBtn : unsigned { mbYes = 0x1, mbNo = 0x2, mbOK = 0x4, mbCancel = 0x8 };
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)
inline constexpr TMsgDlgButtons mbYesNo = TMsgDlgButtons(mbYes) | mbNo;

// Who asked for a message box; lets a test tell the three roads apart.
enum class MessageSource { MessageDlg, ErrorReport, SystemMessageBox };

// Everything a message box shows and how it answers the keyboard. The toolkit fills it in
// completely before handing it to the provider, so what a test records is what a user sees.
struct MessageRequest {
    MessageSource source = MessageSource::MessageDlg;
    TMsgDlgType kind = mtInformation;
    QString title;
    QString text;
    TMsgDlgButtons buttons = mbOK;
    TModalResult defaultResult = mrOk; // what Enter answers
    TModalResult escapeResult = mrOk;  // what Escape answers; mrNone when Escape does nothing
    QPointer<QWidget> owner;           // nullptr: not owned by any window
};

struct FileOpenRequest {
    QPointer<QWidget> owner;
    QString title;     // empty: the system's default title
    QString directory; // empty: the system's default folder
    QString filter;    // "Description|*.a;*.b|Other|*.c"
    QString fileName;  // offered as the initial choice (the last file chosen)
    // Lets the caller extend the real dialog (an image preview pane); tests never see it.
    std::function<void(QFileDialog&)> customize;
};

// The one seam through which every message box and file dialog of the program goes.
// The program runs on the widget provider; a test installs one that records and answers.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // Shows the box modally and returns the result of the button pressed.
    virtual TModalResult showMessage(const MessageRequest& request) = 0;
    // Returns the chosen file's path, or the empty text when the user cancelled.
    virtual QString getOpenFileName(const FileOpenRequest& request) = 0;
};

// The provider in use: the installed one, otherwise the real widgets.
DialogProvider& dialogProvider();
// Installs a provider process-wide (nullptr: back to the real widgets); returns the previous one.
DialogProvider* installDialogProvider(DialogProvider* provider);

// Captions and results of the buttons, in the order they are shown.
QString buttonCaption(TMsgDlgBtn button);
TModalResult buttonResult(TMsgDlgBtn button);
// The title that the kind gives a message box ("Atenção", "Erro", "Informação", "Confirme").
QString messageTitle(TMsgDlgType kind);

// The program's message box. Enter answers OK, else Yes; Escape answers Cancel, else No, else OK.
// Returns the modal result of the button pressed (mrOk, mrYes, mrNo, mrCancel).
TModalResult MessageDlg(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons);

// Flags of the plain system message box, with the Windows values.
#ifndef MB_OK
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
#endif

// A plain system message box with a title of its own (MessageBoxA): buttons and icon from the
// flags; owner nullptr for a box that no window owns. Returns IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7.
int SystemMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags);

// The file-open dialog; returns the chosen path or the empty text when cancelled.
QString GetOpenFileName(const FileOpenRequest& request);

// "JPEG Bitmap (JPG;JPEG)|*.jpg;*.jpeg" -> {"JPEG Bitmap (JPG;JPEG) (*.jpg *.jpeg)"}, the name
// filters as QFileDialog takes them. A description without patterns is dropped.
QStringList qtNameFilters(const QString& pipeSeparatedFilter);

} // namespace vorlu::toolkit
