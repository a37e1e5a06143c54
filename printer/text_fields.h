#pragma once
// The two in-place text routines shared by the PORT.CFG reader and the job
// readers. Both stay inside the bytes they are given.
#include <cstddef>

namespace kvitra {

// A writable, NUL-free text [cursor, end). NextField cuts the next field out
// of it: the field runs from the cursor up to `delimiter`, which becomes NUL;
// after a carriage return the following byte (the line feed) becomes NUL too.
// The cursor moves past what was cut. Without the delimiter the field is the
// rest of the text, `end` must hold room for its NUL, and false is returned.
struct FieldCursor {
  char* position;
  char* end;  // one past the last byte of the text; *end is writable
};
bool NextField(FieldCursor& cursor, char*& field, char delimiter);

// Removes leading and trailing blanks (byte 32 only) of a NUL-terminated text.
void TrimSpaces(char* text);

}  // namespace kvitra
