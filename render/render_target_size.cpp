// Fitting a requested target size to the limits of the context.
#include "render/render_target_size.h"

#include <algorithm>

#include "platform/gl.h"

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
    GLint textureSide = 0;
    GLint renderbufferSide = 0;
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureSide);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferSide);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const int side = std::min(textureSide, renderbufferSide);
    return {std::min(side, static_cast<int>(viewport[0])),
            std::min(side, static_cast<int>(viewport[1]))};
}
