#include "toolkit/ErrorReport.h"

#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

#include <QtGlobal>

#include <stdexcept>

namespace vorlu::toolkit {

QString errorReportText(const QString& errorText)
{
    // A trailing surrogate pair or any other non-ASCII character has a code above the full stop,
    // so comparing the last UTF-16 unit gives the same answer as comparing the last character.
    if (!errorText.isEmpty() && errorText.back().unicode() > u'.')
        return errorText + QLatin1Char('.');
    return errorText;
}

QString exceptionText(std::exception_ptr error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    // Only a programming fault throws something that is not a std::exception.
    return QStringLiteral("Erro desconhecido");
}

void ShowException(const QString& errorText)
{
    MessageRequest request;
    request.source = MessageSource::ErrorReport;
    request.kind = mtError;
    request.title = VorluApplication::title();
    request.text = errorReportText(errorText);
    request.buttons = mbOK;
    request.defaultResult = mrOk;
    request.escapeResult = mrOk;
    // Owned by no window: the report may come from a window that is being torn down.
    dialogProvider().showMessage(request);
}

void HandleException()
{
    try {
        ShowException(exceptionText(std::current_exception()));
    } catch (const std::exception& e) {
        // The report itself failed (out of memory, a broken provider): nothing left to show it with.
        qWarning("Error report failed: %s", e.what());
    } catch (...) {
        qWarning("Error report failed");
    }
}

} // namespace vorlu::toolkit
