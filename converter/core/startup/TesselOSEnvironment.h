// SPDX-License-Identifier: GPL-2.0-or-later
// Questions about the computer asked once at start-up: Windows version,
// administrator rights, browser component, portable-device support with
// media player 10 or 11. Each answers a plain value and leaves what it found,
// or why it failed, in the trace log. No state is kept between calls.
#pragma once

// Windows version codes of GetWindowsVersionCode.
constexpr int kWindowsVersionUnknown = -1;  // the version query failed
constexpr int kWindowsOther = 0;
constexpr int kWindows98 = 1;    // platform 4.10
constexpr int kWindowsMe = 2;    // platform 4.90
constexpr int kWindows2000 = 3;  // NT with minor version 0 (also 6.0)
constexpr int kWindowsXP = 4;    // NT with minor version 1 (also 6.1)

class TesselOSEnvironment {
 public:
  virtual ~TesselOSEnvironment() = default;

  // NT versions above 4 are told by their minor version alone: 5.2 gives 0,
  // 6.0 gives 3, 6.1 gives 4.
  virtual int GetWindowsVersionCode();
  // The token lists the Administrators group (S-1-5-32-544), and not only
  // for denial. A group list longer than 4096 bytes answers false.
  virtual bool IsAdministrator();
  // The browser component's major version is 6 or more.
  virtual bool IsIE6OrLater();
  // Code 4 with the portable-device driver files and media player 10 or 11
  // registered as installed.
  virtual bool IsWMP10Installed(int windowsVersionCode);
};
