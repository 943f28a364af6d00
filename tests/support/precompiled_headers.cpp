// Compiled only to make the precompiled headers the test programs share
// (tests/support/CMakeLists.txt); its program is never run.
