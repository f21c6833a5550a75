#include "output/shape.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// SSE2 finds the CR bytes of 16 bytes at once; without it (32-bit x86
// built for older processors, other architectures) a portable form does.
// KW_SHAPE_PORTABLE selects the portable form anyway, so that it can be
// tested where SSE2 is available.
#if !defined(KW_SHAPE_PORTABLE) &&                                  \
    (defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64) || \
     (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define KW_SHAPE_SSE2 1
#include <emmintrin.h>
#endif

// The text is read in whole aligned blocks, which can take in bytes before
// its start and after its terminator (see "Reading the text in aligned
// blocks" below). Such reads cannot fault, but AddressSanitizer reports
// them, so in its builds the two small functions that make them are not
// instrumented. Everything else, the copies from the text and all writes
// included, stays checked.
#if defined(__SANITIZE_ADDRESS__)
#define KW_SHAPE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KW_SHAPE_ASAN 1
#endif
#endif
#if !defined(KW_SHAPE_ASAN)
#define KW_SHAPE_WHOLE_BLOCK_READ
#elif defined(_MSC_VER) && !defined(__clang__)
#define KW_SHAPE_WHOLE_BLOCK_READ __declspec(no_sanitize_address)
#else
#define KW_SHAPE_WHOLE_BLOCK_READ __attribute__((no_sanitize_address))
#endif

namespace {

const unsigned char kCr = 0x0D;

// Which bytes start a double-byte character, and which may follow such a
// lead byte as its second byte. All zero: no double-byte characters.
struct DbcsTables {
  unsigned char lead[256];
  unsigned char trail[256];
  bool any;
};

DbcsTables g_dbcs = {};
unsigned g_code_page = 0;

void Mark(unsigned char* table, int first, int last) {
  for (int b = first; b <= last; ++b) table[b] = 1;
}

// ---------------------------------------------------------------------------
// Bits of 64-bit masks, one bit per byte of a block.

// The index of the lowest set bit of a non-zero mask (a de Bruijn sequence
// turns the bits up to it into a table index). For 0 it gives some index
// below 64, which callers that write positions unconditionally rely on.
inline int LowestBit(std::uint64_t mask) {
  static const unsigned char kIndex[64] = {
      0,  47, 1,  56, 48, 27, 2,  60, 57, 49, 41, 37, 28, 16, 3,  61,
      54, 58, 35, 52, 50, 42, 21, 44, 38, 32, 29, 23, 17, 11, 4,  62,
      46, 55, 26, 59, 40, 36, 15, 53, 34, 51, 20, 43, 31, 22, 10, 45,
      25, 39, 14, 33, 19, 30, 9,  24, 13, 18, 8,  12, 7,  6,  5,  63};
  return kIndex[((mask ^ (mask - 1)) * 0x03F79D71B4CB0A89ULL) >> 58];
}

// The index of the highest set bit of a non-zero mask.
inline int HighestBit(std::uint64_t mask) {
  mask |= mask >> 1;
  mask |= mask >> 2;
  mask |= mask >> 4;
  mask |= mask >> 8;
  mask |= mask >> 16;
  mask |= mask >> 32;
  return LowestBit(mask ^ (mask >> 1));
}

inline int BitCount(std::uint64_t mask) {
  mask -= (mask >> 1) & 0x5555555555555555ULL;
  mask = (mask & 0x3333333333333333ULL) + ((mask >> 2) & 0x3333333333333333ULL);
  mask = (mask + (mask >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((mask * 0x0101010101010101ULL) >> 56);
}

// ---------------------------------------------------------------------------
// Reading the text in aligned blocks.
//
// The length of the text is not measured beforehand: the walk looks for
// the terminator in the same blocks in which it looks for CR bytes, so the
// text is read once instead of twice. A block lies at an address that is a
// multiple of its size and is only read when it holds at least one byte of
// the text or its terminator (the block of the text's start, then each
// next one while no terminator has been seen). All of such a block lies in
// the memory page of that byte, as pages are multiples of 64 bytes, so
// reading the block's bytes before the text or after the terminator cannot
// fault; their mask bits are ignored.

const std::ptrdiff_t kBlock = 64;

inline const unsigned char* BlockOf(const unsigned char* p) {
  const std::uintptr_t mask = ~static_cast<std::uintptr_t>(kBlock - 1);
  return reinterpret_cast<const unsigned char*>(reinterpret_cast<std::uintptr_t>(p) & mask);
}

// What the walk needs to know of a block: bit k of cr is set when byte k
// is a CR, crs is the number of them, and ends tells whether a zero byte
// is among the block's bytes.
struct BlockScan {
  std::uint64_t cr;
  int crs;
  bool ends;
};

#ifdef KW_SHAPE_SSE2

// The 16 bytes at p, a multiple of 16 inside a block that may be read.
KW_SHAPE_WHOLE_BLOCK_READ inline __m128i LoadAligned16(const unsigned char* p) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
}

inline unsigned ByteMask(__m128i v, __m128i byte) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, byte)));
}

