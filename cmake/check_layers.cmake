# Fails when a source file includes a header of a layer above its own. Run as
#   cmake -DSOURCE_DIR=<repo>/src -DSTAMP=<file> -P check_layers.cmake
# Layers, lowest first: platform; ui; environment; wizard and reference (the commands the
# panel's view hands over to); panel; console and app (the front-ends). A folder includes its
# own headers and those of lower layers only; folders of one rank do not include each other.
# engine/ stands beside them and uses platform/ only.

cmake_minimum_required(VERSION 3.25)

set(rank_platform 0)
set(rank_ui 1)
set(rank_environment 2)
set(rank_wizard 3)
set(rank_reference 3)
set(rank_panel 4)
set(rank_console 5)
set(rank_app 5)
set(layers platform ui environment wizard reference panel console app engine)

set(violations "")
foreach(layer ${layers})
    file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
    foreach(file ${files})
        file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
        foreach(line ${includes})
            string(REGEX REPLACE "^[^\"]*\"([a-z_]+)/.*$" "\\1" used "${line}")
            if(used STREQUAL layer OR NOT used IN_LIST layers)
                continue()
            endif()
            file(RELATIVE_PATH shown "${SOURCE_DIR}/.." "${file}")
            if(layer STREQUAL "engine")
                if(NOT used STREQUAL "platform")
                    list(APPEND violations "${shown}: engine/ must not include ${line}")
                endif()
                continue()
            endif()
            if(used STREQUAL "engine" OR NOT rank_${used} LESS rank_${layer})
                list(APPEND violations "${shown}: ${layer}/ must not include ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Layer order broken (platform < ui < environment < wizard, reference "
                        "< panel < console, app; engine/ beside them on platform/):\n  ${text}")
endif()
file(TOUCH "${STAMP}")
