# Finds libvorbis with vorbisfile and vorbisenc; defines Vorbis::vorbis, Vorbis::vorbisfile
# and Vorbis::vorbisenc (the last only where the library exists).
find_package(Ogg REQUIRED)

find_path(Vorbis_INCLUDE_DIR vorbis/vorbisfile.h)
find_library(Vorbis_LIBRARY NAMES vorbis libvorbis libvorbis_static)
find_library(Vorbis_File_LIBRARY NAMES vorbisfile libvorbisfile libvorbisfile_static)
find_library(Vorbis_Enc_LIBRARY NAMES vorbisenc libvorbisenc libvorbisenc_static)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Vorbis
    REQUIRED_VARS Vorbis_LIBRARY Vorbis_File_LIBRARY Vorbis_INCLUDE_DIR)

if(Vorbis_FOUND AND NOT TARGET Vorbis::vorbis)
    add_library(Vorbis::vorbis UNKNOWN IMPORTED)
    set_target_properties(Vorbis::vorbis PROPERTIES
        IMPORTED_LOCATION "${Vorbis_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${Vorbis_INCLUDE_DIR}"
        INTERFACE_LINK_LIBRARIES Ogg::ogg)
    add_library(Vorbis::vorbisfile UNKNOWN IMPORTED)
    set_target_properties(Vorbis::vorbisfile PROPERTIES
        IMPORTED_LOCATION "${Vorbis_File_LIBRARY}"
        INTERFACE_LINK_LIBRARIES Vorbis::vorbis)
    if(Vorbis_Enc_LIBRARY)
        add_library(Vorbis::vorbisenc UNKNOWN IMPORTED)
        set_target_properties(Vorbis::vorbisenc PROPERTIES
            IMPORTED_LOCATION "${Vorbis_Enc_LIBRARY}"
            INTERFACE_LINK_LIBRARIES Vorbis::vorbis)
    endif()
endif()
mark_as_advanced(Vorbis_INCLUDE_DIR Vorbis_LIBRARY Vorbis_File_LIBRARY Vorbis_Enc_LIBRARY)
