#include "JpegFixtures.h"
#include "PhotoCommands.h"
#include "PhotoFileDialog.h"
#include "PhotoView.h"
#include "QtDecode.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace vorlu::photo;
using namespace vorlu::photo::test;

namespace {

const QColor kFace(236, 233, 216);

// A view of the record screen's size with a known button-face colour.
struct ViewFixture {
    PhotoView view;
    ViewFixture()
    {
        QPalette palette = view.palette();
        palette.setColor(QPalette::Button, kFace);
        view.setPalette(palette);
        view.resize(kViewWidth, kViewHeight);
        view.blank();
    }
    QImage render(qreal ratio = 1)
    {
        QImage image(view.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::black);
        view.render(&image);
        return image;
    }
    void show(const Bytes& jpeg)
    {
        std::size_t position = 0;
        QVERIFY(view.showStored(jpeg, position));
    }
};

Bytes solidJpeg(int width, int height, Rgb colour)
{
    return makeJpeg({.width = width, .height = height, .pixels = uniform(width, height, {colour.r, colour.g, colour.b})});
}

bool near(QRgb pixel, const QColor& colour, int tolerance = 6)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance
        && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// The rows (or columns) of the view's inside that are not background along one line.
QPair<int, int> pictureSpan(const QImage& image, bool vertical, int at)
{
    int first = -1, last = -1;
    const int n = vertical ? image.height() : image.width();
    for (int i = 1; i < n - 1; ++i) {
        const QRgb p = vertical ? image.pixel(at, i) : image.pixel(i, at);
        if (!near(p, kFace, 2)) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return {first, last};
}

} // namespace

class PhotoViewTest : public QObject {
    Q_OBJECT

private slots:
    void blankShowsTheButtonFaceEverywhere();
    void backgroundIsResolvedWhenPaintedAndWhenSaved();
    void reducedPhotoIsCentredAndFitsTheWidth();
    void smallPhotoIsEnlargedToFitTheHeight();
    void onePixelImageKeepsItsOwnSize();
    void highDensityScreensGetDevicePixels();
    void removeClearsToOnePixel();
    void streamStepsUseTheOneBuffer();
    void addTakesTheChosenFileOrNothing();
    void addReportsAFileThatCannotBeOpened();
    void dialogFilterIsQtsFormOfTheJpegFilter();
    void dialogRemembersTheLastFileAndCancelChangesNothing();
    void dialogExecutesModallyAndPreviewsTheSelection();
};

void PhotoViewTest::blankShowsTheButtonFaceEverywhere()
{
    ViewFixture f;
    const QImage image = f.render();
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            QVERIFY2(image.pixel(x, y) == kFace.rgb(), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    QCOMPARE(f.view.photo().image().width, kViewWidth);
    QCOMPARE(f.view.photo().image().height, kViewHeight);
}

void PhotoViewTest::backgroundIsResolvedWhenPaintedAndWhenSaved()
{
    ViewFixture f;
    f.render();
    const QColor changed(10, 120, 60);
    QPalette palette = f.view.palette();
    palette.setColor(QPalette::Button, changed);
    f.view.setPalette(palette);
    QCOMPARE(f.render().pixel(75, 99), changed.rgb());

    Bytes stored;
    f.view.writeJpeg(stored);
    const QImage decoded = qtDecode(stored);
    QCOMPARE(decoded.size(), QSize(kViewWidth, kViewHeight));
    QVERIFY(near(decoded.pixel(75, 99), changed, 2));
}

void PhotoViewTest::reducedPhotoIsCentredAndFitsTheWidth()
{
    ViewFixture f;
    const Rgb green{20, 180, 40};
    f.show(solidJpeg(800, 400, green)); // 148 x 196 inside the border: 148 x 74, 61 above
    const QImage image = f.render();
    QCOMPARE(pictureSpan(image, true, 75), qMakePair(1 + 61, 1 + 61 + 74 - 1));
    QCOMPARE(pictureSpan(image, false, 99), qMakePair(1, 148));
    QVERIFY(near(image.pixel(75, 99), QColor(green.r, green.g, green.b)));
}

void PhotoViewTest::smallPhotoIsEnlargedToFitTheHeight()
{
    ViewFixture f;
    const Rgb red{200, 30, 30};
    f.show(solidJpeg(10, 20, red)); // 98 x 196, 25 to the left
    const QImage image = f.render();
    QCOMPARE(pictureSpan(image, false, 99), qMakePair(1 + 25, 1 + 25 + 98 - 1));
    QCOMPARE(pictureSpan(image, true, 75), qMakePair(1, 196));
}

void PhotoViewTest::onePixelImageKeepsItsOwnSize()
{
    ViewFixture f;
    f.show(solidJpeg(1, 1, Rgb{0, 0, 250}));
    const QImage image = f.render();
    QCOMPARE(pictureSpan(image, false, 1 + 97), qMakePair(1 + 73, 1 + 73));
    QCOMPARE(pictureSpan(image, true, 1 + 73), qMakePair(1 + 97, 1 + 97));
}

void PhotoViewTest::highDensityScreensGetDevicePixels()
{
    // A one-pixel checkerboard exactly as large as the inside at twice the density: drawn at
    // device resolution it stays a checkerboard; drawn at 1 x and blown up it would be grey.
    const int w = 148 * 2, h = 196 * 2;
    Bytes pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t v = (x + y) % 2 ? 255 : 0;
            pixels.insert(pixels.end(), {v, v, v});
        }
    ViewFixture f;
    f.show(makeJpeg({.width = w, .height = h, .fileSpace = FileSpace::RGB, .pixels = pixels, .quality = 100}));

    const QImage sharp = f.render(2);
    int contrast = 0;
    for (int x = 100; x < 140; ++x)
        contrast = std::max(contrast, std::abs(qRed(sharp.pixel(x, 200)) - qRed(sharp.pixel(x + 1, 200))));
    QVERIFY2(contrast > 150, qPrintable(QString::number(contrast)));

    const QImage normal = f.render(1);
    QVERIFY(std::abs(qRed(normal.pixel(60, 100)) - 128) < 20);
}

void PhotoViewTest::removeClearsToOnePixel()
{
    ViewFixture f;
    f.show(solidJpeg(40, 30, Rgb{200, 30, 30}));
    removePhoto(f.view);
    QCOMPARE(f.view.photo().image().width, 1);
    QCOMPARE(f.view.photo().image().height, 1);
    QVERIFY(f.view.photo().isBlank());
    QCOMPARE(pictureSpan(f.render(), true, 75), qMakePair(-1, -1));
}

// The shape of the record screen's StreamFoto.
struct Stream {
    std::vector<std::uint8_t> data;
    std::size_t at = 99;
    std::vector<std::uint8_t>& bytes() { return data; }
    std::size_t position() const { return at; }
    void setPosition(std::size_t p) { at = p; }
    void clear()
    {
        data.clear();
        at = 0;
    }
};

void PhotoViewTest::streamStepsUseTheOneBuffer()
{
    ViewFixture f;
    Stream stream;
    stream.data = solidJpeg(40, 30, Rgb{200, 30, 30});
    QVERIFY(showStoredPhoto(f.view, stream)); // reads from 0, whatever the position was
    QCOMPARE(f.view.photo().image().width, 40);

    encodePhotoForSaving(f.view, stream);
    QCOMPARE(stream.at, std::size_t{0});
    QCOMPARE(qtDecode(stream.data).size(), QSize(40, 30));

    // Save, reload, save again: the buffer's memory serves every transfer.
    const auto* memory = stream.data.data();
    QVERIFY(showStoredPhoto(f.view, stream));
    encodePhotoForSaving(f.view, stream);
    QCOMPARE(stream.data.data(), memory);

    stream.clear(); // a patient without a photo: the blank photo at the last size
    QVERIFY(!showStoredPhoto(f.view, stream));
    QVERIFY(f.view.photo().isBlank());
    encodePhotoForSaving(f.view, stream);
    QCOMPARE(qtDecode(stream.data).size(), QSize(40, 30));
}

void PhotoViewTest::addTakesTheChosenFileOrNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("RETRATO.JPG"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const Bytes jpeg = solidJpeg(30, 40, Rgb{20, 180, 40});
    file.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<qint64>(jpeg.size()));
    file.close();

