# Fails when a C++ file of the project is not formatted as clang-format (with the repository's
# .clang-format) would format it. Run as: cmake -DSOURCE_DIR=path -P clang_format.cmake
find_program(CLANG_FORMAT clang-format REQUIRED)
set(folders app store records check platform editors browse tools/mixora-dat tools/screenshots
    tests bench fuzz)
set(files)
foreach(folder ${folders})
    file(GLOB found ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    list(APPEND files ${found})
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Files above are not formatted; run clang-format -i on them")
endif()
