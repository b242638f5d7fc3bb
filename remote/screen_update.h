#pragma once

#include <QByteArray>
#include <QImage>

namespace orvandry::remote {

// How the pictures of the screen travel to a viewer: one message per update, holding the tiles
// that changed since the picture before, each as a PNG with its place:
//   u16 x, u16 y, u32 length (big-endian), then `length` bytes of PNG; repeated.
// The first message a viewer gets holds the whole screen as one tile at 0,0. Encoding only what
// changed keeps the cost of a viewer to a small share of a core: between two pictures the panel
// usually changes a few values and a blinking caption.
inline constexpr int kTileWidth = 160;
inline constexpr int kTileHeight = 120;

// The tiles of `current` that differ from `previous` (everything when `previous` is null or of
// another size); empty when nothing changed.
QByteArray EncodeUpdate(const QImage& previous, const QImage& current);

// The whole of `image` as one update.
QByteArray EncodeWhole(const QImage& image);

// Paints an update onto `image` (made at `size` when null); false for a malformed update.
bool ApplyUpdate(const QByteArray& update, QImage& image);

}  // namespace orvandry::remote
