# Benchmarks of frame rendering.
