# Fails unless the program PROGRAM links, directly or through other libraries, no Qt module but
# QtCore. Run as: cmake -DPROGRAM=path -P qtcore_only.cmake
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "libQt6[A-Za-z]+" modules "${libraries}")
list(REMOVE_DUPLICATES modules)
if(NOT modules STREQUAL "libQt6Core")
    message(FATAL_ERROR "${PROGRAM} links ${modules}; only libQt6Core is expected")
endif()
