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

# orvane_export_folders(target PUBLIC|PRIVATE folder... [PUBLIC|PRIVATE folder...]): the folders (relative to
# the top) whose headers the target and, for PUBLIC ones, whoever links it may include, spelt from the top
# ("app/model/device.h"). Each target gets include/<target> (public) and include/<target>-private in the build
# tree, holding a symbolic link per folder to the source folder, so include paths follow link edges and a
# folder nobody links stays out of reach. The folders' headers join the target's sources, so AUTOMOC sees a
# header as soon as the folder glob picks it up, with or without a matching .cpp.
function(orvane_export_folders target)
  set(scope "")
  set(scopes)
  foreach(arg IN LISTS ARGN)
    if(arg STREQUAL "PUBLIC" OR arg STREQUAL "PRIVATE")
      set(scope ${arg})
      continue()
    endif()
    if(NOT scope)
      message(FATAL_ERROR "orvane_export_folders(${target}): PUBLIC or PRIVATE must come before ${arg}")
    endif()
    if(scope STREQUAL "PUBLIC")
      set(root ${CMAKE_BINARY_DIR}/include/${target})
    else()
      set(root ${CMAKE_BINARY_DIR}/include/${target}-private)
    endif()
    # A link inside another link would land in the source tree.
    set(parent ${root}/${arg})
    while(NOT parent STREQUAL root)
      get_filename_component(parent ${parent} DIRECTORY)
      if(IS_SYMLINK ${parent})
        message(FATAL_ERROR "orvane_export_folders(${target}): ${arg} lies inside a folder it exports already")
      endif()
    endwhile()
    if(EXISTS ${root}/${arg} AND NOT IS_SYMLINK ${root}/${arg})
      message(FATAL_ERROR "orvane_export_folders(${target}): ${arg} holds a folder it exports already")
    endif()
    get_filename_component(parent ${root}/${arg} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    # A folder another change has yet to add still gets its link: it starts working once the folder appears.
    if(NOT IS_SYMLINK ${root}/${arg})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${arg} ${root}/${arg} SYMBOLIC)
    endif()
    set_property(GLOBAL APPEND PROPERTY ORVANE_FOLDER_LINKS ${root}/${arg})
    list(APPEND scopes ${scope})
    file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${arg}/*.h)
    target_sources(${target} PRIVATE ${headers})
  endforeach()
  if("PUBLIC" IN_LIST scopes)
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${CMAKE_BINARY_DIR}/include/${target}>)
  endif()
  if("PRIVATE" IN_LIST scopes)
    target_include_directories(${target} PRIVATE $<BUILD_INTERFACE:${CMAKE_BINARY_DIR}/include/${target}-private>)
  endif()
endfunction()

# Links left in the build tree by a folder that no target exports any more would keep a stale path open.
function(orvane_remove_stale_folder_links)
  get_property(wanted GLOBAL PROPERTY ORVANE_FOLDER_LINKS)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true ${CMAKE_BINARY_DIR}/include/*)
  foreach(entry IN LISTS entries)
    if(IS_SYMLINK ${entry} AND NOT entry IN_LIST wanted)
      file(REMOVE ${entry})
    endif()
  endforeach()
endfunction()

# Marks a target as free of Qt. Checked once every target exists (orvane_check_qt_free), over everything the
# target links, directly or through other targets.
function(orvane_forbid_qt target)
  set_property(GLOBAL APPEND PROPERTY ORVANE_QT_FREE_TARGETS ${target})
endfunction()

# Sets VAR to the link chain (a -> b -> Qt6::Core) by which item reaches Qt, or to "" when it does not.
# `seen` is a list, in the caller's scope, of the targets already looked at.
function(_orvane_qt_chain item var)
  set(${var} "" PARENT_SCOPE)
  # $<LINK_ONLY:x> and the other wrappers CMake puts into link interfaces: look at what they wrap.
  string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" item "${item}")
  if(item MATCHES "^(Qt[0-9]*::|Qt[0-9]*[A-Z])" OR item MATCHES "/libQt[0-9]*[A-Za-z]*\\.")
    set(${var} "${item}" PARENT_SCOPE)
    return()
  endif()
  if(NOT TARGET ${item} OR item IN_LIST seen)
    return()
  endif()
  get_target_property(aliased ${item} ALIASED_TARGET)
  if(aliased)
    set(item ${aliased})
  endif()
  # Marked before its links are followed, so a cycle among static libraries ends.
  list(APPEND seen ${item})
  set(children)
  get_target_property(type ${item} TYPE)
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    if(property STREQUAL "LINK_LIBRARIES" AND type STREQUAL "INTERFACE_LIBRARY")
      continue()
    endif()
    get_target_property(found ${item} ${property})
    if(found)
      list(APPEND children ${found})
    endif()
  endforeach()
  foreach(child IN LISTS children)
    # Markers CMake adds around libraries linked from another folder's build file.
    if(child MATCHES "^::@")
      continue()
    endif()
    _orvane_qt_chain("${child}" chain)
    if(chain)
      set(${var} "${item} -> ${chain}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(seen ${seen} PARENT_SCOPE)
endfunction()

function(orvane_check_qt_free)
  get_property(targets GLOBAL PROPERTY ORVANE_QT_FREE_TARGETS)
  set(seen)
  foreach(target IN LISTS targets)
    _orvane_qt_chain(${target} chain)
    if(chain)
      message(FATAL_ERROR "${target} must stay free of Qt, but links it: ${chain}")
    endif()
  endforeach()
endfunction()

# Qt targets: moc by AUTOMOC over the sources and the headers orvane_export_folders added, and the Qt headers
# every window file includes precompiled. The libraries share one precompiled set, made by a target of its own
# (orvane_qt_pch) whose compile has no library's export macro, which GCC would require of every user; programs
# are compiled position-independent as executables, which a library's precompiled headers do not accept, so
# each gets its own.
set(ORVANE_QT_PRECOMPILED_HEADERS
  <QApplication> <QWidget> <QDialog> <QLabel> <QPushButton> <QMessageBox> <QPainter> <QImage> <QMouseEvent>
  <QKeyEvent> <QTimer> <QString> <QByteArray>
  <string> <vector> <memory> <functional> <optional> <map>)
function(orvane_qt_target target)
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  if(NOT ORVANE_PRECOMPILE_HEADERS)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_precompile_headers(${target} PRIVATE ${ORVANE_QT_PRECOMPILED_HEADERS})
    return()
  endif()
  if(NOT TARGET orvane_qt_pch)
    add_library(orvane_qt_pch OBJECT ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
    target_link_libraries(orvane_qt_pch PRIVATE Qt6::Widgets)
    target_precompile_headers(orvane_qt_pch PRIVATE ${ORVANE_QT_PRECOMPILED_HEADERS})
  endif()
  target_precompile_headers(${target} REUSE_FROM orvane_qt_pch)
endfunction()

cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL orvane_check_qt_free)
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL orvane_remove_stale_folder_links)
