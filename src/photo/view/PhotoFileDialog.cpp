#include "PhotoFileDialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QMovie>
#include <QStringList>

namespace vorlu::photo {

QString qtFileFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        entries << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

namespace {
constexpr int kPreviewSide = 200;
}

ImagePreview::ImagePreview(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setMinimumSize(kPreviewSide, kPreviewSide);
}

void ImagePreview::showFile(const QString& path)
{
    if (movie_) {
        movie_->stop();
        delete movie_;
    }
    clear();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;

    QImageReader reader(path);
    if (reader.supportsAnimation() && reader.imageCount() != 1) {
        movie_ = new QMovie(path, QByteArray(), this);
        movie_->setScaledSize(reader.size().scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio));
        setMovie(movie_);
        movie_->start();
        return;
    }
    // Decoding at preview size keeps a camera photo from costing its full size in memory.
    const QSize full = reader.size();
    if (full.isValid())
        reader.setScaledSize(full.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio));
    const QImage picture = reader.read();
    if (!picture.isNull())
        setPixmap(QPixmap::fromImage(picture));
}

PhotoFileDialog::PhotoFileDialog(QWidget* parent) : parent_(parent)
{
}

PhotoFileDialog::~PhotoFileDialog()
{
    delete dialog_; // when the parent is gone first, the QPointer is already empty
}

QFileDialog& PhotoFileDialog::prepare()
{
    if (!dialog_) {
        dialog_ = new QFileDialog(parent_);
        dialog_->setOption(QFileDialog::DontUseNativeDialog, true);
        dialog_->setFileMode(QFileDialog::ExistingFile);
        dialog_->setAcceptMode(QFileDialog::AcceptOpen);
        dialog_->setNameFilter(qtFileFilter(QString::fromUtf8(kPhotoFilter)));
        preview_ = new ImagePreview(dialog_);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog_->layout()))
            grid->addWidget(preview_, 0, grid->columnCount(), grid->rowCount(), 1);
        QObject::connect(dialog_, &QFileDialog::currentChanged, preview_, &ImagePreview::showFile);
    }
    if (!lastFile_.isEmpty()) {
        dialog_->setDirectory(QFileInfo(lastFile_).absolutePath());
        dialog_->selectFile(lastFile_);
        // The list reads its folder later, so the selection alone may not reach the preview yet.
        preview_->showFile(lastFile_);
    }
    return *dialog_;
}

std::optional<QString> PhotoFileDialog::answer(int result)
{
    if (result != QDialog::Accepted || !dialog_)
        return std::nullopt;
    const QStringList files = dialog_->selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    lastFile_ = files.first();
    return lastFile_;
}

std::optional<QString> PhotoFileDialog::execute()
{
    QFileDialog& dialog = prepare();
    return answer(dialog.exec());
}

} // namespace vorlu::photo
