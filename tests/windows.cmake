# The Windows test executable: the tests of the code that is the same on both
# systems, and the Windows platform layer's own tests. GoogleTest is built
# here from Debian's source package with the same cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's own sources do not pass our warnings.
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

file(GLOB_RECURSE QUILLPOST_WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/Platform/*-win32Test.cpp)
list(APPEND QUILLPOST_WINDOWS_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/JoplinRestUtils/Json/DirectoryPageTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/JoplinRestUtils/IdSetTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/JoplinRestUtils/Json/JsonTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/JoplinRestUtils/Json/JsonTextStreamTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/JoplinRestUtils/Json/BodyMemberTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/JoplinRestUtils/Markup/FrontMatterTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/JoplinRestUtils/Markup/MarkdownTargetsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/JoplinRestUtils/Http/RequestUrlTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Kestrel/CommonLib/Text/LineBreaksTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Kestrel/CommonLib/Text/StringListTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Kestrel/CommonLib/SwitchScannerTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Kestrel/CommonLib/Text/TextHelpersTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Platform/Console/CommandLineTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Platform/Http/RedirectPolicyTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/TempDir.cpp)

add_executable(quillpost_tests ${QUILLPOST_WINDOWS_TEST_SOURCES})
target_include_directories(quillpost_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quillpost_tests PRIVATE quillpost_core gtest gtest_main)
target_link_options(quillpost_tests PRIVATE -static)
add_dependencies(quillpost_tests quillpost)
# One process under Wine: starting Wine per test would cost more than the tests.
add_test(NAME WindowsUnitTests COMMAND quillpost_tests)
# Central European time, so that the zone tests meet a skipped and a repeated hour.
set_tests_properties(WindowsUnitTests PROPERTIES TIMEOUT 600 ENVIRONMENT
  "TZ=Europe/Berlin;WINEDEBUG=-all;WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix")

# A Windows process that holds a file open, for the Linux suite's tests of
# quillpost.exe under Wine.
add_executable(hold_open support/HoldOpen-win32.cpp)
target_link_options(hold_open PRIVATE -static -municode)
