// Linked into each program as an object of its own: before main runs, the C
// runtime's standard error is switched to binary mode, so that every line the
// programs echo there ends in a plain line feed (text mode would write CR LF)
// and its UTF-8 passes byte for byte.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

[[maybe_unused]] const bool kStandardErrorIsBinary = _setmode(_fileno(stderr), _O_BINARY) != -1;

}  // namespace