    ViewFixture f;
    QVERIFY(!addPhotoFromFile(f.view, std::nullopt));
    QVERIFY(f.view.photo().isBlank());
    QVERIFY(addPhotoFromFile(f.view, path));
    QCOMPARE(f.view.photo().image().width, 30);
    QVERIFY(near(f.render().pixel(75, 99), QColor(20, 180, 40)));
    QVERIFY(!addPhotoFromFile(f.view, std::nullopt)); // a later cancel keeps the photo
    QCOMPARE(f.view.photo().image().width, 30);
}

void PhotoViewTest::addReportsAFileThatCannotBeOpened()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("não existe.jpg"));
    ViewFixture f;
    f.show(solidJpeg(30, 40, Rgb{20, 180, 40}));
    try {
        addPhotoFromFile(f.view, path);
        QFAIL("no error");
    } catch (const CannotOpenFileError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Impossível abrir arquivo ") + path);
    }
    QCOMPARE(f.view.photo().image().width, 30);
}

void PhotoViewTest::dialogFilterIsQtsFormOfTheJpegFilter()
{
    QCOMPARE(qtFileFilter(QString::fromUtf8(kPhotoFilter)), QStringLiteral("JPEG Bitmap (JPG;JPEG) (*.jpg *.jpeg)"));
    QCOMPARE(qtFileFilter(QStringLiteral("A|*.a|B|*.b;*.c")), QStringLiteral("A (*.a);;B (*.b *.c)"));

    PhotoFileDialog dialog;
    QFileDialog& d = dialog.prepare();
    QCOMPARE(d.nameFilters(), QStringList{QStringLiteral("JPEG Bitmap (JPG;JPEG) (*.jpg *.jpeg)")});
    QVERIFY(d.testOption(QFileDialog::DontUseNativeDialog));
    QCOMPARE(d.fileMode(), QFileDialog::ExistingFile);
    auto* grid = qobject_cast<QGridLayout*>(d.layout());
    QVERIFY(grid);
    QVERIFY(grid->indexOf(dialog.preview()) >= 0);
}

