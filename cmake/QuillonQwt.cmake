# Debian's Qwt ships no CMake package: find the header and the Qt5 build of
# the library ourselves and offer them as one imported target.
find_path(QWT_INCLUDE_DIR qwt_plot.h PATHS /usr/include/qwt /usr/local/include/qwt PATH_SUFFIXES qwt)
find_library(QWT_LIBRARY NAMES qwt-qt5 qwt6-qt5 PATHS /usr/lib /usr/lib/x86_64-linux-gnu /usr/local/lib)
if(NOT QWT_INCLUDE_DIR OR NOT QWT_LIBRARY)
  message(FATAL_ERROR "Qwt 6.1 for Qt5 not found (Debian package libqwt-qt5-dev)")
endif()
add_library(Qwt::Qwt UNKNOWN IMPORTED)
set_target_properties(Qwt::Qwt PROPERTIES
  IMPORTED_LOCATION "${QWT_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${QWT_INCLUDE_DIR}"
  INTERFACE_LINK_LIBRARIES "Qt5::Widgets;Qt5::Svg;Qt5::PrintSupport")
