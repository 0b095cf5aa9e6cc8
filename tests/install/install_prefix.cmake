# Installs the build folder BUILD_DIR into an empty PREFIX, so nothing left
# from an earlier run can hide a file the install no longer makes.
foreach(_var BUILD_DIR PREFIX)
    if(NOT ${_var})
        message(FATAL_ERROR "install_prefix: ${_var} is not set")
    endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE _result
    OUTPUT_VARIABLE _output
    ERROR_VARIABLE _output)
if(NOT _result EQUAL 0)
    message(FATAL_ERROR "install_prefix: FAILED: cmake --install ${BUILD_DIR} --prefix ${PREFIX} "
                        "ended with ${_result} (is the build complete?):\n${_output}")
endif()
message(STATUS "installed ${BUILD_DIR} into ${PREFIX}")