inline BlockScan ScanBlock(const unsigned char* b) {
  const __m128i cr = _mm_set1_epi8(static_cast<char>(kCr));
  const __m128i zero = _mm_setzero_si128();
  const __m128i v0 = LoadAligned16(b);
  const __m128i v1 = LoadAligned16(b + 16);
  const __m128i v2 = LoadAligned16(b + 32);
  const __m128i v3 = LoadAligned16(b + 48);
  const __m128i c0 = _mm_cmpeq_epi8(v0, cr);
  const __m128i c1 = _mm_cmpeq_epi8(v1, cr);
  const __m128i c2 = _mm_cmpeq_epi8(v2, cr);
  const __m128i c3 = _mm_cmpeq_epi8(v3, cr);
  BlockScan scan;
  scan.cr = static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(c0))) |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(c1))) << 16 |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(c2))) << 32 |
            static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(c3))) << 48;
  // Counted on the vector side, which has time to spare: each comparison
  // byte is 0 or -1, so 0 - c0 - c1 - c2 - c3 holds 0 to 4 per byte, and
  // the sums of absolute differences to zero add those up.
  const __m128i per_byte =
      _mm_sub_epi8(_mm_sub_epi8(_mm_sub_epi8(_mm_sub_epi8(zero, c0), c1), c2), c3);
  const __m128i halves = _mm_sad_epu8(per_byte, zero);
  scan.crs = _mm_cvtsi128_si32(_mm_add_epi32(halves, _mm_srli_si128(halves, 8)));
  // A zero byte is the least byte at its position in the four parts.
  const __m128i least = _mm_min_epu8(_mm_min_epu8(v0, v1), _mm_min_epu8(v2, v3));
  scan.ends = ByteMask(least, zero) != 0;
  return scan;
}

// Bit k is set when byte k of the block at b is zero.
inline std::uint64_t ZeroMask(const unsigned char* b) {
  const __m128i zero = _mm_setzero_si128();
  std::uint64_t mask = 0;
  for (int k = 0; k < 4; ++k) {
    mask |= static_cast<std::uint64_t>(ByteMask(LoadAligned16(b + 16 * k), zero)) << (16 * k);
  }
  return mask;
}

#else  // portable

// The 8 bytes at p, a multiple of 8 inside a block that may be read, byte
// k in bits 8k to 8k+7 whatever the byte order of the machine.
KW_SHAPE_WHOLE_BLOCK_READ inline std::uint64_t LoadAlignedWord(const unsigned char* p) {
  std::uint64_t w = 0;
  for (int k = 7; k >= 0; --k) w = (w << 8) | p[k];
  return w;
}

// 0x80 in exactly the bytes of w that are zero (no borrow runs from one
// byte into the next, unlike in the usual quicker test).
inline std::uint64_t ZeroBytes(std::uint64_t w) {
  const std::uint64_t k7F = 0x7F7F7F7F7F7F7F7FULL;
  return ~(((w & k7F) + k7F) | w | k7F);
}

// Bit k set for each byte k of flags that holds 0x80.
inline unsigned GatherBytes(std::uint64_t flags) {
  return static_cast<unsigned>(((flags >> 7) * 0x0102040810204080ULL) >> 56);
}

inline std::uint64_t ZeroMask(const unsigned char* b) {
  std::uint64_t mask = 0;
  for (int k = 0; k < 8; ++k) {
    mask |= static_cast<std::uint64_t>(GatherBytes(ZeroBytes(LoadAlignedWord(b + 8 * k))))
            << (8 * k);
  }
  return mask;
}

inline BlockScan ScanBlock(const unsigned char* b) {
  const std::uint64_t kCrs = 0x0101010101010101ULL * kCr;
  BlockScan scan = {0, 0, false};
  std::uint64_t zeros = 0;
  for (int k = 0; k < 8; ++k) {
    const std::uint64_t w = LoadAlignedWord(b + 8 * k);
    scan.cr |= static_cast<std::uint64_t>(GatherBytes(ZeroBytes(w ^ kCrs))) << (8 * k);
    zeros |= ZeroBytes(w);
  }
  scan.crs = BitCount(scan.cr);
  scan.ends = zeros != 0;
  return scan;
}

#endif

// The CR bytes of a block that start line breaks, and their number.
struct Breaks {
  std::uint64_t bits;
  int count;
};

// A CR takes the byte after it along, so a CR right after one that starts
// a break is no break of its own; `taken` is 1 when that is so for the
// block's first byte (the previous block ended in a break's CR), else 0.
inline Breaks BreakBits(std::uint64_t cr, int crs, std::uint64_t taken) {
  Breaks breaks;
  if ((cr & ((cr << 1) | taken)) == 0) {  // no CR right after a CR: the usual case
    breaks.bits = cr;
    breaks.count = crs;
    return breaks;
  }
  cr &= ~taken;
  breaks.bits = 0;
  while (cr != 0) {
    const std::uint64_t first = cr & (~cr + 1);
    breaks.bits |= first;
    cr &= ~(first | (first << 1));
  }
  breaks.count = BitCount(breaks.bits);
  return breaks;
}

