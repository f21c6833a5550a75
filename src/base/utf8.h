// UTF-8 and UTF-16, converted without the system: the history keeps a
// text the code page cannot hold in UTF-8, and the clipboard and the
// controls take it in UTF-16.
#pragma once

#include <cstddef>
#include <string>

// The UTF-16 units of the character at i of the n units at s: 2 for a
// surrogate pair, else 1; and the character itself (a lone surrogate as
// it stands).
std::size_t Utf16Units(const char16_t* s, std::size_t n, std::size_t i);
char32_t Utf16Character(const char16_t* s, std::size_t n, std::size_t i);

// The UTF-8 form of the UTF-16 text. A lone surrogate, which no character
// is, becomes U+FFFD.
std::string Utf8FromUtf16(const char16_t* text, std::size_t n);
// The bytes of that form, and the form appended to *out: a large text is
// written once into a string already grown to its final size.
std::size_t Utf8Bytes(const char16_t* text, std::size_t n);
void AppendUtf8(const char16_t* text, std::size_t n, std::string* out);
// The UTF-16 form of well-formed UTF-8; false, with *out undefined, for
// anything else (an overlong form, a surrogate, a cut-off character,
// beyond U+10FFFF), so that bytes of another kind are never taken for it.
bool Utf16FromUtf8(const char* text, std::size_t n, std::u16string* out);
// Whether the bytes are well-formed UTF-8, as Utf16FromUtf8 takes them.
bool IsUtf8(const char* text, std::size_t n);
