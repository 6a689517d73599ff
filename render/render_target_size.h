// Sizes of the off-screen render targets. A target is asked for as a multiple
// of the window, which a large window can push past what the context can
// allocate or draw into; such a size is scaled down, keeping its aspect, so
// that the target stays complete and its texels stay square.
#pragma once

struct TargetSize {
    int width = 0;
    int height = 0;
};

// `width` × `height` (64-bit, so that a multiple of any int size is exact),
// scaled down by one factor until it fits within `largest`; at least 1 × 1.
TargetSize fitTargetSize(long long width, long long height, TargetSize largest);

// The largest target the current context allows: within its largest
// texture, renderbuffer and viewport.
TargetSize largestTargetSize();
