#pragma once
// AlphaTable[a][b] = floor(a * b / 255): the product of two opacities. It is
// computed while compiling, so it is ready before the back-end is chosen and
// costs nothing at start-up.
#include <array>
#include <cstdint>

namespace alpha_detail {
consteval std::array<std::array<uint8_t, 256>, 256> build() {
  std::array<std::array<uint8_t, 256>, 256> t{};
  for (int a = 0; a < 256; a++)
    for (int b = 0; b < 256; b++) t[a][b] = (uint8_t)(a * b / 255);
  return t;
}
}  // namespace alpha_detail

inline constexpr std::array<std::array<uint8_t, 256>, 256> AlphaTable = alpha_detail::build();
