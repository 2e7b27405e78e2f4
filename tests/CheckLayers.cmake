# The include rules between the program's layers, checked over the source tree:
# - nothing below the application (the case and window-support layers, the windows and their
#   logic) includes a header of app/;
# - the main window's class is known only to start-up and to the main window's own files.
# Run by ctest as: cmake -DROOT=<source folder> -P CheckLayers.cmake
if(NOT ROOT)
    message(FATAL_ERROR "CheckLayers.cmake needs -DROOT=<source folder>")
endif()

set(below_app calendar case sheet footer resources annual quicktable records ui)
set(main_window_users "^app/(UlvanMain[A-Za-z]*\\.(h|cpp)|MainCommands\\.(h|cpp)|Application\\.cpp|main\\.cpp)$")

set(faults "")
foreach(folder ${below_app})
    file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    foreach(file ${files})
        file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"app/")
        foreach(line ${includes})
            string(APPEND faults "\n  ${file}: ${line}")
        endforeach()
    endforeach()
endforeach()

file(GLOB_RECURSE all RELATIVE ${ROOT} ${ROOT}/*.h ${ROOT}/*.cpp)
foreach(file ${all})
    if(file MATCHES "^(build|tests)/" OR file MATCHES ${main_window_users})
        continue()
    endif()
    file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"app/UlvanMain\\.h\"")
    foreach(line ${includes})
        string(APPEND faults "\n  ${file}: ${line} (only start-up and the main window's own files)")
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes against the layers:${faults}")
endif()
message(STATUS "Layers: no include against the layers")
