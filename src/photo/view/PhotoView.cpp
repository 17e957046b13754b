#include "PhotoView.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPalette>

#include <cmath>
#include <filesystem>

namespace vorlu::photo {

PhotoView::PhotoView(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    photo_.blank(background());
}

Rgb PhotoView::background() const
{
    const QColor colour = palette().color(QPalette::Button);
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

void PhotoView::blank()
{
    photo_.blank(background());
    imageChanged();
}

void PhotoView::clear()
{
    photo_.clear(background());
    imageChanged();
}

bool PhotoView::readStream(std::span<const std::uint8_t> stream, std::size_t& position)
{
    const bool read = photo_.readStream(stream, position);
    imageChanged();
    return read;
}

bool PhotoView::showStored(std::span<const std::uint8_t> stream, std::size_t& position)
{
    const bool read = photo_.showStored(stream, position, background());
    imageChanged();
    return read;
}

bool PhotoView::readFile(const QString& path)
{
    const bool read = photo_.readFile(std::filesystem::path(path.toStdU16String()));
    if (read)
        imageChanged();
    return read;
}

void PhotoView::writeJpeg(std::vector<std::uint8_t>& out)
{
    photo_.encode(out, background());
}

QSize PhotoView::sizeHint() const
{
    return {kViewWidth, kViewHeight};
}

void PhotoView::imageChanged()
{
    scaledValid_ = false;
    update();
}

const QImage& PhotoView::scaledFor(const PixelRect& target, qreal ratio)
{
    if (!scaledValid_ || !(target == scaledRect_) || scaledImage_.devicePixelRatio() != ratio) {
        scaled_ = resample(photo_.image(), target.width, target.height);
        // The QImage borrows the pixels of scaled_, which lives as long as the cache does.
        scaledImage_ = QImage(scaled_.pixels.data(), scaled_.width, scaled_.height,
                              static_cast<qsizetype>(scaled_.rowBytes()), QImage::Format_RGB888);
        scaledImage_.setDevicePixelRatio(ratio);
        scaledRect_ = target;
        scaledValid_ = true;
    }
    return scaledImage_;
}

void PhotoView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, palette().color(QPalette::Button));

    if (!photo_.isBlank() && !area.isEmpty()) {
        // Fit in device pixels, so a high-density screen gets a picture of its own resolution.
        const QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
        const qreal ratio = device ? device->devicePixelRatio() : devicePixelRatio();
        const int deviceWidth = static_cast<int>(std::lround(area.width() * ratio));
        const int deviceHeight = static_cast<int>(std::lround(area.height() * ratio));
        const RgbImage& image = photo_.image();
        const PixelRect target = fitRect(image.width, image.height, deviceWidth, deviceHeight,
                                         static_cast<int>(std::lround(ratio)));
        if (target.width > 0 && target.height > 0) {
            const QImage& picture = scaledFor(target, ratio);
            const QPointF at(area.left() + target.x / ratio, area.top() + target.y / ratio);
            painter.drawImage(at, picture);
        }
    }
    drawFrame(&painter);
}

} // namespace vorlu::photo
