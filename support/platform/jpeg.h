// JPEG files through libjpeg: the help's pictures are written by the build and read by the
// program.
#pragma once

#include <QImage>
#include <QString>

namespace jpeg {

// Writes the picture as a baseline JPEG of the quality (1 to 100) to path, through a
// temporary file renamed over it: a failure leaves no partial file. False on failure.
bool write(const QString &path, const QImage &image, int quality = 90);

// The picture in path; a null image when the file is missing or no JPEG libjpeg can decode.
QImage read(const QString &path);

} // namespace jpeg
