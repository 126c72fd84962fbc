// A rectangle in editor pixels: right and bottom are exclusive; all four 0
// is the empty box. The drawing cycle unites and intersects boxes by the
// rules written here once.
#pragma once

#include <algorithm>

struct IBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool Contains(int x, int y) const { return !IsEmpty() && left <= x && x < right && top <= y && y < bottom; }
  // The redraw test: a box touching this one at its right or bottom edge
  // still counts (right >= other.left), as the drawing cycle has always done.
  bool Overlaps(const IBox& other) const {
    return !IsEmpty() && !other.IsEmpty() && right >= other.left && left < other.right && bottom >= other.top &&
           top < other.bottom;
  }
  // The smallest box holding both; an empty box adds nothing.
  IBox Union(const IBox& other) const {
    if (IsEmpty()) return other;
    if (other.IsEmpty()) return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  // The common part under the Overlaps rule, or the empty box.
  IBox Intersect(const IBox& other) const {
    if (!Overlaps(other)) return {};
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  bool operator==(const IBox& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const IBox& other) const { return !(*this == other); }
};
