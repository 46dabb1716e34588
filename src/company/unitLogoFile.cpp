#include "company/unitLogoFile.h"

#include "app/AppError.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Enough for a sharp print; a camera picture has many times more.
constexpr double kLogoPrintDpi = 300;

QImage OnWhite(const QImage& picture)
{
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    painter.end();
    return flat;
}

} // namespace

QImage ReadLogoPicture(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // The contents decide the format, so a picture with the wrong extension still reads.
    reader.setDecideFormatFromContent(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        throw AppError(QStringLiteral("The file %1 could not be read as a picture (%2).")
                           .arg(QDir::toNativeSeparators(path), reader.errorString()));
    return OnWhite(picture);
}

TStoredLogo ReadStoredLogo(const QString& path)
{
    TStoredLogo logo;
    logo.fileExists = QFileInfo::exists(path);
    if (!logo.fileExists) return logo;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    logo.picture = reader.read();
    if (logo.picture.isNull())
        logo.problem = reader.errorString().isEmpty() ? QStringLiteral("not a picture") : reader.errorString();
    return logo;
}

QImage LogoForPrinting(const QImage& picture)
{
    if (picture.isNull() || picture.height() <= 0) return picture;
    const double height = kLargeLogoHeight * kLogoPrintDpi;
    const double aspect = double(picture.width()) / double(picture.height());
    const double width = std::min(kLogoMaxWidth, kLargeLogoHeight * aspect) * kLogoPrintDpi;
    // The printed box stretches the picture to its size: both sides need
    // their dots, and the proportions stay for the width the box is given.
    const double scale = std::max(width / picture.width(), height / picture.height());
    if (scale >= 1) return picture;
    return picture.scaled(std::max(1, int(std::lround(picture.width() * scale))),
                          std::max(1, int(std::lround(picture.height() * scale))), Qt::IgnoreAspectRatio,
                          Qt::SmoothTransformation);
}

QByteArray LogoFileBytes(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!OnWhite(LogoForPrinting(picture)).save(&buffer, "JPG", 90))
        throw AppError(QStringLiteral("The company logo could not be made into a JPEG picture."));
    return bytes;
}
