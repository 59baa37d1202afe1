# The page, built into the build folder: index.html, page.js, page.css and the
# program's zrbtracker.js, .wasm and .data (the data folder at /app/data, the
# demo song at /app/seed to be copied into the browser's songs folder at
# first start). The songs folder itself lives in IndexedDB (web/store.js).
foreach(tool waveforms images demosong)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tools/${tool} tools/${tool})
endforeach()
foreach(generator zrb_generate_waveforms zrb_generate_images zrb_demosong_generator)
  target_link_options(${generator} PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1)
endforeach()

# The end-to-end tests' program is the desktop's.
set_target_properties(zrbtracker-test PROPERTIES EXCLUDE_FROM_ALL ON)

set(zrb_page_files ${CMAKE_SOURCE_DIR}/web/index.html ${CMAKE_SOURCE_DIR}/web/page.js ${CMAKE_SOURCE_DIR}/web/page.css)
target_sources(zrbtracker PRIVATE ${CMAKE_SOURCE_DIR}/app/web/PageBridge.cpp)
add_dependencies(zrbtracker zrb_waveforms zrb_images zrb_demosong)
set_target_properties(zrbtracker PROPERTIES LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/store.js)
target_link_options(zrbtracker PRIVATE
  -lidbfs.js -sFORCE_FILESYSTEM=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sEXPORTED_RUNTIME_METHODS=ccall
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/store.js"
  "SHELL:--preload-file ${ZRB_DATA_DIR}@/app/data"
  "SHELL:--exclude-file */songs"
  "SHELL:--preload-file ${ZRB_DATA_DIR}/songs/demo@/app/seed/demo")
set(zrb_page_copies)
foreach(file ${zrb_page_files})
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${name} COMMAND ${CMAKE_COMMAND} -E copy ${file} ${CMAKE_BINARY_DIR}/${name}
                     DEPENDS ${file})
  list(APPEND zrb_page_copies ${CMAKE_BINARY_DIR}/${name})
endforeach()
add_custom_target(zrb_page ALL DEPENDS ${zrb_page_copies} zrbtracker)
