# Pixel buffer, bitmap loading and painting primitives of the skin core.
list(APPEND QM_SKIN_SOURCES)
