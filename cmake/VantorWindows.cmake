# The libraries of the Windows build, found once here before any folder
# asks for them, so that each arrives with what a static link of it needs.
# The toolchain (cmake/mingw-w64-x86_64.cmake) points the search at MinGW's
# tree and at the prefix scripts/build-windows-deps fills.

if(VANTOR_GUI)
  # MinGW's tree holds zlib both as a DLL import library and as an archive;
  # the archive keeps zlib1.dll out of the package.
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)

  # FreeType was built against MinGW's zlib, which FindFreetype does not know.
  find_package(Freetype REQUIRED)
  set_property(TARGET Freetype::Freetype APPEND PROPERTY INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)

  # freeglut's headers declare DLL imports unless FREEGLUT_STATIC is
  # defined. It calls into the GDI, the multimedia timer and joystick API
  # and OpenGL itself.
  find_package(GLUT REQUIRED)
  set_property(TARGET GLUT::GLUT APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS FREEGLUT_STATIC)
  set_property(TARGET GLUT::GLUT APPEND PROPERTY INTERFACE_LINK_LIBRARIES opengl32 gdi32 winmm)

  # The fonts come from the host's Debian packages; the search root of the
  # cross build would hide the host's /usr/share.
  find_file(VANTOR_DISPLAY_FONT
    NAMES ComicNeue-Bold.otf ComicNeue-Bold.ttf
    PATHS /usr/share/fonts/opentype/comic-neue /usr/share/fonts/truetype/comic-neue
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  find_file(VANTOR_SANS_FONT FreeSans.ttf PATHS /usr/share/fonts/truetype/freefont
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
endif()

# Programs of the build run through Wine: the picture maker at build time,
# the tests under ctest. They share one 64-bit prefix in the build folder
# (the one scripts/wine-run uses), quiet and without the Mono or Gecko
# installer, rather than the user's ~/.wine.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(VANTOR_WINEPREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "The Wine prefix of the build's programs")
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${VANTOR_WINEPREFIX} WINEARCH=win64
      WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ${CMAKE_CROSSCOMPILING_EMULATOR})
endif()

# Test discovery runs the test executables; through Wine that is left to
# ctest's time, so building a test needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
