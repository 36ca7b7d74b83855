# kr7d_add_translations(<target> TS <ts files...> SOURCES <folders...>)
# Builds the catalogues with the target into <appdir>/translations, where the host loads every
# <name>_<language>.qm it finds. <target>_lupdate refreshes the .ts files from the sources (run
# by hand after changing user-visible texts); tst_catalogues checks that none is left
# unfinished.
function(kr7d_add_translations target)
    cmake_parse_arguments(T "" "" "TS;SOURCES" ${ARGN})
    set(ts_files)
    foreach(ts IN LISTS T_TS)
        get_filename_component(ts ${ts} ABSOLUTE)
        list(APPEND ts_files ${ts})
    endforeach()
    set(folders)
    foreach(folder IN LISTS T_SOURCES)
        get_filename_component(folder ${folder} ABSOLUTE)
        list(APPEND folders ${folder})
    endforeach()
    set_source_files_properties(${ts_files} PROPERTIES OUTPUT_LOCATION ${KR7D_APP_DIR}/translations)
    qt5_add_translation(qm_files ${ts_files})
    target_sources(${target} PRIVATE ${qm_files})

    add_custom_target(${target}_lupdate
        COMMAND Qt5::lupdate -locations none -no-obsolete ${folders} -ts ${ts_files}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        VERBATIM)
    # One line per catalogue: the .ts file, then the folders its texts come from.
    foreach(ts IN LISTS ts_files)
        string(JOIN " " line ${ts} ${folders})
        set_property(GLOBAL APPEND PROPERTY KR7D_CATALOGUES "${line}")
    endforeach()
endfunction()
