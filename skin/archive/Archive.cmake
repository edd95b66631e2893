# Archive codec and reader sources of the skin core.
list(APPEND QM_SKIN_SOURCES
    archive/MemoryStream.cpp
    archive/LzhTree.cpp
    archive/Lzh.cpp
    archive/LzhEncoder.cpp
    archive/SkinReader.cpp
    archive/SkinWriter.cpp
)
