#pragma once
// The names files get while they are being written: short, so that they fit
// beside a final name of the longest length, recognisable, and carrying the
// writer's process id, so that a leftover of a killed run can be told from
// the file of a run still at work.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

std::string TemporaryName(long process_id, std::uint32_t random);

// A number for the random part that no one can guess ahead. The generator
// behind it is seeded once per thread: seeding it for every file cost more
// than writing a small file.
std::uint32_t UnguessableNumber();

// The writer's process id when the name is such a temporary name.
std::optional<long> TemporaryNameWriter(std::string_view name);

}  // namespace qs
