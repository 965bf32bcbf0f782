# What a Windows build needs beside its programs: the Qt libraries and
# plugins it loads and the MinGW runtime (VENDALISE_RUNTIME_DLLS,
# VENDALISE_QT_PLUGINS); when cross-compiled, Wine runs its tests.

get_filename_component(VENDALISE_QT_ROOT "${Qt6_DIR}/../../.." ABSOLUTE)

set(VENDALISE_RUNTIME_DLLS)
foreach(library Core Gui Widgets PrintSupport Charts)
    list(APPEND VENDALISE_RUNTIME_DLLS ${VENDALISE_QT_ROOT}/bin/Qt6${library}.dll)
endforeach()
set(runtime_folders ${VENDALISE_QT_ROOT}/bin)
foreach(library libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(found "${found}" ABSOLUTE)
    if(NOT EXISTS "${found}")
        message(FATAL_ERROR "The MinGW runtime library ${library} was not found")
    endif()
    list(APPEND VENDALISE_RUNTIME_DLLS ${found})
    get_filename_component(folder ${found} DIRECTORY)
    list(APPEND runtime_folders ${folder})
endforeach()
# The windows of the desktop, the offscreen ones for headless runs, and the
# native look; printing is inside Qt6PrintSupport.dll and no picture is read
# from a file, so no image format is loaded.
set(VENDALISE_QT_PLUGINS
    ${VENDALISE_QT_ROOT}/plugins/platforms/qwindows.dll
    ${VENDALISE_QT_ROOT}/plugins/platforms/qoffscreen.dll
    ${VENDALISE_QT_ROOT}/plugins/styles/qwindowsvistastyle.dll)

if(CMAKE_CROSSCOMPILING)
    find_program(WINE wine)
    if(WINE)
        # Wine sees this machine's root as drive Z:.
        set(wine_path)
        foreach(folder ${runtime_folders})
            string(REPLACE "/" "\\" folder "Z:${folder}")
            list(APPEND wine_path "${folder}")
        endforeach()
        list(REMOVE_DUPLICATES wine_path)
        list(JOIN wine_path ";" VENDALISE_WINE_DLL_PATH)
        configure_file(${CMAKE_SOURCE_DIR}/tests/windows/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
            @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
            GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
    endif()
endif()
