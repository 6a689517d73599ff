# Tests of this area.
