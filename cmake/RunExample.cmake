# Runs one example program as a test: it must exit with 0, and every excerpt of its
# output that the user guide shows must appear in what it prints, as whole lines. An
# excerpt is the ```text block right below a line "<!-- output: NAME -->".
#
# Usage: cmake -DPROGRAM=<path> -DNAME=<fzl_name> -DGUIDE=<docs/guide.md> -P RunExample.cmake

cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND "${PROGRAM}"
    RESULT_VARIABLE Result
    OUTPUT_VARIABLE Output
    ERROR_VARIABLE Errors)
if(NOT Result STREQUAL "0")
    message(FATAL_ERROR "${NAME} exited with ${Result}\n${Output}${Errors}")
endif()

file(READ "${GUIDE}" Guide)
set(Marker "<!-- output: ${NAME} -->\n```text\n")
string(LENGTH "${Marker}" MarkerLength)
set(Excerpts 0)
while(TRUE)
    string(FIND "${Guide}" "${Marker}" Start)
    if(Start EQUAL -1)
        break()
    endif()
    math(EXPR Start "${Start} + ${MarkerLength}")
    string(SUBSTRING "${Guide}" ${Start} -1 Guide)
    string(FIND "${Guide}" "\n```" End)
    if(End EQUAL -1)
        message(FATAL_ERROR "${GUIDE}: the output block of ${NAME} is not closed")
    endif()
    math(EXPR End "${End} + 1")
    string(SUBSTRING "${Guide}" 0 ${End} Excerpt)
    # Whole lines: the excerpt starts at the beginning of a line of the output.
    string(FIND "\n${Output}" "\n${Excerpt}" Found)
    if(Found EQUAL -1)
        message(FATAL_ERROR "${NAME} did not print what ${GUIDE} shows:\n${Excerpt}\nIt printed:\n${Output}")
    endif()
    math(EXPR Excerpts "${Excerpts} + 1")
endwhile()
message(STATUS "${NAME}: exit code 0, ${Excerpts} excerpt(s) of the guide found in its output")
