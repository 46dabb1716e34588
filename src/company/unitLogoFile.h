#pragma once
// The company logo: a picture file chosen as the logo, the stored logo file
// (CmpLogo.jpg in the data folder) told apart as missing or unreadable, and
// the picture at the size a printed page needs, which is what is stored.
#include <QByteArray>
#include <QImage>
#include <QString>

// The logo's printed box, in inches: its height by the logo size, its width
// by the picture's proportions up to a maximum.
constexpr double kLargeLogoHeight = 1.3;
constexpr double kSmallLogoHeight = 0.7;
constexpr double kLogoMaxWidth = 3.85;

// The stored logo file as it was found.
struct TStoredLogo {
    QImage picture;        // null when there is no file or it cannot be read
    bool fileExists = false;
    QString problem;       // why an existing file cannot be read (never empty then); empty otherwise
    bool unreadable() const { return fileExists && picture.isNull(); }
};

// Reads a picture file (JPEG, PNG, BMP or any format the program can read) as
// the logo: a transparent background is flattened on white. Throws AppError
// with a plain message when the file cannot be read as a picture.
QImage ReadLogoPicture(const QString& path);

// Reads the logo file at `path` (GetLogoPath() for the program's own).
TStoredLogo ReadStoredLogo(const QString& path);

// The picture no larger than the large logo's printed box needs (1.3 inches
// high, at most 3.85 wide, at 300 dots per inch), keeping its proportions;
// a smaller picture is returned as it is.
QImage LogoForPrinting(const QImage& picture);

// The bytes of the logo file for `picture`: flattened on white, at the size
// LogoForPrinting gives, as a JPEG image.
QByteArray LogoFileBytes(const QImage& picture);
