// Fitting a requested target size to the limits of the context.
#include "render/render_target_size.h"

#include <algorithm>

#include "platform/gl_context.h"

TargetSize fitTargetSize(long long width, long long height, TargetSize largest) {
    width = std::max(width, 1LL);
    height = std::max(height, 1LL);
    const long long largestWidth = std::max(largest.width, 1);
    const long long largestHeight = std::max(largest.height, 1);
    if (width <= largestWidth && height <= largestHeight) {
        return {static_cast<int>(width), static_cast<int>(height)};
    }
    const double factor =
        std::min(static_cast<double>(largestWidth) / static_cast<double>(width),
                 static_cast<double>(largestHeight) / static_cast<double>(height));
    const auto scaled = [factor](long long side, long long limit) {
        const long long fitted = static_cast<long long>(static_cast<double>(side) * factor);
        return static_cast<int>(std::clamp(fitted, 1LL, limit));
    };
    return {scaled(width, largestWidth), scaled(height, largestHeight)};
}

TargetSize largestTargetSize() {
    const platform::GLContextLimits limits = platform::currentGLContextLimits();
    const int side = std::min(limits.maxTextureSize, limits.maxRenderbufferSize);
    return {std::min(side, limits.maxViewportWidth), std::min(side, limits.maxViewportHeight)};
}
