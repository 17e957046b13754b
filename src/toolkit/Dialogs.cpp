#include "toolkit/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <map>

namespace vorlu::toolkit {

namespace {

// Shown left to right in this order, as the program's boxes always were.
constexpr std::array<TMsgDlgBtn, 4> kButtonOrder{mbYes, mbNo, mbOK, mbCancel};

QMessageBox::Icon iconFor(TMsgDlgType kind)
{
    switch (kind) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

// The real widgets.
class WidgetDialogProvider final : public DialogProvider {
public:
    TModalResult showMessage(const MessageRequest& request) override
    {
        QMessageBox box(iconFor(request.kind), request.title, request.text, QMessageBox::NoButton,
                        request.owner.data());
        // Error texts come from anywhere (a server message, a file name): never read them as HTML.
        box.setTextFormat(Qt::PlainText);
        std::map<QAbstractButton*, TModalResult> results;
        for (TMsgDlgBtn button : kButtonOrder) {
            if (!request.buttons.testFlag(button))
                continue;
            // One role for all keeps them in our order whatever the desktop's button layout;
            // Enter and Escape are set explicitly below.
            QPushButton* pushButton = box.addButton(buttonCaption(button), QMessageBox::ActionRole);
            results[pushButton] = buttonResult(button);
            if (buttonResult(button) == request.defaultResult)
                box.setDefaultButton(pushButton);
            if (buttonResult(button) == request.escapeResult)
                box.setEscapeButton(pushButton);
        }
        box.exec();
        const auto found = results.find(box.clickedButton());
        return found != results.end() ? found->second : request.escapeResult;
    }

    QString getOpenFileName(const FileOpenRequest& request) override
    {
        QFileDialog dialog(request.owner.data(), request.title, request.directory);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        // Show "JPEG Bitmap (JPG;JPEG)", not the patterns after it.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        const QStringList filters = qtNameFilters(request.filter);
        if (!filters.isEmpty())
            dialog.setNameFilters(filters);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (request.customize) {
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            request.customize(dialog);
        }
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.selectedFiles().value(0);
    }
};

WidgetDialogProvider& widgetProvider()
{
    static WidgetDialogProvider provider;
    return provider;
}

DialogProvider* installed = nullptr;

QWidget* activeOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

DialogProvider& dialogProvider()
{
    return installed ? *installed : widgetProvider();
}

DialogProvider* installDialogProvider(DialogProvider* provider)
{
    DialogProvider* previous = installed;
    installed = provider;
    return previous;
}

QString buttonCaption(TMsgDlgBtn button)
{
    switch (button) {
    case mbYes: return QStringLiteral("&Sim");
    case mbNo: return QStringLiteral("&Não");
    case mbOK: return QStringLiteral("OK");
    case mbCancel: return QStringLiteral("Cancelar");
    }
    return {};
}

TModalResult buttonResult(TMsgDlgBtn button)
{
    switch (button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    }
    return mrNone;
}

QString messageTitle(TMsgDlgType kind)
{
    switch (kind) {
    case mtWarning: return QStringLiteral("Atenção");
    case mtError: return QStringLiteral("Erro");
    case mtInformation: return QStringLiteral("Informação");
    case mtConfirmation: return QStringLiteral("Confirme");
    case mtCustom: break;
    }
    return {};
}

TModalResult MessageDlg(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons)
{
    if (!buttons)
        buttons = mbOK; // a box must have a way out
    MessageRequest request;
    request.source = MessageSource::MessageDlg;
    request.kind = kind;
    request.title = messageTitle(kind);
    request.text = text;
    request.buttons = buttons;
    request.defaultResult = buttons.testFlag(mbOK) ? mrOk : buttons.testFlag(mbYes) ? mrYes : mrNone;
    request.escapeResult = buttons.testFlag(mbCancel) ? mrCancel
                           : buttons.testFlag(mbNo)   ? mrNo
                           : buttons.testFlag(mbOK)   ? mrOk
                                                      : mrNone;
    request.owner = activeOwner();
    return dialogProvider().showMessage(request);
}

int SystemMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags)
{
    MessageRequest request;
    request.source = MessageSource::SystemMessageBox;
    switch (flags & 0xF0u) {
    case MB_ICONERROR: request.kind = mtError; break;
    case MB_ICONQUESTION: request.kind = mtConfirmation; break;
    case MB_ICONWARNING: request.kind = mtWarning; break;
    case MB_ICONINFORMATION: request.kind = mtInformation; break;
    default: request.kind = mtCustom; break;
    }
    switch (flags & 0x0Fu) {
    case MB_OKCANCEL: request.buttons = TMsgDlgButtons(mbOK) | mbCancel; break;
    case MB_YESNOCANCEL: request.buttons = mbYesNo | mbCancel; break;
    case MB_YESNO: request.buttons = mbYesNo; break;
    default: request.buttons = mbOK; break;
    }
    request.title = caption;
    request.text = text;
    // The first button is the default; Escape answers Cancel, or OK in an OK box, else nothing.
    request.defaultResult = request.buttons.testFlag(mbYes) ? mrYes : mrOk;
    request.escapeResult = request.buttons.testFlag(mbCancel) ? mrCancel
                           : request.buttons == TMsgDlgButtons(mbOK) ? mrOk
                                                                    : mrNone;
    request.owner = owner;
    return dialogProvider().showMessage(request);
}

QString GetOpenFileName(const FileOpenRequest& request)
{
    return dialogProvider().getOpenFileName(request);
}

QStringList qtNameFilters(const QString& pipeSeparatedFilter)
{
    QStringList filters;
    const QStringList parts = pipeSeparatedFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        patterns.removeAll(QString());
        if (patterns.isEmpty())
            continue;
        filters << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

} // namespace vorlu::toolkit
