# The batch mode's workbook libraries as three targets: workbook::zip (libzip, with zlib),
# workbook::expat and workbook::xlsxwriter.
#
# The Linux build takes Debian's packages through pkg-config. The cross builds (the windows and web
# presets) take the static libraries that tools/workbook-libraries builds from Debian's sources into
# TARIFMASTER_WORKBOOK_PREFIX, beside each library's copyright file in share/licenses/<library>/, which
# the Windows packages and the site carry (TARIFMASTER_WORKBOOK_LICENSES lists them).
set(TARIFMASTER_WORKBOOK_PREFIX "" CACHE PATH
    "The static workbook libraries of a cross build (tools/workbook-libraries); empty: the system's")

if(TARGET workbook::zip)
    return()
endif()

if(TARIFMASTER_WORKBOOK_PREFIX)
    set(prefix ${TARIFMASTER_WORKBOOK_PREFIX})
    if(NOT EXISTS ${prefix}/built)
        message(FATAL_ERROR "No workbook libraries in ${prefix}: tools/workbook-libraries builds them "
                            "(tools/windows and tools/web run it)")
    endif()
    # Windows' zlib is Debian's mingw-w64 build; the browser's is built into the prefix.
    if(EXISTS ${prefix}/lib/libz.a)
        set(zlib ${prefix}/lib/libz.a)
    else()
        find_library(TARIFMASTER_STATIC_ZLIB NAMES libz.a REQUIRED)
        set(zlib ${TARIFMASTER_STATIC_ZLIB})
    endif()
    add_library(workbook::zip STATIC IMPORTED GLOBAL)
    set_target_properties(workbook::zip PROPERTIES
        IMPORTED_LOCATION ${prefix}/lib/libzip.a
        INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include
        INTERFACE_LINK_LIBRARIES ${zlib})
    add_library(workbook::expat STATIC IMPORTED GLOBAL)
    # Expat's header marks its functions as a DLL's unless told that the library is static.
    set_target_properties(workbook::expat PROPERTIES
        IMPORTED_LOCATION ${prefix}/lib/libexpat.a
        INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include
        INTERFACE_COMPILE_DEFINITIONS XML_STATIC)
    add_library(workbook::xlsxwriter STATIC IMPORTED GLOBAL)
    set_target_properties(workbook::xlsxwriter PROPERTIES
        IMPORTED_LOCATION ${prefix}/lib/libxlsxwriter.a
        INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include
        INTERFACE_LINK_LIBRARIES ${zlib})
    file(GLOB licenses ${prefix}/share/licenses/*/copyright)
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET GLOBAL libzip)
    pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET GLOBAL xlsxwriter)
    find_package(EXPAT REQUIRED GLOBAL)
    add_library(workbook::zip ALIAS PkgConfig::LIBZIP)
    add_library(workbook::xlsxwriter ALIAS PkgConfig::XLSXWRITER)
    add_library(workbook::expat ALIAS EXPAT::EXPAT)
    set(licenses)
endif()
# For every folder, not only the one that included this file.
set(TARIFMASTER_WORKBOOK_LICENSES "${licenses}" CACHE INTERNAL "The copyright files of the workbook libraries")
