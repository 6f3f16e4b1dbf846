#pragma once
// An ordered list of texts with a joined-text view (CR LF after every line)
// and a Name=Value view (names compared ignoring ASCII case).
#include <string>
#include <string_view>
#include <vector>

namespace Kestrel::CommonLib {

class TStringList {
 public:
  size_t Count() const { return FLines.size(); }
  bool Empty() const { return FLines.empty(); }
  const std::string& operator[](size_t index) const { return FLines[index]; }
  std::string& operator[](size_t index) { return FLines[index]; }
  const std::vector<std::string>& Lines() const { return FLines; }

  void Add(std::string line) { FLines.push_back(std::move(line)); }
  void Delete(size_t index) { FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(index)); }
  void Clear() { FLines.clear(); }

  // Every line followed by CR LF; empty for an empty list.
  std::string Text() const;
  // Splits at CR LF, LF or a lone CR; a break at the very end adds no line.
  void SetText(std::string_view text);

  // The part of an entry before its first "=", and the rest.
  static std::string_view NameOf(std::string_view entry);
  static std::string_view ValueOf(std::string_view entry);

  // Index of the first entry whose name equals `name` ignoring ASCII case, or -1.
  std::ptrdiff_t IndexOfName(std::string_view name) const;
  std::string Value(std::string_view name) const;
  // Replaces the named entry in place or appends one; an empty value removes it.
  void SetValue(std::string_view name, std::string_view value);

 private:
  std::vector<std::string> FLines;
};

}  // namespace Kestrel::CommonLib
