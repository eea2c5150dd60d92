// SPDX-License-Identifier: GPL-3.0-or-later
// Doubles worked on together, four at a time: the compiler's generic vector
// type, so that one expression computes every lane with the processor's
// vector instructions (one AVX register or two SSE2 ones) and every lane gets
// exactly the IEEE result its scalar expression would. The helpers also take
// a plain double, so that one formula serves a slot or a block of them.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace swcore {

template <int Width>
struct LaneTypes;

template <>
struct LaneTypes<4> {
  using Vector = double __attribute__((vector_size(4 * sizeof(double))));
  using Bits = std::uint64_t __attribute__((vector_size(4 * sizeof(double))));
  // Comparisons of vectors give all ones (true) or zero per lane.
  using Mask = std::int64_t __attribute__((vector_size(4 * sizeof(double))));
};

template <int Width>
using LaneVector = typename LaneTypes<Width>::Vector;
template <int Width>
using LaneMask = typename LaneTypes<Width>::Mask;

// Lanes of a vector type; 1 for a plain double.
template <class Value>
inline constexpr int kLaneCount = static_cast<int>(sizeof(Value) / sizeof(double));

template <class Vector>
[[gnu::always_inline]] inline Vector broadcast(double x) {
  if constexpr (std::is_same_v<Vector, double>) {
    return x;
  } else {
    return Vector{} + x;
  }
}

template <class Vector>
[[gnu::always_inline]] inline Vector loadLanes(const double* p) {
  Vector v;
  for (int i = 0; i < kLaneCount<Vector>; ++i) {
    v[i] = p[i];
  }
  return v;
}

// mask ? a : b lane by lane; the scalar form for code written for both.
template <class Vector, class Mask>
[[gnu::always_inline]] inline Vector pick(Mask mask, Vector a, Vector b) {
  return mask ? a : b;
}

template <class Vector>
[[gnu::always_inline]] inline Vector magnitude(Vector v) {
  if constexpr (std::is_same_v<Vector, double>) {
    return std::abs(v);
  } else {
    using Bits = typename LaneTypes<kLaneCount<Vector>>::Bits;
    constexpr std::uint64_t kAllButSign = ~(std::uint64_t{1} << 63);
    return reinterpret_cast<Vector>(reinterpret_cast<Bits>(v) & kAllButSign);
  }
}

template <class Vector>
[[gnu::always_inline]] inline Vector squareRoot(Vector v) {
  if constexpr (std::is_same_v<Vector, double>) {
    return std::sqrt(v);
  } else {
    Vector r;
    for (int i = 0; i < kLaneCount<Vector>; ++i) {
      r[i] = std::sqrt(v[i]);
    }
    return r;
  }
}

// Whether any lane is zero, negative or undefined: the count of such lanes
// summed across the vector by halving it.
template <class Vector>
[[gnu::always_inline]] inline bool anyNotPositive(Vector v) {
  constexpr int kWidth = kLaneCount<Vector>;
  Vector count = pick(v > 0.0, broadcast<Vector>(0.0), broadcast<Vector>(1.0));
  for (int half = kWidth / 2; half > 0; half /= 2) {
#if defined(__clang__)
    // Clang has no shuffle by a run-time mask; lane by lane gives the same sum.
    Vector swapped = count;
    for (int i = 0; i < kWidth; ++i) {
      swapped[i] = count[i ^ half];
    }
    count += swapped;
#else
    LaneMask<kWidth> swap;
    for (int i = 0; i < kWidth; ++i) {
      swap[i] = i ^ half;
    }
    count += __builtin_shuffle(count, swap);
#endif
  }
  return count[0] != 0.0;
}

// The bits of each lane, or of one double, and back.
template <class Vector>
[[gnu::always_inline]] inline auto bitsOf(Vector v) {
  if constexpr (std::is_same_v<Vector, double>) {
    return std::bit_cast<std::uint64_t>(v);
  } else {
    return reinterpret_cast<typename LaneTypes<kLaneCount<Vector>>::Bits>(v);
  }
}

template <class Vector, class Bits>
[[gnu::always_inline]] inline Vector fromBits(Bits b) {
  if constexpr (std::is_same_v<Vector, double>) {
    return std::bit_cast<double>(b);
  } else {
    return reinterpret_cast<Vector>(b);
  }
}

}  // namespace swcore
