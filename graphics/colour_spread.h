// How much a picture shows: a page taken before it was painted is one colour,
// the window's background, where a painted page has text, frames and sliders.
#pragma once

#include <cstdint>
#include <span>

namespace vmx {

// The share (0..1) of `pixels` whose colour differs from the most common one.
// No pixels: 0.
double OffColourShare(std::span<const uint32_t> pixels);

// Below this share a page counts as blank: even the sparsest page, a few
// labels and sliders, differs from its background in far more of its pixels.
constexpr double kBlankPageShare = 0.01;

}  // namespace vmx
