#pragma once

namespace vendalise {

// Member, product and ledger line numbers are stored as 16-bit signed
// integers: no table can hold more records than this.
inline constexpr int kMaxRecords = 32767;

} // namespace vendalise
