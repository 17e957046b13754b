# Firebird ships no pkg-config or CMake package for its client library.
find_path(Firebird_INCLUDE_DIR firebird/Interface.h
  PATHS "$ENV{FIREBIRD}/include" "C:/Program Files/Firebird/Firebird_3_0/include")
find_library(Firebird_LIBRARY NAMES fbclient fbclient_ms
  PATHS "$ENV{FIREBIRD}/lib" "C:/Program Files/Firebird/Firebird_3_0/lib")

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Firebird REQUIRED_VARS Firebird_LIBRARY Firebird_INCLUDE_DIR)

if(Firebird_FOUND AND NOT TARGET Firebird::fbclient)
  add_library(Firebird::fbclient UNKNOWN IMPORTED)
  # SYSTEM: the API headers do not build warning-free under -Wextra.
  set_target_properties(Firebird::fbclient PROPERTIES
    IMPORTED_LOCATION "${Firebird_LIBRARY}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${Firebird_INCLUDE_DIR}")
endif()
mark_as_advanced(Firebird_INCLUDE_DIR Firebird_LIBRARY)
