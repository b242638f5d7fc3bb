#pragma once

#include <QImage>
#include <QSize>
#include <map>
#include <mutex>
#include <span>
#include <string_view>
#include <tuple>

namespace orvandry::resources {

// One picture of the display, known by its resource number. The art is an SVG compiled into the
// program (":/pictures/NNN.svg"), so the display needs no picture files at run time and a designer
// can replace a face without touching code.
struct PictureInfo {
  int number = 0;
  int width = 0;  // the size the picture is drawn at when copied 1:1
  int height = 0;
  std::string_view reads;  // what a person sees on it, for the registry's readers and tests
};

std::span<const PictureInfo> AllPictures();
const PictureInfo* FindPicture(int number);

// The size a picture of an unknown number is drawn at when no size is asked for.
inline constexpr QSize kPlaceholderSize{48, 48};

// A loud stand-in for a picture the registry does not have: a magenta box crossed through with the
// number on it, so a missing face is seen at once on the screen instead of silently blank.
QImage PlaceholderImage(int number, QSize size);

// `image` in a format without alpha when none of its pixels is see-through (drawing it then copies
// instead of blending: the same pixels, less work); otherwise `image` itself.
QImage WithoutUnusedAlpha(QImage image);

// Renders pictures by number, each size once: the first request renders the SVG, later requests
// return the same image. Safe to use from any thread.
class PictureLibrary {
 public:
  bool Has(int number) const { return FindPicture(number) != nullptr; }
  // The registry's size; the placeholder's for an unknown number.
  QSize NaturalSize(int number) const;
  QImage Image(int number);
  QImage Image(int number, QSize size);
  // Where pictures `a` and `b`, both drawn at `size`, differ: the smallest rectangle (in picture
  // coordinates) holding every pixel that is not the same in both; empty when they are alike.
  // Drawing one where the other was needs only this rectangle redrawn.
  QRect DifferingArea(int a, int b, QSize size);
  // Whether every pixel of the picture at its natural size is opaque inside `area` (picture
  // coordinates): drawn there, it hides whatever was under it. False for an area reaching outside.
  bool OpaqueIn(int number, QRect area);

 private:
  // Pictures drawn scaled into many sizes must not grow the cache without bound.
  static constexpr std::size_t kMaxCached = 256;

  std::mutex mutex_;
  std::map<std::tuple<int, int, int>, QImage> cache_;
  std::map<std::tuple<int, int, int, int>, QRect> differing_;   // (lower, higher number, size)
  std::map<std::tuple<int, int, int, int, int>, bool> opaque_;  // (number, area)
};

// The library the display's widgets and canvases draw from.
PictureLibrary& SharedPictures();

}  // namespace orvandry::resources
