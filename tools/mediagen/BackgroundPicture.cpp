#include "BackgroundPicture.h"

#include <cmath>

namespace tavlix::mediagen {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kCell = 80;          // lattice spacing in pixels
constexpr double kSuitRadius = 22; // half a suit's height in pixels
constexpr int kSamples = 4;        // per pixel side, for smooth edges

struct Colour {
    double r, g, b;
};

Colour Mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

bool InCircle(double u, double v, double cu, double cv, double r)
{
    return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= r * r;
}

// The suits in a unit box (u and v in -1..1, v upwards), built of circles and
// triangles.
bool Heart(double u, double v)
{
    if (InCircle(u, v, -0.42, 0.38, 0.46) || InCircle(u, v, 0.42, 0.38, 0.46))
        return true;
    return v <= 0.2 && v >= -0.95 && std::abs(u) <= 0.86 * (v + 0.95) / 1.2;
}

bool Diamond(double u, double v) { return std::abs(u) / 0.72 + std::abs(v) <= 1; }

bool Stem(double u, double v) { return v <= 0 && v >= -0.95 && std::abs(u) <= 0.08 + 0.3 * (-v / 0.95); }

bool Spade(double u, double v) { return Heart(u, 0.25 - v * 1.1) || Stem(u, v); }

bool Club(double u, double v)
{
    return InCircle(u, v, 0, 0.5, 0.34) || InCircle(u, v, -0.44, -0.02, 0.34)
           || InCircle(u, v, 0.44, -0.02, 0.34) || InCircle(u, v, 0, 0.14, 0.2) || Stem(u, v);
}

// Which suit sits in lattice cell (column, row), and where its centre lies; rows shift
// by half a cell so the suits stand in a diagonal weave.
struct Placed {
    int suit;
    double cx, cy;
};

Placed SuitNear(double x, double y)
{
    const int row = int(std::floor(y / kCell));
    const double shift = (row % 2 != 0) ? kCell / 2.0 : 0;
    const int column = int(std::floor((x - shift) / kCell));
    return {((column + 2 * row) % 4 + 4) % 4, column * kCell + shift + kCell / 2.0,
            row * kCell + kCell / 2.0};
}

double SuitCoverage(int px, int py)
{
    int inside = 0;
    for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
            const double x = px + (sx + 0.5) / kSamples;
            const double y = py + (sy + 0.5) / kSamples;
            const Placed p = SuitNear(x, y);
            const double u = (x - p.cx) / kSuitRadius;
            const double v = (p.cy - y) / kSuitRadius;
            if (std::abs(u) > 1 || std::abs(v) > 1)
                continue;
            static constexpr bool (*kSuits[])(double, double) = {Spade, Heart, Club, Diamond};
            inside += kSuits[p.suit](u, v) ? 1 : 0;
        }
    return double(inside) / (kSamples * kSamples);
}

std::uint8_t Channel(double value) { return std::uint8_t(std::floor(value + 0.5)); }

}  // namespace

Bitmap BuildBackgroundPicture()
{
    const Colour topLeft{214, 228, 240};
    const Colour bottomRight{246, 236, 218};
    Bitmap picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double t = (double(x) / (kWidth - 1) + double(y) / (kHeight - 1)) / 2;
            const Colour ground = Mix(topLeft, bottomRight, t * t * (3 - 2 * t));
            // Suits a little darker than the ground, in its own hue.
            const Colour ink{ground.r * 0.86, ground.g * 0.88, ground.b * 0.9};
            const Colour c = Mix(ground, ink, 0.55 * SuitCoverage(x, y));
            picture.Set(x, y, {Channel(c.r), Channel(c.g), Channel(c.b)});
        }
    return picture;
}

}  // namespace tavlix::mediagen
