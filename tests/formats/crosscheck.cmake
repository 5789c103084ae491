# Exports DATA_FOLDER with the editor's loader (MIXORA_DAT export) to EXPORT_JSON, then checks
# the format descriptions against that export with CROSSCHECK (run by NODE).
file(REMOVE ${EXPORT_JSON})
execute_process(COMMAND ${MIXORA_DAT} export ${DATA_FOLDER} ${EXPORT_JSON}
                RESULT_VARIABLE exportResult)
if(NOT exportResult EQUAL 0)
    message(FATAL_ERROR "mixora-dat export ${DATA_FOLDER} failed: ${exportResult}")
endif()
execute_process(COMMAND ${NODE} ${CROSSCHECK} ${DATA_FOLDER} ${EXPORT_JSON}
                RESULT_VARIABLE checkResult)
if(NOT checkResult EQUAL 0)
    message(FATAL_ERROR "The format descriptions disagree with the loader (see above)")
endif()