// Hands the line breaks of the text at s to lines(b, breaks), block by
// block, for as long as the block after the current one is known to hold
// no terminator, and returns the terminator's position. So for every block
// b that `lines` gets, the 128 bytes from b on are all text (the block of
// the text's start from s on): a line break there is a CR and a byte that
// is not the terminator, and fixed-size copies that stay below b + 128
// need no checks. The last one or two blocks are left to a walk that knows
// where the text ends.
template <class Lines>
const unsigned char* WalkBlocks(const unsigned char* s, Lines& lines) {
  const unsigned char* b = BlockOf(s);
  const std::uint64_t from_s = ~std::uint64_t{0} << (s - b);
  const std::uint64_t zero = ZeroMask(b) & from_s;
  if (zero != 0) return b + LowestBit(zero);
  std::uint64_t cr = ScanBlock(b).cr & from_s;
  int crs = BitCount(cr);
  std::uint64_t taken = 0;
  for (;; b += kBlock) {
    const BlockScan next = ScanBlock(b + kBlock);
    if (next.ends) return b + kBlock + LowestBit(ZeroMask(b + kBlock));
    const Breaks breaks = BreakBits(cr, crs, taken);
    taken = breaks.bits >> 63;
    lines(b, breaks);
    cr = next.cr;
    crs = next.crs;
  }
}

// The positions of the line breaks that WalkBlocks hands on, collected in
// batches so that their lines can be handled in one long loop: the number
// of breaks in a block varies, and a loop over each block's breaks would
// end at a hard-to-predict point once or twice per line.
const int kBatch = 64;

// Adds the breaks of the block at b to the list at `at` and returns its
// new end. Four positions are written whether there are that many or not
// (the usual block holds fewer), so that only blocks with more of them
// take another turn; the list has room for them, and the ones beyond the
// new end are overwritten later.
inline const unsigned char** AddBreaks(const unsigned char** at, const unsigned char* b,
                                       Breaks breaks) {
  std::uint64_t bits = breaks.bits;
  at[0] = b + LowestBit(bits);
  bits &= bits - 1;
  at[1] = b + LowestBit(bits);
  bits &= bits - 1;
  at[2] = b + LowestBit(bits);
  bits &= bits - 1;
  at[3] = b + LowestBit(bits);
  bits &= bits - 1;
  for (int i = 4; bits != 0; ++i) {
    at[i] = b + LowestBit(bits);
    bits &= bits - 1;
  }
  return at + breaks.count;
}

// Hands the CR bytes of the line breaks in the blocks that WalkBlocks
// hands on to lines.Lines(first, last), a batch at a time and in order,
// and returns the terminator's position.
template <class Lines>
const unsigned char* WalkLines(const unsigned char* s, Lines& lines) {
  const unsigned char* crs[kBatch + kBlock];
  const unsigned char** at = crs;
  auto add = [&](const unsigned char* b, Breaks breaks) {
    at = AddBreaks(at, b, breaks);
    if (at - crs >= kBatch) {
      lines.Lines(crs, at);
      at = crs;
    }
  };
  const unsigned char* const end = WalkBlocks(s, add);
  lines.Lines(crs, at);
  return end;
}

// ---------------------------------------------------------------------------
// Fixed-size copies of 16 bytes, the unit of the over-copying writers.

