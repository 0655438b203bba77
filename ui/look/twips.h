#pragma once

#include <QRect>

namespace kelvane {

// Layouts are given in twips: 15 to the device-independent pixel.
constexpr int pixelsFromTwips(int twips)
{
    return qRound(twips / 15.0);
}

// A control's place in twips.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

constexpr QRect pixelsFromTwips(const TwipsRect &place)
{
    return {pixelsFromTwips(place.left), pixelsFromTwips(place.top), pixelsFromTwips(place.width),
            pixelsFromTwips(place.height)};
}

} // namespace kelvane
