# Fails when a source file of the numeric engine (point list, set, hedges,
# combination, inference) includes, directly or through the module's own headers,
# the header of the logic component or of its parser. The engine reads its
# settings through TFuzzySet::GetSettings and nothing above the variable.
#
#   cmake -DMODULE_DIR=<src/FuzzyLogic> -P CheckEngineIncludes.cmake

cmake_minimum_required(VERSION 3.25)

set(ENGINE FuzzySetValues.cpp FuzzySet.cpp FuzzyHedges.cpp FuzzySetOperations.cpp FuzzyInference.cpp)
set(FORBIDDEN "fzl/FuzzyLogic/FuzzyLogic.h" "fzl/FuzzyLogic/FuzzyLogicParser.h")

foreach(SOURCE IN LISTS ENGINE)
    set(PENDING "${MODULE_DIR}/${SOURCE}")
    set(SEEN "")
    while(PENDING)
        list(POP_FRONT PENDING FILE)
        if(NOT EXISTS "${FILE}")
            message(FATAL_ERROR "engine file not found: ${FILE}")
        endif()
        list(APPEND SEEN "${FILE}")
        file(STRINGS "${FILE}" LINES REGEX "^[ \t]*#[ \t]*include")
        foreach(LINE IN LISTS LINES)
            if(NOT LINE MATCHES "[<\"]([^>\"]+)[>\"]")
                continue()
            endif()
            set(HEADER "${CMAKE_MATCH_1}")
            if(HEADER IN_LIST FORBIDDEN)
                message(FATAL_ERROR "${SOURCE} reaches up to ${HEADER} (through ${FILE})")
            endif()
            # Follow the module's own headers, public and internal.
            if(HEADER MATCHES "^fzl/FuzzyLogic/")
                set(NEXT "${MODULE_DIR}/include/${HEADER}")
            elseif(HEADER MATCHES "^internal/")
                set(NEXT "${MODULE_DIR}/${HEADER}")
            else()
                continue()
            endif()
            if(NOT NEXT IN_LIST SEEN AND NOT NEXT IN_LIST PENDING)
                list(APPEND PENDING "${NEXT}")
            endif()
        endforeach()
    endwhile()
endforeach()
message(STATUS "engine sources stay below the logic component")
