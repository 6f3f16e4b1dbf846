#pragma once
// Unicode simple upper-case mapping, the same in every locale.
namespace Platform {

char32_t SimpleUpperCase(char32_t codePoint);

}  // namespace Platform
