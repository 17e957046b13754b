#include "toolkit/testing/RecordingDialogs.h"

#include <QtGlobal>

#include <stdexcept>

namespace vorlu::toolkit::testing {

RecordingDialogs::RecordingDialogs()
    : previous_(installDialogProvider(this))
{
}

RecordingDialogs::~RecordingDialogs()
{
    installDialogProvider(previous_);
}

void RecordingDialogs::answer(TModalResult result)
{
    answers_.push_back(result);
}

void RecordingDialogs::answerFile(const QString& path)
{
    fileAnswers_.push_back(path);
}

const MessageRequest& RecordingDialogs::last() const
{
    if (messages_.isEmpty()) {
        // An empty request: the test's comparisons then fail and say what was expected.
        static const MessageRequest none{};
        qWarning("RecordingDialogs::last(): no message box was shown");
        return none;
    }
    return messages_.constLast();
}

QStringList RecordingDialogs::texts() const
{
    QStringList texts;
    for (const MessageRequest& message : messages_)
        texts << message.text;
    return texts;
}

void RecordingDialogs::clear()
{
    messages_.clear();
    files_.clear();
    answers_.clear();
    fileAnswers_.clear();
}

TModalResult RecordingDialogs::showMessage(const MessageRequest& request)
{
    messages_.append(request);
    if (reply_) {
        if (const TModalResult result = reply_(request); result != mrNone)
            return result;
    }
    if (answers_.empty())
        return request.defaultResult;
    const TModalResult result = answers_.front();
    answers_.pop_front();
    bool offered = false;
    for (TMsgDlgBtn button : {mbYes, mbNo, mbOK, mbCancel})
        offered = offered || (request.buttons.testFlag(button) && buttonResult(button) == result);
    if (!offered)
        qWarning("RecordingDialogs: answer %d is not a button of the box \"%s\"", result,
                 qPrintable(request.text));
    return result;
}

QString RecordingDialogs::getOpenFileName(const FileOpenRequest& request)
{
    files_.append({request.title, request.directory, request.filter, request.fileName});
    if (fileAnswers_.empty())
        return {};
    QString path = fileAnswers_.front();
    fileAnswers_.pop_front();
    return path;
}

} // namespace vorlu::toolkit::testing
