# Benchmarks of the OBJ reader and mesh construction.
