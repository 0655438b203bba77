#include "preview/colourreduction.h"

#include <QList>

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

namespace kelvane {

namespace {

constexpr int kColours = 256;

int channel(QRgb pixel, int c)
{
    return c == 0 ? qRed(pixel) : c == 1 ? qGreen(pixel) : qBlue(pixel);
}

// The colours of a picture of few: a set of at most 256 colours, each with
// its place in the sorted palette.
class FewColours
{
public:
    // Adds colour; false when it would be the 257th.
    bool add(QRgb colour)
    {
        const qsizetype slot = slotOf(colour);
        if (m_used[slot])
            return true;
        if (m_colours.size() == kColours)
            return false;
        m_used[slot] = true;
        m_slots[slot] = colour;
        m_colours.append(colour);
        return true;
    }

    // The palette, sorted so that the same colours always give the same bytes.
    QList<QRgb> palette()
    {
        std::sort(m_colours.begin(), m_colours.end());
        for (qsizetype i = 0; i < m_colours.size(); ++i)
            m_index[slotOf(m_colours[i])] = uchar(i);
        return m_colours;
    }

    // The place in the palette of a colour added.
    uchar indexOf(QRgb colour) const { return m_index[slotOf(colour)]; }

private:
    static constexpr quint32 kSlots = 1024;

    qsizetype slotOf(QRgb colour) const
    {
        quint32 slot = (colour * 2654435761u) >> 22;
        while (m_used[slot] && m_slots[slot] != colour)
            slot = (slot + 1) % kSlots;
        return slot;
    }

    std::array<QRgb, kSlots> m_slots{};
    std::array<bool, kSlots> m_used{};
    std::array<uchar, kSlots> m_index{};
    QList<QRgb> m_colours;
};

// The colours of a picture, gathered into 32 x 32 x 32 cells spread over the
// range each channel spans, so that a picture of close shades keeps them
// apart: each cell is its pixels' mean colour, weighed by their count.
struct WeighedColour {
    std::array<int, 3> colour;
    quint64 count;
    std::array<quint64, 3> sum;
};

QList<WeighedColour> coloursInCells(const QImage &flat)
{
    constexpr int kCells = 32;
    std::array<int, 3> low{255, 255, 255};
    std::array<int, 3> high{0, 0, 0};
    for (int y = 0; y < flat.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(flat.constScanLine(y));
        for (int x = 0; x < flat.width(); ++x) {
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], channel(row[x], c));
                high[c] = std::max(high[c], channel(row[x], c));
            }
        }
    }
    std::array<std::array<int, 256>, 3> cellOf{};
    for (int c = 0; c < 3; ++c) {
        for (int value = low[c]; value <= high[c]; ++value)
            cellOf[c][value] = (value - low[c]) * kCells / (high[c] - low[c] + 1);
    }
    QList<WeighedColour> cells(kCells * kCells * kCells, WeighedColour{{}, 0, {}});
    for (int y = 0; y < flat.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(flat.constScanLine(y));
        for (int x = 0; x < flat.width(); ++x) {
            const int r = qRed(row[x]), g = qGreen(row[x]), b = qBlue(row[x]);
            WeighedColour &cell =
                cells[(cellOf[0][r] * kCells + cellOf[1][g]) * kCells + cellOf[2][b]];
            ++cell.count;
            cell.sum[0] += r;
            cell.sum[1] += g;
            cell.sum[2] += b;
        }
    }
    cells.removeIf([](const WeighedColour &cell) { return cell.count == 0; });
    for (WeighedColour &cell : cells) {
        for (int c = 0; c < 3; ++c)
            cell.colour[c] = int((cell.sum[c] + cell.count / 2) / cell.count);
    }
    return cells;
}

// A palette of up to 256 colours by median cut: the box of colours spanning
// the widest range of one channel is split where half of its pixels lie on
// either side, until there are 256 boxes; each box gives its mean colour.
QList<QRgb> medianCutPalette(QList<WeighedColour> colours)
{
    struct Box {
        qsizetype begin;
        qsizetype end;
        int channel = 0;
        int span = -1;
    };
    const auto measured = [&colours](Box box) {
        for (int c = 0; c < 3; ++c) {
            const auto [low, high] =
                std::minmax_element(colours.cbegin() + box.begin, colours.cbegin() + box.end,
                                    [c](const WeighedColour &a, const WeighedColour &b) {
                                        return a.colour[c] < b.colour[c];
                                    });
            if (const int span = high->colour[c] - low->colour[c]; span > box.span)
                box = {box.begin, box.end, c, span};
        }
        return box;
    };
    QList<Box> boxes{measured({0, colours.size()})};
    while (boxes.size() < kColours) {
        const auto split = std::max_element(boxes.begin(), boxes.end(),
                                            [](auto &a, auto &b) { return a.span < b.span; });
        if (split->span <= 0)
            break;
        const Box box = *split;
        const int c = box.channel;
        // Stable, so that the same picture always gives the same palette.
        std::stable_sort(colours.begin() + box.begin, colours.begin() + box.end,
                         [c](const WeighedColour &a, const WeighedColour &b) {
                             return a.colour[c] < b.colour[c];
                         });
        quint64 total = 0;
        for (qsizetype i = box.begin; i < box.end; ++i)
            total += colours[i].count;
        qsizetype middle = box.begin + 1;
        for (quint64 below = colours[box.begin].count; middle < box.end - 1 && 2 * below < total;
             ++middle)
            below += colours[middle].count;
        *split = measured({box.begin, middle});
        boxes.append(measured({middle, box.end}));
    }
    QList<QRgb> palette;
    for (const Box &box : std::as_const(boxes)) {
        quint64 count = 0;
        std::array<quint64, 3> sum{};
        for (qsizetype i = box.begin; i < box.end; ++i) {
            count += colours[i].count;
            for (int c = 0; c < 3; ++c)
                sum[c] += colours[i].sum[c];
        }
        const auto mean = [&](int c) { return int((sum[c] + count / 2) / count); };
        palette.append(qRgb(mean(0), mean(1), mean(2)));
    }
    return palette;
}

