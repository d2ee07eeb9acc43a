// Reads one image out of a Windows icon file: the one of a given size with
// the most bits per pixel, so a picture shows its soft alpha edges rather
// than the 1-bit mask of a palette image.
#pragma once

#include <QImage>
#include <QString>

namespace orvando::qt {

// The image of `size` by `size` pixels with the highest bit depth (the first
// such image when several tie), or a null image when the file cannot be read
// or holds no image of that size.
QImage iconImage(const QString& icoPath, int size);

}  // namespace orvando::qt
