#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>

class QImage;

namespace kelvane {

// The picture in the BMP at path as an 8-bit (256-colour) BMP of the same
// size, the only kind the game draws; its colours are dithered where the
// picture holds more than 256. A failure says why the picture cannot be read,
// or that it is too large to be a texture (its header is read first).
Result<QByteArray> texture256ColoursOf(const QString &path);

// The BMP bytes of an 8-bit picture: the file header, the info header, the
// palette of 256 entries and the rows bottom up, each padded to four bytes.
QByteArray indexedBmpBytes(const QImage &image);

} // namespace kelvane
