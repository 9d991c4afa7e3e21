# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Installs the built library into a scratch prefix, then builds and runs the consumer against it.
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
    endif()
    message(STATUS "${out}")
endfunction()

run(${CMAKE_COMMAND} --install ${GLYPHMORPH_BUILD_DIR} --prefix ${prefix})
foreach(forbidden emosequencesearchtree_p.h testenvironment.h)
    if(EXISTS ${prefix}/include/glyphmorph0/${forbidden})
        message(FATAL_ERROR "private header installed: ${forbidden}")
    endif()
endforeach()
file(GLOB_RECURSE headers RELATIVE ${prefix}/include/glyphmorph0 ${prefix}/include/glyphmorph0/*.h)
list(SORT headers)
set(includes "")
foreach(header IN LISTS headers)
    string(APPEND includes "#include <${header}>\n")
endforeach()
file(WRITE ${WORK_DIR}/generated/installedheaders.h "${includes}")
file(GLOB libdirs LIST_DIRECTORIES true ${prefix}/lib*)
set(pcpath "")
foreach(dir IN LISTS libdirs)
    list(APPEND pcpath ${dir}/pkgconfig)
endforeach()
string(REPLACE ";" ":" pcpath "${pcpath}")
set(ENV{PKG_CONFIG_PATH} ${pcpath})
# pkg-config as if the QtSvg and XML development files were not installed either: only the
# system's .pc files but theirs.
find_program(pkgconfig NAMES pkg-config pkgconf)
if(NOT pkgconfig)
    message(FATAL_ERROR "pkg-config not found")
endif()
execute_process(COMMAND ${pkgconfig} --variable pc_path pkg-config
    OUTPUT_VARIABLE systempcpath OUTPUT_STRIP_TRAILING_WHITESPACE)
set(restricted ${WORK_DIR}/pkgconfig-without-qt-svg-xml)
file(MAKE_DIRECTORY ${restricted})
string(REPLACE ":" ";" systempcdirs "${systempcpath}")
foreach(dir IN LISTS systempcdirs)
    file(GLOB pcfiles ${dir}/*.pc)
    foreach(pcfile IN LISTS pcfiles)
        get_filename_component(name ${pcfile} NAME)
        if(NOT name MATCHES "^Qt[56](Svg|Xml|Core5Compat)\\.pc$"
                AND NOT EXISTS ${restricted}/${name})
            file(COPY ${pcfile} DESTINATION ${restricted})
        endif()
    endforeach()
endforeach()
set(ENV{PKG_CONFIG_LIBDIR} ${restricted})
execute_process(COMMAND ${pkgconfig} --exists Qt${GLYPHMORPH_QT_MAJOR}Svg RESULT_VARIABLE rc)
if(rc EQUAL 0)
    message(FATAL_ERROR "Qt${GLYPHMORPH_QT_MAJOR}Svg.pc is still found")
endif()
run(${pkgconfig} --cflags --libs glyphmorph0)
# The library's own Qt modules stay out of what a consumer must have: configure as if the QtSvg
# and XML development files were not installed.
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE_DIR} -B ${WORK_DIR}/build
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
    -DINSTALLED_HEADERS_DIR=${WORK_DIR}/generated
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt${GLYPHMORPH_QT_MAJOR}Svg=ON
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt${GLYPHMORPH_QT_MAJOR}Xml=ON
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt${GLYPHMORPH_QT_MAJOR}Core5Compat=ON
    "-DCMAKE_CXX_FLAGS=${CONSUMER_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CONSUMER_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
# The installed programs start from this prefix by themselves: no loader path is set yet.
run(${prefix}/bin/glyphmorph --version)
# The installed library finds the emoji locale files installed beside it, not the build tree's.
execute_process(COMMAND ${prefix}/bin/glyphmorph emoji name "👍" --lang de
    RESULT_VARIABLE rc OUTPUT_VARIABLE name ERROR_VARIABLE err)
execute_process(COMMAND ${prefix}/bin/glyphmorph emoji info OUTPUT_VARIABLE info)
if(NOT rc EQUAL 0 OR NOT name STREQUAL "Daumen hoch\n"
        OR NOT info MATCHES "the others in ${prefix}/share/glyphmorph0/emoji/locales")
    message(FATAL_ERROR "installed emoji locales not used: '${name}' ${err}\n${info}")
endif()
set(ENV{QT_QPA_PLATFORM} offscreen)
if(WITH_MESSENGER)
    run(${prefix}/bin/glyphmorph-messenger --help)
    foreach(installed share/applications/glyphmorph-messenger.desktop
            share/icons/hicolor/scalable/apps/glyphmorph-messenger.svg)
        if(NOT EXISTS ${prefix}/${installed})
            message(FATAL_ERROR "not installed: ${installed}")
        endif()
    endforeach()
endif()
string(REPLACE ";" ":" ldpath "${libdirs}")
set(ENV{LD_LIBRARY_PATH} ${ldpath})
foreach(exe consumer consumer-pkgconfig)
    run(${WORK_DIR}/build/${exe})
endforeach()
