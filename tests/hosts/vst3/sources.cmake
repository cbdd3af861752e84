# Sources of the fake VST3 host, shared by its library and by the host tool (which is built
# even when the tests are not).
set(TQ_VST3_FAKE_HOST_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TQ_VST3_FAKE_HOST_SOURCES
  ${TQ_VST3_FAKE_HOST_DIR}/AudioBuffers.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/AudioThread.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/ComponentHandler.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/ConformanceSuite.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/EventList.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/HostApplication.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/HostDriver.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/MemoryStream.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/ModuleLoader.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/ParameterChanges.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/PlugFrame.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/ProcessContextBuilder.cpp
  ${TQ_VST3_FAKE_HOST_DIR}/ProcessDataBuilder.cpp
)
if(WIN32)
  list(APPEND TQ_VST3_FAKE_HOST_SOURCES ${TQ_VST3_FAKE_HOST_DIR}/win32/ModuleLoaderWin32.cpp
    ${TQ_VST3_FAKE_HOST_DIR}/win32/HostWindowWin32.cpp)
else()
  list(APPEND TQ_VST3_FAKE_HOST_SOURCES ${TQ_VST3_FAKE_HOST_DIR}/posix/ModuleLoaderPosix.cpp
    ${TQ_VST3_FAKE_HOST_DIR}/posix/HostWindowPosix.cpp)
endif()
