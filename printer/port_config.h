#pragma once
// The settings of PORT.CFG for the one job of a run, with their defaults.
#include <cstdint>
#include <string>

namespace kvitra {

struct PortConfig {
  std::string portLine;  // line 1: a serial port name or host:port
  // line 2
  bool openDrawer = false;
  bool scaleTimeout = true;
  int32_t baseTimeout = 3000;
  int32_t perPositionTimeout = 300;
  int32_t fixedTimeout = 6000;
  // line 3, in COMMTIMEOUTS order
  int32_t readIntervalTimeout = 200;
  int32_t readTotalTimeoutMultiplier = 200;
  int32_t readTotalTimeoutConstant = 500;
  int32_t writeTotalTimeoutMultiplier = 200;
  int32_t writeTotalTimeoutConstant = 100;
  // line 4
  bool extendedEnding = false;
  bool shortFooter = false;
  int endingOption = 0;
  bool extraLines = false;
  // lines 5 and 6, at most 40 characters, already in the printer's character set
  std::string extraLine1;
  std::string extraLine2;
};

}  // namespace kvitra
