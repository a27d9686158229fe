#include "ui/formats/ToolkitPictures.h"

#include "base/Errors.h"
#include "formats/BmpHeader.h"
#include "formats/PictureFormatList.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace quillmark {

namespace {

// Qt's own allocation ceiling, in MiB: above the largest picture the size
// guard admits as 32-bit pixels, so the guard alone decides.
constexpr int kReaderAllocationLimitMiB = 1100;

InvalidGraphicError InvalidBitmap()
{
    return InvalidGraphicError(
        FormatMessage("Cannot load image. Invalid or unexpected %s image format.", {"BMP"}));
}

} // namespace

Bitmap BitmapFromImage(const QImage& source)
{
    QImage image = source;
    Bitmap bitmap;
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_Indexed8);
    if (image.format() == QImage::Format_Indexed8) {
        bitmap.Allocate(PixelFormat::Bits8, image.width(), image.height());
        const QList<QRgb> table = image.colorTable();
        bitmap.Palette.reserve(static_cast<std::size_t>(table.size()));
        for (const QRgb rgb : table)
            bitmap.Palette.push_back(Color{static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                                           static_cast<std::uint8_t>(qBlue(rgb))});
    } else {
        image = image.convertToFormat(QImage::Format_BGR888);
        bitmap.Allocate(PixelFormat::Bits24, image.width(), image.height());
    }
    const auto rowBytes = static_cast<std::size_t>(image.width()) * (bitmap.Format() == PixelFormat::Bits8 ? 1 : 3);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(bitmap.Row(y).data(), image.constScanLine(y), rowBytes);
    return bitmap;
}

Bitmap DecodeToolkitBitmap(std::span<const std::uint8_t> file)
{
    const DeclaredSize declared = CheckBmpHeader(file);

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                                     static_cast<qsizetype>(file.size()));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kReaderAllocationLimitMiB);

    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw InvalidBitmap();
    // What Qt decoded must be what the guard let through.
    if (static_cast<std::uint64_t>(image.width()) != declared.Width ||
        static_cast<std::uint64_t>(image.height()) != declared.Height)
        throw InvalidBitmap();
    return BitmapFromImage(image);
}

QStringList OpenDialogNameFilters(const std::string& filter)
{
    QStringList filters;
    for (const FilterItem& item : SplitFilter(filter)) {
        std::string description = item.Description;
        const std::string shown = " (" + item.Patterns + ")";
        if (description.ends_with(shown))
            description.erase(description.size() - shown.size());
        std::string patterns = item.Patterns;
        std::replace(patterns.begin(), patterns.end(), ';', ' ');
        filters.push_back(QString::fromStdString(description + " (" + patterns + ")"));
    }
    return filters;
}

const PictureClass& BitmapPictureClass()
{
    static const PictureClass bitmapClass{
        kBitmapPictureName, {}, [](std::span<const std::uint8_t> file) -> std::unique_ptr<Graphic> {
            return std::make_unique<BitmapGraphic>(DecodeToolkitBitmap(file));
        }};
    return bitmapClass;
}

} // namespace quillmark
