#include "surface/ClipRects.h"

#include <algorithm>
#include <limits>

namespace {

int32_t Narrow(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

TRect64 Widen(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

TRect Narrow(const TRect64& r) {
  return {Narrow(r.Left), Narrow(r.Top), Narrow(r.Right), Narrow(r.Bottom)};
}

bool ClipRects(TRect64& d, TRect64& s, const TRect64& db, const TRect64& sb) {
  if (db.Left > d.Left) s.Left += db.Left - d.Left, d.Left = db.Left;
  if (db.Top > d.Top) s.Top += db.Top - d.Top, d.Top = db.Top;
  if (sb.Left > s.Left) d.Left += sb.Left - s.Left, s.Left = sb.Left;
  if (sb.Top > s.Top) d.Top += sb.Top - s.Top, s.Top = sb.Top;
  if (db.Right < d.Right) s.Right -= d.Right - db.Right, d.Right = db.Right;
  if (db.Bottom < d.Bottom) s.Bottom -= d.Bottom - db.Bottom, d.Bottom = db.Bottom;
  if (sb.Right < s.Right) d.Right -= s.Right - sb.Right, s.Right = sb.Right;
  if (sb.Bottom < s.Bottom) d.Bottom -= s.Bottom - sb.Bottom, s.Bottom = sb.Bottom;
  return d.Left < d.Right && d.Top < d.Bottom && s.Left < s.Right && s.Top < s.Bottom;
}

bool ClipRects(TRect& dest, TRect& source, const TRect& destBound, const TRect& sourceBound) {
  // Edges move in 64 bits: far-apart bounds must not wrap a 32-bit edge.
  TRect64 d = Widen(dest), s = Widen(source);
  const bool left = ClipRects(d, s, Widen(destBound), Widen(sourceBound));
  dest = Narrow(d);
  source = Narrow(s);
  return left;
}
