#include "ui/qt/icon_picture.h"

#include <QFile>
#include <QImageReader>

namespace orvando::qt {

namespace {

int le16(const QByteArray& data, qsizetype at) {
    return static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8;
}

qint64 le32(const QByteArray& data, qsizetype at) {
    return static_cast<qint64>(le16(data, at)) | static_cast<qint64>(le16(data, at + 2)) << 16;
}

// Bits per pixel of one image of the file. The directory's own field may be 0
// for palette images, so the image's bitmap header is asked instead; an image
// stored as PNG always carries alpha.
int bitsPerPixel(const QByteArray& data, qint64 offset) {
    if (offset < 0 || offset + 16 > data.size()) {
        return -1;
    }
    if (data.mid(offset, 4) == "\x89PNG") {
        return 32;
    }
    return le16(data, offset + 14);
}

}  // namespace

QImage iconImage(const QString& icoPath, int size) {
    QFile file(icoPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray data = file.readAll();
    // Header: reserved 0, type 1 (icon), count; then 16 bytes per image.
    if (data.size() < 6 || le16(data, 0) != 0 || le16(data, 2) != 1) {
        return {};
    }
    const int count = le16(data, 4);
    if (data.size() < 6 + 16 * count) {
        return {};
    }
    int best = -1;
    int bestBits = -1;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        // A stored 0 means 256 pixels.
        const int width = static_cast<unsigned char>(data[entry]);
        const int height = static_cast<unsigned char>(data[entry + 1]);
        if ((width == 0 ? 256 : width) != size || (height == 0 ? 256 : height) != size) {
            continue;
        }
        const int bits = bitsPerPixel(data, le32(data, entry + 12));
        if (bits > bestBits) {
            best = i;
            bestBits = bits;
        }
    }
    if (best < 0) {
        return {};
    }
    file.seek(0);
    QImageReader reader(&file, "ico");
    if (!reader.jumpToImage(best)) {
        return {};
    }
    QImage image = reader.read();
    if (image.size() != QSize(size, size)) {
        return {};
    }
    return image;
}

}  // namespace orvando::qt
