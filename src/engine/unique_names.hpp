// Names that stand once in a waypoint file. Devices find a waypoint (and a
// task its turn points) by name, so two points that come out with the same
// name after a cut to the device's length would merge into one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/hashed_table.hpp"

namespace oradel {

// The length of the longest start of `text` that fits in `bytes` and ends on
// a character boundary of the file's encoding.
using FittingLength = std::size_t (*)(std::string_view text, std::size_t bytes);

// Every byte is a character (ASCII, Windows-1251).
std::size_t FittingBytes(std::string_view text, std::size_t bytes);
// UTF-8: a cut never splits a sequence.
std::size_t FittingUtf8(std::string_view text, std::size_t bytes);

class UniqueNames {
  public:
    // Names of at most `limit` bytes; a repeated name gets `separator` and
    // the smallest number that makes it new ("Юца 2", "Gornaya_Vershin2").
    UniqueNames(std::size_t limit, std::string_view separator, FittingLength fit)
        : limit_(limit), separator_(separator), fit_(fit) {}

    // `name` cut to the limit (blanks at the cut's end dropped), when no
    // earlier name of this file is the same; else that cut shortened so that
    // the separator and the number fit, then the separator and the number.
    // Each call costs time in proportion to the name's length, however many
    // names came before.
    std::string Take(std::string_view name);

  private:
    std::string Cut(std::string_view name, std::size_t bytes) const;

    std::size_t limit_;
    std::string separator_;
    FittingLength fit_;
    // The names given so far, by hash: a name whose hash another one has is
    // taken for taken and numbered too, so no two names ever come out the same.
    HashedTable<bool> taken_;
    // For each stem that numbers were put after, the number to try next:
    // every smaller one of the same width is taken (or was tried for a stem
    // of the same hash).
    HashedTable<unsigned long> nextNumber_;
};

}  // namespace oradel
