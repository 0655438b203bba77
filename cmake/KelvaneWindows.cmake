# Windows: the programs' icon, version information and manifest; with MinGW,
# the Qt and compiler runtime the programs load, placed beside them in the build
# folder (so that programs and tests run there, under Wine too) and in the
# packages, with the licences of what is shipped; and the packages themselves: a
# portable ZIP and an NSIS installer (cpack in the build folder).
# Included from the top-level CMakeLists.txt once every target exists.

set(KELVANE_WINDOWS_ICON ${PROJECT_SOURCE_DIR}/resources/icons/kelvane.ico)
set(kelvane_shown_version ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})

function(kelvane_add_program_resource target description)
    set(KELVANE_RC_NAME ${target})
    set(KELVANE_RC_DESCRIPTION "${description}")
    set(KELVANE_RC_ICON ${KELVANE_WINDOWS_ICON})
    set(manifest ${PROJECT_BINARY_DIR}/generated/${target}.manifest)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/windows-program.manifest.in ${manifest} @ONLY)
    if(MSVC)
        # MSVC's linker embeds a manifest of its own, into which it merges this one.
        set(KELVANE_RC_MANIFEST "")
        target_sources(${target} PRIVATE ${manifest})
    else()
        # Resource 1 of type 24 (RT_MANIFEST): the manifest Windows reads when it
        # starts the program.
        set(KELVANE_RC_MANIFEST "1 24 \"${manifest}\"")
    endif()
    set(rc ${PROJECT_BINARY_DIR}/generated/${target}.rc)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/windows-program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    # The resource compiler reads these files; a change to one rebuilds the resources.
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${KELVANE_RC_ICON};${manifest}")
endfunction()

kelvane_add_program_resource(kelvane "Kelvane")
kelvane_add_program_resource(kelvane-attach "Kelvane for the command line")

if(MINGW)
    # The compiler's runtime, which the Qt libraries link dynamically.
    set(mingw_runtime)
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${found}")
            message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
        endif()
        file(REAL_PATH "${found}" found)
        list(APPEND mingw_runtime ${found})
    endforeach()

    set(qt_libraries $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
    set(qt_platform $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
    set(qt_style $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)

    # In the build folder, with what the tests need besides: Qt Test and the
    # headless platforms.
    set(beside $<TARGET_FILE_DIR:kelvane>)
    add_custom_target(kelvane_windows_runtime ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory ${beside}/platforms ${beside}/styles
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${mingw_runtime} ${qt_libraries}
                $<TARGET_FILE:Qt6::Test> ${beside}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_platform}
                $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
                $<TARGET_FILE:Qt6::QMinimalIntegrationPlugin> ${beside}/platforms
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_style} ${beside}/styles
        COMMENT "Placing the Qt and MinGW runtime beside the programs"
        VERBATIM)

    install(FILES ${mingw_runtime} ${qt_libraries} DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${qt_platform} DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
    install(FILES ${qt_style} DESTINATION ${CMAKE_INSTALL_BINDIR}/styles)
    # Stripped with the programs (cpack, cmake --install --strip), which more
    # than halves the package.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/*.dll\")
            foreach(dll IN LISTS dlls)
                execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${dll}\")
            endforeach()
        endif()")

    # Their licences. The Qt for MinGW is built from Debian's qt6-base source
    # package and the runtime comes from Debian's MinGW-w64 packages, so their
    # Debian copyright files list every part and its licence.
    set(licences
        "/usr/share/doc/libqt6core6/copyright" "Qt-copyright.txt"
        "/usr/share/common-licenses/LGPL-3" "LGPL-3.txt"
        "/usr/share/common-licenses/GPL-3" "GPL-3.txt"
        "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright" "GCC-runtime-copyright.txt"
        "/usr/share/doc/mingw-w64-common/copyright" "MinGW-w64-copyright.txt")
    while(licences)
        list(POP_FRONT licences from to)
        if(NOT EXISTS ${from})
            message(WARNING "${from} is missing: the packages will lack ${to}")
            continue()
        endif()
        install(FILES ${from} DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME ${to})
    endwhile()
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/windows-licenses.txt
            DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME README.txt)
endif()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_VERSION ${kelvane_shown_version})
set(CPACK_PACKAGE_FILE_NAME kelvane-${kelvane_shown_version}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kelvane)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Kelvane)
set(CPACK_PACKAGE_EXECUTABLES kelvane Kelvane)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_LIST_DIR}/windows-licenses.txt)
set(CPACK_STRIP_FILES ON)

set(CPACK_NSIS_PACKAGE_NAME "Kelvane ${kelvane_shown_version}")
set(CPACK_NSIS_DISPLAY_NAME "Kelvane ${kelvane_shown_version}")
# A 64-bit installer, which installs under "Program Files" rather than
# "Program Files (x86)" and runs where only 64-bit programs can. CPack's
# uninstaller leaves the vendor's registry key empty behind: it goes too.
#
# The finish page offers to start Kelvane. The installer runs as administrator,
# and so would what it starts: Explorer starts it instead, as the user logged on,
# so that Kelvane never writes with rights the user did not give it.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_NSIS_DEFINES "
  Target amd64-unicode
  Function un.onUninstSuccess
    DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"
  FunctionEnd
  !define MUI_FINISHPAGE_RUN_TEXT \"Start Kelvane\"
  !define MUI_FINISHPAGE_RUN_FUNCTION StartKelvaneAsUser
  Function StartKelvaneAsUser
    Exec '\"$WINDIR\\explorer.exe\" \"$INSTDIR\\kelvane.exe\"'
  FunctionEnd
  !include \"${CMAKE_CURRENT_LIST_DIR}/windows-path.nsh\"
  !define MUI_FINISHPAGE_SHOWREADME
  !define MUI_FINISHPAGE_SHOWREADME_TEXT \"Add Kelvane to PATH (kelvane-attach in a Command Prompt)\"
  !define MUI_FINISHPAGE_SHOWREADME_FUNCTION AddKelvaneToPath")
# Kelvane's folder goes onto PATH from a checkbox of the finish page, checked
# by default; a silent install adds it too. The uninstaller takes it off.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  IfSilent 0 +2
    Call AddKelvaneToPath")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  Call un.RemoveKelvaneFromPath")
# The checkbox's label takes two lines, which MUI's finish page cuts off at
# the top and bottom; this hook, written just before that page, gives it room.
# (CPack fills this slot only from CPACK_NSIS_FINISH_TITLE, left unset here.)
set(CPACK_NSIS_INSTALLER_FINISH_TITLE_CODE "!define MUI_PAGE_CUSTOMFUNCTION_PRE KelvaneFinishPagePre")
set(CPACK_NSIS_MUI_FINISHPAGE_RUN kelvane.exe)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ${CMAKE_INSTALL_BINDIR})
set(CPACK_NSIS_INSTALLED_ICON_NAME kelvane.exe)
set(CPACK_NSIS_MUI_ICON ${KELVANE_WINDOWS_ICON})
set(CPACK_NSIS_MUI_UNIICON ${KELVANE_WINDOWS_ICON})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