// The palette colour nearest to a colour, as the two-pass quantizer of the
// JPEG library finds it: the one nearest to the middle of the cell of 4 x 4 x 4
// levels that holds the colour, found once for each cell. Close enough for
// dithering, which carries on the error of the colour taken.
class NearestColour
{
public:
    explicit NearestColour(const QList<QRgb> &palette) : m_cells(1 << 18, -1)
    {
        for (const QRgb colour : palette)
            m_colours.push_back({qRed(colour), qGreen(colour), qBlue(colour)});
    }

    int operator()(int r, int g, int b)
    {
        qint16 &known = m_cells[size_t(((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2))];
        if (known < 0)
            known = qint16(exactly((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2));
        return known;
    }

    const std::array<int, 3> &colourOf(int index) const { return m_colours[size_t(index)]; }

private:
    int exactly(int r, int g, int b) const
    {
        int best = std::numeric_limits<int>::max();
        int found = 0;
        for (size_t i = 0; i < m_colours.size(); ++i) {
            const std::array<int, 3> &colour = m_colours[i];
            const int distance =
                square(colour[0] - r) + square(colour[1] - g) + square(colour[2] - b);
            if (distance < best) {
                best = distance;
                found = int(i);
            }
        }
        return found;
    }

    static int square(int value) { return value * value; }

    std::vector<std::array<int, 3>> m_colours;
    std::vector<qint16> m_cells;
};

// Error diffusion (Floyd-Steinberg): each pixel takes the palette colour
// nearest to it plus the error carried to it, and hands its own error on to
// the pixels right of and below it, 7, 3, 5 and 1 sixteenths.
QImage ditheredOver(const QImage &flat, const QList<QRgb> &palette)
{
    NearestColour nearest(palette);
    const int width = flat.width();
    QImage indexed(flat.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    // Two rows of errors in sixteenths, with a pixel to spare at either end.
    const qsizetype rowSize = 3 * (qsizetype(width) + 2);
    std::vector<int> errors(size_t(2 * rowSize), 0);
    int *current = errors.data();
    int *next = current + rowSize;
    const auto carried = [](int sixteenths) {
        return (sixteenths >= 0 ? sixteenths + 8 : sixteenths - 8) / 16;
    };
    for (int y = 0; y < flat.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(flat.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        std::fill(next, next + rowSize, 0);
        for (int x = 0; x < width; ++x) {
            int *here = current + 3 * (x + 1);
            int *below = next + 3 * (x + 1);
            std::array<int, 3> wanted;
            for (int c = 0; c < 3; ++c)
                wanted[c] = std::clamp(channel(in[x], c) + carried(here[c]), 0, 255);
            const int index = nearest(wanted[0], wanted[1], wanted[2]);
            out[x] = uchar(index);
            for (int c = 0; c < 3; ++c) {
                const int error = wanted[c] - nearest.colourOf(index)[c];
                here[3 + c] += 7 * error;
                below[c - 3] += 3 * error;
                below[c] += 5 * error;
                below[c + 3] += error;
            }
        }
        std::swap(current, next);
    }
    return indexed;
}

} // namespace

QImage in256Colours(const QImage &picture)
{
    const QImage flat = picture.convertToFormat(QImage::Format_RGB32);
    if (flat.isNull())
        return {};
    FewColours few;
    bool isFew = true;
    for (int y = 0; y < flat.height() && isFew; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(flat.constScanLine(y));
        for (int x = 0; x < flat.width() && isFew; ++x)
            isFew = (x > 0 && row[x] == row[x - 1]) || few.add(row[x]);
    }
    if (!isFew)
        return ditheredOver(flat, medianCutPalette(coloursInCells(flat)));
    QImage indexed(flat.size(), QImage::Format_Indexed8);
    indexed.setColorTable(few.palette());
    for (int y = 0; y < flat.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(flat.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        for (int x = 0; x < flat.width(); ++x)
            out[x] = few.indexOf(in[x]);
    }
    return indexed;
}

} // namespace kelvane
