#include "printer/exempt_rate.h"

#include "platform/paths.h"

namespace kvitra {

char ReadExemptRateLetter(platform::Files& files, const std::string& zembranoDir, char current) {
  struct Marker {
    const char* name;
    char letter;
  };
  static constexpr Marker kMarkers[] = {{"STAWE.DAT", 'E'}, {"STAWF.DAT", 'F'}, {"STAWG.DAT", 'G'}};
  for (const Marker& marker : kMarkers) {
    // The host may have written the name in another letter case.
    std::string path = files.ResolveName(platform::JoinPath(zembranoDir, marker.name));
    if (files.FileExists(path)) return marker.letter;
  }
  return current;
}

}  // namespace kvitra
