# The program's own skin: its bitmaps drawn, packed with its definition into one archive, which
# the Windows program carries as a resource. Nothing packed is kept in the sources. In the cross
# build the two tools run through the emulator, like every other Windows program of the build.
set(QM27K_SKIN_DIR ${CMAKE_CURRENT_BINARY_DIR}/skin CACHE INTERNAL "Folder of the packed shipped skin")
set(QM27K_SHIPPED_SKIN ${QM27K_SKIN_DIR}/QM27K.skn CACHE INTERNAL "The shipped skin archive")
set(QM27K_SKIN_PARTS ${QM27K_SKIN_DIR}/parts)
add_custom_command(OUTPUT ${QM27K_SHIPPED_SKIN}
    # A fresh folder: skinpack takes every bitmap it finds, so none may be left from before.
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${QM27K_SKIN_PARTS}
    COMMAND drawskin ${QM27K_SKIN_PARTS}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/skin/QM27K.ini ${QM27K_SKIN_PARTS}/QM27K.ini
    COMMAND skinpack ${QM27K_SKIN_PARTS} ${QM27K_SHIPPED_SKIN}
    DEPENDS drawskin skinpack ${CMAKE_CURRENT_SOURCE_DIR}/skin/QM27K.ini
    COMMENT "Drawing and packing the shipped skin"
    VERBATIM)
add_custom_target(shipped_skin ALL DEPENDS ${QM27K_SHIPPED_SKIN})

# The main window stores its skin as its skin data component's SkinStream property: a 32-bit
# little-endian byte count, then the archive. That is what the program carries.
set(QM27K_SKIN_STREAM ${QM27K_SKIN_DIR}/QM27K.skinstream CACHE INTERNAL "The shipped skin as the stored property")
add_custom_command(OUTPUT ${QM27K_SKIN_STREAM}
    COMMAND skinpack --stored ${QM27K_SHIPPED_SKIN} ${QM27K_SKIN_STREAM}
    DEPENDS skinpack ${QM27K_SHIPPED_SKIN}
    COMMENT "Storing the shipped skin as the form's SkinStream property"
    VERBATIM)
add_custom_target(shipped_skin_stream ALL DEPENDS ${QM27K_SKIN_STREAM})
# Packed by its own target first: a target that only names the archive as a file would run the
# packing rule again beside it, two builds writing one folder at once.
add_dependencies(shipped_skin_stream shipped_skin)
