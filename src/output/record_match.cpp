#include "output/record_match.h"

#include <algorithm>
#include <cstring>

#include "base/utf8.h"
#include "store/unicode_record.h"

namespace {

// The bytes of the UTF-8 character that the byte begins; 1 for a byte
// that begins none, which the check of the bytes then refuses.
std::size_t SequenceBytes(unsigned char lead) {
  return lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC0 && lead < 0xE0 ? 2 : 1;
}

}  // namespace

bool RecordMatcher::Matches(const char* text, std::size_t n) const {
  const unicode_record::Parts parts = unicode_record::Split(text, n);
  if (parts.unicode) return utf8_.Matches(parts.utf8, parts.utf8Bytes);
  return codePage_ && codePage_->Matches(parts.rendering, parts.renderingBytes);
}

RecordStream::RecordStream(const RecordMatcher& matcher) : utf8_(matcher.utf8_) {
  if (matcher.codePage_) rendering_.emplace(*matcher.codePage_);
}

void RecordStream::Feed(const char* piece, std::size_t n) {
  while (n > 0) {
    switch (phase_) {
      case kRendering: {
        const void* zero = std::memchr(piece, '\0', n);
        const std::size_t text = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - piece) : n;
        if (rendering_) rendering_->Feed(piece, text);
        if (!zero) return;
        piece += text + 1;
        n -= text + 1;
        phase_ = kTag;
        break;
      }
      case kTag: {
        const std::size_t k = std::min(n, unicode_record::kTagBytes - tag_.size());
        tag_.append(piece, k);
        piece += k;
        n -= k;
        if (tag_.size() == unicode_record::kTagBytes)
          phase_ = tag_ == unicode_record::kTag ? kUtf8 : kNoCopy;
        break;
      }
      case kUtf8:
        return FeedUtf8(piece, n);
      case kNoCopy:
        return;
    }
  }
}

// Each piece is checked up to its last whole character; a character cut
// by the piece's end is finished from the next piece and checked alone.
void RecordStream::FeedUtf8(const char* piece, std::size_t n) {
  if (!wellFormed_) return;
  const auto* p = reinterpret_cast<const unsigned char*>(piece);
  if (!cut_.empty()) {
    const std::size_t want = SequenceBytes(static_cast<unsigned char>(cut_[0]));
    const std::size_t k = std::min(n, want - cut_.size());
    cut_.append(piece, k);
    if (cut_.size() < want) return;
    wellFormed_ = IsUtf8(cut_.data(), cut_.size());
    utf8_.Feed(cut_.data(), cut_.size());
    cut_.clear();
    if (!wellFormed_) return;
    p += k;
    n -= k;
  }
  std::size_t whole = n, i = n;
  while (i > 0 && n - i < 3 && (p[i - 1] & 0xC0) == 0x80) --i;
  if (i > 0 && SequenceBytes(p[i - 1]) > n - (i - 1)) whole = i - 1;
  wellFormed_ = IsUtf8(reinterpret_cast<const char*>(p), whole);
  if (!wellFormed_) return;
  utf8_.Feed(reinterpret_cast<const char*>(p), whole);
  cut_.assign(reinterpret_cast<const char*>(p) + whole, n - whole);
}

bool RecordStream::Matches() const {
  if (phase_ == kUtf8 && wellFormed_ && cut_.empty()) return utf8_.Found();
  return rendering_ && rendering_->Found();
}
