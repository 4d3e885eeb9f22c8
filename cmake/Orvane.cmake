# Helpers shared by the folders' build files.

# orvane_sources(VAR dir...): the .cpp files of the given folders (relative to the top), so that a new
# source file in a folder needs no build-file edit. Folders without sources yet give cmake/empty.cpp.
function(orvane_sources var)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND files ${found})
  endforeach()
  if(NOT files)
    set(files ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  set(${var} ${files} PARENT_SCOPE)
endfunction()

# Keeps Qt out of a target: a Qt include in a no-Qt layer fails to build.
function(orvane_forbid_qt target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "^Qt")
      message(FATAL_ERROR "${target} must not link ${lib}")
    endif()
  endforeach()
endfunction()

# orvane_moc(target dir...): runs Qt's moc over every header of the given folders and builds the results into
# the target. Explicit per-header rules (instead of AUTOMOC's scan) stay right when the folder glob picks up a
# new header in an existing build; headers without Q_OBJECT give empty files.
function(orvane_moc target)
  set(headers)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.h)
    list(APPEND headers ${found})
  endforeach()
  if(headers)
    qt6_wrap_cpp(mocs ${headers} TARGET ${target} OPTIONS --no-warnings)
    target_sources(${target} PRIVATE ${mocs})
  endif()
endfunction()
