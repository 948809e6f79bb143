# Makes the installer from the configured .wxs with wixl, for a given version:
#   cmake -DWIXL=wixl -DMSIBUILD=msibuild -DWXS=tarifmaster.wxs -DVERSION=1.0 -DOUTPUT=x.msi -P make-msi.cmake
# The build makes the release's installer so; the installer test makes a higher version the same way.
#
# The installer's texts are Russian. Windows Installer reads the strings of its tables in the
# database's code page, and wixl 0.101 sets only the summary's (Product/@Codepage): it writes the
# table strings in the code page of WINDOWS_LANGUAGE, Russian here, and drops what that code page cannot
# hold. msibuild (msitools) then sets the database's code page to Windows-1251, so that every Windows
# reads the names as written, whatever its own code page.
foreach(variable WIXL MSIBUILD WXS VERSION OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "make-msi.cmake needs -D${variable}=...")
    endif()
endforeach()

get_filename_component(folder ${OUTPUT} DIRECTORY)
get_filename_component(sources ${WXS} DIRECTORY) # where the .wxs names its files from
set(partial ${OUTPUT}.partial)
set(codepage ${folder}/codepage-1251.idt)
# An .idt file: two header lines, then the code page and the table's name.
file(WRITE ${codepage} "\r\n\r\n1251\t_ForceCodepage\r\n")
file(REMOVE ${partial})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env WINDOWS_LANGUAGE=ru ${WIXL} -a x64 -D Version=${VERSION} -o ${partial} ${WXS}
    WORKING_DIRECTORY ${sources}
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env WINDOWS_LANGUAGE=ru ${MSIBUILD} ${partial} -i ${codepage}
    COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${partial} ${OUTPUT})
