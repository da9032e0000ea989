// A table of values by the 64-bit hash of a text, for the names of a list:
// a hundred thousand of them cost a few megabytes and a fraction of the time
// that a table of linked nodes holding the texts takes (one array, probed in
// turn from the hash's place). It keeps no text: two texts of one hash (a
// chance of about one in 10^9 for a hundred thousand names) share a value,
// and each user says what that costs it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace oradel {

template <class Value>
class HashedTable {
  public:
    static std::size_t HashOf(std::string_view text) { return std::hash<std::string_view>()(text); }

    // The value of `text`'s hash, made `value` when the hash is new; the
    // flag says whether it was new.
    std::pair<Value*, bool> Emplace(std::string_view text, const Value& value) {
        if (2 * (count_ + 1) > slots_.size()) Grow();
        const std::size_t hash = HashOf(text);
        Slot& slot = SlotOf(hash);
        if (slot.taken) return {&slot.value, false};
        slot = {hash, value, true};
        ++count_;
        return {&slot.value, true};
    }

  private:
    struct Slot {
        std::size_t hash = 0;
        Value value{};
        bool taken = false;
    };

    // The slot that holds `hash`, or the free one where it belongs.
    Slot& SlotOf(std::size_t hash) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = hash & mask;
        while (slots_[at].taken && slots_[at].hash != hash) at = (at + 1) & mask;
        return slots_[at];
    }

    void Grow() {
        std::vector<Slot> old(std::max<std::size_t>(64, 2 * slots_.size()));
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.taken) SlotOf(slot.hash) = slot;
        }
    }

    std::vector<Slot> slots_;  // a power of two of them, at most half taken
    std::size_t count_ = 0;
};

}  // namespace oradel
