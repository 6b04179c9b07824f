# The address-book sync (CardDAV): libcurl for HTTP, Qt's XML stream reader
# for WebDAV answers (Qt Core only, behind a toolkit-free interface), the
# shared vCard library, and the phone's database.
find_package(CURL REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Core)

add_library(vtcarddav STATIC
  src/CardDavHttp.cpp
  src/CardDavMultistatus.cpp
  src/CardDavReport.cpp
  src/CardDavService.cpp
  src/CardDavSettings.cpp
  src/CardDavStore.cpp
  src/CardDavSync.cpp)
target_include_directories(vtcarddav PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
target_link_libraries(vtcarddav PUBLIC vtsecret vtplatform Threads::Threads
  PRIVATE vantelo_core vtstorage vtvcard vtworkbook vti18n CURL::libcurl Qt6::Core SQLite::SQLite3)

vantelo_add_test(NAME carddav_tests
  SOURCES tests/CardDavSyncTest.cpp tests/CardDavSettingsTest.cpp tests/CardDavServiceTest.cpp
  LIBS vtcarddav vtvcard vantelo_core vtstorage vttestsupport)
if(VANTELO_BUILD_BENCHMARKS)
  add_executable(carddav_bench bench/CardDavBench.cpp)
  target_link_libraries(carddav_bench PRIVATE vtcarddav vantelo_core vttestsupport)
endif()
