# Reads server/deployment.ini and writes the header that compiles its values
# into the installer. The same file is read by testing/product_server.py.
#
# qiv_generate_deployment_header(<ini file> <output header>)

function(qiv_generate_deployment_header ini header)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ini})
  file(STRINGS ${ini} lines ENCODING UTF-8)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    if(NOT line MATCHES "^[ \t]*([a-z0-9_]+)[ \t]*=[ \t]*(.*[^ \t])[ \t]*$")
      message(FATAL_ERROR "${ini}: unreadable line: ${line}")
    endif()
    set(value_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  endforeach()

  set(host_regex "^[A-Za-z0-9.-]+(:[0-9]+)?$")
  foreach(key api_host web_host test_api_host test_web_host)
    if(NOT DEFINED value_${key} OR NOT value_${key} MATCHES "${host_regex}")
      message(FATAL_ERROR "${ini}: ${key} missing or not a host[:port]")
    endif()
  endforeach()

  # Credential pairs: the default pair in lower-case hex, the pairs of the
  # language indices 1 to 5 in upper-case hex, as the server issues them.
  set(pairs "")
  set(pair_names default 1 2 3 4 5)
  foreach(index IN LISTS pair_names)
    set(key credential_${index})
    if(index STREQUAL "default")
      set(hex "[0-9a-f]")
      set(prefix_token "kDeployDefaultToken")
      set(prefix_secret "kDeployDefaultSecret")
    else()
      set(hex "[0-9A-F]")
      set(prefix_token "kDeployToken${index}")
      set(prefix_secret "kDeploySecret${index}")
    endif()
    set(h32 "${hex}${hex}${hex}${hex}${hex}${hex}${hex}${hex}")
    set(h32 "${h32}${h32}${h32}${h32}")
    if(NOT DEFINED value_${key} OR
       NOT value_${key} MATCHES "^(${h32})[ \t]*,[ \t]*(${h32})$")
      message(FATAL_ERROR
        "${ini}: ${key} must be \"token, secret\" of 32 hex digits each"
        " (lower case for the default pair, upper case otherwise)")
    endif()
    string(APPEND pairs "constexpr char ${prefix_token}[] = \"${CMAKE_MATCH_1}\";\n")
    string(APPEND pairs "constexpr char ${prefix_secret}[] = \"${CMAKE_MATCH_2}\";\n")
  endforeach()

  # Appended piece by piece: the C++ lines hold semicolons, which a CMake
  # list would split.
  set(content "// Generated from server/deployment.ini by server/deployment.cmake.\n")
  string(APPEND content "// Do not edit: change the data file and rebuild.\n#pragma once\n\n")
  string(APPEND content "constexpr char kDeployApiHost[] = \"${value_api_host}\";\n")
  string(APPEND content "constexpr char kDeployWebHost[] = \"${value_web_host}\";\n")
  string(APPEND content "constexpr char kDeployTestApiHost[] = \"${value_test_api_host}\";\n")
  string(APPEND content "constexpr char kDeployTestWebHost[] = \"${value_test_web_host}\";\n")
  string(APPEND content "${pairs}")
  file(CONFIGURE OUTPUT ${header} CONTENT "${content}" @ONLY)
endfunction()
