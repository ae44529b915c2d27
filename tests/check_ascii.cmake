# Fails when a C or C++ source file holds a byte outside ASCII.
file(GLOB_RECURSE sources
     ${ROOT}/support/*.c ${ROOT}/support/*.h ${ROOT}/support/*.cpp
     ${ROOT}/dbaccess/*.h ${ROOT}/dbaccess/*.cpp
     ${ROOT}/items/*.h ${ROOT}/items/*.cpp
     ${ROOT}/app/*.h ${ROOT}/app/*.cpp
     ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp
     ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp)
set(bad "")
foreach(f ${sources})
    file(STRINGS ${f} lines REGEX "[^\t\r\n -~]")
    if(lines)
        list(APPEND bad ${f})
    endif()
endforeach()
if(bad)
    message(FATAL_ERROR "Non-ASCII bytes in: ${bad}")
endif()
