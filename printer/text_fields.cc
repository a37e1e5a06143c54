#include "printer/text_fields.h"

#include <cstring>

namespace kvitra {

bool NextField(FieldCursor& cursor, char*& field, char delimiter) {
  field = cursor.position;
  char* p = cursor.position;
  while (p < cursor.end && *p != delimiter) ++p;
  if (p == cursor.end) {
    *p = '\0';
    cursor.position = p;
    return false;
  }
  *p++ = '\0';
  if (delimiter == '\r' && p < cursor.end) *p++ = '\0';
  cursor.position = p;
  return true;
}

void TrimSpaces(char* text) {
  size_t n = std::strlen(text);
  while (n > 0 && text[n - 1] == ' ') text[--n] = '\0';
  if (n == 0) return;
  size_t blanks = 0;
  while (text[blanks] == ' ') ++blanks;
  if (blanks > 0) std::memmove(text, text + blanks, n - blanks + 1);
}

}  // namespace kvitra