void PhotoViewTest::dialogRemembersTheLastFileAndCancelChangesNothing()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("a.jpg"));
    const Bytes jpeg = solidJpeg(8, 8, Rgb{1, 2, 3});
    QFile file(first);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<qint64>(jpeg.size()));
    file.close();

    PhotoFileDialog dialog;
    QFileDialog& d = dialog.prepare();
    d.open();
    d.selectFile(first);
    static_cast<QDialog&>(d).accept(); // QFileDialog checks the file, as a click on Open would
    QCOMPARE(dialog.answer(d.result()), std::optional<QString>(first));
    QCOMPARE(dialog.lastFile(), first);

    QFileDialog& again = dialog.prepare();
    QCOMPARE(QDir(again.directory()).absolutePath(), QDir(dir.path()).absolutePath());
    QCOMPARE(again.selectedFiles().value(0), first);
    QVERIFY(!dialog.preview()->pixmap().isNull()); // the remembered file is previewed at once
    again.open();
    again.reject();
    QCOMPARE(dialog.answer(again.result()), std::optional<QString>());
    QCOMPARE(dialog.lastFile(), first);
}

void PhotoViewTest::dialogExecutesModallyAndPreviewsTheSelection()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.jpeg"));
    const Bytes jpeg = solidJpeg(800, 400, Rgb{20, 180, 40});
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<qint64>(jpeg.size()));
    file.close();

    PhotoFileDialog dialog;
    dialog.prepare();
    dialog.preview()->showFile(path);
    const QPixmap shown = dialog.preview()->pixmap();
    QVERIFY(!shown.isNull());
    QVERIFY(shown.width() <= 200 && shown.height() <= 200);

    QTimer::singleShot(0, [&] {
        QFileDialog& d = dialog.prepare();
        d.selectFile(path);
        static_cast<QDialog&>(d).accept();
    });
    QCOMPARE(dialog.execute(), std::optional<QString>(path));
    QTimer::singleShot(0, [&] { dialog.prepare().reject(); });
    QCOMPARE(dialog.execute(), std::optional<QString>());
    QCOMPARE(dialog.lastFile(), path);
}

QTEST_MAIN(PhotoViewTest)
#include "PhotoViewTest.moc"
