# Fails when a source file differs from the house style of .clang-format. Run by CTest as
#   cmake -DCLANG_FORMAT=/usr/bin/clang-format -DSOURCE_DIR=<top> -P CheckFormat.cmake
set(sources)
foreach(folder engine window report batch web win32 tests bench)
    file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${found})
endforeach()
list(SORT sources)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources}
                WORKING_DIRECTORY ${SOURCE_DIR}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Sources differ from .clang-format; run clang-format -i on the files above.")
endif()
list(LENGTH sources count)
message(STATUS "${count} sources follow .clang-format")
