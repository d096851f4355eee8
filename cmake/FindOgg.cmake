# Finds libogg and defines Ogg::ogg. Works with MSVC, mingw and native builds alike.
find_path(Ogg_INCLUDE_DIR ogg/ogg.h)
find_library(Ogg_LIBRARY NAMES ogg libogg libogg_static)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Ogg REQUIRED_VARS Ogg_LIBRARY Ogg_INCLUDE_DIR)

if(Ogg_FOUND AND NOT TARGET Ogg::ogg)
    add_library(Ogg::ogg UNKNOWN IMPORTED)
    set_target_properties(Ogg::ogg PROPERTIES
        IMPORTED_LOCATION "${Ogg_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${Ogg_INCLUDE_DIR}")
endif()
mark_as_advanced(Ogg_INCLUDE_DIR Ogg_LIBRARY)
