# kr7d_add_translations(<target> <ts files...>)
# Builds the catalogues with the target into <appdir>/translations, where the host loads every
# <name>_<language>.qm it finds.
function(kr7d_add_translations target)
    set(ts_files)
    foreach(ts IN LISTS ARGN)
        get_filename_component(ts ${ts} ABSOLUTE)
        list(APPEND ts_files ${ts})
    endforeach()
    set_source_files_properties(${ts_files} PROPERTIES OUTPUT_LOCATION ${KR7D_APP_DIR}/translations)
    qt5_add_translation(qm_files ${ts_files})
    target_sources(${target} PRIVATE ${qm_files})
endfunction()
