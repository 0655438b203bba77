#pragma once

#include <QImage>

namespace kelvane {

// The picture in at most 256 colours, as an 8-bit indexed image of the same
// size. A picture of up to 256 colours keeps them exactly; one of more gets
// the palette that fits its colours best (median cut) and is dithered over it
// (Floyd-Steinberg), so that its gradients keep their mean colour. Alpha is
// dropped: the game draws no transparency. The same picture always gives the
// same bytes.
QImage in256Colours(const QImage &picture);

} // namespace kelvane
