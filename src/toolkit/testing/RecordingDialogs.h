#pragma once

#include "toolkit/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

namespace vorlu::toolkit::testing {

// Stands in for every message box and file dialog while it lives: records what was asked and
// answers without showing anything. Installs itself on construction; restores on destruction.
//
//     RecordingDialogs dialogs;
//     dialogs.answer(mrNo);                         // the next box answers No
//     window.btnExcluir->click();
//     QCOMPARE(dialogs.last().text, "Tem Certeza que Deseja Excluir esse Paciente Atual?");
//
// A box with no queued answer is answered as Enter would (OK, or Yes); a file dialog with no
// queued file is cancelled.
class RecordingDialogs final : public DialogProvider {
public:
    struct FileOpen {
        QString title;
        QString directory;
        QString filter;
        QString fileName;
    };

    RecordingDialogs();
    ~RecordingDialogs() override;
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    // Queues the answers of the next boxes, in order.
    void answer(TModalResult result);
    // Queues the files the next file dialogs return; the empty text cancels.
    void answerFile(const QString& path);
    // Called for every box before the queue, while the box would be open (a test can look at the
    // program's state then). Return mrNone to fall back to the queue.
    void onMessage(std::function<TModalResult(const MessageRequest&)> reply) { reply_ = std::move(reply); }

    const QList<MessageRequest>& messages() const { return messages_; }
    const QList<FileOpen>& fileRequests() const { return files_; }
    qsizetype count() const { return messages_.size(); }
    bool isEmpty() const { return messages_.isEmpty(); }
    // The last box asked for; an empty request (and a warning) when there was none.
    const MessageRequest& last() const;
    QStringList texts() const;
    // Answers queued and never used; a test that expects every answer consumed checks this.
    qsizetype pendingAnswers() const { return qsizetype(answers_.size()); }
    void clear();

    TModalResult showMessage(const MessageRequest& request) override;
    QString getOpenFileName(const FileOpenRequest& request) override;

private:
    DialogProvider* previous_;
    QList<MessageRequest> messages_;
    QList<FileOpen> files_;
    std::deque<TModalResult> answers_;
    std::deque<QString> fileAnswers_;
    std::function<TModalResult(const MessageRequest&)> reply_;
};

} // namespace vorlu::toolkit::testing