#ifdef KW_SHAPE_SSE2
typedef __m128i Bytes16;
inline Bytes16 Load16(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
inline void Store16(void* p, Bytes16 v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
#else
struct Bytes16 {
  unsigned char b[16];
};
inline Bytes16 Load16(const void* p) {
  Bytes16 v;
  std::memcpy(v.b, p, 16);
  return v;
}
inline void Store16(void* p, Bytes16 v) { std::memcpy(p, v.b, 16); }
#endif

inline void Copy16(char* out, const unsigned char* p) { Store16(out, Load16(p)); }

inline void Copy64(char* out, const unsigned char* p) {
  Copy16(out, p);
  Copy16(out + 16, p + 16);
  Copy16(out + 32, p + 32);
  Copy16(out + 48, p + 48);
}

// ---------------------------------------------------------------------------
// The shaping arguments.

// What goes between two output lines: footer, CR LF, quote. Kept in one
// block when it is short so that it can be written with a fixed-size copy.
const std::size_t kSepMax = 32;

// The shaping arguments, checked and measured once per text.
struct Params {
  const char* quote;
  std::size_t quote_len;
  const char* footer;
  std::size_t footer_len;
  long long n;                 // text bytes per output line; 0: no wrapping
  bool break_after_last_line;  // the text does not end in a line break
  bool break_after_break;      // the text ends in a line break
  std::size_t sep_len;         // footer + CR LF + quote
  unsigned char sep[kSepMax];  // those bytes when sep_len <= kSepMax
};

// Returns false when the wrap column leaves no room for text.
bool MakeParams(const char* quote, const char* footer, int wrap, int rule, Params* prm) {
  prm->quote = quote ? quote : "";
  prm->footer = footer ? footer : "";
  prm->quote_len = std::strlen(prm->quote);
  prm->footer_len = std::strlen(prm->footer);
  prm->n = 0;
  if (wrap != 0) {
    prm->n = static_cast<long long>(wrap) - static_cast<long long>(prm->quote_len) -
             static_cast<long long>(prm->footer_len);
    if (prm->n <= 0) return false;
  }
  const bool decorated = prm->quote_len != 0 || prm->footer_len != 0;
  const bool lf_ok = rule == kShapeLfOk;
  const bool lf_inyo = rule == kShapeLfInyo;
  prm->break_after_last_line = lf_ok || (lf_inyo && decorated);
  prm->break_after_break = decorated && (lf_ok || lf_inyo);
  prm->sep_len = prm->footer_len + 2 + prm->quote_len;
  std::memset(prm->sep, 0, sizeof prm->sep);
  if (prm->sep_len <= kSepMax) {
    std::memcpy(prm->sep, prm->footer, prm->footer_len);
    prm->sep[prm->footer_len] = '\r';
    prm->sep[prm->footer_len + 1] = '\n';
    std::memcpy(prm->sep + prm->footer_len + 2, prm->quote, prm->quote_len);
  }
  return true;
}

// With no prefix, footer, wrapping or added line break the text is taken
// as it is, CR bytes included.
bool IsUnchanged(const Params& prm, int rule) {
  const bool lf_none = rule != kShapeLfOk && rule != kShapeLfInyo;
  return prm.quote_len == 0 && prm.footer_len == 0 && prm.n == 0 && lf_none;
}

// ---------------------------------------------------------------------------
// Cutting lines at the wrap column.

// Whether a double-byte character starts at limit - 1 and so crosses the
// column at limit. The character structure is only known by walking from a
// character start; a byte that is not a lead byte always ends a character,
// so the walk can begin just after the last such byte before limit (or at
// the piece's start, which is a character start).
bool CrossesColumn(const unsigned char* start, const unsigned char* limit) {
  const unsigned char* lead = g_dbcs.lead;
  if (!lead[limit[-1]]) return false;
  const unsigned char* i = limit - 1;
  while (i > start && lead[i[-1]]) --i;
  const unsigned char* trail = g_dbcs.trail;
  while (i < limit) i += (lead[*i] & trail[i[1]]) ? 2 : 1;
  return i > limit;
}

// Where the piece of a line that starts at `start` ends when the column
// allows it to run to `limit`, which lies before the end of its line: at
// limit, or before a double-byte character that would cross the column,
// which is taken anyway when nothing else is on the output line (n = 1).
const unsigned char* CutPoint(const unsigned char* start, const unsigned char* limit) {
  if (!g_dbcs.any || !CrossesColumn(start, limit)) return limit;
  return limit - 1 == start ? limit + 1 : limit - 1;
}

// The longest line that needs no cutting: the wrap column's room, or any
// length when there is no wrapping.
const std::ptrdiff_t kNoWrap = PTRDIFF_MAX;
std::ptrdiff_t LongestUncut(const Params& prm) {
  return prm.n == 0 || prm.n >= kNoWrap ? kNoWrap : static_cast<std::ptrdiff_t>(prm.n);
}

// The number of separators that cutting the line [line, cr), which is
// longer than n bytes, puts into it.
long long CutCount(const unsigned char* line, const unsigned char* cr, std::ptrdiff_t n) {
  if (!g_dbcs.any) return static_cast<long long>((cr - line - 1) / n);
  long long cuts = 0;
  while (cr - line > n) {
    line = CutPoint(line, line + n);
    if (line == cr) break;  // a double-byte piece reached the line's end
    ++cuts;
  }
  return cuts;
}

// ---------------------------------------------------------------------------
// The careful walk: any part of a text, with its end known, and nothing
// assumed about what follows. It does the last blocks of every text and
// the line that is still open there.

// Yields the CR bytes of a text in order. The text is scanned in blocks at
// fixed steps, so that the next load never waits for the handling of the
// previous line.
class CrScanner {
 public:
  CrScanner(const unsigned char* s, const unsigned char* end) : block_(s), end_(end) {
    mask_ = Mask();
  }

  // The first CR at or after `from`, or the end of the text.
  const unsigned char* Next(const unsigned char* from) {
    for (;;) {
      while (mask_ != 0) {
        const unsigned char* cr = block_ + LowestBit(mask_);
        mask_ &= mask_ - 1;
        if (cr >= from) return cr;  // an earlier one was taken along by its CR
      }
      block_ += kBlock;
      if (block_ >= end_) return end_;
      mask_ = Mask();
    }
  }

 private:
  // Bit k set when byte k of the 64 bytes at b (any address) is a CR.
  static std::uint64_t CrMask(const unsigned char* b) {
    std::uint64_t mask = 0;
    for (int k = 0; k < kBlock; k += 16) {
      const Bytes16 v = Load16(b + k);
#ifdef KW_SHAPE_SSE2
      const std::uint64_t bits = ByteMask(v, _mm_set1_epi8(static_cast<char>(kCr)));
#else
      std::uint64_t bits = 0;
      for (int i = 0; i < 16; ++i) bits |= static_cast<std::uint64_t>(v.b[i] == kCr) << i;
#endif
      mask |= bits << k;
    }
    return mask;
  }

  std::uint64_t Mask() const {
    // A block can be read while the terminator is in it at the latest; the
    // last few bytes before it are looked at in a copy.
    if (end_ - block_ >= kBlock - 1) return CrMask(block_);
    unsigned char last[kBlock] = {};
    std::memcpy(last, block_, static_cast<std::size_t>(end_ - block_));
    return CrMask(last);
  }

  const unsigned char* block_;
  const unsigned char* end_;
  std::uint64_t mask_;
};

// Counts the bytes a walk would write.
class CountSink {
 public:
  void Put(const void*, std::size_t len) { total_ += static_cast<long long>(len); }
  void Piece(const unsigned char* p, const unsigned char* stop, const unsigned char*) {
    total_ += stop - p;
  }
  void PutBreak() { total_ += 2; }
  void PutSep(const Params& prm, std::ptrdiff_t) { total_ += static_cast<long long>(prm.sep_len); }
  long long total() const { return total_; }

 private:
  long long total_ = 0;
};

// Writes them. Pieces of text and the bytes between output lines are
// copied in fixed-size blocks that may run past the bytes really due; the
// bytes beyond are overwritten later. That stays inside the output block
// because every text byte from the current one on gives at least one
// output byte (the two of a line break at least the two of CR LF), and
// the terminator follows: at the output position of text byte p there are
// at least end - p + 1 bytes of room.
class WriteSink {
 public:
  explicit WriteSink(char* out) : pos_(out) {}
  void Put(const void* p, std::size_t len) {
    std::memcpy(pos_, p, len);
    pos_ += len;
  }
  // The text bytes [p, stop); *end is the text's terminator. Most lines
  // are short, so the first 64 bytes go in one fixed-size copy.
  void Piece(const unsigned char* p, const unsigned char* stop, const unsigned char* end) {
    const std::ptrdiff_t len = stop - p;
    const std::ptrdiff_t kFirst = 64;
    const std::ptrdiff_t kStep = 16;
    if (end - p >= (len > kFirst ? len : kFirst) + kStep - 1) {
      std::memcpy(pos_, p, kFirst);
      for (std::ptrdiff_t i = kFirst; i < len; i += kStep) std::memcpy(pos_ + i, p + i, kStep);
    } else {
      std::memcpy(pos_, p, static_cast<std::size_t>(len));
    }
    pos_ += len;
  }
  void PutBreak() {
    pos_[0] = '\r';
    pos_[1] = '\n';
    pos_ += 2;
  }
  // text_left: the text bytes from the one at the current position on.
  // When 16 or more are to come, a fixed-size copy of up to 32 bytes stays
  // inside the output block: the separator takes the place of at most two
  // text bytes and is at least 2 bytes long itself.
  void PutSep(const Params& prm, std::ptrdiff_t text_left) {
    const bool ahead = text_left >= 16;
    if (ahead && prm.sep_len <= 16) {
      std::memcpy(pos_, prm.sep, 16);
    } else if (ahead && prm.sep_len <= kSepMax) {
      std::memcpy(pos_, prm.sep, kSepMax);
    } else {
      std::memcpy(pos_, prm.footer, prm.footer_len);
      pos_[prm.footer_len] = '\r';
      pos_[prm.footer_len + 1] = '\n';
      std::memcpy(pos_ + prm.footer_len + 2, prm.quote, prm.quote_len);
    }
    pos_ += prm.sep_len;
  }
  char* pos() const { return pos_; }

 private:
  char* pos_;
};

// Shapes the lines of the text from `line`, the start of a line, to its
// terminator at `end`, and what closes the text. Measuring and writing use
// the same walk here, so that their results cannot differ.
template <class Sink>
void ShapeLines(const unsigned char* line, const unsigned char* end, const Params& prm,
                Sink& sink) {
  CrScanner crs(line, end);
  for (;;) {
    const unsigned char* const cr = crs.Next(line);  // or the end of the text
    // The line [line, cr), cut into pieces by the wrap column.
    while (prm.n != 0 && cr - line > prm.n) {
      const unsigned char* const cut = CutPoint(line, line + prm.n);
      sink.Piece(line, cut, end);
      line = cut;
      if (line == cr) break;  // a double-byte piece reached the line's end
      sink.PutSep(prm, end - line);
    }
    sink.Piece(line, cr, end);
    if (cr == end) {
      sink.Put(prm.footer, prm.footer_len);
      if (prm.break_after_last_line) sink.PutBreak();
      return;
    }
    sink.PutSep(prm, end - cr);
    // The CR takes the byte after it along, whatever it is; a CR just
    // before the terminator is a line break of its own.
    line = cr + 1 == end ? end : cr + 2;
    if (line == end) {
      sink.Put(prm.footer, prm.footer_len);
      if (prm.break_after_break) sink.PutBreak();
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// The quick walk over the blocks that WalkBlocks hands on: all the lines
// that end there, with nothing to check but the wrap column. What it
// leaves open is done by the careful walk.
//
// Measuring: the output of the lines up to the open line at `line` is
// (line - s) text bytes, plus sep_len - 2 per line break (the separator
// replaces CR and the byte after it), plus sep_len per cut.

// Without wrapping only the number of line breaks matters.
class BreakCounter {
 public:
  explicit BreakCounter(const unsigned char* s) : s_(s) {}
  void operator()(const unsigned char* b, Breaks breaks) {
    breaks_ += breaks.count;
    // Only the last break tells where the open line starts: keep the last
    // block that had any and look for it in there at the end.
    if (breaks.bits != 0) {
      last_block_ = b;
      last_bits_ = breaks.bits;
    }
  }
  // The start of the line that is still open.
  const unsigned char* line() const {
    return last_bits_ == 0 ? s_ : last_block_ + HighestBit(last_bits_) + 2;
  }
  long long Total(const Params& prm) const {
    return static_cast<long long>(line() - s_) +
           breaks_ * (static_cast<long long>(prm.sep_len) - 2);
  }

 private:
  const unsigned char* s_;
  const unsigned char* last_block_ = nullptr;
  std::uint64_t last_bits_ = 0;
  long long breaks_ = 0;
};

// What the two wrapping counters share: the open line, the line breaks
// seen and the cuts the wrap column adds.
class CutLineCount {
 public:
  CutLineCount(const unsigned char* s, std::ptrdiff_t n) : s_(s), line_(s), n_(n) {}
  const unsigned char* line() const { return line_; }
  long long Total(const Params& prm) const {
    return static_cast<long long>(line_ - s_) +
           breaks_ * (static_cast<long long>(prm.sep_len) - 2) +
           cuts_ * static_cast<long long>(prm.sep_len);
  }

 protected:
  const unsigned char* s_;
  const unsigned char* line_;
  std::ptrdiff_t n_;
  long long breaks_ = 0;
  long long cuts_ = 0;
};

// With wrapping at a room of at least a block: two breaks in the same
// block are less than a block apart, so only the line that ends at the
// first break of a block can be long enough to be cut.
class LongLineCounter : public CutLineCount {
 public:
  using CutLineCount::CutLineCount;
  void operator()(const unsigned char* b, Breaks breaks) {
    breaks_ += breaks.count;
    if (breaks.bits == 0) return;
    const unsigned char* const first = b + LowestBit(breaks.bits);
    if (first - line_ > n_) cuts_ += CutCount(line_, first, n_);
    line_ = b + HighestBit(breaks.bits) + 2;
  }
};

// With wrapping at a smaller room: every line is looked at.
class WrappedLineCounter : public CutLineCount {
 public:
  using CutLineCount::CutLineCount;
  void Lines(const unsigned char* const* first, const unsigned char* const* last) {
    const unsigned char* line = line_;
    const std::ptrdiff_t n = n_;
    long long cuts = 0;
    breaks_ += static_cast<long long>(last - first);
    for (; first != last; ++first) {
      const unsigned char* const cr = *first;
      if (cr - line > n) cuts += CutCount(line, cr, n);
      line = cr + 2;
    }
    cuts_ += cuts;
    line_ = line;
  }
};

// The walk's blocks, then the careful walk from the open line on.
template <class Counter>
long long CountRest(const Params& prm, const Counter& lines, const unsigned char* end) {
  CountSink sink;
  ShapeLines(lines.line(), end, prm, sink);
  return static_cast<long long>(prm.quote_len) + lines.Total(prm) + sink.total();
}

long long CountShaped(const unsigned char* s, const Params& prm) {
  if (prm.n == 0) {
    BreakCounter lines(s);
    const unsigned char* const end = WalkBlocks(s, lines);
    return CountRest(prm, lines, end);
  }
  const std::ptrdiff_t n = LongestUncut(prm);
  if (n >= kBlock) {
    LongLineCounter lines(s, n);
    const unsigned char* const end = WalkBlocks(s, lines);
    return CountRest(prm, lines, end);
  }
  WrappedLineCounter lines(s, n);
  const unsigned char* const end = WalkLines(s, lines);
  return CountRest(prm, lines, end);
}

// Writing: every line is copied with fixed-size copies that may run past
// its end, like WriteSink's, and is followed by the separator in one
// fixed-size store where it is short.
//
// For a line that ends at a CR c in a block b that WalkBlocks hands on,
// no checks are needed. Reads stay below b + 128, which is all text: a
// line (or a piece of it) [p, e) has e <= c < b + 64, and its copy reads
// [p, max(p + 64, e + 15)). Writes stay inside the output block: at the
// output position of text byte p there are end - p + 1 >= 65 bytes of
// room (see WriteSink), as end >= b + 128 and p <= c; the line's copy
// needs max(64, e - p + 15) of them, the separator at most 32 from the
// position of c.

// Copies the piece [p, p + len) of a line as 64 bytes and then 16 at a
// time.
inline void CopyPiece(char* out, const unsigned char* p, std::ptrdiff_t len) {
  Copy64(out, p);
  for (std::ptrdiff_t i = 64; i < len; i += 16) Copy16(out + i, p + i);
}

// Ways of writing the separator: one fixed-size store of 8, 16 or 32
// bytes, which the room always allows (the narrowest that holds it is
// fastest), or an exact copy when it is longer.
class Sep8 {
 public:
  explicit Sep8(const Params& prm) { std::memcpy(&sep_, prm.sep, 8); }
  void Put(char* out) const { std::memcpy(out, &sep_, 8); }

 private:
  std::uint64_t sep_;
};

class Sep16 {
 public:
  explicit Sep16(const Params& prm) : sep_(Load16(prm.sep)) {}
  void Put(char* out) const { Store16(out, sep_); }

 private:
  Bytes16 sep_;
};

class Sep32 {
 public:
  explicit Sep32(const Params& prm) : lo_(Load16(prm.sep)), hi_(Load16(prm.sep + 16)) {}
  void Put(char* out) const {
    Store16(out, lo_);
    Store16(out + 16, hi_);
  }

 private:
  Bytes16 lo_;
  Bytes16 hi_;
};

class SepExact {
 public:
  explicit SepExact(const Params& prm) : prm_(prm) {}
  void Put(char* out) const {
    std::memcpy(out, prm_.footer, prm_.footer_len);
    out[prm_.footer_len] = '\r';
    out[prm_.footer_len + 1] = '\n';
    std::memcpy(out + prm_.footer_len + 2, prm_.quote, prm_.quote_len);
  }

 private:
  const Params& prm_;
};

// Writes the lines that end at the CR bytes it gets.
template <class Sep>
class LineWriter {
 public:
  LineWriter(const Params& prm, const unsigned char* s, char* out)
      : sep_(prm), sep_len_(static_cast<std::ptrdiff_t>(prm.sep_len)),
        n_(LongestUncut(prm)), line_(s), out_(out) {}

  void Lines(const unsigned char* const* first, const unsigned char* const* last) {
    if (n_ == kNoWrap) {
      WriteLines<false>(first, last);
    } else {
      WriteLines<true>(first, last);
    }
  }

  // The start of the line that is still open, and where it goes.
  const unsigned char* line() const { return line_; }
  char* out() const { return out_; }

 private:
  // Per line: one copy of the line (64 bytes cover nearly all), one store
  // of the separator, and no checks but the wrap column's.
  template <bool kWrap>
  void WriteLines(const unsigned char* const* first, const unsigned char* const* last) {
    // In locals, so that they can stay in registers: the compiler must
    // assume that any write through a char pointer may change members.
    const Sep sep = sep_;
    const std::ptrdiff_t sep_len = sep_len_;
    const std::ptrdiff_t n = n_;
    const unsigned char* line = line_;
    char* out = out_;
    for (; first != last; ++first) {
      const unsigned char* const cr = *first;
      if (kWrap && cr - line > n) line = WriteCutPieces(line, cr, &out);
      const std::ptrdiff_t len = cr - line;
      Copy64(out, line);
      if (len > 64) CopyRest(out, line, len);
      out += len;
      sep.Put(out);
      out += sep_len;
      line = cr + 2;
    }
    line_ = line;
    out_ = out;
  }

  // The bytes of a line from the 65th on, 16 at a time.
  static void CopyRest(char* out, const unsigned char* line, std::ptrdiff_t len) {
    for (std::ptrdiff_t i = 64; i < len; i += 16) Copy16(out + i, line + i);
  }

  // Writes the pieces that the column cuts off the start of the line
  // [line, cr), each with a separator after it; returns the start of the
  // last piece.
  const unsigned char* WriteCutPieces(const unsigned char* line, const unsigned char* cr,
                                      char** out) const {
    char* o = *out;
    while (cr - line > n_) {
      const unsigned char* const cut = CutPoint(line, line + n_);
      CopyPiece(o, line, cut - line);
      o += cut - line;
      line = cut;
      if (line == cr) break;  // a double-byte piece reached the line's end
      sep_.Put(o);
      o += sep_len_;
    }
    *out = o;
    return line;
  }

  Sep sep_;
  std::ptrdiff_t sep_len_;
  std::ptrdiff_t n_;
  const unsigned char* line_;
  char* out_;
};

// Writes the shaped text at out and returns the position after it.
template <class Sep>
char* WriteShaped(const unsigned char* s, char* out, const Params& prm) {
  std::memcpy(out, prm.quote, prm.quote_len);
  LineWriter<Sep> lines(prm, s, out + prm.quote_len);
  const unsigned char* const end = WalkLines(s, lines);
  WriteSink sink(lines.out());
  ShapeLines(lines.line(), end, prm, sink);
  return sink.pos();
}

// ---------------------------------------------------------------------------
// The unchanged text.

#ifdef KW_SHAPE_SSE2

// Copies the text with its terminator and returns its length, reading it
// once: block by block as WalkBlocks reads them, each 64 bytes copied from
// the registers that were checked for the terminator, until the block
// that holds it, which is copied exactly.
long long CopyText(const char* text, char* out) {
  const unsigned char* const s = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* b = BlockOf(s);
  std::uint64_t zero = ZeroMask(b) & (~std::uint64_t{0} << (s - b));
  if (zero == 0) {
    const std::size_t head = static_cast<std::size_t>(b + kBlock - s);
    std::memcpy(out, s, head);
    char* o = out + head;
    const __m128i zeros = _mm_setzero_si128();
    for (b += kBlock;; b += kBlock, o += kBlock) {
      const __m128i v0 = LoadAligned16(b);
      const __m128i v1 = LoadAligned16(b + 16);
      const __m128i v2 = LoadAligned16(b + 32);
      const __m128i v3 = LoadAligned16(b + 48);
      const __m128i least = _mm_min_epu8(_mm_min_epu8(v0, v1), _mm_min_epu8(v2, v3));
      if (ByteMask(least, zeros) != 0) break;
      Store16(o, v0);
      Store16(o + 16, v1);
      Store16(o + 32, v2);
      Store16(o + 48, v3);
    }
    zero = ZeroMask(b);
  }
  // The rest, from the start of the last block or of the text.
  const unsigned char* const from = b < s ? s : b;
  const unsigned char* const terminator = b + LowestBit(zero);
  std::memcpy(out + (from - s), from, static_cast<std::size_t>(terminator - from) + 1);
  return static_cast<long long>(terminator - s);
}

#else  // portable

// Copies the text with its terminator and returns its length, in one pass
// of cache-sized chunks rather than strlen and then memcpy over the whole
// text. memchr stops reading at the byte it finds, so looking for the
// terminator further ahead than the text reaches is sound.
long long CopyText(const char* text, char* out) {
  const std::size_t kChunk = 16 * 1024;
  const char* p = text;
  for (;;) {
    const void* zero = std::memchr(p, 0, kChunk);
    if (zero) {
      const std::size_t n = static_cast<std::size_t>(static_cast<const char*>(zero) - p);
      std::memcpy(out, p, n + 1);
      return static_cast<long long>(p - text) + static_cast<long long>(n);
    }
    std::memcpy(out, p, kChunk);
    p += kChunk;
    out += kChunk;
  }
}

#endif

}  // namespace

void SetShapeCodePage(unsigned code_page) {
  DbcsTables t = {};
  switch (code_page) {
    case 932:  // Shift-JIS
      Mark(t.lead, 0x81, 0x9F);
      Mark(t.lead, 0xE0, 0xFC);
      Mark(t.trail, 0x40, 0x7E);
      Mark(t.trail, 0x80, 0xFC);
      break;
    case 936:  // GBK
      Mark(t.lead, 0x81, 0xFE);
      Mark(t.trail, 0x40, 0x7E);
      Mark(t.trail, 0x80, 0xFE);
      break;
    case 949:  // Unified Hangul Code
      Mark(t.lead, 0x81, 0xFE);
      Mark(t.trail, 0x41, 0x5A);
      Mark(t.trail, 0x61, 0x7A);
      Mark(t.trail, 0x81, 0xFE);
      break;
    case 950:  // Big5
      Mark(t.lead, 0x81, 0xFE);
      Mark(t.trail, 0x40, 0x7E);
      Mark(t.trail, 0xA1, 0xFE);
      break;
    default:
      break;
  }
  for (int b = 0; b < 256; ++b) t.any = t.any || t.lead[b] != 0;
  g_dbcs = t;
  g_code_page = code_page;
}

unsigned ShapeCodePage() { return g_code_page; }

long long ShapeLength(const char* text, const char* quote, const char* footer, int wrap,
                      int rule) {
  Params prm;
  if (!MakeParams(quote, footer, wrap, rule, &prm)) return -1;
  if (IsUnchanged(prm, rule)) return static_cast<long long>(std::strlen(text));
  return CountShaped(reinterpret_cast<const unsigned char*>(text), prm);
}

long long ShapeWrite(const char* text, char* end, const char* quote, const char* footer,
                     int wrap, int rule) {
  Params prm;
  if (!MakeParams(quote, footer, wrap, rule, &prm)) return -1;
  if (IsUnchanged(prm, rule)) return CopyText(text, end);
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
  char* stop;
  if (prm.sep_len <= 8) {
    stop = WriteShaped<Sep8>(s, end, prm);
  } else if (prm.sep_len <= 16) {
    stop = WriteShaped<Sep16>(s, end, prm);
  } else if (prm.sep_len <= kSepMax) {
    stop = WriteShaped<Sep32>(s, end, prm);
  } else {
    stop = WriteShaped<SepExact>(s, end, prm);
  }
  *stop = '\0';
  return static_cast<long long>(stop - end);
}

int ShapeAppend(const char* text, char* out, const char* quote, const char* footer, int wrap,
                int rule) {
  return ShapeWrite(text, out + std::strlen(out), quote, footer, wrap, rule) < 0 ? -1 : 0;
}
