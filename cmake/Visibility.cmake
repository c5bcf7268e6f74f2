# What the two shared libraries export: everything but the symbols of their internal
# namespaces that nothing outside the library reaches (cmake/export-map.sh decides, from
# the objects and the installed headers, and writes a linker version script).
#
# Each library is linked from an object library, so that the tests, benchmarks and
# fuzzers can link the same objects as one library that exports everything
# (kp_internals): they are white-box and call internal functions directly, while the
# process still holds one copy of each library's state.

# The installed headers of both libraries: inline code in any of them may call into
# either library.
function(kp_write_installed_header_list)
  set(all "")
  foreach(target IN ITEMS ios_platform KPQuaslet)
    get_target_property(headers ${target} HEADER_SET)
    list(APPEND all ${headers})
  endforeach()
  list(JOIN all "\n" all)
  file(WRITE ${PROJECT_BINARY_DIR}/exports/installed-headers.new "${all}\n")
  file(COPY_FILE ${PROJECT_BINARY_DIR}/exports/installed-headers.new ${PROJECT_BINARY_DIR}/exports/installed-headers
       ONLY_IF_DIFFERENT)
endfunction()

# kp_export_public_symbols(<shared target> <its object library> [<client object library>])
#
# Links <shared target> with a version script that hides its internal symbols, except
# those the installed headers name or the client's objects use.
function(kp_export_public_symbols target objects)
  set(dir ${PROJECT_BINARY_DIR}/exports)
  set(map ${dir}/${target}.map)
  file(GENERATE OUTPUT ${dir}/${target}.objects CONTENT "$<JOIN:$<TARGET_OBJECTS:${objects}>,\n>\n")
  set(client_list "")
  set(client_objects "")
  if(ARGC GREATER 2)
    set(client_list ${dir}/${target}.clients)
    set(client_objects $<TARGET_OBJECTS:${ARGV2}>)
    file(GENERATE OUTPUT ${client_list} CONTENT "$<JOIN:${client_objects},\n>\n")
  endif()
  add_custom_command(OUTPUT ${map}
    COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/export-map.sh ${CMAKE_NM} ${map} ${dir}/installed-headers
            ${dir}/${target}.objects ${client_list}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/export-map.sh ${dir}/installed-headers
            $<TARGET_OBJECTS:${objects}> ${client_objects}
    COMMENT "Listing the internal symbols ${target} keeps to itself"
    VERBATIM)
  add_custom_target(${target}_export_map DEPENDS ${map})
  add_dependencies(${target} ${target}_export_map)
  target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()
