// SPDX-License-Identifier: MIT
#pragma once

namespace kr820::store {

// The store's formats, all read by this version:
//   1  readings 15 bytes each, 256 to a block; envelopes from level 1 on
//   2  format 1 whose times may go back (a clock set back, marked in gaps): a format-1 store
//      turns 2 when its clock first steps back, so that a version reading only format 1 refuses
//      it rather than misreading its times
//   3  readings packed by what changed (packed_block.h), times that may go back, every block
//      and envelope row sealed by a checksum, level-1 envelopes taken from the blocks
//      themselves; new stores are made in it, older ones go on in their own format
inline constexpr int kPlainFormatVersion = 1;
inline constexpr int kTimesBackFormatVersion = 2;
inline constexpr int kPackedFormatVersion = 3;
inline constexpr int kStoreFormatVersion = 3;  // the newest this version reads

}  // namespace kr820::store
