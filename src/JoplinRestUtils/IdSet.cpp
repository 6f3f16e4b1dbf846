#include "JoplinRestUtils/IdSet.hpp"

#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {

std::uint64_t TIdSet::HashOf(std::string_view id) {
  // FNV-1a over the bytes as the comparison sees them.
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : id) {
    hash ^= static_cast<unsigned char>(Platform::AsciiLower(c));
    hash *= 1099511628211ull;
  }
  return hash < 2 ? hash + 2 : hash;  // 0 and 1 mark free slots
}

size_t TIdSet::SlotFor(std::string_view id, std::uint64_t hash) const {
  const size_t mask = FSlots.size() - 1;
  size_t firstErased = FSlots.size();
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const TSlot& s = FSlots[slot];
    if (s.Hash == kEmpty)
      return firstErased < FSlots.size() ? firstErased : slot;
    if (s.Hash == kErased) {
      if (firstErased == FSlots.size())
        firstErased = slot;
    } else if (s.Hash == hash && Kestrel::CommonLib::SameText(
                                     std::string_view(FText).substr(s.Offset, s.Length), id)) {
      return slot;
    }
  }
}

bool TIdSet::Contains(std::string_view id) const {
  if (FSlots.empty())
    return false;
  const std::uint64_t hash = HashOf(id);
  return FSlots[SlotFor(id, hash)].Hash == hash;
}

bool TIdSet::Insert(std::string_view id) {
  // Up to three quarters full: short probes, a small table.
  if (4 * (FTaken + 1) > 3 * FSlots.size())
    Grow();
  const std::uint64_t hash = HashOf(id);
  TSlot& slot = FSlots[SlotFor(id, hash)];
  if (slot.Hash == hash)
    return false;
  if (slot.Hash == kEmpty)
    ++FTaken;
  slot = {hash, FText.size(), id.size()};
  FText.append(id);
  return true;
}

void TIdSet::Erase(std::string_view id) {
  if (FSlots.empty())
    return;
  const std::uint64_t hash = HashOf(id);
  TSlot& slot = FSlots[SlotFor(id, hash)];
  if (slot.Hash == hash)
    slot.Hash = kErased;
}

void TIdSet::Clear() {
  FText.clear();
  FSlots.clear();
  FTaken = 0;
}

void TIdSet::Grow() {
  std::vector<TSlot> old = std::move(FSlots);
  FSlots.assign(old.empty() ? 64 : old.size() * 2, TSlot{});
  FTaken = 0;
  const size_t mask = FSlots.size() - 1;
  for (const TSlot& s : old) {
    if (s.Hash == kEmpty || s.Hash == kErased)
      continue;
    size_t slot = s.Hash & mask;
    while (FSlots[slot].Hash != kEmpty)
      slot = (slot + 1) & mask;
    FSlots[slot] = s;
    ++FTaken;
  }
}

}  // namespace JoplinRestUtils
