# Archive codec and reader sources of the skin core.
list(APPEND QM_SKIN_SOURCES)
