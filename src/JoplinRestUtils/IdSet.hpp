#pragma once
// The ids present in a notebook or tag directory, compared ignoring ASCII
// case as the directory's names are. The ids are kept end to end in one text
// and found through one open-addressing table, so that storing a page of
// thousands costs no allocation per id and a look-up touches one slot.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace JoplinRestUtils {

class TIdSet {
 public:
  bool Contains(std::string_view id) const;
  // False when the id was present already.
  bool Insert(std::string_view id);
  void Erase(std::string_view id);
  void Clear();

 private:
  struct TSlot {
    std::uint64_t Hash = kEmpty;
    size_t Offset = 0;
    size_t Length = 0;
  };
  static constexpr std::uint64_t kEmpty = 0;
  static constexpr std::uint64_t kErased = 1;

  static std::uint64_t HashOf(std::string_view id);
  // The slot holding the id, or that where it would go.
  size_t SlotFor(std::string_view id, std::uint64_t hash) const;
  void Grow();

  std::string FText;
  std::vector<TSlot> FSlots;
  size_t FTaken = 0;  // slots in use or erased
};

}  // namespace JoplinRestUtils
