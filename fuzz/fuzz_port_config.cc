// PORT.CFG bytes straight from the job directory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "printer/link/port_config_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  kvitra::PortConfig config;
  kvitra::ParsePortConfig(bytes, config);
  kvitra::LooksLikeAddress(config.portLine);
  // The extra lines go to the printer inside fixed-size commands.
  if (config.extraLine1.size() > kvitra::kExtraLineMax || config.extraLine2.size() > kvitra::kExtraLineMax)
    __builtin_trap();
  int32_t value = 0;
  kvitra::ParseConfigNumber(bytes.c_str(), value);
  return 0;
}
