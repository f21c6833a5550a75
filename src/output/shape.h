// Text shaping: the form a history entry's text takes when it is put on
// the clipboard for output. Every output line can get a quote prefix at its
// start and a footer at its end, long lines can be cut at a byte column,
// and a line break can be added at the end of the text.
//
// Texts are zero-terminated 8-bit strings in the active ANSI code page. A
// line break in the input is a CR LF, or a CR alone, which leaves the
// byte after it to the next line; a LF without a CR before it is an
// ordinary byte. A CR (LF) that ends the text counts as a line break at
// the end of the text. Output line breaks are always CR LF. With no
// quote, footer or wrapping and the rule kShapeLfNone the text is taken
// unchanged, CR bytes included.
//
// ShapeLength and ShapeWrite/ShapeAppend walk the text the same way, so
// the caller can measure every entry of an output first, allocate one
// block of exactly the right size, and then build the output into it.
// Nothing here allocates.
//
// Lengths are `long long`: the shaped text can be many times longer than
// the text itself (a long prefix on every one of many short lines), so even
// a text below 2 GB can give more than INT_MAX bytes. A caller on a 32-bit
// system must check that the result fits in size_t before allocating.
#pragma once

#include <cstddef>

// Line-end rules, the values of the `lf` setting: whether a line break is
// added at the end of the output. A text that ends without a line break
// gets one under kShapeLfOk, and under kShapeLfInyo when a quote or footer
// is used. A text that ends in a line break gets a last line holding only
// quote and footer when either is used, and then one more line break under
// kShapeLfOk and kShapeLfInyo. Any other value acts as kShapeLfNone.
constexpr int kShapeLfNone = 1;
constexpr int kShapeLfOk = 2;
constexpr int kShapeLfInyo = 3;

// Chooses the double-byte characters for all later shaping: 932
// (Shift-JIS), 936 (GBK), 949 (Unified Hangul) and 950 (Big5) have them;
// every other code page, and the initial state (0), has none. Meant to be
// called once at start with the system's ANSI code page; not thread-safe
// against shaping running at the same time.
void SetShapeCodePage(unsigned code_page);

// The code page last passed to SetShapeCodePage, 0 before any call.
unsigned ShapeCodePage();

// The bytes of the character that starts at p, by that code page: 2 for
// a lead byte followed by a byte that may follow it (before end), else 1.
std::size_t CharacterBytes(const unsigned char* p, const unsigned char* end);
// Whether the byte may be the second of a double-byte character; one that
// may not always begins a character.
bool MayFollowLeadByte(unsigned char byte);

// The number of bytes ShapeWrite/ShapeAppend will append for these
// arguments (not counting a terminator), or -1 when wrap is not 0 and
// leaves no room for text: wrap - strlen(quote) - strlen(footer) <= 0.
// quote and footer may be null, which means empty. wrap is the maximum
// number of bytes per output line, quote and footer included; 0 means no
// wrapping. rule is one of kShapeLf*.
long long ShapeLength(const char* text, const char* quote, const char* footer, int wrap,
                      int rule);

// Writes the shaped text at `end` followed by a terminator and returns the
// number of bytes written before the terminator (ShapeLength's result), or
// -1, writing nothing, in ShapeLength's -1 case. `end` must have room for
// ShapeLength's result plus one byte, and the text must not lie in that
// room (it is still being read while the room is written). Callers that
// build one output from many texts keep the returned end instead of
// searching for it each time.
long long ShapeWrite(const char* text, char* end, const char* quote, const char* footer,
                     int wrap, int rule);

// Appends the shaped text to the zero-terminated string in `out`, which
// stays zero-terminated. Returns 0, or -1 (and appends nothing) in
// ShapeLength's -1 case. `out` must have room for its current content,
// ShapeLength's result and the terminator.
int ShapeAppend(const char* text, char* out, const char* quote, const char* footer, int wrap,
                int rule);
