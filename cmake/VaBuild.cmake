# Compiler settings, GoogleTest and the test helper shared by every folder.

if(VA_NATIVE)
    # Platform-free code only, checked by the sanitizers.
    add_compile_options(-Wall -Wextra -Werror=unused-result -g -O1 -fno-omit-frame-pointer
                        -fsanitize=address,undefined -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
else()
    # ANSI (MBCS) build: the ...A functions, no UNICODE.
    add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800
                            STRICT)
    add_compile_options(-Wall -Wextra -Werror=unused-result -Wno-unused-parameter -Wno-cast-function-type
                        -O2 -g0 -fno-strict-aliasing)
    add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# A dropped result of a function marked [[nodiscard]] (every writer of a file
# or registry value the user's data lives in) fails the build, above.
# va_checked_system_writes(<targets...>) puts framework/win/SystemWrites.h
# before the module sources of each target, so that the system's own writers
# are held to the same rule there.
function(va_checked_system_writes)
    if(VA_NATIVE)
        return()
    endif()
    foreach(t ${ARGN})
        if(TARGET ${t})
            target_compile_options(${t} PRIVATE
                "$<$<COMPILE_LANGUAGE:CXX>:-include${CMAKE_SOURCE_DIR}/framework/win/SystemWrites.h>")
        endif()
    endforeach()
endfunction()

# Every program of the build lands in build/<tree>/bin, the runnable program folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(VA_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(VA_RES_DIR ${CMAKE_SOURCE_DIR}/res)

# GoogleTest from Debian's source package, built with this tree's compiler.
set(VA_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${VA_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Debian's googletest warns under -Wextra; its warnings are not ours.
foreach(t gtest gtest_main)
    target_compile_options(${t} PRIVATE -w)
endforeach()

# va_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One test program per module and build; CTest runs it (under Wine in the
# cross build, through CMAKE_CROSSCOMPILING_EMULATOR). Tests receive the
# shipped data folder in VA_RES_DIR so that they can build a program folder.
function(va_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    # Test programs stay out of the program folder.
    set_target_properties(${name} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "VA_RES_DIR=${VA_RES_DIR};VA_BIN_DIR=${VA_BIN_DIR}"
        TIMEOUT 600)
endfunction()

# va_add_resources(<target> <script.rc>...)
# Resource scripts are kept in UTF-8 in the tree and compiled as cp932
# (see cmake/rc-to-cp932.sh). The folder of the script is on the include path
# so that it can include its resource header.
function(va_add_resources target)
    foreach(rc ${ARGN})
        get_filename_component(abs ${rc} ABSOLUTE)
        get_filename_component(name ${rc} NAME_WE)
        # One copy per target: two targets of a folder may convert the same
        # script, and one output for both would be written by both at once.
        set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}.${name}.cp932.rc)
        add_custom_command(OUTPUT ${out}
            COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/rc-to-cp932.sh ${abs} ${out}
            DEPENDS ${abs} ${CMAKE_SOURCE_DIR}/cmake/rc-to-cp932.sh
            COMMENT "Converting ${rc} to cp932")
        target_sources(${target} PRIVATE ${out})
        get_filename_component(dir ${abs} DIRECTORY)
        target_include_directories(${target} PRIVATE ${dir})
    endforeach()
endfunction()
