#pragma once
// Where a reader that takes JSON one character at a time stands with respect
// to strings: inside one or not, and whether the character before was the
// backslash of an escape. Shared by the answer filters.

namespace JoplinRestUtils {

struct TJsonStringState {
  bool InString = false;
  bool Escaped = false;

  // One character inside a string; true when it is the closing quote.
  bool Closes(char c) {
    if (Escaped) {
      Escaped = false;
    } else if (c == '\\') {
      Escaped = true;
    } else if (c == '"') {
      InString = false;
      return true;
    }
    return false;
  }
};

}  // namespace JoplinRestUtils
