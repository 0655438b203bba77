#pragma once

#include <QtGlobal>

namespace kelvane {

// Layouts are given in twips: 15 to the device-independent pixel.
constexpr int pixelsFromTwips(int twips)
{
    return qRound(twips / 15.0);
}

} // namespace kelvane
