// SPDX-License-Identifier: GPL-2.0-or-later
// Compiled only to make the precompiled headers the test programs share
// (tests/support/CMakeLists.txt); its program is never run.
