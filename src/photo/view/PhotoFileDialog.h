#pragma once

#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QString>

#include <optional>

class QMovie;

namespace vorlu::photo {

// The filter of the photo dialog in the form "description|*.a;*.b", and Qt's form of it.
inline constexpr char kPhotoFilter[] = "JPEG Bitmap (JPG;JPEG)|*.jpg;*.jpeg";

// "Name|*.a;*.b|Other|*.c" as Qt's "Name (*.a *.b);;Other (*.c)".
QString qtFileFilter(const QString& pipeFilter);

// The pane beside the file list that shows the selected file's picture, animated when the
// file is an animation.
class ImagePreview : public QLabel {
    Q_OBJECT

public:
    explicit ImagePreview(QWidget* parent = nullptr);
    void showFile(const QString& path);

private:
    QPointer<QMovie> movie_;
};

// The photo file-open dialog `dlgOpen`: Qt's own file dialog (the same everywhere, and able
// to take the preview pane), with the JPEG filter, remembering the last file chosen for as
// long as it lives.
class PhotoFileDialog {
public:
    explicit PhotoFileDialog(QWidget* parent = nullptr);
    ~PhotoFileDialog();
    PhotoFileDialog(const PhotoFileDialog&) = delete;
    PhotoFileDialog& operator=(const PhotoFileDialog&) = delete;

    // Shows the dialog modally; the chosen file, or nothing when the user cancelled.
    std::optional<QString> execute();

    const QString& lastFile() const { return lastFile_; }

    // The dialog, set up for the next showing (the last file selected): for execute() and for
    // tests that answer it.
    QFileDialog& prepare();
    // Takes the answer of a prepared dialog that has been closed.
    std::optional<QString> answer(int result);

    ImagePreview* preview() const { return preview_; }

private:
    QWidget* parent_;
    QPointer<QFileDialog> dialog_;
    ImagePreview* preview_ = nullptr;
    QString lastFile_;
};

} // namespace vorlu::photo
