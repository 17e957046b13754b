#pragma once

#include "PatientPhoto.h"
#include "PhotoFit.h"

#include <QFrame>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorlu::photo {

// The photo view `txtFoto` with its image input/output (`CarregaImagem`): shows the patient's
// photo whole, centred and fitted, on the button-face colour, and reads and writes it as JPEG.
// Every change of the image redraws the view.
class PhotoView : public QFrame {
    Q_OBJECT

public:
    explicit PhotoView(QWidget* parent = nullptr);

    const PatientPhoto& photo() const { return photo_; }
    const EncodingState& encodingState() const { return photo_.codec().state(); }

    // The background colour as the palette gives it now.
    Rgb background() const;

    // Fills the image with the background colour, keeping its size.
    void blank();
    // Makes the image the blank photo of 1 x 1 pixel.
    void clear();

    // Reads a JPEG from a stream at `position`; see JpegCodec::readStream.
    bool readStream(std::span<const std::uint8_t> stream, std::size_t& position);
    // The load step of `Selecionar`: blank, then read the row's bytes from the stream.
    bool showStored(std::span<const std::uint8_t> stream, std::size_t& position);
    // Reads a JPEG file (by its extension, any case); throws CannotOpenFileError.
    bool readFile(const QString& path);
    // What a save stores, encoded into `out` (emptied first, capacity kept).
    void writeJpeg(std::vector<std::uint8_t>& out);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void imageChanged();
    const QImage& scaledFor(const PixelRect& target, qreal ratio);

    PatientPhoto photo_;
    // The last drawing of the image at device size, so a repaint does not resample again.
    RgbImage scaled_;
    QImage scaledImage_;
    PixelRect scaledRect_;
    bool scaledValid_ = false;
};

} // namespace vorlu::photo
