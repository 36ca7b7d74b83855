# cmake -DBUILD_DIR=... -DPREFIX=... -DLIBDIR=... -DBINDIR=... -DDATADIR=... -P installandrun.cmake
# Fails unless the installed tree holds every piece and its tgauge, started through the link in
# <bindir> with nothing of the build tree in reach, connects a simulated sensor and takes a picture.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(app ${PREFIX}/${LIBDIR}/tgauge)
foreach(file IN ITEMS
        ${BINDIR}/tgauge ${BINDIR}/iolink-master-sim
        ${LIBDIR}/tgauge/libExtensionSystem.so ${LIBDIR}/tgauge/libUtils.so
        ${LIBDIR}/tgauge/libQtPropertyBrowser.so
        ${LIBDIR}/tgauge/plugins/libIoLinkKR7Dfamily.so ${LIBDIR}/tgauge/IoLinkKR7Dfamily.xml
        ${LIBDIR}/tgauge/translations/IoLinkKR7Dfamily_de.qm
        ${LIBDIR}/tgauge/translations/Utils_de.qm
        ${LIBDIR}/tgauge/translations/QtPropertyBrowser_de.qm
        ${LIBDIR}/tgauge/translations/tgauge_de.qm
        ${DATADIR}/applications/tgauge.desktop
        ${DATADIR}/icons/hicolor/scalable/apps/tgauge.svg)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# The installed binaries must not lean on the build tree's libraries.
foreach(binary IN ITEMS tgauge iolink-master-sim plugins/libIoLinkKR7Dfamily.so)
    execute_process(COMMAND readelf -d ${app}/${binary} OUTPUT_VARIABLE dynamic)
    string(REGEX MATCH "R(UN)?PATH[^\n]*" search_path "${dynamic}")
    if(NOT search_path MATCHES "ORIGIN" OR search_path MATCHES "${BUILD_DIR}")
        message(FATAL_ERROR "${binary} searches its libraries in: ${search_path}")
    endif()
endforeach()

set(shot ${PREFIX}/installed.png)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
        --unset=QT_QPA_PLATFORM --unset=LD_LIBRARY_PATH --unset=KR7D_DESCRIPTION_FILE
        ${PREFIX}/${BINDIR}/tgauge --batch --open-sensor KR7D-P250 --simulate SIM --connect SIM
        --screenshot ${shot}
    WORKING_DIRECTORY ${PREFIX}
    RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT EXISTS ${shot})
    message(FATAL_ERROR "the installed tgauge failed (${result}):\n${errors}")
endif()
