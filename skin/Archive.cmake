# Archive codec and reader sources of the skin core.
list(APPEND QM_SKIN_SOURCES
    MemoryStream.cpp
    LzhTree.cpp
    Lzh.cpp
    LzhEncoder.cpp
    SkinReader.cpp
    SkinWriter.cpp
)
