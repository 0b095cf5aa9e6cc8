# Runs lupdate over the program's sources for every language.
#   MODE=update  rewrites translations/Lang_<CODE>.ts in place
#   MODE=check   works on copies in WORK_DIR and fails when a file is out of
#                date with the sources or holds unfinished or vanished entries
# Variables: LUPDATE, SOURCE_DIR, LANGUAGES (codes separated by commas), WORK_DIR (check).

string(REPLACE "," ";" LANGUAGES "${LANGUAGES}")
set(_sources app widgets media list convert player mainwindow skin update main.cpp)
set(_ts_dir "${SOURCE_DIR}/translations")

if(MODE STREQUAL "check")
    file(REMOVE_RECURSE "${WORK_DIR}")
    file(MAKE_DIRECTORY "${WORK_DIR}")
    set(_target_dir "${WORK_DIR}")
else()
    set(_target_dir "${_ts_dir}")
endif()

# The toolkit's naming of each language, for files made from scratch.
set(_locale_EN en)
set(_locale_DE de)
set(_locale_FR fr)
set(_locale_ES es)
set(_locale_ZH zh_CN)

set(_failures "")
foreach(_code IN LISTS LANGUAGES)
    set(_ts "${_target_dir}/Lang_${_code}.ts")
    if(MODE STREQUAL "check")
        if(NOT EXISTS "${_ts_dir}/Lang_${_code}.ts")
            string(APPEND _failures "Lang_${_code}.ts is missing\n")
            continue()
        endif()
        file(COPY "${_ts_dir}/Lang_${_code}.ts" DESTINATION "${WORK_DIR}")
    endif()
    set(_options -locations none -no-obsolete -no-ui-lines -silent
                 -source-language en -target-language ${_locale_${_code}})
    if(_code STREQUAL "EN")
        # English is the language of the sources: only the plural forms
        # need a translation.
        list(APPEND _options -pluralonly)
    endif()
    execute_process(
        COMMAND "${LUPDATE}" -I "${SOURCE_DIR}" ${_sources} ${_options} -ts "${_ts}"
        WORKING_DIRECTORY "${SOURCE_DIR}"
        RESULT_VARIABLE _result
        OUTPUT_VARIABLE _output
        ERROR_VARIABLE _output)
    if(NOT _result EQUAL 0)
        string(APPEND _failures "lupdate failed on Lang_${_code}.ts:\n${_output}\n")
        continue()
    endif()
    if(MODE STREQUAL "check")
        file(READ "${_ts_dir}/Lang_${_code}.ts" _committed)
        file(READ "${_ts}" _fresh)
        if(NOT _committed STREQUAL _fresh)
            string(APPEND _failures
                "Lang_${_code}.ts is out of date with the sources: run the target update_translations\n")
        endif()
        file(STRINGS "${_ts}" _unfinished REGEX "type=\"(unfinished|vanished|obsolete)\"")
        list(LENGTH _unfinished _count)
        if(_count GREATER 0)
            string(APPEND _failures "Lang_${_code}.ts has ${_count} unfinished or vanished entries\n")
        endif()
        file(STRINGS "${_ts}" _messages REGEX "<source>")
        list(LENGTH _messages _total)
        message(STATUS "Lang_${_code}.ts: ${_total} texts, ${_count} unfinished")
    endif()
endforeach()

if(_failures)
    message(FATAL_ERROR "${_failures}")
endif()
