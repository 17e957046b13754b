#pragma once

#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace vorlu::forms::paciente {

// The photo file dialog `dlgOpen`: the toolkit's file-open dialog with the JPEG filter and an
// image preview pane beside the file list, offering the last file chosen while it lives.
class PhotoOpenDialog {
public:
    explicit PhotoOpenDialog(QWidget* owner) : owner_(owner) {}

    // Shows the dialog modally; the chosen file, or nothing when the user cancelled.
    std::optional<QString> execute();

    const QString& lastFile() const { return lastFile_; }

private:
    QPointer<QWidget> owner_;
    QString lastFile_;
};

} // namespace vorlu::forms::paciente
